// Fixture of the gateway-operation tests: a sized project addressed to the simulated gateway
// (1.1.1), a recorder of every project event, a manual clock, a counting message pump and a
// temporary program folder for the item logs.
#pragma once

#include "corlink/GatewayHooks.h"
#include "oledate.h"
#include "simulated_line.h"
#include "test_support.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

#include <unistd.h>

namespace corlink::test {

namespace fs = std::filesystem;

// The simulated line is selected by "1"; "1" as parameters leaves its configuration alone.
inline const std::string kEdi = "1";
inline const std::string kPara = "1";
inline constexpr std::int32_t kGateway = 4353;  // 1.1.1

struct DownUpLoadEvent {
    DeviceState status;
    double Datum;
    automation::Variant phyAdr;
    TypLoadProc TypLoad;
};

struct LoadErrorRecord {
    std::string text;
    LoadError code;
};

// Records every event; `sequence` keeps their order by name.
struct Recorder : clsOrvekDaliEvents {
    std::vector<std::string> sequence;
    std::vector<std::int16_t> interfaceErrors;
    std::vector<DownUpLoadEvent> downUpLoads;
    std::vector<TypDeviceInfo> deviceInfos;
    std::vector<std::string> loads;
    std::vector<LoadErrorRecord> loadErrors;
    std::function<void()> onLoad;  // runs inside every LoadEvent

    void HeaderChanged() override { sequence.push_back("HeaderChanged"); }
    void InterfaceError(std::int16_t code) override {
        sequence.push_back("InterfaceError");
        interfaceErrors.push_back(code);
    }
    void DeviceInfoEvent(TypDeviceInfo& info, DeviceState, double, const automation::Variant&) override {
        sequence.push_back("DeviceInfoEvent");
        deviceInfos.push_back(info);
    }
    void DownUpLoad(DeviceState status, double Datum, const automation::Variant& phyAdr, TypLoadProc TypLoad) override {
        sequence.push_back("DownUpLoad");
        downUpLoads.push_back({status, Datum, phyAdr, TypLoad});
    }
    void LoadEvent(const std::string& text, std::int32_t, std::int32_t, double) override {
        sequence.push_back("LoadEvent");
        loads.push_back(text);
        if (onLoad) onLoad();
    }
    void LoadErrorEvent(const std::string& text, std::int32_t, std::int32_t, double, LoadError& code) override {
        sequence.push_back("LoadErrorEvent");
        loadErrors.push_back({text, code});
    }
    // Everything but LoadEvent, in order.
    std::vector<std::string> outcome() const {
        std::vector<std::string> out;
        for (const std::string& e : sequence)
            if (e != "LoadEvent") out.push_back(e);
        return out;
    }
};

// The simulated line's trace entries of property reads ("Read") or writes ("Write").
inline std::vector<std::string> propertyCalls(const std::string& verb) {
    std::vector<std::string> out;
    for (const std::string& entry : busdriver::simulatedLine().trace())
        if (entry.rfind(verb + " ", 0) == 0) out.push_back(entry);
    return out;
}

// Dates of the manual clock: items are built at kBuilt; the first engine event moves the clock
// on to `later`.
inline constexpr double kBuilt = 45000.25;
inline constexpr double kLoaded = 45000.5;

class GatewayTest : public ::testing::Test {
protected:
    GatewayTest() : clock_([this] { return now; }) {}

    void SetUp() override {
        busdriver::simulatedLine().reset();
        folder = fs::temp_directory_path() / ("corlink-gateway-" + std::to_string(::getpid()) + "-" +
                                              ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
        setProgramFolder(folder);
        setMessagePump([this] {
            ++pumps;
            now = later;
            if (pumpAction) pumpAction();
        });
        size(p);
        TypHeader h;
        h.phyAdr = kGateway;
        h.LetzterDownload = 1.0;
        h.LetzterUpload = 2.0;
        p.letHeader(h);
        p.ClearChangeFlag();
        p.setEventSink(&events);
    }

    void TearDown() override {
        setMessagePump({});
        setProgramFolder({});
        fs::remove_all(folder);
    }

    static busdriver::SimulatedLine& line() { return busdriver::simulatedLine(); }
    static busdriver::DaliGateway& gateway() { return line().gateway(); }

    // A project with distinct bytes in every ballast and scene entry, and texts that the
    // gateway never sees.
    static void fillTables(clsOrvekDali& project, std::uint8_t seed = 0) {
        for (std::int16_t i = 0; i < 64; ++i) {
            const auto b = static_cast<std::uint8_t>(i + seed);
            project.letDaliGruppe(i, TypDaliGruppe{static_cast<std::uint8_t>(i % 17), b,
                                                   static_cast<std::uint8_t>(b + 64),
                                                   static_cast<std::uint8_t>(b + 128), "Name" + std::to_string(i),
                                                   "Grp", 0, "d1", "d2"});
        }
        for (std::int16_t i = 0; i < 16; ++i) {
            project.letDaliScene(i, TypDaliScene{static_cast<std::uint8_t>(i + seed),
                                                 static_cast<std::uint8_t>(0x80 | i), 0});
        }
        project.ClearChangeFlag();
    }

    bool logExists(const std::string& name) const { return fs::exists(folder / name); }
    std::string readLog(const std::string& name) const {
        std::ifstream in(folder / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    double now = kBuilt;
    double later = kLoaded;
    automation::ScopedClock clock_;
    fs::path folder;
    int pumps = 0;
    std::function<void()> pumpAction;
    clsOrvekDali p;
    Recorder events;
};

}  // namespace corlink::test
