// Helpers shared by the Corbus tests: trapping automation errors, and a scripted bus driver that
// logs every driver call (and the release of each driver object as "~Name"), answers reads from a
// property table and fails the first call whose log line starts with a given text.
#pragma once

#include "automation_error.h"
#include "corbus/brim_eib.h"
#include "falcon.h"
#include "variant.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace corbus_test {

using automation::Variant;
using Lines = std::vector<std::string>;

struct Caught {
    std::int32_t number = 0;  // 0: nothing raised
    std::string source;
    std::string description;
};

template <typename F>
Caught caught(F&& f) {
    try {
        f();
    } catch (const automation::AutomationError& e) {
        return {e.number(), e.source(), e.description()};
    }
    return {};
}

// Text of a value: scalars as text, arrays in brackets, arrays of variants in braces.
inline std::string describe(const Variant& v) {
    if (!v.isArray()) return v.isEmpty() ? "Empty" : automation::toText(v);
    const bool variants = v.elementType() == automation::vtVariant;
    std::string out = variants ? "{" : "[";
    for (std::size_t i = 0; i < v.count(); ++i) out += (i ? " " : "") + describe(v.elements()[i]);
    return out + (variants ? "}" : "]");
}

struct FakeBus {
    Lines log;
    std::int32_t openCode = 0;
    std::int32_t maskVersion = 32;
    // (object, property) -> elements 1..n; a read at index 0 gives n.
    std::map<std::pair<std::int32_t, std::int32_t>, std::vector<Variant>> properties;
    std::optional<Variant> countReply;  // when set, what every read at index 0 gives
    std::string failOn;                 // the first call whose line starts with it raises failNumber
    std::int32_t failNumber = 0;

    void call(const std::string& line) {
        log.push_back(line);
        if (failOn.empty() || line.rfind(failOn, 0) != 0) return;
        failOn.clear();
        automation::raise(failNumber, "fake", "scripted failure");
    }

    Lines lines(const std::string& prefix) const {
        Lines out;
        for (const auto& l : log)
            if (l.rfind(prefix, 0) == 0) out.push_back(l);
        return out;
    }

    Variant read(std::int32_t object, std::int32_t property, std::int32_t start, std::int32_t count) {
        const auto& elements = properties.at({object, property});
        if (start == 0) return countReply ? *countReply : Variant(static_cast<std::int32_t>(elements.size()));
        std::vector<Variant> part(elements.begin() + (start - 1), elements.begin() + (start - 1 + count));
        if (count == 1) return part.front();
        if (part.front().isArray()) return Variant::variants(part);
        std::vector<std::int32_t> numbers;
        for (const auto& e : part) numbers.push_back(automation::toLong(e));
        return Variant::longs(numbers);
    }
};

// Every driver object in one class: it logs each call and, as "~Name", its release.
class FakeObject final : public busdriver::ClassCreator,
                         public busdriver::ConnectionObject,
                         public busdriver::PropertyAccess,
                         public busdriver::AuxiliaryObject {
public:
    FakeObject(std::shared_ptr<FakeBus> bus, std::string name) : bus_(std::move(bus)), name_(std::move(name)) {}
    ~FakeObject() override { bus_->log.push_back("~" + name_); }

    std::shared_ptr<busdriver::ConnectionObject> CreateInstance(const std::string& programId) override {
        bus_->call("CreateInstance " + programId);
        return std::make_shared<FakeObject>(bus_, "Connection");
    }
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
        code = bus_->openCode;
    }
    std::int32_t RemoteMaskVersion() override {
        bus_->call("RemoteMaskVersion");
        return bus_->maskVersion;
    }
    void Attach(std::shared_ptr<busdriver::ConnectionObject>) override { bus_->call("Attach"); }
    void setRetryCount(std::int32_t retries) override { bus_->call("RetryCount " + std::to_string(retries)); }
    void ReadProperty(std::int32_t object, std::int32_t property, std::int32_t type, std::int32_t start,
                      std::int32_t count, Variant& value) override {
        bus_->call(args("Read", {object, property, type, start, count}));
        value = bus_->read(object, property, start, count);
    }
    void WriteProperty(std::int32_t object, std::int32_t property, std::int32_t type, std::int32_t start,
                       std::int32_t count, const Variant& value, bool verify) override {
        bus_->call(args("Write", {object, property, type, start, count}) + " " + describe(value) +
                   (verify ? " verify" : ""));
    }

private:
    static std::string args(std::string text, std::initializer_list<std::int32_t> numbers) {
        for (std::int32_t n : numbers) text += " " + std::to_string(n);
        return text;
    }
    std::shared_ptr<FakeBus> bus_;
    std::string name_;
    Variant address_;
};

class FakeDriver : public busdriver::Driver {
public:
    explicit FakeDriver(std::shared_ptr<FakeBus> bus) : bus_(std::move(bus)) {}
    std::shared_ptr<busdriver::ClassCreator> createClassCreator() override { return make("ClassCreator"); }
    std::shared_ptr<busdriver::PropertyAccess> createPropertyAccess() override { return make("PropertyAccess"); }
    std::shared_ptr<busdriver::AuxiliaryObject> createAuxiliaryObject() override { return make("Auxiliary"); }
    std::shared_ptr<busdriver::ConnectionManager> createConnectionManager() override { return nullptr; }

private:
    std::shared_ptr<FakeObject> make(const char* name) {
        bus_->call(name);
        return std::make_shared<FakeObject>(bus_, name);
    }
    std::shared_ptr<FakeBus> bus_;
};

// Records the engine's events as "L<id>(p1,p2)" (EventLoad) and "E<id>(p1,p2)" (EventError)
// with their dates; an optional hook runs inside each event.
class RecordingSink : public corbus::brimEibEvents {
public:
    Lines events;
    std::vector<double> dates;
    std::function<void(const std::string&)> onEvent;

    void EventLoad(corbus::enumEventID id, std::int32_t p1, std::int32_t p2, double date) override {
        record("L", id, p1, p2, date);
    }
    void EventError(corbus::enumEventID id, std::int32_t p1, std::int32_t p2, double date) override {
        record("E", id, p1, p2, date);
    }

private:
    void record(const char* kind, std::int32_t id, std::int32_t p1, std::int32_t p2, double date) {
        events.push_back(kind + std::to_string(id) + "(" + std::to_string(p1) + "," + std::to_string(p2) + ")");
        dates.push_back(date);
        if (onEvent) onEvent(events.back());
    }
};

}  // namespace corbus_test
