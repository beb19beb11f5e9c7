// The four gateway operations against the simulated gateway line, one row of their outcomes
// after the other, with faults injected into the line where a row needs one.
#include "gateway_support.h"

#include <tuple>

using namespace corlink;
using namespace corlink::test;
using busdriver::ReplyFault;

namespace {

using TableTransfer = GatewayTest;
using DeviceInformation = GatewayTest;
using GatewayCommand = GatewayTest;
using SceneTable = GatewayTest;
using GatewayFaults = GatewayTest;

const std::vector<std::string> kDownUpLoadOnly{"DownUpLoad"};
const std::vector<std::string> kErrorThenDownUpLoad{"LoadErrorEvent", "DownUpLoad"};
const std::vector<std::string> kErrorOnly{"LoadErrorEvent"};

void expectDownUpLoad(const Recorder& events, TypLoadProc load, double datum) {
    ASSERT_EQ(events.downUpLoads.size(), 1u);
    const DownUpLoadEvent& e = events.downUpLoads.front();
    EXPECT_EQ(e.TypLoad, load);
    EXPECT_EQ(e.status, pdStateReady);
    EXPECT_EQ(e.Datum, datum);
    EXPECT_EQ(e.phyAdr, automation::Variant(kGateway));
}

bool sameBallast(const TypDaliGruppe& project, const busdriver::BallastEntry& gateway) {
    return project.Gruppe == gateway.group && project.pAdrL == gateway.low && project.pAdrM == gateway.middle &&
           project.pAdrH == gateway.high;
}

}  // namespace

// --- table transfer: StartDownUpLoad ---

TEST_F(TableTransfer, DownloadWritesBothTablesAndStampsTheHeader) {
    fillTables(p);
    EXPECT_EQ(p.StartDownUpLoad(pdDownLoad, kEdi, kPara), 1);

    for (std::int16_t i = 0; i < 64; ++i) EXPECT_TRUE(sameBallast(p.DaliGruppe(i), gateway().ballastTable[i])) << i;
    for (std::int16_t i = 0; i < 16; ++i) {
        EXPECT_EQ(gateway().sceneTable[i].byte1, p.DaliScene(i).Byte1);
        EXPECT_EQ(gateway().sceneTable[i].byte2, p.DaliScene(i).Byte2);
    }
    EXPECT_EQ(events.outcome(), kDownUpLoadOnly);
    expectDownUpLoad(events, pdDownLoad, kLoaded);
    const TypHeader h = p.Header();
    EXPECT_EQ(h.LetzterDownload, kLoaded);  // the job's LastLoaded
    EXPECT_EQ(h.LetzterUpload, kBuilt);     // the job's LastUpdated: when its items were built
    EXPECT_EQ(h.phyAdr, kGateway);
    EXPECT_EQ(h.phyAdrString, "1.1.1");
    EXPECT_FALSE(p.GetChangeFlag());
    // Every progress text starts with a blank; the pump ran once per engine event.
    ASSERT_EQ(events.loads.size(), 5u);
    for (const std::string& text : events.loads) EXPECT_EQ(text.front(), ' ');
    EXPECT_EQ(pumps, 5);
}

TEST_F(TableTransfer, UploadReadsBothTablesIntoTheProjectKeepingTexts) {
    fillTables(p);
    for (int i = 0; i < 64; ++i) gateway().ballastTable[i] = busdriver::BallastEntry{static_cast<std::uint8_t>(i % 16), 1, 2, static_cast<std::uint8_t>(i)};
    for (int i = 0; i < 16; ++i) gateway().sceneTable[i] = busdriver::SceneEntry{static_cast<std::uint8_t>(0xF0 | i), 0x0F};

    EXPECT_EQ(p.StartDownUpLoad(pdupLoad, kEdi, kPara), 1);

    for (std::int16_t i = 0; i < 64; ++i) {
        const TypDaliGruppe g = p.DaliGruppe(i);
        EXPECT_TRUE(sameBallast(g, gateway().ballastTable[i])) << i;
        EXPECT_EQ(g.Index, i);
        EXPECT_EQ(g.Name, "Name" + std::to_string(i));
        EXPECT_EQ(g.Des2, "d2");
    }
    for (std::int16_t i = 0; i < 16; ++i) {
        EXPECT_EQ(p.DaliScene(i), (TypDaliScene{static_cast<std::uint8_t>(0xF0 | i), 0x0F, static_cast<std::uint8_t>(i)}));
    }
    EXPECT_EQ(events.outcome(), kDownUpLoadOnly);
    expectDownUpLoad(events, pdupLoad, kLoaded);
    EXPECT_EQ(p.Header().LetzterUpload, kBuilt);
    EXPECT_EQ(p.Header().LetzterDownload, 1.0);
    EXPECT_EQ(p.Header().phyAdrString, "1.1.1");
    EXPECT_FALSE(p.GetChangeFlag());
}

TEST_F(TableTransfer, DownloadThenUploadRoundTripReturnsTheSameTables) {
    fillTables(p, 7);
    ASSERT_EQ(p.StartDownUpLoad(pdDownLoad, kEdi, kPara), 1);

    clsOrvekDali other;
    size(other);
    TypHeader h;
    h.phyAdr = kGateway;
    other.letHeader(h);
    ASSERT_EQ(other.StartDownUpLoad(pdupLoad, kEdi, kPara), 1);
    for (std::int16_t i = 0; i < 64; ++i) {
        const TypDaliGruppe a = p.DaliGruppe(i);
        const TypDaliGruppe b = other.DaliGruppe(i);
        EXPECT_TRUE(a.Gruppe == b.Gruppe && a.pAdrL == b.pAdrL && a.pAdrM == b.pAdrM && a.pAdrH == b.pAdrH) << i;
    }
    for (std::int16_t i = 0; i < 16; ++i) {
        EXPECT_EQ(other.DaliScene(i).Byte1, p.DaliScene(i).Byte1);
        EXPECT_EQ(other.DaliScene(i).Byte2, p.DaliScene(i).Byte2);
    }
}

TEST_F(TableTransfer, FailedTransfersFiledIntoLoadErrorZeroTheirDate) {
    // A driver failure while the scene table is written: the engine traps it (event 19, phase 7).
    line().failCall(1, busdriver::statusFailed, "Write 4/56");
    EXPECT_EQ(p.StartDownUpLoad(pdDownLoad, kEdi, kPara), -1);
    EXPECT_EQ(events.outcome(), kErrorThenDownUpLoad);
    expectDownUpLoad(events, pdError, 0.0);
    ASSERT_EQ(events.loadErrors.size(), 1u);
    EXPECT_EQ(events.loadErrors[0].text, "Allgemeiner Fehler Param1:\t80004005\tParam2:7");
    EXPECT_EQ(events.loadErrors[0].code, ERR_COMMUNICATION);
    EXPECT_EQ(p.Header().LetzterDownload, 0.0);
    EXPECT_EQ(p.Header().LetzterUpload, 2.0);

    events = Recorder{};
    fillTables(p);
    const TypDaliGruppe before = p.DaliGruppe(3);
    line().failCall(1, busdriver::statusFailed, "Read 4/56");
    EXPECT_EQ(p.StartDownUpLoad(pdupLoad, kEdi, kPara), -1);
    EXPECT_EQ(events.outcome(), kErrorThenDownUpLoad);
    expectDownUpLoad(events, pdError, 0.0);
    EXPECT_EQ(p.Header().LetzterUpload, 0.0);
    EXPECT_EQ(p.DaliGruppe(3), before);
    EXPECT_TRUE(events.interfaceErrors.empty());
}

TEST_F(TableTransfer, TransfersWithoutAConnectionReportOnlyTheEngineError) {
    EXPECT_EQ(p.StartDownUpLoad(pdDownLoad, "no such interface", kPara), -1);
    EXPECT_EQ(events.outcome(), kErrorOnly);
    ASSERT_EQ(events.loadErrors.size(), 1u);
    EXPECT_EQ(events.loadErrors[0].text, "Keine Verbindung Phys.Adr:\t1101\tTip:1");
    EXPECT_EQ(events.loadErrors[0].code, ERR_NOCONNECTION);

    events = Recorder{};
    line().failOpen(busdriver::openNoDevice);
    EXPECT_EQ(p.StartDownUpLoad(pdupLoad, kEdi, kPara), -1);
    EXPECT_EQ(events.outcome(), kErrorOnly);
    EXPECT_EQ(p.Header().LetzterDownload, 1.0);
    EXPECT_EQ(p.Header().LetzterUpload, 2.0);
}

TEST_F(TableTransfer, OtherDirectionsTransferNothingButStillLog) {
    for (TypLoadProc flag : {pdDeviceInfo, pdError}) {
        EXPECT_EQ(p.StartDownUpLoad(flag, kEdi, kPara, true), 1);
        EXPECT_TRUE(line().trace().empty());
        EXPECT_TRUE(events.sequence.empty());
        EXPECT_TRUE(logExists("BTSToDO"));
        EXPECT_TRUE(logExists("BTSLog"));
        EXPECT_EQ(p.Header().LetzterDownload, 1.0);
    }
}

TEST_F(TableTransfer, UnusableRepliesChangeNothing) {
    // A short table leaves holes (Empty elements) where the missing elements were read; the
    // engine itself refuses an out-of-range byte in the scene table's last piece.
    const std::tuple<ReplyFault, int, std::int16_t> faults[] = {
        {ReplyFault::tooShort, 51, 13}, {ReplyFault::tooShort, 56, 13}, {ReplyFault::empty, 51, 13},
        {ReplyFault::empty, 56, 13},    {ReplyFault::outOfRange, 51, 6}};
    for (const auto& [fault, property, error] : faults) {
        SCOPED_TRACE(property);
        line().clearFaults();
        line().setReplyFault(4, property, fault);
        fillTables(p);
        const TypHeader header = p.Header();
        events = Recorder{};
        EXPECT_EQ(p.StartDownUpLoad(pdupLoad, kEdi, kPara), -1);
        EXPECT_EQ(events.interfaceErrors, std::vector<std::int16_t>{error});
        EXPECT_TRUE(events.downUpLoads.empty());
        EXPECT_EQ(p.Header(), header);
        for (std::int16_t i = 0; i < 64; ++i) EXPECT_EQ(p.DaliGruppe(i).pAdrM, static_cast<std::uint8_t>(i + 64));
        for (std::int16_t i = 0; i < 16; ++i) EXPECT_EQ(p.DaliScene(i).Byte2, 0x80 | i);
    }
}

// --- device information: StartDeviceInfo ---

TEST_F(DeviceInformation, ReadsIdentificationAndStatesThenReportsThem) {
    gateway().states = busdriver::DeviceStates{1, 2, 3, 0};
    std::string order = "old";
    std::string firmware = "old";
    EXPECT_EQ(p.StartDeviceInfo(kEdi, kPara, &order, &firmware, true), 1);

    EXPECT_EQ(events.outcome(), (std::vector<std::string>{"DownUpLoad", "DeviceInfoEvent"}));
    expectDownUpLoad(events, pdDeviceInfo, kLoaded);
    const TypDeviceInfo info = p.DeviceInfo();
    EXPECT_EQ(order, "517104");
    EXPECT_EQ(firmware, "11");
    EXPECT_EQ(info.Bestellnummer, "517104");
    EXPECT_EQ(info.FirmwareVersion, "11");
    EXPECT_EQ(info.AppLoadState, 1);
    EXPECT_EQ(info.AppRunState, 2);
    EXPECT_EQ(info.LoadState, 3);
    EXPECT_EQ(info.RunState, 0);
    EXPECT_EQ(info.phyAdr, kGateway);
    ASSERT_EQ(events.deviceInfos.size(), 1u);
    EXPECT_EQ(events.deviceInfos[0], info);
    EXPECT_EQ(p.Header().LetzterDownload, 1.0);
    EXPECT_EQ(p.Header().LetzterUpload, 2.0);
    EXPECT_TRUE(logExists("BTSLog"));
}

TEST_F(DeviceInformation, OrderNumberAndFirmwareFollowTheGateway) {
    // The line's "model" gives the order number one digit per byte, padded with 0xFF.
    gateway().firmware = {0x01, 0x01, 0x00, 0x00, 0x00};
    std::string order;
    std::string firmware;
    ASSERT_EQ(p.StartDeviceInfo(kEdi, "model=0", &order, &firmware), 1);
    EXPECT_EQ(order, "0");
    EXPECT_EQ(firmware, "11");
    ASSERT_EQ(p.StartDeviceInfo(kEdi, "model=517204"), 1);  // the out arguments may be left out
    EXPECT_EQ(p.DeviceInfo().Bestellnummer, "517204");
}

TEST_F(DeviceInformation, FailedReadsLeaveTheInformationAndWriteNoLog) {
    ASSERT_EQ(p.StartDeviceInfo(kEdi, kPara), 1);
    const TypDeviceInfo before = p.DeviceInfo();
    events = Recorder{};
    std::string order = "kept";
    line().failCall(1, busdriver::statusFailed, "Read 6/5");
    EXPECT_EQ(p.StartDeviceInfo(kEdi, kPara, &order, nullptr, true), -1);
    EXPECT_EQ(events.outcome(), kErrorThenDownUpLoad);
    expectDownUpLoad(events, pdError, 0.0);
    EXPECT_EQ(p.DeviceInfo(), before);
    EXPECT_EQ(order, "kept");
    EXPECT_TRUE(logExists("BTSToDO"));
    EXPECT_FALSE(logExists("BTSLog"));

    events = Recorder{};
    line().failOpen(busdriver::openNoDevice);
    EXPECT_EQ(p.StartDeviceInfo(kEdi, kPara, &order), -1);
    EXPECT_EQ(events.outcome(), kErrorOnly);
    EXPECT_EQ(order, "kept");

    events = Recorder{};
    line().clearFaults();
    line().setReplyFault(5, 15, ReplyFault::tooShort);
    EXPECT_EQ(p.StartDeviceInfo(kEdi, kPara, &order), -1);
    EXPECT_EQ(events.outcome(), std::vector<std::string>{"InterfaceError"});
    EXPECT_EQ(events.interfaceErrors, std::vector<std::int16_t>{9});
    EXPECT_EQ(p.DeviceInfo(), before);
    EXPECT_EQ(order, "kept");
}

// --- gateway command: StartNeuinstallation ---

TEST_F(GatewayCommand, NewInstallationIsSentThenPolledUntilTheGatewayAnswers) {
    const TypDaliCommand start{1, 0, 0};
    EXPECT_EQ(p.StartNeuinstallation(pdDownLoad, kEdi, kPara, start), 1);
    expectDownUpLoad(events, pdDownLoad, kLoaded);
    EXPECT_EQ(p.Header().LetzterDownload, kLoaded);
    EXPECT_EQ(p.Header().LetzterUpload, 2.0);  // only a table download refreshes it

    int polls = 0;
    do {
        now = kBuilt;
        later += 1.0;
        events = Recorder{};
        ASSERT_EQ(p.StartNeuinstallation(pdupLoad, kEdi, kPara, start), 1);
        expectDownUpLoad(events, pdupLoad, later);
        ASSERT_LT(++polls, 10);
    } while (p.daliCommand().Byte1 != 0xFF);
    EXPECT_EQ(polls, 4);  // three polls still see the command
    EXPECT_EQ(p.daliCommand(), (TypDaliCommand{0xFF, 5, 0}));
    EXPECT_EQ(p.Header().LetzterUpload, kBuilt);
    EXPECT_FALSE(p.GetChangeFlag());
    // The gateway ran the installation: its fifth ballast is in no group yet.
    EXPECT_EQ(gateway().ballastTable[4].group, busdriver::kGroupNone);
}

TEST_F(GatewayCommand, FailuresKeepTheReplyAndZeroTheDateOnlyForLoadError) {
    const TypDaliCommand blink{4, 1, 0};
    line().failCall(1, busdriver::statusFailed, "Write 4/59");
    EXPECT_EQ(p.StartNeuinstallation(pdDownLoad, kEdi, kPara, blink), -1);
    EXPECT_EQ(events.outcome(), kErrorThenDownUpLoad);
    EXPECT_EQ(p.Header().LetzterDownload, 0.0);

    events = Recorder{};
    p.letdaliCommand({9, 9, 9});
    line().failCall(1, busdriver::statusFailed, "Read 4/59");
    EXPECT_EQ(p.StartNeuinstallation(pdupLoad, kEdi, kPara, blink), -1);
    EXPECT_EQ(events.outcome(), kErrorThenDownUpLoad);
    EXPECT_EQ(p.Header().LetzterUpload, 0.0);
    EXPECT_EQ(p.daliCommand(), (TypDaliCommand{9, 9, 9}));

    TypHeader h = p.Header();
    h.LetzterDownload = 3.0;
    h.LetzterUpload = 4.0;
    p.letHeader(h);
    line().failOpen(busdriver::openNoDevice);
    for (TypLoadProc flag : {pdDownLoad, pdupLoad}) {
        events = Recorder{};
        EXPECT_EQ(p.StartNeuinstallation(flag, kEdi, kPara, blink), -1);
        EXPECT_EQ(events.outcome(), kErrorOnly);
        EXPECT_EQ(p.Header(), h);
    }
    line().clearFaults();

    const std::pair<ReplyFault, std::int16_t> faults[] = {
        {ReplyFault::tooShort, 9}, {ReplyFault::empty, 13}, {ReplyFault::outOfRange, 6}};
    for (const auto& [fault, error] : faults) {
        events = Recorder{};
        line().setReplyFault(4, 59, fault);
        EXPECT_EQ(p.StartNeuinstallation(pdupLoad, kEdi, kPara, blink), -1);
        EXPECT_EQ(events.outcome(), std::vector<std::string>{"InterfaceError"});
        EXPECT_EQ(events.interfaceErrors, std::vector<std::int16_t>{error});
        EXPECT_EQ(p.daliCommand(), (TypDaliCommand{9, 9, 9}));
        EXPECT_EQ(p.Header().LetzterUpload, 4.0);
    }
}

// --- scene table: StartSceneDownload ---

TEST_F(SceneTable, DownloadWritesTheSceneTableAlone) {
    fillTables(p);
    const auto ballasts = gateway().ballastTable;
    EXPECT_EQ(p.StartSceneDownload(pdDownLoad, kEdi, kPara, TypDaliCommand{6, 1, 2}), 1);
    for (std::int16_t i = 0; i < 16; ++i) EXPECT_EQ(gateway().sceneTable[i].byte1, p.DaliScene(i).Byte1);
    EXPECT_EQ(gateway().ballastTable, ballasts);
    for (const std::string& call : propertyCalls("Write")) EXPECT_EQ(call.rfind("Write 4/56 ", 0), 0u) << call;
    expectDownUpLoad(events, pdDownLoad, kLoaded);
    EXPECT_EQ(p.Header().LetzterDownload, kLoaded);
    EXPECT_EQ(p.Header().LetzterUpload, 2.0);
}

TEST_F(SceneTable, UploadReadsTheSceneTableWhateverTheCommand) {
    for (int i = 0; i < 16; ++i) gateway().sceneTable[i] = busdriver::SceneEntry{static_cast<std::uint8_t>(i), 0x55};
    for (const TypDaliCommand& ignored : {TypDaliCommand{}, TypDaliCommand{7, 8, 9}}) {
        now = kBuilt;
        fillTables(p);
        events = Recorder{};
        EXPECT_EQ(p.StartSceneDownload(pdupLoad, kEdi, kPara, ignored), 1);
        for (std::int16_t i = 0; i < 16; ++i)
            EXPECT_EQ(p.DaliScene(i), (TypDaliScene{static_cast<std::uint8_t>(i), 0x55, static_cast<std::uint8_t>(i)}));
        EXPECT_EQ(p.DaliGruppe(5).pAdrM, 69);  // ballasts untouched
        expectDownUpLoad(events, pdupLoad, kLoaded);
        EXPECT_EQ(p.Header().LetzterUpload, kBuilt);
    }
}

TEST_F(SceneTable, FailuresFollowTheOutcomeTable) {
    line().failCall(1, busdriver::statusFailed, "Write 4/56");
    EXPECT_EQ(p.StartSceneDownload(pdDownLoad, kEdi, kPara, {}), -1);
    EXPECT_EQ(events.outcome(), kErrorThenDownUpLoad);
    EXPECT_EQ(p.Header().LetzterDownload, 0.0);

    events = Recorder{};
    line().failCall(1, busdriver::statusFailed, "Read 4/56");
    EXPECT_EQ(p.StartSceneDownload(pdupLoad, kEdi, kPara, {}), -1);
    EXPECT_EQ(events.outcome(), kErrorThenDownUpLoad);
    EXPECT_EQ(p.Header().LetzterUpload, 0.0);

    for (TypLoadProc flag : {pdDownLoad, pdupLoad}) {
        events = Recorder{};
        line().failOpen(busdriver::openNoDevice);
        EXPECT_EQ(p.StartSceneDownload(flag, kEdi, kPara, {}), -1);
        EXPECT_EQ(events.outcome(), kErrorOnly);
        line().clearFaults();
    }
    EXPECT_EQ(p.StartSceneDownload(pdError, kEdi, kPara, {}), 1);
}

// --- faults the operations guard against ---

TEST_F(GatewayFaults, ATrappedErrorIsReportedAndNeverReturnsSuccess) {
    setProgramFolder(folder / "missing");
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
    events = Recorder{};
    for (const auto& call : std::vector<std::function<std::int16_t()>>{
             [&] { return p.StartDownUpLoad(pdDownLoad, kEdi, kPara); },
             [&] { return p.StartDeviceInfo(kEdi, kPara); },
             [&] { return p.StartNeuinstallation(pdupLoad, kEdi, kPara, {}); },
             [&] { return p.StartSceneDownload(pdDownLoad, kEdi, kPara, {}); }}) {
        events = Recorder{};
        EXPECT_EQ(call(), -1);
        EXPECT_EQ(events.sequence, std::vector<std::string>{"InterfaceError"});
        EXPECT_EQ(events.interfaceErrors, std::vector<std::int16_t>{0x0BBE});
    }
    EXPECT_TRUE(line().trace().empty());
    EXPECT_EQ(p.Header().LetzterDownload, 1.0);
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
    std::size_t traceBefore = 0;
    bool traceUnchanged = true;
    const auto tryAll = [&] {
        traceBefore = line().trace().size();
        nested.push_back(p.StartDownUpLoad(pdupLoad, kEdi, kPara, true));
        nested.push_back(p.StartDeviceInfo(kEdi, kPara));
        nested.push_back(p.StartNeuinstallation(pdDownLoad, kEdi, kPara, {1, 0, 0}));
        nested.push_back(p.StartSceneDownload(pdupLoad, kEdi, kPara, {}));
        traceUnchanged = traceUnchanged && line().trace().size() == traceBefore;
    };
    pumpAction = tryAll;     // from the message pump
    events.onLoad = tryAll;  // and from an event handler
    EXPECT_EQ(p.StartDownUpLoad(pdDownLoad, kEdi, kPara), 1);

    ASSERT_EQ(nested.size(), 40u);  // four calls, twice for each of the five engine events
    for (std::int16_t r : nested) EXPECT_EQ(r, -1);
    EXPECT_TRUE(traceUnchanged);
    EXPECT_EQ(events.outcome(), kDownUpLoadOnly);
    EXPECT_FALSE(logExists("BTSToDO"));
    for (std::int16_t i = 0; i < 64; ++i) EXPECT_EQ(p.DaliGruppe(i).pAdrL, i);  // no nested upload
    EXPECT_EQ(gateway().ballastTable[0].low, 0);
    EXPECT_EQ(gateway().peekReply()[0], 0);  // the nested command was never sent

    // Once the operation has returned, the next one runs.
    pumpAction = nullptr;
    events.onLoad = nullptr;
    EXPECT_EQ(p.StartDeviceInfo(kEdi, kPara), 1);
}
