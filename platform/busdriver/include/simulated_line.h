// The simulated KNX line with one KNX-DALI gateway: the default bus interface of the driver.
// One line exists per process; it keeps the gateway's memory across connections. Tests reach it
// through simulatedLine() to configure it, inject faults and read the trace of driver calls.
#pragma once

#include "dali_gateway.h"
#include "falcon.h"
#include "variant.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace busdriver {

// The line as the driver's interface list names it.
inline constexpr const char* kSimulatedLineName = "Simulated KNX line (DALI gateway)";
inline constexpr const char* kSimulatedLineGuid = "{6D1C4A3E-52B7-4F0D-9A8E-3C7B15D2E940}";
// The settings' default interface identifier, which selects the simulated line as well.
inline constexpr const char* kDefaultInterfaceId = "1";
inline constexpr const char* kSimulatedLineDefaultParameters = "address=1.1.1;model=517104;ballasts=5;seed=7;polls=3";

// Failure statuses of the driver's calls, raised as the number of an automation::AutomationError.
enum DriverStatus : std::int32_t {
    statusFailed = static_cast<std::int32_t>(0x80004005u),              // unspecified; the default injected failure
    statusInvalidArgument = static_cast<std::int32_t>(0x80070057u),     // an argument or value the call cannot take
    statusUnexpected = static_cast<std::int32_t>(0x8000FFFFu),          // not allowed while the connection is open
    statusClassNotRegistered = static_cast<std::int32_t>(0x80040154u),  // unknown program id
    statusNotConnected = static_cast<std::int32_t>(0x80040301u),        // no open connection behind the call
    statusNoAnswer = static_cast<std::int32_t>(0x80040302u),            // the device did not answer, retries used up
    statusUnknownProperty = static_cast<std::int32_t>(0x80040303u),     // the device has no such property
    statusReadOnly = static_cast<std::int32_t>(0x80040304u),            // the property cannot be written
    statusVerifyFailed = static_cast<std::int32_t>(0x80040305u),        // a verified write read back differently
};

// Codes that Open returns besides 0.
enum OpenCode : std::int32_t {
    openOk = 0,
    openUnknownInterface = 1,  // the interface identifier is not one of this driver's
    openBadParameters = 2,     // the parameter string does not parse
    openNoDevice = 3,          // nothing answers at the remote address
    openAlreadyOpen = 4,
};

// Reply shapes a test can force on the reads of one property.
enum class ReplyFault {
    none,
    tooShort,    // element counts one less; a single block one byte short; multi-element reads one element short
    empty,       // every read returns Empty
    outOfRange,  // the first byte of each element reads as 256 + its value (blocks become Long arrays)
};

// The line's configuration; the interface parameter string sets it key by key.
struct LineConfig {
    std::uint16_t address = 0x1101;  // 1.1.1
    std::string model = "517104";
    int ballasts = 5;
    std::uint32_t seed = 7;
    int polls = 3;
    std::int32_t maskVersion = 32;
};

// Reads "key=value;key=value" into config (only the keys present change). Parts without "=" are
// ignored, so the settings' default "1" leaves the configuration as it is. Keys: address (a.l.d or
// a number), model (1 to 10 digits), ballasts (0..64), seed (0..4294967295), polls (0..10000),
// mask (0..65535). False, with the reason in *error, for an unknown key or a bad value.
bool parseLineParameters(const std::string& text, LineConfig& config, std::string* error = nullptr);

// The first part of a parameter string that the line cannot take: its key (in lower case) and
// the lowest and highest value the key takes; both empty for a key the line does not know.
struct ParameterFault {
    std::string key;
    std::string low;
    std::string high;
};
// Checks a parameter string as Open reads it; nothing when the line takes it.
std::optional<ParameterFault> checkLineParameters(const std::string& text);

// True for the interface identifiers that select the simulated line (surrounding blanks and the
// case of the GUID aside).
bool selectsSimulatedLine(const std::string& interfaceId);

// A physical address as dotted text area.line.device (0..15, 0..15, 0..255) or as a decimal number.
bool parsePhysicalAddress(const std::string& text, std::uint16_t& address);

class SimulatedLine {
public:
    SimulatedLine();

    // Back to the defaults: default configuration, a gateway as delivered, no faults, empty trace.
    void reset();
    // Applies a parameter string as Open does; a changed ballast count or seed rewires the line.
    bool configure(const std::string& parameters, std::string* error = nullptr);
    const LineConfig& config() const { return config_; }
    DaliGateway& gateway() { return gateway_; }

    // Faults. Each stays in force until clearFaults() or reset().
    // Every Open after the first `afterOpens` successful ones returns `code` (0 switches it off).
    void failOpen(std::int32_t code, int afterOpens = 0);
    // The n-th driver call from now whose trace entry starts with `match` raises `number`.
    // SelectConnection returns the number as its status instead.
    void failCall(int n, std::int32_t number = statusFailed, std::string match = {});
    // The next `attempts` property reads or writes on the bus fail; a call repeats up to its retry count.
    void failTransiently(int attempts);
    // Reads of the property return its first byte with bit 0 inverted (a verified write then fails too).
    void setVerifyDifference(int objectIndex, int propertyId, bool on = true);
    void setReplyFault(int objectIndex, int propertyId, ReplyFault fault);
    // The gateway answers `afterExchanges` more requests (mask reads, property reads and writes), then
    // nothing: requests fail with statusNoAnswer and Open finds no device.
    void stopAnswering(int afterExchanges = 0);
    void clearFaults();

    // Observation.
    const std::vector<std::string>& trace() const { return trace_; }
    void clearTrace() { trace_.clear(); }
    int openConnections() const { return openConnections_; }
    int retriesUsed() const { return retriesUsed_; }

    // Bus side, called by the driver's objects. call() records one driver call in the trace and
    // raises an injected failure; the others model the gateway behind the connection.
    void call(const std::string& entry, const char* source);
    std::int32_t open(const std::string& interfaceId, const automation::Variant& parameters, std::uint16_t address);
    void close();
    std::int32_t maskVersion(const char* source);
    automation::Variant readProperty(int objectIndex, int propertyId, int dataType, int start, int count, int retries,
                                     const char* source);
    void writeProperty(int objectIndex, int propertyId, int dataType, int start, int count,
                       const automation::Variant& value, bool verify, int retries, const char* source);

    struct Property;

private:
    struct CallFault {
        int remaining;
        std::int32_t number;
        std::string match;
    };
    using PropertyKey = std::pair<int, int>;

    void apply(const LineConfig& config);
    void exchange(int retries, const char* source);
    const Property& property(int objectIndex, int propertyId, int dataType, int start, int count,
                             const char* source) const;
    std::vector<std::uint8_t> element(const Property& p, int dataType, int index, bool poll);
    void store(const Property& p, int index, const std::vector<std::uint8_t>& bytes);
    std::uint8_t& stateRegister(const Property& p);

    LineConfig config_;
    DaliGateway gateway_;
    std::vector<std::string> trace_;
    std::vector<CallFault> callFaults_;
    std::int32_t openFailure_ = 0;
    int opensBeforeFailure_ = 0;
    int transientFailures_ = 0;
    int answersLeft_ = -1;  // -1: answers for ever
    std::map<PropertyKey, bool> verifyDifferences_;
    std::map<PropertyKey, ReplyFault> replyFaults_;
    int openConnections_ = 0;
    int retriesUsed_ = 0;
};

// The one simulated line of the process.
SimulatedLine& simulatedLine();
// The driver whose objects talk to the simulated line (the default installed driver).
std::shared_ptr<Driver> simulatedDriver();

}  // namespace busdriver
