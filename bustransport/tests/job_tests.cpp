#include "corbus/brim_eib.h"
#include "corbus/coding.h"
#include "fake_bus.h"

#include <gtest/gtest.h>

using namespace corbus;
using automation::Variant;
using corbus_test::describe;
using Lines = std::vector<std::string>;

namespace {

constexpr double kNow = 45000.25;
constexpr std::int32_t kDriverError = -2147467259;  // a failure status raised by the driver

// An array of blocks, block i holding the bytes given for it.
Variant blocks(const std::vector<std::vector<std::uint8_t>>& values) {
    std::vector<Variant> out;
    for (const auto& b : values) out.push_back(Variant::bytes(b));
    return Variant::variants(out);
}

// count blocks of `size` bytes, block i starting with the byte i + 1.
Variant numberedBlocks(int count, int size) {
    std::vector<std::vector<std::uint8_t>> values;
    for (int i = 0; i < count; ++i) {
        std::vector<std::uint8_t> b(static_cast<std::size_t>(size), 0);
        b[0] = static_cast<std::uint8_t>(i + 1);
        values.push_back(b);
    }
    return blocks(values);
}

std::vector<Variant> elementsOf(const Variant& array) { return array.elements(); }

class Jobs : public ::testing::Test {
protected:
    void SetUp() override {
        busdriver::installDriver(std::make_shared<corbus_test::FakeDriver>(bus));
        engine.setEventSink(&sink);
        engine.InitPort("{IF}", "P");
    }
    void TearDown() override { busdriver::installDriver(nullptr); }

    std::shared_ptr<brimDevice> queue(const std::shared_ptr<brimDevices>& list, const Variant& address = "1.1.1") {
        auto device = std::make_shared<brimDevice>();
        device->setTargetAddress(address);
        return list->Add(device);
    }

    // The property-access calls of the log (reads and writes).
    Lines transfers() const {
        Lines out;
        for (const auto& l : bus->log) {
            if (l.rfind("Read", 0) == 0 || l.rfind("Write", 0) == 0) out.push_back(l);
        }
        return out;
    }

    automation::ScopedClock clock{[] { return kNow; }};
    std::shared_ptr<corbus_test::FakeBus> bus = std::make_shared<corbus_test::FakeBus>();
    corbus_test::RecordingSink sink;
    brimEib engine;
};

const Lines kTransferConnection = {"ClassCreator", "CreateInstance Falcon.ConnectionObject.1", "Auxiliary",
                                   "Mode 5", "RemoteAddress 1.1.1", "Open {IF} P", "PropertyAccess", "Attach"};
const Lines kRelease = {"Mode 6", "~PropertyAccess", "~Auxiliary", "~Connection"};

Lines concat(std::initializer_list<Lines> parts) {
    Lines out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

}  // namespace

TEST_F(Jobs, DownloadOfArrayItemsCallSequence) {
    engine.setRetries(2);
    const auto device = queue(engine.Download());
    device->Add(objAddressConnect, 51, PT_GENERIC_04, numberedBlocks(5, 4), false, true);
    device->Add(objAddressConnect, 56, PT_GENERIC_02, numberedBlocks(16, 2), false, true);

    EXPECT_EQ(engine.DoDownload(), brimEibDownloadDone);
    EXPECT_EQ(bus->log, concat({kTransferConnection,
                                {"RetryCount 2",
                                 "Write 4 51 3 0 1 5",
                                 "Write 4 51 20 1 2 {[1 0 0 0] [2 0 0 0]}",
                                 "Write 4 51 20 3 2 {[3 0 0 0] [4 0 0 0]}",
                                 "Write 4 51 20 5 1 [5 0 0 0]",
                                 "Write 4 56 3 0 1 16",
                                 "Write 4 56 18 1 5 {[1 0] [2 0] [3 0] [4 0] [5 0]}",
                                 "Write 4 56 18 6 5 {[6 0] [7 0] [8 0] [9 0] [10 0]}",
                                 "Write 4 56 18 11 5 {[11 0] [12 0] [13 0] [14 0] [15 0]}",
                                 "Write 4 56 18 16 1 [16 0]"},
                                kRelease}));
    EXPECT_EQ(sink.events, (Lines{"L7(2,0)", "L6(4,51)", "L6(4,56)", "L8(2,2)", "L11(4353,0)"}));
    EXPECT_EQ(engine.DownloadDone()->Item(1), device);
    EXPECT_EQ(engine.Download()->Count(), 0);
    EXPECT_EQ(device->LastLoaded(), kNow);
    EXPECT_EQ(device->LastError(), 0.0);
    EXPECT_TRUE(device->PropItems()->Item(1)->Update() && device->PropItems()->Item(2)->Update());
    EXPECT_EQ(engine.EngineState(), brimEibStatePassive);
    EXPECT_NE(engine.ClassCreatorObject(), nullptr);  // the class creator stays held
    EXPECT_EQ(bus->lines("~ClassCreator").size(), 0u);
    EXPECT_EQ(sink.dates.front(), kNow);
}

TEST_F(Jobs, DownloadOfTheBallastTableIn32Telegrams) {
    queue(engine.Download())->Add(objAddressConnect, 51, PT_GENERIC_04, coding::genEibData(PT_GENERIC_04, 63), false,
                                  true);
    EXPECT_EQ(engine.DoDownload(), brimEibDownloadDone);
    const Lines writes = bus->lines("Write");
    ASSERT_EQ(writes.size(), 33u);
    EXPECT_EQ(writes[0], "Write 4 51 3 0 1 64");
    for (int k = 0; k < 32; ++k) EXPECT_EQ(writes[1 + k].rfind("Write 4 51 20 " + std::to_string(1 + 2 * k) + " 2 {", 0), 0u);
}

TEST_F(Jobs, UploadOfArrayItemsCallSequence) {
    engine.setMaskCheck(true);
    std::vector<Variant> table;
    for (std::uint8_t i = 0; i < 16; ++i) table.push_back(Variant::bytes({i, static_cast<std::uint8_t>(i + 100)}));
    bus->properties[{4, 56}] = table;
    bus->properties[{4, 51}] = {};
    const auto device = queue(engine.Upload(), std::int32_t{4353});
    const auto scenes = device->Add(objAddressConnect, 56, PT_GENERIC_02, std::int32_t{-1}, false, true);
    const auto ballasts = device->Add(objAddressConnect, 51, PT_GENERIC_04, std::int32_t{-1}, false, true);
    // The read event comes before the value is stored.
    Lines dataAtEvent;
    sink.onEvent = [&](const std::string& e) {
        if (e == "L2(4,56)") dataAtEvent.push_back(describe(scenes->Data()));
    };

    EXPECT_EQ(engine.DoUpload(), brimEibUploadDone);
    EXPECT_EQ(bus->log, concat({{"ClassCreator", "CreateInstance Falcon.ConnectionObject.1", "Auxiliary", "Mode 4",
                                 "RemoteAddress 4353", "Open {IF} P", "RemoteMaskVersion", "Mode 6", "~Auxiliary",
                                 "~Connection", "ClassCreator", "~ClassCreator",
                                 "CreateInstance Falcon.ConnectionObject.1", "Auxiliary", "Mode 5",
                                 "RemoteAddress 4353", "Open {IF} P", "PropertyAccess", "Attach", "RetryCount 3",
                                 "Read 4 56 4 0 1", "Read 4 56 18 1 5", "Read 4 56 18 6 5", "Read 4 56 18 11 5",
                                 "Read 4 56 18 16 1", "Read 4 51 4 0 1"},
                                kRelease}));
    EXPECT_EQ(sink.events, (Lines{"L10(4353,0)", "L9(4353,32)", "L11(4353,0)", "L3(2,0)", "L2(4,56)", "L2(4,51)",
                                  "L4(2,2)", "L11(4353,0)"}));
    EXPECT_EQ(dataAtEvent, Lines{"-1"});
    EXPECT_EQ(scenes->Data(), Variant::variants(table));
    EXPECT_TRUE(ballasts->Data().isEmpty());  // an element count of 0 reads as Empty
    EXPECT_EQ(engine.UploadDone()->Item(1), device);
    EXPECT_EQ(device->LastLoaded(), kNow);
    EXPECT_EQ(engine.EngineState(), brimEibStatePassive);
}

TEST_F(Jobs, ConnectionModes) {
    // Mask check with the connection kept: one connection in mode 4 serves the transfer.
    engine.setMaskCheck(true);
    engine.setConnectionAsDefault(true);
    queue(engine.Download());
    EXPECT_EQ(engine.DoDownload(), brimEibDownloadDone);
    EXPECT_EQ(bus->lines("ClassCreator").size(), 1u);
    EXPECT_EQ(bus->lines("Mode"), (Lines{"Mode 4", "Mode 6"}));
    EXPECT_EQ(sink.events, (Lines{"L10(4353,0)", "L9(4353,32)", "L7(0,0)", "L8(0,0)", "L11(4353,0)"}));

    // Without the mask check the kept connection reports its opening.
    engine.setMaskCheck(false);
    bus->log.clear();
    sink.events.clear();
    queue(engine.Upload());
    EXPECT_EQ(engine.DoUpload(), brimEibUploadDone);
    EXPECT_EQ(bus->lines("Mode"), (Lines{"Mode 4", "Mode 6"}));
    EXPECT_EQ(sink.events, (Lines{"L10(4353,0)", "L3(0,0)", "L4(0,0)", "L11(4353,0)"}));
    EXPECT_EQ(bus->lines("~ClassCreator").size(), 1u);  // replaced by the new job's class creator
}

TEST_F(Jobs, ScalarAddressAndAssociationItems) {
    engine.setItemVerify(true);
    const auto device = queue(engine.Download());
    device->Add(objDeviceObject, 12, PT_UNSIGNED_INT, std::int32_t{77});
    device->Add(objDeviceObject, 13, PT_UNSIGNED_INT);  // Empty: skipped, still reported
    device->Add(objAddressConnect, 201, PT_UNSIGNED_INT, Variant::longs({3, 10, 11}))->setItemType(brimItemAddress);
    device->Add(OBJ_ID_ASSO, 7, PT_UNSIGNED_CHAR, Variant::longs({5, 6}))->setItemType(brimItemAssoziation);

    EXPECT_EQ(engine.DoDownload(), brimEibDownloadDone);
    EXPECT_EQ(transfers(), (Lines{"Write 5 12 4 1 1 77 verify", "Write 4 201 3 0 1 3 verify",
                                  "Write 4 201 4 2 2 {10 11} verify", "Write 2 7 3 0 1 2 verify",
                                  "Write 2 7 2 1 2 {5 6} verify"}));
    EXPECT_EQ(sink.events, (Lines{"L7(4,0)", "L6(5,12)", "L6(5,13)", "L14(0,3)", "L6(4,201)", "L15(3,3)",
                                  "L16(0,2)", "L6(2,7)", "L17(2,2)", "L8(4,4)", "L11(4353,0)"}));
}

TEST_F(Jobs, LoadControlItems) {
    Variant state = Variant::bytes({1});
    bus->onRead = [&](std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t) { return state; };
    auto control = [](std::uint8_t event) {
        Variant buffer = coding::genEibData(PT_CONTROL);
        buffer.set(0, event);
        return buffer;
    };
    const auto device = queue(engine.Download());
    device->Add(OBJ_ID_ADDR, 5, PT_CONTROL, control(1))->setItemType(brimItemLoadCtl);
    device->Add(OBJ_ID_ADDR, 6, PT_CONTROL, control(2))->setItemType(brimItemLoadCtl);
    // State 1 equals the event 1: written; state 1 against the event 2: nothing written.
    EXPECT_EQ(engine.DoDownload(), brimEibDownloadDone);
    EXPECT_EQ(transfers(), (Lines{"Read 1 5 0 1 1", "Write 1 5 0 1 1 [1 0 0 0 0 0 0 0 0 0]", "Read 1 6 0 1 1"}));
    EXPECT_EQ(sink.events, (Lines{"L7(2,0)", "L18(1,1)", "L18(1,2)", "L8(2,2)", "L11(4353,0)"}));

    // The load states 0 and 3 forbid loading.
    for (std::uint8_t forbidden : {0, 3}) {
        state = Variant::bytes({forbidden});
        sink.events.clear();
        const auto job = queue(engine.Download());
        job->Add(OBJ_ID_ADDR, 5, PT_CONTROL, control(1))->setItemType(brimItemLoadCtl);
        EXPECT_EQ(engine.DoDownload(), brimEibError);
        EXPECT_EQ(sink.events, (Lines{"L7(1,0)", "E27(" + std::to_string(forbidden) + ",1)", "L11(4353,0)"}));
        EXPECT_EQ(engine.LoadError()->tail(), job);
        EXPECT_EQ(job->LastError(), kNow);
        EXPECT_FALSE(job->PropItems()->Item(1)->Update());
    }
    EXPECT_EQ(bus->lines("Write").size(), 1u);
}

TEST_F(Jobs, VerifyItems) {
    bus->properties[{5, 1}] = {std::int32_t{50021}};
    bus->properties[{4, 56}] = {Variant::bytes({1, 2, 3, 4, 5}), Variant::bytes({6, 7, 8, 9, 10})};
    // Download: read back and compared, never written; the array's count is read as PT_INT.
    const auto device = queue(engine.Download());
    device->Add(objDeviceObject, 1, PT_UNSIGNED_INT, std::int32_t{50021}, true);
    device->Add(objAddressConnect, 56, PT_SHORT_CHAR_BLOCK, blocks({{1, 2, 3, 4, 5}, {6, 7, 8, 9, 10}}), true, true);
    EXPECT_EQ(engine.DoDownload(), brimEibDownloadDone);
    EXPECT_EQ(transfers(), (Lines{"Read 5 1 4 1 1", "Read 4 56 3 0 1", "Read 4 56 14 1 1", "Read 4 56 14 2 1"}));
    EXPECT_EQ(sink.events, (Lines{"L7(2,0)", "L5(5,1)", "L5(4,56)", "L8(2,2)", "L11(4353,0)"}));

    // A difference stops the job: LoadError, result 7, the rest unhandled.
    for (bool upload : {false, true}) {
        sink.events.clear();
        const auto job = queue(upload ? engine.Upload() : engine.Download());
        const auto differs = job->Add(objDeviceObject, 1, PT_UNSIGNED_INT, std::int32_t{50023}, true);
        const auto rest = job->Add(objDeviceObject, 12, PT_UNSIGNED_INT, std::int32_t{1});
        EXPECT_EQ(upload ? engine.DoUpload() : engine.DoDownload(), brimEibError);
        EXPECT_EQ(sink.events[1], "E23(5,1)");
        EXPECT_EQ(sink.events.back(), "L11(4353,0)");
        EXPECT_EQ(engine.LoadError()->tail(), job);
        EXPECT_EQ(job->LastError(), kNow);
        EXPECT_EQ(differs->Data(), Variant(std::int32_t{50023}));
        EXPECT_FALSE(differs->Update() || rest->Update());
        EXPECT_EQ(engine.EngineState(), brimEibStatePassive);
    }
    EXPECT_EQ(bus->lines("Write").size(), 0u);
}

TEST_F(Jobs, NoConnection) {
    struct Case {
        bool upload, maskCheck;
        std::int32_t stateAfter;
    };
    for (const Case c : {Case{false, false, brimEibStateError}, Case{false, true, brimEibStatePassive},
                         Case{true, false, brimEibStateError}, Case{true, true, brimEibStateError}}) {
        bus->log.clear();
        bus->openCount = 0;
        bus->openCodes = {5};
        sink.events.clear();
        engine.setMaskCheck(c.maskCheck);
        const auto device = queue(c.upload ? engine.Upload() : engine.Download());
        device->Add(4, 51, PT_UNSIGNED_INT, std::int32_t{1});
        EXPECT_EQ(c.upload ? engine.DoUpload() : engine.DoDownload(), brimEibError);
        EXPECT_EQ(sink.events, Lines{"E20(4353,5)"});
        EXPECT_EQ(engine.EngineState(), c.stateAfter);
        // The job is in no list and its connection is released without closing.
        for (const auto& list : {engine.Upload(), engine.Download(), engine.LoadError(), engine.UploadDone(),
                                 engine.DownloadDone()}) {
            EXPECT_EQ(list->Count(), 0);
        }
        EXPECT_EQ(device.use_count(), 1);
        EXPECT_EQ(bus->lines("Mode 6").size(), 0u);
        EXPECT_EQ(bus->lines("~Connection").size(), 1u);
    }
}

TEST_F(Jobs, MaskVersionDiffers) {
    engine.setMaskCheck(true);
    bus->maskVersion = 17;
    for (bool upload : {false, true}) {
        bus->log.clear();
        sink.events.clear();
        queue(upload ? engine.Upload() : engine.Download());
        EXPECT_EQ(upload ? engine.DoUpload() : engine.DoDownload(), brimEibError);
        EXPECT_EQ(sink.events, (Lines{"L10(4353,0)", "E22(4353,17)", "L11(4353,0)"}));
        EXPECT_EQ(engine.EngineState(), brimEibStateError);
        EXPECT_EQ(engine.LoadError()->Count() + engine.DownloadDone()->Count() + engine.UploadDone()->Count(), 0);
        EXPECT_EQ(bus->lines("PropertyAccess").size(), 0u);
    }
    // The error state does not block the next job.
    bus->maskVersion = 32;
    queue(engine.Download());
    EXPECT_EQ(engine.DoDownload(), brimEibDownloadDone);
}

TEST_F(Jobs, ArrayItemWithoutElementSize) {
    for (std::int32_t type : std::initializer_list<std::int32_t>{15, 16, PT_UNDEFINED}) {
        sink.events.clear();
        const auto job = queue(engine.Download());
        job->Add(objAddressConnect, 60, type, Variant::longs({1, 2}), false, true);
        EXPECT_EQ(engine.DoDownload(), brimEibDownloadUnknownType);
        EXPECT_EQ(sink.events, (Lines{"L7(1,0)", "E25(4,60)", "L11(4353,0)"}));
        EXPECT_EQ(engine.LoadError()->tail(), job);
        EXPECT_EQ(job->LastError(), kNow);
    }
    EXPECT_EQ(bus->lines("Write").size(), 0u);
}

TEST_F(Jobs, TrappedErrorsByRegion) {
    bus->failNumber = kDriverError;
    bus->properties[{4, 51}] = {std::int32_t{1}};
    struct Case {
        bool upload;
        std::string failOn;
        std::int32_t region;
        bool filedInLoadError;
    };
    const Case cases[] = {
        {false, "Open", brimEibDoDownload_Connect, true},
        {false, "Write 4 51", brimEibDoDownload_Property, true},
        {false, "Mode 6", brimEibDoDownload_CloseConnect, false},
        {true, "Open", brimEibDoUpload_Connect, true},
        {true, "Read 4 51", brimEibDoUpload_Property, true},
        {true, "Mode 6", brimEibDoUpload_CloseConnect, false},
    };
    for (const Case& c : cases) {
        bus->failOn = c.failOn;
        sink.events.clear();
        bus->log.clear();
        const auto job = queue(c.upload ? engine.Upload() : engine.Download());
        job->Add(4, 51, PT_UNSIGNED_INT, std::int32_t{1});
        EXPECT_EQ(c.upload ? engine.DoUpload() : engine.DoDownload(), brimEibError) << c.failOn;
        EXPECT_EQ(sink.events.back(), "E19(" + std::to_string(kDriverError) + "," + std::to_string(c.region) + ")");
        // A job already filed when the error comes stays where it was filed, and only there.
        const auto& done = c.upload ? engine.UploadDone() : engine.DownloadDone();
        EXPECT_EQ(engine.LoadError()->tail() == job, c.filedInLoadError) << c.failOn;
        EXPECT_EQ(done->tail() == job, !c.filedInLoadError) << c.failOn;
        EXPECT_EQ(engine.EngineState(), c.upload ? brimEibStateError : brimEibStatePassive);
        EXPECT_EQ(bus->lines("~Connection").size(), 1u);
    }
    EXPECT_EQ(engine.LoadError()->Count(), 4);
}

TEST_F(Jobs, DownloadCountsItsItemsIn16Bits) {
    const auto job = queue(engine.Download());
    for (int i = 0; i < 32768; ++i) job->Add(4, 1, PT_UNSIGNED_CHAR);
    EXPECT_EQ(engine.DoDownload(), brimEibError);
    EXPECT_EQ(sink.events.back(), "E19(6,7)");
    EXPECT_EQ(engine.LoadError()->Item(1), job);
}

TEST_F(Jobs, CancelBetweenItemsAndAtTheTopOfACycle) {
    for (bool upload : {false, true}) {
        engine.setAutoDownload(true);
        engine.setAutoUpload(true);
        bus->properties[{4, 1}] = {std::int32_t{1}};
        sink.events.clear();
        const auto& waiting = upload ? engine.Upload() : engine.Download();
        const auto first = queue(waiting);
        first->Add(4, 1, PT_UNSIGNED_CHAR, std::int32_t{1});
        first->Add(4, 1, PT_UNSIGNED_CHAR, std::int32_t{1});
        const auto second = queue(waiting);
        sink.onEvent = [&](const std::string& e) {
            if (e == "L6(4,1)" || e == "L2(4,1)") engine.Cancel();
        };
        EXPECT_EQ(upload ? engine.DoUpload() : engine.DoDownload(),
                  upload ? brimEibUploadCanceledByUser : brimEibDownloadCanceledByUser);
        EXPECT_EQ(sink.events.back(), "L11(4353,0)");
        EXPECT_EQ(sink.events[sink.events.size() - 2], "E26(0,0)");
        EXPECT_EQ(engine.LoadError()->tail(), first);
        EXPECT_EQ(first->LastError(), kNow);
        EXPECT_TRUE(first->PropItems()->Item(1)->Update());
        EXPECT_FALSE(first->PropItems()->Item(2)->Update());
        EXPECT_EQ(waiting->Item(1), second);  // the cancel also stops the automatic run
        EXPECT_EQ(engine.EngineState(), brimEibStatePassive);

        // A cancel during the close of a job stops the run at the top of the next cycle.
        const auto third = queue(waiting);
        sink.events.clear();
        sink.onEvent = [&](const std::string& e) {
            if (e == "L11(4353,0)") engine.Cancel();
        };
        EXPECT_EQ(upload ? engine.DoUpload() : engine.DoDownload(),
                  upload ? brimEibUploadCanceledByUser : brimEibDownloadCanceledByUser);
        EXPECT_EQ(sink.events.back(), "E26(0,0)");
        EXPECT_EQ(waiting->NewEnum(), std::vector<std::shared_ptr<brimDevice>>{third});
        sink.onEvent = nullptr;
        // A cancel before a job has no effect.
        engine.Cancel();
        EXPECT_EQ(upload ? engine.DoUpload() : engine.DoDownload(),
                  upload ? brimEibUploadDone : brimEibDownloadDone);
    }
}

TEST_F(Jobs, AutoDownloadGoesOnAfterATrappedErrorAutoUploadStops) {
    engine.setAutoDownload(true);
    bus->failNumber = kDriverError;
    bus->failOn = "RemoteAddress 2.2.2";
    const auto a = queue(engine.Download());
    const auto b = queue(engine.Download(), "2.2.2");
    const auto c = queue(engine.Download());
    EXPECT_EQ(engine.DoDownload(), brimEibDownloadDone);
    EXPECT_EQ(engine.DownloadDone()->NewEnum(), (std::vector<std::shared_ptr<brimDevice>>{a, c}));
    EXPECT_EQ(engine.LoadError()->Item(1), b);

    engine.setAutoUpload(true);
    bus->failOn = "RemoteAddress 2.2.2";
    queue(engine.Upload(), "2.2.2");
    const auto waiting = queue(engine.Upload());
    EXPECT_EQ(engine.DoUpload(), brimEibError);
    EXPECT_EQ(engine.Upload()->Item(1), waiting);
    EXPECT_EQ(engine.DoUpload(), brimEibUploadDone);
    queue(engine.Upload());
    queue(engine.Upload());
    EXPECT_EQ(engine.DoUpload(), brimEibUploadDone);
    EXPECT_EQ(engine.UploadDone()->Count(), 3);
}

TEST_F(Jobs, AJobStartedWhileAJobRunsIsRefused) {
    for (bool upload : {false, true}) {
        const enumRetVal busy = upload ? brimEibInUploadMode : brimEibInDownloadMode;
        const auto running = queue(upload ? engine.Upload() : engine.Download());
        running->Add(4, 1, PT_UNSIGNED_CHAR, std::int32_t{1});
        running->Add(4, 1, PT_UNSIGNED_CHAR, std::int32_t{1});
        const auto waitingUp = queue(engine.Upload());
        const auto waitingDown = queue(engine.Download());
        bus->properties[{4, 1}] = {std::int32_t{1}};
        std::vector<enumRetVal> nested;
        sink.onEvent = [&](const std::string& e) {
            if (e != "L6(4,1)" && e != "L2(4,1)") return;
            engine.Cancel();  // must survive the refused calls
            nested.push_back(engine.DoDownload());
            nested.push_back(engine.DoUpload());
        };
        EXPECT_EQ(upload ? engine.DoUpload() : engine.DoDownload(),
                  upload ? brimEibUploadCanceledByUser : brimEibDownloadCanceledByUser);
        EXPECT_EQ(nested, (std::vector<enumRetVal>{busy, busy}));
        // The refused calls touched no list.
        EXPECT_EQ(engine.Upload()->NewEnum(), std::vector<std::shared_ptr<brimDevice>>{waitingUp});
        EXPECT_EQ(engine.Download()->NewEnum(), std::vector<std::shared_ptr<brimDevice>>{waitingDown});
        EXPECT_EQ(engine.LoadError()->tail(), running);
        sink.onEvent = nullptr;
        engine.Upload()->Remove(1);
        engine.Download()->Remove(1);
    }
}

TEST_F(Jobs, BlockArraysAreWrittenWholeElementByElement) {
    const auto device = queue(engine.Download());
    device->Add(4, 60, PT_GENERIC_06, numberedBlocks(3, 6), false, true);
    device->Add(4, 61, PT_CHAR_BLOCK, numberedBlocks(2, 10), false, true);
    device->Add(4, 62, PT_DATE, numberedBlocks(4, 3), false, true);
    device->Add(4, 63, PT_SHORT_CHAR_BLOCK, numberedBlocks(2, 5), false, true);
    device->Add(4, 64, PT_POLL_GROUP_SETTINGS, numberedBlocks(2, 3), false, true);
    device->Add(4, 65, PT_CONTROL, numberedBlocks(2, 10), false, true);
    device->Add(4, 66, PT_GENERIC_10, numberedBlocks(2, 10), false, true);
    EXPECT_EQ(engine.DoDownload(), brimEibDownloadDone);
    EXPECT_EQ(transfers(), (Lines{"Write 4 60 3 0 1 3", "Write 4 60 22 1 1 [1 0 0 0 0 0]",
                                  "Write 4 60 22 2 1 [2 0 0 0 0 0]", "Write 4 60 22 3 1 [3 0 0 0 0 0]",
                                  "Write 4 61 3 0 1 2", "Write 4 61 12 1 1 [1 0 0 0 0 0 0 0 0 0]",
                                  "Write 4 61 12 2 1 [2 0 0 0 0 0 0 0 0 0]", "Write 4 62 3 0 1 4",
                                  "Write 4 62 6 1 3 {[1 0 0] [2 0 0] [3 0 0]}", "Write 4 62 6 4 1 [4 0 0]",
                                  "Write 4 63 3 0 1 2", "Write 4 63 14 1 1 [1 0 0 0 0]",
                                  "Write 4 63 14 2 1 [2 0 0 0 0]", "Write 4 64 3 0 1 2",
                                  "Write 4 64 13 1 1 [1 0 0]", "Write 4 64 13 2 1 [2 0 0]", "Write 4 65 3 0 1 2",
                                  "Write 4 65 0 1 1 [1 0 0 0 0 0 0 0 0 0]",
                                  "Write 4 65 0 2 1 [2 0 0 0 0 0 0 0 0 0]", "Write 4 66 3 0 1 2",
                                  "Write 4 66 26 1 1 [1 0 0 0 0 0 0 0 0 0]",
                                  "Write 4 66 26 2 1 [2 0 0 0 0 0 0 0 0 0]"}));
}

TEST_F(Jobs, EveryGenericArrayFitsItsTelegrams) {
    for (std::int32_t type = PT_GENERIC_01; type <= PT_GENERIC_10; ++type) {
        bus->log.clear();
        const std::int32_t size = coding::ElementSize(type);
        queue(engine.Download())->Add(4, 70, type, numberedBlocks(7, size), false, true);
        EXPECT_EQ(engine.DoDownload(), brimEibDownloadDone);
        const Lines writes = bus->lines("Write");
        int written = 0;
        for (std::size_t i = 1; i < writes.size(); ++i) {
            std::istringstream in(writes[i].substr(6));
            int o, p, t, start, count;
            in >> o >> p >> t >> start >> count;
            EXPECT_EQ(start, written + 1) << writes[i];  // no element skipped
            EXPECT_LE(count * size, 10) << writes[i];
            written += count;
        }
        EXPECT_EQ(written, 7) << type;
    }
}

TEST_F(Jobs, ReadsOfOneBlockAreOneElement) {
    bus->properties[{4, 60}] = elementsOf(numberedBlocks(3, 6));
    bus->properties[{4, 61}] = elementsOf(numberedBlocks(2, 10));
    bus->properties[{4, 62}] = {1.5, 2.5, 3.5};
    bus->properties[{4, 63}] = {std::int32_t{7}, std::int32_t{8}, std::int32_t{9}};
    bus->properties[{4, 64}] = elementsOf(numberedBlocks(1, 4));
    const auto device = queue(engine.Upload());
    const auto generic6 = device->Add(4, 60, PT_GENERIC_06, Variant(), false, true);
    const auto charBlock = device->Add(4, 61, PT_CHAR_BLOCK, Variant(), false, true);
    const auto doubles = device->Add(4, 62, PT_DOUBLE, Variant(), false, true);
    const auto unknown = device->Add(4, 63, 15, Variant(), false, true);
    const auto single = device->Add(4, 64, PT_GENERIC_04, Variant(), false, true);
    const auto scalar = device->Add(4, 64, PT_GENERIC_04);
    EXPECT_EQ(engine.DoUpload(), brimEibUploadDone);
    EXPECT_EQ(generic6->Data(), numberedBlocks(3, 6));
    EXPECT_EQ(charBlock->Data(), numberedBlocks(2, 10));
    EXPECT_EQ(doubles->Data(), Variant::doubles({1.5, 2.5, 3.5}));
    EXPECT_EQ(unknown->Data(), Variant::variants({std::int32_t{7}, std::int32_t{8}, std::int32_t{9}}));
    EXPECT_EQ(single->Data(), numberedBlocks(1, 4));
    EXPECT_EQ(scalar->Data(), Variant::bytes({1, 0, 0, 0}));  // as the driver returned it
    EXPECT_EQ(bus->lines("Read 4 60"), (Lines{"Read 4 60 4 0 1", "Read 4 60 22 1 1", "Read 4 60 22 2 1",
                                              "Read 4 60 22 3 1"}));
    EXPECT_EQ(bus->lines("Read 4 63"), (Lines{"Read 4 63 4 0 1", "Read 4 63 15 1 1", "Read 4 63 15 2 1",
                                              "Read 4 63 15 3 1"}));
    EXPECT_EQ(bus->lines("Read 4 64"), (Lines{"Read 4 64 4 0 1", "Read 4 64 20 1 1", "Read 4 64 20 1 1"}));
}

TEST_F(Jobs, UploadPacksTwoValuesReadForOneElement) {
    // A driver that hands out the two bytes of one PT_GENERIC_02 element as two numbers.
    bus->onRead = [](std::int32_t, std::int32_t, std::int32_t, std::int32_t start, std::int32_t count) {
        if (start == 0) return Variant(std::int32_t{6});
        if (count == 1) return Variant::longs({start, 200});
        std::vector<Variant> part;
        for (int k = 0; k < count; ++k) part.push_back(Variant::bytes({static_cast<std::uint8_t>(start + k), 0}));
        return Variant::variants(part);
    };
    const auto item = queue(engine.Upload())->Add(4, 56, PT_GENERIC_02, Variant(), false, true);
    EXPECT_EQ(engine.DoUpload(), brimEibUploadDone);
    EXPECT_EQ(item->Data(), blocks({{1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {6, 200}}));
}
