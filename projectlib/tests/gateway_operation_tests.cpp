// The four gateway operations against the simulated gateway line, the rows of their outcome
// table one after the other, with faults injected into the line where a row needs one.
#include "gateway_support.h"
#include "tables_test_access.h"

#include <tuple>

using namespace corlink;
using namespace corlink::test;
using busdriver::ReplyFault;

namespace {

using GatewayOperation = GatewayTest;
using GatewayFaults = GatewayTest;

const std::vector<std::string> kDownUpLoadOnly{"DownUpLoad"};
const std::vector<std::string> kErrorThenDownUpLoad{"LoadErrorEvent", "DownUpLoad"};
const std::vector<std::string> kErrorOnly{"LoadErrorEvent"};

// The operations that go either way, and the property the line can fail them on.
struct Operation {
    const char* name;
    std::function<std::int16_t(clsOrvekDali&, TypLoadProc)> call;
    std::string property;
    bool tables;
};
std::vector<Operation> operations() {
    return {{"tables", [](clsOrvekDali& p, TypLoadProc d) { return p.StartDownUpLoad(d, kEdi, kPara); }, "4/56", true},
            {"command",
             [](clsOrvekDali& p, TypLoadProc d) {
                 return p.StartNeuinstallation(d, kEdi, kPara, {4, 1, 0});
             },
             "4/59", false},
            {"scenes", [](clsOrvekDali& p, TypLoadProc d) { return p.StartSceneDownload(d, kEdi, kPara, {}); }, "4/56",
             false}};
}

void expectDownUpLoad(const Recorder& events, TypLoadProc load, double datum) {
    ASSERT_EQ(events.downUpLoads.size(), 1u);
    const DownUpLoadEvent& e = events.downUpLoads.front();
    EXPECT_EQ(e.TypLoad, load);
    EXPECT_EQ(e.status, pdStateReady);
    EXPECT_EQ(e.Datum, datum);
    EXPECT_EQ(e.phyAdr, automation::Variant(kGateway));
}

// Everything a gateway operation may write into the project.
auto snapshot(const clsOrvekDali& p) {
    std::vector<TypDaliGruppe> ballasts;
    for (std::int16_t i = 0; i < 64; ++i) ballasts.push_back(p.DaliGruppe(i));
    std::vector<TypDaliScene> scenes;
    for (std::int16_t i = 0; i < 16; ++i) scenes.push_back(p.DaliScene(i));
    return std::tuple(p.Header(), ballasts, scenes, p.daliCommand(), p.DeviceInfo());
}

bool sameBallast(const TypDaliGruppe& a, const TypDaliGruppe& b) {
    return a.Gruppe == b.Gruppe && a.pAdrL == b.pAdrL && a.pAdrM == b.pAdrM && a.pAdrH == b.pAdrH;
}

}  // namespace

TEST_F(GatewayOperation, TablesCommandsAndScenesFollowTheOutcomeTableBothWays) {
    fillTables(p);
    const TypHeader start = p.Header();
    const auto run = [&](const Operation& op, TypLoadProc direction) {
        p.letHeader(start);
        p.ClearChangeFlag();
        events = Recorder{};
        now = kBuilt;
        return op.call(p, direction);
    };
    for (const Operation& op : operations()) {
        for (TypLoadProc direction : {pdDownLoad, pdupLoad}) {
            const bool down = direction == pdDownLoad;
            SCOPED_TRACE(std::string(op.name) + (down ? " download" : " upload"));
            // Done: the job was filed as done; the direction's date is set (a table download also
            // takes the tables back, with LetzterUpload); the change flag stays clear.
            line().clearFaults();
            EXPECT_EQ(run(op, direction), 1);
            EXPECT_EQ(events.outcome(), kDownUpLoadOnly);
            expectDownUpLoad(events, direction, kLoaded);
            EXPECT_EQ(p.Header().LetzterDownload, down ? kLoaded : 1.0);
            EXPECT_EQ(p.Header().LetzterUpload, !down || op.tables ? kBuilt : 2.0);
            EXPECT_EQ(p.Header().phyAdrString, op.tables ? "1.1.1" : "");
            EXPECT_FALSE(p.GetChangeFlag());

            // Filed into LoadError: pdError, the direction's date zeroed, nothing taken back.
            line().failCall(1, busdriver::statusFailed, (down ? "Write " : "Read ") + op.property);
            p.letHeader(start);
            const auto before = snapshot(p);
            EXPECT_EQ(run(op, direction), -1);
            EXPECT_EQ(events.outcome(), kErrorThenDownUpLoad);
            expectDownUpLoad(events, pdError, 0.0);
            EXPECT_EQ(events.loadErrors.at(0).second, ERR_COMMUNICATION);
            EXPECT_EQ(p.Header().LetzterDownload, down ? 0.0 : 1.0);
            EXPECT_EQ(p.Header().LetzterUpload, down ? 2.0 : 0.0);
            EXPECT_EQ(std::get<1>(snapshot(p)), std::get<1>(before));
            EXPECT_EQ(std::get<3>(snapshot(p)), std::get<3>(before));

            // In no list (no connection): the engine's error alone, no date changed.
            line().failOpen(busdriver::openNoDevice);
            EXPECT_EQ(run(op, direction), -1);
            EXPECT_EQ(events.outcome(), kErrorOnly);
            EXPECT_EQ(events.loadErrors.at(0).second, ERR_NOCONNECTION);
            EXPECT_EQ(p.Header(), start);
            EXPECT_EQ(ListsAndTablesTestAccess::jobsInEngine(p), 0);
        }
        // Any other direction transfers nothing and reports nothing.
        line().clearFaults();
        line().clearTrace();
        EXPECT_EQ(run(op, pdError), 1);
        EXPECT_TRUE(line().trace().empty());
        EXPECT_TRUE(events.sequence.empty());
    }
    // ... but still writes both logs when asked to.
    EXPECT_EQ(p.StartDownUpLoad(pdDeviceInfo, kEdi, kPara, true), 1);
    EXPECT_TRUE(logExists("BTSToDO") && logExists("BTSLog"));
}

TEST_F(GatewayOperation, TablesDownloadThenUploadRoundTrip) {
    fillTables(p, 7);
    ASSERT_EQ(p.StartDownUpLoad(pdDownLoad, kEdi, kPara), 1);
    for (std::int16_t i = 0; i < 64; ++i) {
        const busdriver::BallastEntry& g = gateway().ballastTable[i];
        const TypDaliGruppe b = p.DaliGruppe(i);
        EXPECT_TRUE(b.Gruppe == g.group && b.pAdrL == g.low && b.pAdrM == g.middle && b.pAdrH == g.high) << i;
    }
    for (std::int16_t i = 0; i < 16; ++i) {
        EXPECT_EQ(gateway().sceneTable[i].byte1, p.DaliScene(i).Byte1);
        EXPECT_EQ(gateway().sceneTable[i].byte2, p.DaliScene(i).Byte2);
    }
    // Every progress text starts with a blank; the pump ran once per engine event.
    ASSERT_EQ(events.loads.size(), 5u);
    for (const std::string& text : events.loads) EXPECT_EQ(text.front(), ' ');
    EXPECT_EQ(pumps, 5);

    // Another project reads the same tables back and keeps its own texts.
    clsOrvekDali other;
    size(other);
    fillTables(other, 99);
    TypHeader h;
    h.phyAdr = kGateway;
    other.letHeader(h);
    ASSERT_EQ(other.StartDownUpLoad(pdupLoad, kEdi, kPara), 1);
    for (std::int16_t i = 0; i < 64; ++i) {
        const TypDaliGruppe b = other.DaliGruppe(i);
        EXPECT_TRUE(sameBallast(b, p.DaliGruppe(i))) << i;
        EXPECT_EQ(b.Index, i);
        EXPECT_EQ(b.Name, "Name" + std::to_string(i));
    }
    for (std::int16_t i = 0; i < 16; ++i) {
        EXPECT_EQ(other.DaliScene(i),
                  (TypDaliScene{p.DaliScene(i).Byte1, p.DaliScene(i).Byte2, static_cast<std::uint8_t>(i)}));
    }
}

TEST_F(GatewayOperation, SceneTableGoesAloneWhateverTheCommand) {
    fillTables(p);
    const auto ballasts = gateway().ballastTable;
    EXPECT_EQ(p.StartSceneDownload(pdDownLoad, kEdi, kPara, TypDaliCommand{6, 1, 2}), 1);
    for (std::int16_t i = 0; i < 16; ++i) EXPECT_EQ(gateway().sceneTable[i].byte1, p.DaliScene(i).Byte1);
    EXPECT_EQ(gateway().ballastTable, ballasts);
    for (const std::string& call : propertyCalls("Write")) EXPECT_EQ(call.rfind("Write 4/56 ", 0), 0u) << call;

    for (int i = 0; i < 16; ++i) gateway().sceneTable[i] = busdriver::SceneEntry{static_cast<std::uint8_t>(i), 0x55};
    EXPECT_EQ(p.StartSceneDownload(pdupLoad, kEdi, kPara, TypDaliCommand{7, 8, 9}), 1);
    for (std::int16_t i = 0; i < 16; ++i)
        EXPECT_EQ(p.DaliScene(i), (TypDaliScene{static_cast<std::uint8_t>(i), 0x55, static_cast<std::uint8_t>(i)}));
    EXPECT_EQ(p.DaliGruppe(5).pAdrM, 69);  // ballasts untouched
}

TEST_F(GatewayOperation, NewInstallationIsSentThenPolledUntilTheGatewayAnswers) {
    const TypDaliCommand start{1, 0, 0};
    EXPECT_EQ(p.StartNeuinstallation(pdDownLoad, kEdi, kPara, start), 1);
    int polls = 0;
    do {
        ASSERT_EQ(p.StartNeuinstallation(pdupLoad, kEdi, kPara, start), 1);
        ASSERT_LT(++polls, 10);
    } while (p.daliCommand().Byte1 != 0xFF);
    EXPECT_EQ(polls, 4);  // three polls still see the command
    EXPECT_EQ(p.daliCommand(), (TypDaliCommand{0xFF, 5, 0}));
    EXPECT_EQ(gateway().ballastTable[4].group, busdriver::kGroupNone);  // the gateway ran the installation
}

TEST_F(GatewayOperation, DeviceInformationIsReadAndReported) {
    gateway().states = busdriver::DeviceStates{1, 2, 3, 0};
    std::string order = "old";
    std::string firmware = "old";
    EXPECT_EQ(p.StartDeviceInfo(kEdi, kPara, &order, &firmware, true), 1);
    EXPECT_EQ(events.outcome(), (std::vector<std::string>{"DownUpLoad", "DeviceInfoEvent"}));
    expectDownUpLoad(events, pdDeviceInfo, kLoaded);
    const TypDeviceInfo info = p.DeviceInfo();
    EXPECT_EQ(std::tie(order, firmware), std::make_tuple("517104", "11"));
    EXPECT_EQ(info, (TypDeviceInfo{kGateway, "517104", "11", "", 1, 2, 3, 0, 0}));
    EXPECT_EQ(events.deviceInfos, std::vector<TypDeviceInfo>{info});
    EXPECT_EQ(p.Header().LetzterDownload, 1.0);
    EXPECT_EQ(p.Header().LetzterUpload, 2.0);
    EXPECT_TRUE(logExists("BTSLog"));

    // Filed into LoadError: pdError, no DeviceInfoEvent, no "BTSLog", nothing changed.
    fs::remove(temp.dir / "BTSLog");
    events = Recorder{};
    order = "kept";
    line().failCall(1, busdriver::statusFailed, "Read 6/5");
    EXPECT_EQ(p.StartDeviceInfo(kEdi, kPara, &order, nullptr, true), -1);
    EXPECT_EQ(events.outcome(), kErrorThenDownUpLoad);
    expectDownUpLoad(events, pdError, 0.0);
    EXPECT_EQ(p.DeviceInfo(), info);
    EXPECT_EQ(order, "kept");
    EXPECT_FALSE(logExists("BTSLog"));

    // In no list: the engine's error alone.
    events = Recorder{};
    line().failOpen(busdriver::openNoDevice);
    EXPECT_EQ(p.StartDeviceInfo(kEdi, kPara, &order), -1);
    EXPECT_EQ(events.outcome(), kErrorOnly);
    EXPECT_EQ(order, "kept");
}

// --- faults the operations guard against ---

TEST_F(GatewayFaults, UnusableRepliesChangeNothing) {
    fillTables(p);
    p.letdaliCommand({9, 9, 9});
    p.letDeviceInfo({1, "kept", "", "", 0, 0, 0, 0, 0});
    // A short table leaves holes (Empty elements) where the missing elements were read; the
    // engine itself refuses an out-of-range byte in the scene table's last piece.
    const auto tables = [&] { return p.StartDownUpLoad(pdupLoad, kEdi, kPara); };
    const auto command = [&] { return p.StartNeuinstallation(pdupLoad, kEdi, kPara, {}); };
    const auto info = [&] { return p.StartDeviceInfo(kEdi, kPara); };
    const std::tuple<std::function<std::int16_t()>, int, int, ReplyFault, std::int16_t> faults[] = {
        {tables, 4, 51, ReplyFault::tooShort, 13},  {tables, 4, 56, ReplyFault::tooShort, 13},
        {tables, 4, 51, ReplyFault::empty, 13},     {tables, 4, 56, ReplyFault::empty, 13},
        {tables, 4, 51, ReplyFault::outOfRange, 6}, {command, 4, 59, ReplyFault::tooShort, 9},
        {command, 4, 59, ReplyFault::empty, 13},    {command, 4, 59, ReplyFault::outOfRange, 6},
        {info, 5, 15, ReplyFault::tooShort, 9}};
    const auto before = snapshot(p);
    for (const auto& [call, object, property, fault, error] : faults) {
        SCOPED_TRACE(std::to_string(property) + " " + std::to_string(error));
        line().clearFaults();
        line().setReplyFault(object, property, fault);
        events = Recorder{};
        EXPECT_EQ(call(), -1);
        EXPECT_EQ(events.outcome(), std::vector<std::string>{"InterfaceError"});
        EXPECT_EQ(events.interfaceErrors, std::vector<std::int16_t>{error});
        EXPECT_EQ(snapshot(p), before);
    }
}

TEST_F(GatewayFaults, ATrappedErrorIsReportedAndNeverReturnsSuccess) {
    setProgramFolder(temp.dir / "missing");
    EXPECT_EQ(p.StartDownUpLoad(pdDownLoad, kEdi, kPara, true), -1);
    EXPECT_EQ(events.sequence, std::vector<std::string>{"InterfaceError"});
    EXPECT_EQ(events.interfaceErrors, std::vector<std::int16_t>{76});
    EXPECT_TRUE(line().trace().empty());  // the log failed before the transfer

    // Without the log the same project transfers normally: nothing was left behind.
    events = Recorder{};
    EXPECT_EQ(p.StartDownUpLoad(pdDownLoad, kEdi, kPara), 1);
    EXPECT_EQ(events.outcome(), kDownUpLoadOnly);
}

TEST_F(GatewayFaults, AnErrorNumberBeyond16BitsIsReportedByItsLowWord) {
    TypHeader h = p.Header();
    h.phyAdr = 0;  // the engine refuses the target with vbBrimEibError + 6
    p.letHeader(h);
    for (const auto& call : std::vector<std::function<std::int16_t()>>{
             [&] { return p.StartDownUpLoad(pdDownLoad, kEdi, kPara); }, [&] { return p.StartDeviceInfo(kEdi, kPara); },
             [&] { return p.StartNeuinstallation(pdupLoad, kEdi, kPara, {}); },
             [&] { return p.StartSceneDownload(pdDownLoad, kEdi, kPara, {}); }}) {
        events = Recorder{};
        EXPECT_EQ(call(), -1);
        EXPECT_EQ(events.sequence, std::vector<std::string>{"InterfaceError"});
        EXPECT_EQ(events.interfaceErrors, std::vector<std::int16_t>{0x0BBE});
    }
    EXPECT_TRUE(line().trace().empty());
}

TEST_F(GatewayFaults, AFailedTakeBackLeavesNoJobForTheNextCall) {
    fillTables(p);
    // The program switches to a model with more ballasts than the table holds while the
    // download runs: taking the written tables back fails with error 9.
    TypMaxGrenzwerte tooMany = gatewayLimits();
    tooMany.MaxDaligruppen = 65;
    pumpAction = [&] {
        p.IniInterface(tooMany, SafeArray<TypFunktionsGruppen>(0, 8), TypPropertyObjID{});
        pumpAction = nullptr;
    };
    EXPECT_EQ(p.StartDownUpLoad(pdDownLoad, kEdi, kPara), -1);
    EXPECT_EQ(events.interfaceErrors, std::vector<std::int16_t>{9});
    EXPECT_TRUE(events.downUpLoads.empty());
    EXPECT_EQ(p.Header().LetzterDownload, 1.0);
    EXPECT_EQ(ListsAndTablesTestAccess::jobsInEngine(p), 0);

    // The next download reports its own job, not the one of the failed call.
    size(p);
    events = Recorder{};
    now = 46000.0;
    later = 46000.5;
    EXPECT_EQ(p.StartSceneDownload(pdDownLoad, kEdi, kPara, {}), 1);
    expectDownUpLoad(events, pdDownLoad, 46000.5);
    EXPECT_EQ(p.Header().LetzterDownload, 46000.5);
}

TEST_F(GatewayFaults, AnOperationStartedDuringAnotherOneIsRefusedUntouched) {
    fillTables(p);
    for (int i = 0; i < 64; ++i) gateway().ballastTable[i] = busdriver::BallastEntry{1, 2, 3, 4};
    std::vector<std::int16_t> nested;
    bool traceUnchanged = true;
    const auto tryAll = [&] {
        const std::size_t traceBefore = line().trace().size();
        nested.push_back(p.StartDownUpLoad(pdupLoad, kEdi, kPara, true));
        nested.push_back(p.StartDeviceInfo(kEdi, kPara));
        nested.push_back(p.StartNeuinstallation(pdDownLoad, kEdi, kPara, {1, 0, 0}));
        nested.push_back(p.StartSceneDownload(pdupLoad, kEdi, kPara, {}));
        traceUnchanged = traceUnchanged && line().trace().size() == traceBefore;
    };
    pumpAction = tryAll;     // from the message pump
    events.onLoad = tryAll;  // and from an event handler
    EXPECT_EQ(p.StartDownUpLoad(pdDownLoad, kEdi, kPara), 1);

    EXPECT_EQ(nested, std::vector<std::int16_t>(40, -1));  // four calls, twice for each of the five engine events
    EXPECT_TRUE(traceUnchanged);
    EXPECT_EQ(events.outcome(), kDownUpLoadOnly);
    EXPECT_FALSE(logExists("BTSToDO"));
    for (std::int16_t i = 0; i < 64; ++i) EXPECT_EQ(p.DaliGruppe(i).pAdrL, i);  // no nested upload
    EXPECT_EQ(gateway().peekReply()[0], 0);                                     // the nested command was never sent

    // Once the operation has returned, the next one runs.
    pumpAction = nullptr;
    events.onLoad = nullptr;
    EXPECT_EQ(p.StartDeviceInfo(kEdi, kPara), 1);
}
