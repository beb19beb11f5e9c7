// A scripted bus driver for the job tests: it logs every driver call (and the release of each
// driver object) as a line of text, answers reads from a property table or a callback, and can
// fail any call whose log line starts with a given text.
#pragma once

#include "automation_error.h"
#include "corbus/brim_eib.h"
#include "falcon.h"
#include "oledate.h"
#include "variant.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace corbus_test {

using automation::Variant;

// Text of a value: scalars as text, arrays in brackets, arrays of variants in braces.
inline std::string describe(const Variant& v) {
    if (!v.isArray()) return v.isEmpty() ? "Empty" : automation::toText(v);
    std::string out = v.elementType() == automation::vtVariant ? "{" : "[";
    for (std::size_t i = 0; i < v.count(); ++i) {
        if (i) out += " ";
        out += describe(v.elements()[i]);
    }
    return out + (v.elementType() == automation::vtVariant ? "}" : "]");
}

struct FakeBus {
    std::vector<std::string> log;
    // Codes Open returns, one per connection in order; 0 once used up.
    std::vector<std::int32_t> openCodes;
    std::int32_t maskVersion = 32;
    // (object, property) -> elements 1..n; a read at index 0 gives n.
    std::map<std::pair<std::int32_t, std::int32_t>, std::vector<Variant>> properties;
    // Replaces the property table when set.
    std::function<Variant(std::int32_t object, std::int32_t property, std::int32_t type, std::int32_t start,
                          std::int32_t count)>
        onRead;
    // A call whose log line starts with failOn raises failNumber (once, unless failAlways).
    std::string failOn;
    std::int32_t failNumber = 0;
    bool failAlways = false;
    std::size_t openCount = 0;

    void call(const std::string& line) {
        log.push_back(line);
        if (!failOn.empty() && line.rfind(failOn, 0) == 0) {
            if (!failAlways) failOn.clear();
            automation::raise(failNumber, "fake", "scripted failure");
        }
    }

    // The log lines that start with the prefix.
    std::vector<std::string> lines(const std::string& prefix) const {
        std::vector<std::string> out;
        for (const auto& l : log) {
            if (l.rfind(prefix, 0) == 0) out.push_back(l);
        }
        return out;
    }

    Variant read(std::int32_t object, std::int32_t property, std::int32_t type, std::int32_t start,
                 std::int32_t count) {
        if (onRead) return onRead(object, property, type, start, count);
        const auto& elements = properties.at({object, property});
        if (start == 0) return Variant(static_cast<std::int32_t>(elements.size()));
        std::vector<Variant> part(elements.begin() + (start - 1), elements.begin() + (start - 1 + count));
        if (count == 1) return part.front();
        if (part.front().isArray()) return Variant::variants(part);
        std::vector<std::int32_t> numbers;
        for (const auto& e : part) numbers.push_back(automation::toLong(e));
        return Variant::longs(numbers);
    }
};

// Logs its own release.
class Logged {
public:
    Logged(std::shared_ptr<FakeBus> bus, std::string name) : bus_(std::move(bus)), name_(std::move(name)) {}
    virtual ~Logged() { bus_->log.push_back("~" + name_); }

protected:
    std::shared_ptr<FakeBus> bus_;
    std::string name_;
};

class FakeConnection : public busdriver::ConnectionObject, Logged {
public:
    explicit FakeConnection(std::shared_ptr<FakeBus> bus) : Logged(std::move(bus), "Connection") {}
    void setMode(std::int32_t mode) override { bus_->call("Mode " + std::to_string(mode)); }
    void setRemoteAddress(const Variant& address) override {
        bus_->call("RemoteAddress " + describe(address));
        address_ = address;
    }
    std::int32_t remoteAddress() const override {
        if (!address_.isString()) return automation::toLong(address_);
        int a = 0, l = 0, d = 0;
        char dot;
        std::istringstream(address_.str()) >> a >> dot >> l >> dot >> d;
        return a * 4096 + l * 256 + d;
    }
    void Open(const std::string& interfaceId, const Variant& parameters, std::int32_t& code) override {
        bus_->call("Open " + interfaceId + " " + describe(parameters));
        const std::size_t i = bus_->openCount++;
        code = i < bus_->openCodes.size() ? bus_->openCodes[i] : 0;
    }
    std::int32_t RemoteMaskVersion() override {
        bus_->call("RemoteMaskVersion");
        return bus_->maskVersion;
    }

private:
    Variant address_;
};

class FakeAccess : public busdriver::PropertyAccess, Logged {
public:
    explicit FakeAccess(std::shared_ptr<FakeBus> bus) : Logged(std::move(bus), "PropertyAccess") {}
    void Attach(std::shared_ptr<busdriver::ConnectionObject> connection) override {
        bus_->call(connection ? "Attach" : "Attach nothing");
        connection_ = std::move(connection);
    }
    void setRetryCount(std::int32_t retries) override { bus_->call("RetryCount " + std::to_string(retries)); }
    void ReadProperty(std::int32_t object, std::int32_t property, std::int32_t type, std::int32_t start,
                      std::int32_t count, Variant& value) override {
        bus_->call(join("Read", object, property, type, start, count));
        value = bus_->read(object, property, type, start, count);
    }
    void WriteProperty(std::int32_t object, std::int32_t property, std::int32_t type, std::int32_t start,
                       std::int32_t count, const Variant& value, bool verify) override {
        bus_->call(join("Write", object, property, type, start, count) + " " + describe(value) +
                   (verify ? " verify" : ""));
    }

private:
    static std::string join(const char* what, std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d,
                            std::int32_t e) {
        std::ostringstream out;
        out << what << " " << a << " " << b << " " << c << " " << d << " " << e;
        return out.str();
    }
    std::shared_ptr<busdriver::ConnectionObject> connection_;
};

class FakeAuxiliary : public busdriver::AuxiliaryObject, Logged {
public:
    explicit FakeAuxiliary(std::shared_ptr<FakeBus> bus) : Logged(std::move(bus), "Auxiliary") {}
};

class FakeCreator : public busdriver::ClassCreator, Logged {
public:
    explicit FakeCreator(std::shared_ptr<FakeBus> bus) : Logged(std::move(bus), "ClassCreator") {}
    std::shared_ptr<busdriver::ConnectionObject> CreateInstance(const std::string& programId) override {
        bus_->call("CreateInstance " + programId);
        return std::make_shared<FakeConnection>(bus_);
    }
};

class FakeDriver : public busdriver::Driver {
public:
    explicit FakeDriver(std::shared_ptr<FakeBus> bus) : bus_(std::move(bus)) {}
    std::shared_ptr<busdriver::ClassCreator> createClassCreator() override {
        bus_->call("ClassCreator");
        return std::make_shared<FakeCreator>(bus_);
    }
    std::shared_ptr<busdriver::PropertyAccess> createPropertyAccess() override {
        bus_->call("PropertyAccess");
        return std::make_shared<FakeAccess>(bus_);
    }
    std::shared_ptr<busdriver::AuxiliaryObject> createAuxiliaryObject() override {
        bus_->call("Auxiliary");
        return std::make_shared<FakeAuxiliary>(bus_);
    }
    std::shared_ptr<busdriver::ConnectionManager> createConnectionManager() override { return nullptr; }

private:
    std::shared_ptr<FakeBus> bus_;
};

// Records the engine's events as "L<id>(p1,p2)" (EventLoad) and "E<id>(p1,p2)" (EventError);
// an optional hook runs inside each event.
class RecordingSink : public corbus::brimEibEvents {
public:
    std::vector<std::string> events;
    std::vector<double> dates;
    std::function<void(const std::string&)> onEvent;

    void EventLoad(corbus::enumEventID id, std::int32_t p1, std::int32_t p2, double dateTime) override {
        record("L", id, p1, p2, dateTime);
    }
    void EventError(corbus::enumEventID id, std::int32_t p1, std::int32_t p2, double dateTime) override {
        record("E", id, p1, p2, dateTime);
    }

private:
    void record(const char* kind, std::int32_t id, std::int32_t p1, std::int32_t p2, double dateTime) {
        const std::string text = kind + std::to_string(id) + "(" + std::to_string(p1) + "," + std::to_string(p2) + ")";
        events.push_back(text);
        dates.push_back(dateTime);
        if (onEvent) onEvent(text);
    }
};

}  // namespace corbus_test
