// The KNX/EIB bus driver as the transport sees it: a class creator, a connection object, a
// property-access object, an auxiliary object and a connection manager. The objects are
// created through the installed Driver; by default that is the simulated gateway line.
// A failure status of any call is raised as an automation::AutomationError.
#pragma once

#include "variant.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace busdriver {

// Connection modes set before opening and before release.
enum ConnectionMode : std::int32_t {
    modeMaskCheckOrKept = 4,  // mask-check connection, or one kept for the transfer
    modeTransferOnly = 5,     // transfer-only connection
    modeClose = 6,            // close before release
};

class ConnectionObject {
public:
    virtual ~ConnectionObject() = default;
    virtual void setMode(std::int32_t mode) = 0;
    // The target address exactly as the device job stores it: dotted text or a number.
    virtual void setRemoteAddress(const automation::Variant& address) = 0;
    // Read back as a 32-bit integer (for event parameters).
    virtual std::int32_t remoteAddress() const = 0;
    // 0 means open; any other code is a failure.
    virtual void Open(const std::string& interfaceId, const automation::Variant& parameters, std::int32_t& code) = 0;
    virtual std::int32_t RemoteMaskVersion() = 0;
};

class PropertyAccess {
public:
    virtual ~PropertyAccess() = default;
    virtual void Attach(std::shared_ptr<ConnectionObject> connection) = 0;
    virtual void setRetryCount(std::int32_t retries) = 0;
    // start 0 with count 1 reads the element count; start >= 1 reads one value (count 1)
    // or an array of values.
    virtual void ReadProperty(std::int32_t objectIndex, std::int32_t propertyId, std::int32_t dataType,
                              std::int32_t start, std::int32_t count, automation::Variant& value) = 0;
    virtual void WriteProperty(std::int32_t objectIndex, std::int32_t propertyId, std::int32_t dataType,
                               std::int32_t start, std::int32_t count, const automation::Variant& value,
                               bool verify) = 0;
};

// Created with each connection and released with it; never called.
class AuxiliaryObject {
public:
    virtual ~AuxiliaryObject() = default;
};

class ClassCreator {
public:
    virtual ~ClassCreator() = default;
    // Creates the connection object by its program id ("Falcon.ConnectionObject.1").
    virtual std::shared_ptr<ConnectionObject> CreateInstance(const std::string& programId) = 0;
};

constexpr std::size_t kConnectionRecordSize = 1172;
using ConnectionRecord = std::array<std::uint8_t, kConnectionRecordSize>;

class ConnectionManager {
public:
    virtual ~ConnectionManager() = default;
    // Shows the driver's connection dialog and fills the record (name, interface GUID, parameters).
    // Returns a status code: 0 for success, a failure status otherwise.
    virtual std::int32_t SelectConnection(const std::string& caption, std::int32_t flags, ConnectionRecord& record) = 0;
};

// The installed driver: creates the driver's objects. Creation failures are raised as errors.
class Driver {
public:
    virtual ~Driver() = default;
    virtual std::shared_ptr<ClassCreator> createClassCreator() = 0;
    virtual std::shared_ptr<PropertyAccess> createPropertyAccess() = 0;
    virtual std::shared_ptr<AuxiliaryObject> createAuxiliaryObject() = 0;
    virtual std::shared_ptr<ConnectionManager> createConnectionManager() = 0;
};

// The driver the transport uses; the simulated gateway line unless another one was installed.
std::shared_ptr<Driver> installedDriver();
// Installs a driver (an empty pointer restores the default).
void installDriver(std::shared_ptr<Driver> driver);

}  // namespace busdriver
