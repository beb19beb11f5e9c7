// Fuzz target: any bytes as the gateway's replies. A scripted bus driver answers the property
// reads of a gateway operation with values decoded from the input, in any shape a driver could
// hand back (nothing, numbers, texts, byte blocks, arrays of them, failures); writes take their
// outcome from the input too. The first byte picks the operation: the ballast and scene tables,
// the scene table alone, the command channel, the device information or a table download, with
// or without item logs. One project serves the whole run, as in the program; an operation that
// refuses what it read leaves it as it was.
#include "automation_error.h"
#include "corlink/GatewayHooks.h"
#include "corlink/clsOrvekDali.h"
#include "falcon.h"
#include "fuzz_support.h"
#include "simulated_line.h"

#include <cstring>
#include <vector>

using namespace corlink;
using automation::Variant;

namespace {

constexpr const char* kSource = "Fuzz driver";

// The input, read from the front. A driver call that finds it used up gets no answer.
class Script {
public:
    void reset(const std::uint8_t* data, std::size_t size) {
        data_ = data;
        size_ = size;
        pos_ = 0;
    }
    bool used() const { return pos_ >= size_; }

    std::uint8_t byte() {
        if (used()) automation::raise(busdriver::statusNoAnswer, kSource, "No answer");
        return data_[pos_++];
    }

    template <class T>
    T raw() {
        std::uint8_t bytes[sizeof(T)];
        for (std::uint8_t& b : bytes) b = byte();
        T value;
        std::memcpy(&value, bytes, sizeof(T));
        return value;
    }

    // One reply: a tag byte, its low nibble the shape, its high nibble a length.
    Variant value(int depth = 0) {
        const std::uint8_t tag = byte();
        const std::size_t n = tag >> 4;
        switch (tag & 0x0F) {
        case 0: return {};
        case 1: return Variant(raw<std::int32_t>());
        case 2: return Variant(std::int32_t{byte()});  // the usual element count or byte
        case 3: return Variant(raw<std::int16_t>());
        case 4: return Variant(byte());
        case 5: return Variant(raw<double>());
        case 6: return Variant((n & 1) != 0);
        case 7: {
            std::string text;
            for (std::size_t i = 0; i < n; ++i) text += static_cast<char>(byte());
            return Variant(text);
        }
        case 8: return Variant::bytes(bytes(n));
        case 9: {
            std::vector<std::int32_t> numbers;
            for (std::size_t i = 0; i < n; ++i) numbers.push_back(byte());
            return Variant::longs(numbers);
        }
        case 10: {
            if (depth >= 2) return {};
            std::vector<Variant> values;
            for (std::size_t i = 0; i < n; ++i) values.push_back(value(depth + 1));
            return Variant::variants(std::move(values));
        }
        case 11: return Variant::null();
        case 12: return Variant::date(raw<double>());
        case 13: automation::raise(raw<std::int32_t>(), kSource, "The driver call failed");
        case 14: {
            std::vector<std::int32_t> numbers;
            for (std::size_t i = 0; i < n; ++i) numbers.push_back(raw<std::int32_t>());
            return Variant::longs(numbers);
        }
        default: return Variant::bytes(bytes(n), 1);  // a block whose bounds start at 1
        }
    }

private:
    std::vector<std::uint8_t> bytes(std::size_t n) {
        std::vector<std::uint8_t> out;
        for (std::size_t i = 0; i < n; ++i) out.push_back(byte());
        return out;
    }

    const std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t pos_ = 0;
};

Script script;

class Connection : public busdriver::ConnectionObject {
public:
    void setMode(std::int32_t) override {}
    void setRemoteAddress(const Variant& address) override { address_ = automation::toLong(address); }
    std::int32_t remoteAddress() const override { return address_; }
    void Open(const std::string&, const Variant&, std::int32_t& code) override {
        code = script.used() ? busdriver::openNoDevice : busdriver::openOk;
    }
    std::int32_t RemoteMaskVersion() override { return script.raw<std::int16_t>(); }

private:
    std::int32_t address_ = 0;
};

class Access : public busdriver::PropertyAccess {
public:
    void Attach(std::shared_ptr<busdriver::ConnectionObject>) override {}
    void setRetryCount(std::int32_t) override {}
    void ReadProperty(std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t, Variant& value) override {
        value = script.value();
    }
    void WriteProperty(std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t, const Variant&,
                       bool) override {
        if (script.byte() & 1) automation::raise(busdriver::statusFailed, kSource, "The write failed");
    }
};

class Creator : public busdriver::ClassCreator {
public:
    std::shared_ptr<busdriver::ConnectionObject> CreateInstance(const std::string&) override {
        return std::make_shared<Connection>();
    }
};

class ScriptedDriver : public busdriver::Driver {
public:
    std::shared_ptr<busdriver::ClassCreator> createClassCreator() override { return std::make_shared<Creator>(); }
    std::shared_ptr<busdriver::PropertyAccess> createPropertyAccess() override { return std::make_shared<Access>(); }
    std::shared_ptr<busdriver::AuxiliaryObject> createAuxiliaryObject() override {
        return std::make_shared<busdriver::AuxiliaryObject>();
    }
    std::shared_ptr<busdriver::ConnectionManager> createConnectionManager() override { return nullptr; }
};

// Whether the engine reported the job as failed (the operation then zeroes its date), and
// whether the operation took the reply (a failure after that, such as an item log that cannot
// be written, still gives -1).
struct Events : clsOrvekDaliEvents {
    bool failed = false;
    bool taken = false;
    void DownUpLoad(DeviceState, double, const Variant&, TypLoadProc TypLoad) override {
        failed = failed || TypLoad == pdError;
        taken = taken || TypLoad == pdupLoad || TypLoad == pdDownLoad;
    }
    void DeviceInfoEvent(TypDeviceInfo&, DeviceState, double, const Variant&) override { taken = true; }
    void InterfaceError(std::int16_t) override { ++errors; }
    int errors = 0;
};

// Everything a reply could change.
struct Snapshot {
    TypHeader header;
    std::vector<TypDaliGruppe> ballasts;
    std::vector<TypDaliScene> scenes;
    TypDaliCommand command;
    TypDeviceInfo info;
    bool changed;
    bool operator==(const Snapshot&) const = default;
};

Snapshot snapshotOf(const clsOrvekDali& p) {
    Snapshot s{p.Header(), {}, {}, p.daliCommand(), p.DeviceInfo(), p.GetChangeFlag()};
    for (std::int16_t i = 0; i <= 64; ++i) s.ballasts.push_back(p.DaliGruppe(i));
    for (std::int16_t i = 0; i <= 16; ++i) s.scenes.push_back(p.DaliScene(i));
    return s;
}

// A sized project addressed to 1.1.1, every field the replies reach set to a value of its own
// (until replies replace them).
void prepare(clsOrvekDali& p) {
    corlink::test::size(p);  // the gateway models' limits
    TypHeader h;
    h.phyAdr = 0x1101;
    h.LetzterDownload = 1.5;
    h.LetzterUpload = 2.5;
    p.letHeader(h);
    for (std::int16_t i = 0; i < 64; ++i) {
        const auto b = static_cast<std::uint8_t>(i);
        p.letDaliGruppe(i, TypDaliGruppe{static_cast<std::uint8_t>(i % 17), b, b, b, "", "", b, "", ""});
    }
    for (std::int16_t i = 0; i < 16; ++i) p.letDaliScene(i, TypDaliScene{static_cast<std::uint8_t>(i), 0x55, 0});
    p.letdaliCommand({7, 8, 9});
    TypDeviceInfo info;
    info.Bestellnummer = "517104";
    p.letDeviceInfo(info);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    busdriver::installDriver(std::make_shared<ScriptedDriver>());
    setProgramFolder(corvane_fuzz::scratchFolder());  // the item logs
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return -1;
    const std::uint8_t choice = data[0];
    script.reset(data + 1, size - 1);

    static clsOrvekDali& p = *[] {
        static clsOrvekDali project;
        prepare(project);
        return &project;
    }();
    Events events;
    p.setEventSink(&events);
    Snapshot expected = snapshotOf(p);
    const bool logs = (choice & 0x80) != 0;
    const std::string edi = "1", para = "1";
    std::int16_t result = 0;
    double TypHeader::*date = &TypHeader::LetzterUpload;
    switch ((choice & 0x7F) % 5) {
    case 0: result = p.StartDownUpLoad(pdupLoad, edi, para, logs); break;
    case 1: result = p.StartSceneDownload(pdupLoad, edi, para, TypDaliCommand{}, logs); break;
    case 2: result = p.StartNeuinstallation(pdupLoad, edi, para, TypDaliCommand{1, 0, 0}, logs); break;
    case 3:
        result = p.StartDeviceInfo(edi, para, nullptr, nullptr, logs);
        date = nullptr;
        break;
    default:
        result = p.StartDownUpLoad(pdDownLoad, edi, para, logs);
        date = &TypHeader::LetzterDownload;
        break;
    }
    p.setEventSink(nullptr);
    FUZZ_CHECK(result == 1 || result == -1);
    if (result == -1 && events.taken) {
        FUZZ_CHECK(events.errors > 0);  // the reply was taken; what failed afterwards was reported
    } else if (result == -1) {
        // A refused reply: a job that the engine reported as failed zeroes the operation's date;
        // nothing else changes.
        if (events.failed && date) expected.header.*date = 0.0;
        FUZZ_CHECK(snapshotOf(p) == expected);
    }
    return 0;
}
