// Fixture of the gateway-operation tests: a sized project addressed to the simulated gateway
// (1.1.1), a recorder of every project event, a manual clock, a counting message pump and a
// temporary program folder for the item logs.
#pragma once

#include "corlink/GatewayHooks.h"
#include "oledate.h"
#include "simulated_line.h"
#include "test_support.h"

namespace corlink::test {

// The simulated line is selected by "1"; "1" as parameters leaves its configuration alone.
inline const std::string kEdi = "1";
inline const std::string kPara = "1";
inline constexpr std::int32_t kGateway = 4353;  // 1.1.1

// The simulated line's trace entries of property reads ("Read") or writes ("Write").
inline std::vector<std::string> propertyCalls(const std::string& verb) {
    std::vector<std::string> out;
    for (const std::string& entry : busdriver::simulatedLine().trace())
        if (entry.rfind(verb + " ", 0) == 0) out.push_back(entry);
    return out;
}

// Dates of the manual clock: items are built at kBuilt; the first engine event (the message
// pump) moves the clock on to `later`.
inline constexpr double kBuilt = 45000.25;
inline constexpr double kLoaded = 45000.5;

class GatewayTest : public ::testing::Test {
protected:
    GatewayTest() : clock_([this] { return now; }) {}

    void SetUp() override {
        busdriver::simulatedLine().reset();
        setProgramFolder(temp.dir);
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
    }

    static busdriver::SimulatedLine& line() { return busdriver::simulatedLine(); }
    static busdriver::DaliGateway& gateway() { return line().gateway(); }

    // A project with distinct bytes in every ballast and scene entry, and texts that the
    // gateway never sees.
    static void fillTables(clsOrvekDali& project, std::uint8_t seed = 0) {
        for (std::int16_t i = 0; i < 64; ++i) {
            const auto b = static_cast<std::uint8_t>(i + seed);
            project.letDaliGruppe(
                i, TypDaliGruppe{static_cast<std::uint8_t>(i % 17), b, static_cast<std::uint8_t>(b + 64),
                                 static_cast<std::uint8_t>(b + 128), "Name" + std::to_string(i), "Grp", 0, "d1", "d2"});
        }
        for (std::int16_t i = 0; i < 16; ++i) {
            project.letDaliScene(
                i, TypDaliScene{static_cast<std::uint8_t>(i + seed), static_cast<std::uint8_t>(0x80 | i), 0});
        }
        project.ClearChangeFlag();
    }

    bool logExists(const std::string& name) const { return fs::exists(temp.dir / name); }
    std::string readLog(const std::string& name) const { return readFile(temp.dir / name); }

    TempFolder temp;
    double now = kBuilt;
    double later = kLoaded;
    automation::ScopedClock clock_;
    int pumps = 0;
    std::function<void()> pumpAction;
    clsOrvekDali p;
    Recorder events;
};

}  // namespace corlink::test
