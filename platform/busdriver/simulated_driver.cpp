// The driver's objects in front of the simulated line. Each call is recorded in the line's trace
// (where a test may make it fail) before it does its work.
#include "automation_error.h"
#include "connection_dialog.h"
#include "simulated_line.h"

namespace busdriver {

using automation::Variant;

namespace {

constexpr const char* kConnectionProgramId = "Falcon.ConnectionObject.1";
constexpr const char* kDriverSource = "Falcon";
constexpr const char* kConnectionSource = "Falcon.ConnectionObject";
constexpr const char* kAccessSource = "Falcon.PropertyAccess";
constexpr const char* kManagerSource = "Falcon.ConnectionManager";

std::string describe(const Variant& v) {
    try {
        return automation::toText(v);
    } catch (const automation::AutomationError&) {
        return "?";
    }
}

std::string propertyCall(const char* verb, std::int32_t objectIndex, std::int32_t propertyId, std::int32_t dataType,
                         std::int32_t start, std::int32_t count) {
    return std::string(verb) + " " + std::to_string(objectIndex) + "/" + std::to_string(propertyId) + " type " +
           std::to_string(dataType) + " start " + std::to_string(start) + " count " + std::to_string(count);
}

class SimConnection final : public ConnectionObject {
public:
    explicit SimConnection(SimulatedLine& line) : line_(line) {}
    ~SimConnection() override {
        if (open_) line_.close();
    }

    void setMode(std::int32_t mode) override {
        line_.call("Mode " + std::to_string(mode), kConnectionSource);
        if (mode == modeClose) {
            if (open_) line_.close();
            open_ = false;
        } else if (mode != modeMaskCheckOrKept && mode != modeTransferOnly) {
            automation::raise(statusInvalidArgument, kConnectionSource, "Unknown connection mode");
        } else if (open_) {
            automation::raise(statusUnexpected, kConnectionSource, "The connection is open");
        }
        mode_ = mode;
    }

    void setRemoteAddress(const Variant& address) override {
        line_.call("RemoteAddress " + describe(address), kConnectionSource);
        if (open_) automation::raise(statusUnexpected, kConnectionSource, "The connection is open");
        std::uint16_t parsed = 0;
        const bool ok = address.isString() ? parsePhysicalAddress(address.str(), parsed)
                        : address.isNumber() && !address.isArray()
                            ? address.number() >= 0 && address.number() <= 0xFFFF &&
                                  address.number() == static_cast<double>(static_cast<std::uint16_t>(address.number()))
                            : false;
        if (!ok)
            automation::raise(statusInvalidArgument, kConnectionSource, "Not a physical address: " + describe(address));
        address_ = address.isString() ? parsed : static_cast<std::uint16_t>(address.number());
    }

    std::int32_t remoteAddress() const override { return address_; }

    void Open(const std::string& interfaceId, const Variant& parameters, std::int32_t& code) override {
        line_.call("Open " + interfaceId + " \"" + describe(parameters) + "\"", kConnectionSource);
        if (mode_ != modeMaskCheckOrKept && mode_ != modeTransferOnly)
            automation::raise(statusUnexpected, kConnectionSource, "No connection mode set");
        code = open_ ? openAlreadyOpen : line_.open(interfaceId, parameters, address_);
        if (code == openOk) open_ = true;
    }

    std::int32_t RemoteMaskVersion() override {
        line_.call("MaskVersion", kConnectionSource);
        requireOpen(kConnectionSource);
        return line_.maskVersion(kConnectionSource);
    }

    void requireOpen(const char* source) const {
        if (!open_) automation::raise(statusNotConnected, source, "The connection is not open");
    }

private:
    SimulatedLine& line_;
    std::int32_t mode_ = 0;
    std::uint16_t address_ = 0;
    bool open_ = false;
};

class SimPropertyAccess final : public PropertyAccess {
public:
    explicit SimPropertyAccess(SimulatedLine& line) : line_(line) {}

    void Attach(std::shared_ptr<ConnectionObject> connection) override {
        line_.call("Attach", kAccessSource);
        auto own = std::dynamic_pointer_cast<SimConnection>(connection);
        if (!own) automation::raise(statusInvalidArgument, kAccessSource, "Not a connection of this driver");
        connection_ = std::move(own);
    }

    void setRetryCount(std::int32_t retries) override {
        line_.call("RetryCount " + std::to_string(retries), kAccessSource);
        if (retries < 0 || retries > 255)
            automation::raise(statusInvalidArgument, kAccessSource, "Retry count out of range");
        retries_ = retries;
    }

    void ReadProperty(std::int32_t objectIndex, std::int32_t propertyId, std::int32_t dataType, std::int32_t start,
                      std::int32_t count, Variant& value) override {
        line_.call(propertyCall("Read", objectIndex, propertyId, dataType, start, count), kAccessSource);
        requireConnection();
        value = line_.readProperty(objectIndex, propertyId, dataType, start, count, retries_, kAccessSource);
    }

    void WriteProperty(std::int32_t objectIndex, std::int32_t propertyId, std::int32_t dataType, std::int32_t start,
                       std::int32_t count, const Variant& value, bool verify) override {
        line_.call(propertyCall("Write", objectIndex, propertyId, dataType, start, count) + (verify ? " verify" : ""),
                   kAccessSource);
        requireConnection();
        line_.writeProperty(objectIndex, propertyId, dataType, start, count, value, verify, retries_, kAccessSource);
    }

private:
    void requireConnection() const {
        if (!connection_) automation::raise(statusNotConnected, kAccessSource, "No connection attached");
        connection_->requireOpen(kAccessSource);
    }

    SimulatedLine& line_;
    std::shared_ptr<SimConnection> connection_;
    std::int32_t retries_ = 3;
};

class SimAuxiliary final : public AuxiliaryObject {};

class SimClassCreator final : public ClassCreator {
public:
    explicit SimClassCreator(SimulatedLine& line) : line_(line) {}

    std::shared_ptr<ConnectionObject> CreateInstance(const std::string& programId) override {
        line_.call("CreateInstance " + programId, kDriverSource);
        if (programId != kConnectionProgramId)
            automation::raise(statusClassNotRegistered, kDriverSource, "Class not registered: " + programId);
        return std::make_shared<SimConnection>(line_);
    }

private:
    SimulatedLine& line_;
};

ConnectionDialog& dialogSlot() {
    static ConnectionDialog dialog;
    return dialog;
}

class SimConnectionManager final : public ConnectionManager {
public:
    explicit SimConnectionManager(SimulatedLine& line) : line_(line) {}

    std::int32_t SelectConnection(const std::string& caption, std::int32_t flags, ConnectionRecord& record) override {
        try {
            line_.call("SelectConnection \"" + caption + "\" " + std::to_string(flags), kManagerSource);
            const ConnectionDialog& dialog = dialogSlot();
            const std::vector<InterfaceChoice> offered = offeredInterfaces();
            const std::optional<InterfaceChoice> choice = dialog ? dialog(caption, offered) : offered.front();
            if (!choice || choice->name.empty()) return 0;  // cancelled: the record keeps its empty name
            return writeConnectionRecord(record, *choice) ? 0 : statusInvalidArgument;
        } catch (const automation::AutomationError& e) {
            return e.number();
        }
    }

private:
    SimulatedLine& line_;
};

class SimDriver final : public Driver {
public:
    std::shared_ptr<ClassCreator> createClassCreator() override {
        return create<SimClassCreator>("CreateClassCreator");
    }
    std::shared_ptr<PropertyAccess> createPropertyAccess() override {
        return create<SimPropertyAccess>("CreatePropertyAccess");
    }
    std::shared_ptr<AuxiliaryObject> createAuxiliaryObject() override {
        simulatedLine().call("CreateAuxiliaryObject", kDriverSource);
        return std::make_shared<SimAuxiliary>();
    }
    std::shared_ptr<ConnectionManager> createConnectionManager() override {
        return create<SimConnectionManager>("CreateConnectionManager");
    }

private:
    template <typename T>
    std::shared_ptr<T> create(const char* entry) {
        SimulatedLine& line = simulatedLine();
        line.call(entry, kDriverSource);
        return std::make_shared<T>(line);
    }
};

}  // namespace

std::vector<InterfaceChoice> offeredInterfaces() {
    return {{kSimulatedLineName, kSimulatedLineGuid, kSimulatedLineDefaultParameters}};
}

void setConnectionDialog(ConnectionDialog dialog) { dialogSlot() = std::move(dialog); }

std::shared_ptr<Driver> simulatedDriver() {
    static const std::shared_ptr<Driver> driver = std::make_shared<SimDriver>();
    return driver;
}

}  // namespace busdriver
