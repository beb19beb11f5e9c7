#include "corbus/brim_eib.h"
#include "corbus/coding.h"
#include "oledate.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace corbus;
using namespace corbus_test;

namespace {

constexpr double kNow = 45000.25;
constexpr std::int32_t kDriverError = -2147467259;  // a failure status raised by the driver
constexpr bool kUp = true;
constexpr bool kDown = false;

// count blocks of `size` bytes, block i starting with the byte i + 1.
Variant numberedBlocks(int count, int size) {
    std::vector<Variant> out;
    for (int i = 0; i < count; ++i) {
        std::vector<std::uint8_t> block(static_cast<std::size_t>(size), 0);
        block[0] = static_cast<std::uint8_t>(i + 1);
        out.push_back(Variant::bytes(block));
    }
    return Variant::variants(out);
}

class Jobs : public ::testing::Test {
protected:
    void SetUp() override {
        busdriver::installDriver(std::make_shared<FakeDriver>(bus));
        engine.setEventSink(&sink);
        engine.InitPort("{IF}", "P");
    }
    void TearDown() override { busdriver::installDriver(nullptr); }

    std::shared_ptr<brimDevice> queue(bool upload, const Variant& address = "1.1.1") {
        auto device = std::make_shared<brimDevice>();
        device->setTargetAddress(address);
        return (upload ? engine.Upload() : engine.Download())->Add(device);
    }
    enumRetVal run(bool upload) { return upload ? engine.DoUpload() : engine.DoDownload(); }
    void clear() {
        bus->log.clear();
        sink.events.clear();
    }
    // The reads and writes of the log.
    Lines transfers() const {
        Lines out;
        for (const auto& l : bus->log)
            if (l.rfind("Read", 0) == 0 || l.rfind("Write", 0) == 0) out.push_back(l);
        return out;
    }

    automation::ScopedClock clock{[] { return kNow; }};
    std::shared_ptr<FakeBus> bus = std::make_shared<FakeBus>();
    RecordingSink sink;
    brimEib engine;
};

}  // namespace

TEST_F(Jobs, DownloadCallSequence) {
    engine.setRetries(2);
    const auto device = queue(kDown);
    device->Add(objAddressConnect, 51, PT_GENERIC_04, numberedBlocks(5, 4), false, true);
    device->Add(objAddressConnect, 56, PT_GENERIC_02, numberedBlocks(16, 2), false, true);

    EXPECT_EQ(engine.DoDownload(), brimEibDownloadDone);
    EXPECT_EQ(bus->log, (Lines{"ClassCreator",
                               "CreateInstance Falcon.ConnectionObject.1",
                               "Auxiliary",
                               "Mode 5",
                               "RemoteAddress 1.1.1",
                               "Open {IF} P",
                               "PropertyAccess",
                               "Attach",
                               "RetryCount 2",
                               "Write 4 51 3 0 1 5",
                               "Write 4 51 20 1 2 {[1 0 0 0] [2 0 0 0]}",
                               "Write 4 51 20 3 2 {[3 0 0 0] [4 0 0 0]}",
                               "Write 4 51 20 5 1 [5 0 0 0]",
                               "Write 4 56 3 0 1 16",
                               "Write 4 56 18 1 5 {[1 0] [2 0] [3 0] [4 0] [5 0]}",
                               "Write 4 56 18 6 5 {[6 0] [7 0] [8 0] [9 0] [10 0]}",
                               "Write 4 56 18 11 5 {[11 0] [12 0] [13 0] [14 0] [15 0]}",
                               "Write 4 56 18 16 1 [16 0]",
                               "Mode 6",
                               "~PropertyAccess",
                               "~Auxiliary",
                               "~Connection"}));
    EXPECT_EQ(sink.events, (Lines{"L7(2,0)", "L6(4,51)", "L6(4,56)", "L8(2,2)", "L11(4353,0)"}));
    EXPECT_EQ(sink.dates.front(), kNow);
    EXPECT_EQ(engine.DownloadDone()->Item(1), device);
    EXPECT_EQ(engine.Download()->Count(), 0);
    EXPECT_EQ(device->LastLoaded(), kNow);
    EXPECT_TRUE(device->PropItems()->Item(1)->Update() && device->PropItems()->Item(2)->Update());
}

TEST_F(Jobs, UploadCallSequenceWithMaskCheck) {
    engine.setMaskCheck(true);
    std::vector<Variant> table;
    for (std::uint8_t i = 0; i < 16; ++i) table.push_back(Variant::bytes({i, static_cast<std::uint8_t>(i + 100)}));
    bus->properties[{4, 56}] = table;
    bus->properties[{4, 51}] = {};
    const auto device = queue(kUp, std::int32_t{4353});
    const auto scenes = device->Add(objAddressConnect, 56, PT_GENERIC_02, std::int32_t{-1}, false, true);
    const auto ballasts = device->Add(objAddressConnect, 51, PT_GENERIC_04, std::int32_t{-1}, false, true);
    // Each "item read" event comes while the item still holds its previous value.
    Lines dataAtRead;
    sink.onEvent = [&](const std::string& event) {
        if (event == "L2(4,56)") dataAtRead.push_back(describe(scenes->Data()));
        if (event == "L2(4,51)") dataAtRead.push_back(describe(ballasts->Data()));
    };
    EXPECT_EQ(engine.DoUpload(), brimEibUploadDone);
    EXPECT_EQ(dataAtRead, (Lines{"-1", "-1"}));
    EXPECT_EQ(bus->log, (Lines{"ClassCreator",
                               "CreateInstance Falcon.ConnectionObject.1",
                               "Auxiliary",
                               "Mode 4",
                               "RemoteAddress 4353",
                               "Open {IF} P",
                               "RemoteMaskVersion",
                               "Mode 6",
                               "~Auxiliary",
                               "~Connection",
                               "ClassCreator",
                               "~ClassCreator",
                               "CreateInstance Falcon.ConnectionObject.1",
                               "Auxiliary",
                               "Mode 5",
                               "RemoteAddress 4353",
                               "Open {IF} P",
                               "PropertyAccess",
                               "Attach",
                               "RetryCount 3",
                               "Read 4 56 4 0 1",
                               "Read 4 56 18 1 5",
                               "Read 4 56 18 6 5",
                               "Read 4 56 18 11 5",
                               "Read 4 56 18 16 1",
                               "Read 4 51 4 0 1",
                               "Mode 6",
                               "~PropertyAccess",
                               "~Auxiliary",
                               "~Connection"}));
    EXPECT_EQ(sink.events, (Lines{"L10(4353,0)", "L9(4353,32)", "L11(4353,0)", "L3(2,0)", "L2(4,56)", "L2(4,51)",
                                  "L4(2,2)", "L11(4353,0)"}));
    EXPECT_EQ(scenes->Data(), Variant::variants(table));
    EXPECT_TRUE(ballasts->Data().isEmpty());  // an element count of 0 reads as Empty
    EXPECT_EQ(engine.UploadDone()->Item(1), device);
    EXPECT_EQ(device->LastLoaded(), kNow);
}

TEST_F(Jobs, ConnectionKeptAsDefault) {
    // With the mask check: the one mode-4 connection serves the transfer.
    engine.setMaskCheck(true);
    engine.setConnectionAsDefault(true);
    queue(kDown);
    EXPECT_EQ(engine.DoDownload(), brimEibDownloadDone);
    EXPECT_EQ(bus->lines("ClassCreator").size(), 1u);
    EXPECT_EQ(bus->lines("Mode"), (Lines{"Mode 4", "Mode 6"}));
    EXPECT_EQ(sink.events, (Lines{"L10(4353,0)", "L9(4353,32)", "L7(0,0)", "L8(0,0)", "L11(4353,0)"}));

    // Without it the kept connection reports its opening.
    engine.setMaskCheck(false);
    clear();
    queue(kUp);
    EXPECT_EQ(engine.DoUpload(), brimEibUploadDone);
    EXPECT_EQ(bus->lines("Mode"), (Lines{"Mode 4", "Mode 6"}));
    EXPECT_EQ(sink.events, (Lines{"L10(4353,0)", "L3(0,0)", "L4(0,0)", "L11(4353,0)"}));
}

TEST_F(Jobs, ScalarAddressAndAssociationItems) {
    engine.setItemVerify(true);
    const auto device = queue(kDown);
    device->Add(objDeviceObject, 12, PT_UNSIGNED_INT, std::int32_t{77});
    device->Add(objDeviceObject, 13, PT_UNSIGNED_INT);  // Empty: skipped, still reported
    device->Add(objAddressConnect, 201, PT_UNSIGNED_INT, Variant::longs({3, 10, 11}))->setItemType(brimItemAddress);
    device->Add(OBJ_ID_ASSO, 7, PT_UNSIGNED_CHAR, Variant::longs({5, 6}))->setItemType(brimItemAssoziation);

    EXPECT_EQ(engine.DoDownload(), brimEibDownloadDone);
    EXPECT_EQ(transfers(),
              (Lines{"Write 5 12 4 1 1 77 verify", "Write 4 201 3 0 1 3 verify", "Write 4 201 4 2 2 {10 11} verify",
                     "Write 2 7 3 0 1 2 verify", "Write 2 7 2 1 2 {5 6} verify"}));
    EXPECT_EQ(sink.events, (Lines{"L7(4,0)", "L6(5,12)", "L6(5,13)", "L14(0,3)", "L6(4,201)", "L15(3,3)", "L16(0,2)",
                                  "L6(2,7)", "L17(2,2)", "L8(4,4)", "L11(4353,0)"}));
}

TEST_F(Jobs, LoadControlItems) {
    bus->properties[{1, 5}] = bus->properties[{1, 6}] = {Variant::bytes({1})};
    const auto addControl = [](brimDevice& device, std::int32_t property, std::uint8_t event) {
        Variant buffer = coding::genEibData(PT_CONTROL);
        buffer.set(0, event);
        device.Add(OBJ_ID_ADDR, property, PT_CONTROL, buffer)->setItemType(brimItemLoadCtl);
    };
    const auto device = queue(kDown);
    addControl(*device, 5, 1);
    addControl(*device, 6, 2);
    // State 1 equals the event 1: written; state 1 against the event 2: nothing written.
    EXPECT_EQ(engine.DoDownload(), brimEibDownloadDone);
    EXPECT_EQ(transfers(), (Lines{"Read 1 5 0 1 1", "Write 1 5 0 1 1 [1 0 0 0 0 0 0 0 0 0]", "Read 1 6 0 1 1"}));
    EXPECT_EQ(sink.events, (Lines{"L7(2,0)", "L18(1,1)", "L18(1,2)", "L8(2,2)", "L11(4353,0)"}));

    // The load states 0 and 3 forbid loading: event 27, result 7, LoadError.
    for (std::uint8_t forbidden : {0, 3}) {
        bus->properties[{1, 5}] = {Variant::bytes({forbidden})};
        clear();
        const auto job = queue(kDown);
        addControl(*job, 5, 1);
        EXPECT_EQ(engine.DoDownload(), brimEibError);
        EXPECT_EQ(sink.events, (Lines{"L7(1,0)", "E27(" + std::to_string(forbidden) + ",1)", "L11(4353,0)"}));
        EXPECT_EQ(engine.LoadError()->tail(), job);
        EXPECT_EQ(job->LastError(), kNow);
        EXPECT_EQ(bus->lines("Write").size(), 0u);
    }
}

TEST_F(Jobs, VerifyItems) {
    bus->properties[{5, 1}] = {std::int32_t{50021}};
    bus->properties[{4, 56}] = numberedBlocks(2, 5).elements();
    // Download: read back and compared, never written; the array's count is read as PT_INT and each
    // one-block read is one element.
    const auto device = queue(kDown);
    device->Add(objDeviceObject, 1, PT_UNSIGNED_INT, std::int32_t{50021}, true);
    device->Add(objAddressConnect, 56, PT_SHORT_CHAR_BLOCK, numberedBlocks(2, 5), true, true);
    EXPECT_EQ(engine.DoDownload(), brimEibDownloadDone);
    EXPECT_EQ(transfers(), (Lines{"Read 5 1 4 1 1", "Read 4 56 3 0 1", "Read 4 56 14 1 1", "Read 4 56 14 2 1"}));
    EXPECT_EQ(sink.events, (Lines{"L7(2,0)", "L5(5,1)", "L5(4,56)", "L8(2,2)", "L11(4353,0)"}));

    // A difference stops the job: event 23, LoadError, result 7, the rest unhandled.
    for (bool upload : {kDown, kUp}) {
        sink.events.clear();
        const auto job = queue(upload);
        const auto differs = job->Add(objDeviceObject, 1, PT_UNSIGNED_INT, std::int32_t{50023}, true);
        const auto rest = job->Add(objDeviceObject, 12, PT_UNSIGNED_INT, std::int32_t{1});
        EXPECT_EQ(run(upload), brimEibError);
        EXPECT_EQ(sink.events, (Lines{upload ? "L3(2,0)" : "L7(2,0)", "E23(5,1)", "L11(4353,0)"}));
        EXPECT_EQ(engine.LoadError()->tail(), job);
        EXPECT_EQ(job->LastError(), kNow);
        EXPECT_EQ(differs->Data(), Variant(std::int32_t{50023}));
        EXPECT_FALSE(differs->Update() || rest->Update());
        EXPECT_EQ(engine.EngineState(), brimEibStatePassive);
    }
    EXPECT_EQ(bus->lines("Write").size(), 0u);
}

TEST_F(Jobs, NoConnectionOrAnotherMaskLeavesTheJobInNoList) {
    struct Case {
        bool maskCheck;
        std::int32_t openCode, maskVersion;
        Lines events;
        std::int32_t downloadState, uploadState;
    };
    const Case cases[] = {
        {false, 5, 32, {"E20(4353,5)"}, brimEibStateError, brimEibStateError},
        {true, 5, 32, {"E20(4353,5)"}, brimEibStatePassive, brimEibStateError},
        {true, 0, 17, {"L10(4353,0)", "E22(4353,17)", "L11(4353,0)"}, brimEibStateError, brimEibStateError}};
    for (bool upload : {kDown, kUp}) {
        for (const Case& c : cases) {
            clear();
            engine.setMaskCheck(c.maskCheck);
            bus->openCode = c.openCode;
            bus->maskVersion = c.maskVersion;
            const auto device = queue(upload);
            device->Add(4, 51, PT_UNSIGNED_INT, std::int32_t{1});
            EXPECT_EQ(run(upload), brimEibError);
            EXPECT_EQ(sink.events, c.events);
            EXPECT_EQ(engine.EngineState(), upload ? c.uploadState : c.downloadState);
            for (const auto& list :
                 {engine.Upload(), engine.Download(), engine.LoadError(), engine.UploadDone(), engine.DownloadDone()})
                EXPECT_EQ(list->Count(), 0);
            EXPECT_EQ(device.use_count(), 1);
            EXPECT_EQ(bus->lines("PropertyAccess").size(), 0u);
            // A connection that did not open is released without closing.
            EXPECT_EQ(bus->lines("Mode 6").size(), c.openCode ? 0u : 1u);
            EXPECT_EQ(bus->lines("~Connection").size(), 1u);
        }
    }
}

TEST_F(Jobs, ArrayItemWithoutElementSize) {
    for (std::int32_t type : {15, 16, static_cast<std::int32_t>(PT_UNDEFINED)}) {
        sink.events.clear();
        const auto job = queue(kDown);
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
        {kDown, "Open", brimEibDoDownload_Connect, true},
        {kDown, "Write 4 51", brimEibDoDownload_Property, true},
        {kDown, "Mode 6", brimEibDoDownload_CloseConnect, false},
        {kUp, "Open", brimEibDoUpload_Connect, true},
        {kUp, "Read 4 51", brimEibDoUpload_Property, true},
        {kUp, "Mode 6", brimEibDoUpload_CloseConnect, false},
    };
    for (const Case& c : cases) {
        bus->failOn = c.failOn;
        clear();
        const auto job = queue(c.upload);
        job->Add(4, 51, PT_UNSIGNED_INT, std::int32_t{1});
        EXPECT_EQ(run(c.upload), brimEibError) << c.failOn;
        EXPECT_EQ(sink.events.back(), "E19(" + std::to_string(kDriverError) + "," + std::to_string(c.region) + ")");
        // A job already filed when the error comes stays where it was filed, and only there.
        const auto& done = c.upload ? engine.UploadDone() : engine.DownloadDone();
        EXPECT_EQ(engine.LoadError()->tail() == job, c.filedInLoadError) << c.failOn;
        EXPECT_EQ(done->tail() == job, !c.filedInLoadError) << c.failOn;
        EXPECT_EQ(bus->lines("~Connection").size(), 1u);
        EXPECT_EQ(engine.EngineState(), c.upload ? brimEibStateError : brimEibStatePassive);
    }
    EXPECT_EQ(engine.LoadError()->Count(), 4);
}

TEST_F(Jobs, AnEventHandlerMayCancelButStartsNoJob) {
    engine.setAutoDownload(true);
    engine.setAutoUpload(true);
    bus->properties[{4, 1}] = {std::int32_t{1}};
    for (bool upload : {kDown, kUp}) {
        const enumRetVal cancelled = upload ? brimEibUploadCanceledByUser : brimEibDownloadCanceledByUser;
        const enumRetVal busy = upload ? brimEibInUploadMode : brimEibInDownloadMode;
        const auto first = queue(upload);
        first->Add(4, 1, PT_UNSIGNED_CHAR, std::int32_t{1});
        first->Add(4, 1, PT_UNSIGNED_CHAR, std::int32_t{1});
        const auto waitingUp = queue(kUp);
        const auto waitingDown = queue(kDown);
        // During the first item: a cancel, then a nested job of either kind, refused as busy.
        std::vector<enumRetVal> nested;
        sink.events.clear();
        sink.onEvent = [&](const std::string& e) {
            if (e != "L6(4,1)" && e != "L2(4,1)") return;
            engine.Cancel();
            nested = {engine.DoDownload(), engine.DoUpload()};
        };
        EXPECT_EQ(run(upload), cancelled);
        EXPECT_EQ(nested, (std::vector<enumRetVal>{busy, busy}));
        EXPECT_EQ(Lines(sink.events.end() - 2, sink.events.end()), (Lines{"E26(0,0)", "L11(4353,0)"}));
        EXPECT_EQ(engine.LoadError()->tail(), first);
        EXPECT_EQ(first->LastError(), kNow);
        EXPECT_TRUE(first->PropItems()->Item(1)->Update());
        EXPECT_FALSE(first->PropItems()->Item(2)->Update());
        // The refused calls touched no list, and the cancel also stopped the automatic run.
        EXPECT_EQ(engine.Upload()->NewEnum(), std::vector<std::shared_ptr<brimDevice>>{waitingUp});
        EXPECT_EQ(engine.Download()->NewEnum(), std::vector<std::shared_ptr<brimDevice>>{waitingDown});

        // A cancel during the close of a job stops the run at the top of the next cycle.
        const auto& waiting = upload ? engine.Upload() : engine.Download();
        const auto third = queue(upload);
        sink.events.clear();
        sink.onEvent = [&](const std::string& e) {
            if (e == "L11(4353,0)") engine.Cancel();
        };
        EXPECT_EQ(run(upload), cancelled);
        EXPECT_EQ(sink.events.back(), "E26(0,0)");
        EXPECT_EQ(waiting->NewEnum(), std::vector<std::shared_ptr<brimDevice>>{third});
        // A cancel before a job has no effect.
        sink.onEvent = nullptr;
        engine.Cancel();
        EXPECT_EQ(run(upload), upload ? brimEibUploadDone : brimEibDownloadDone);
        for (const auto& list : {engine.Upload(), engine.Download()})
            while (list->Count() > 0) list->Remove(1);
    }
}

TEST_F(Jobs, AutoDownloadGoesOnAfterATrappedErrorAutoUploadStops) {
    engine.setAutoDownload(true);
    engine.setAutoUpload(true);
    bus->failNumber = kDriverError;
    bus->failOn = "RemoteAddress 2.2.2";
    const auto a = queue(kDown);
    const auto b = queue(kDown, "2.2.2");
    const auto c = queue(kDown);
    EXPECT_EQ(engine.DoDownload(), brimEibDownloadDone);
    EXPECT_EQ(engine.DownloadDone()->NewEnum(), (std::vector<std::shared_ptr<brimDevice>>{a, c}));
    EXPECT_EQ(engine.LoadError()->Item(1), b);

    bus->failOn = "RemoteAddress 2.2.2";
    queue(kUp, "2.2.2");
    const auto waiting = queue(kUp);
    EXPECT_EQ(engine.DoUpload(), brimEibError);
    EXPECT_EQ(engine.Upload()->Item(1), waiting);
    queue(kUp);
    EXPECT_EQ(engine.DoUpload(), brimEibUploadDone);
    EXPECT_EQ(engine.UploadDone()->Count(), 2);
}

TEST_F(Jobs, BlockArraysAreWrittenWholeElementByElement) {
    const auto device = queue(kDown);
    device->Add(4, 60, PT_GENERIC_06, numberedBlocks(3, 6), false, true);
    device->Add(4, 61, PT_CHAR_BLOCK, numberedBlocks(2, 10), false, true);
    device->Add(4, 62, PT_DATE, numberedBlocks(4, 3), false, true);
    device->Add(4, 63, PT_SHORT_CHAR_BLOCK, numberedBlocks(1, 5), false, true);
    device->Add(4, 65, PT_CONTROL, numberedBlocks(1, 10), false, true);
    EXPECT_EQ(engine.DoDownload(), brimEibDownloadDone);
    EXPECT_EQ(transfers(),
              (Lines{"Write 4 60 3 0 1 3", "Write 4 60 22 1 1 [1 0 0 0 0 0]", "Write 4 60 22 2 1 [2 0 0 0 0 0]",
                     "Write 4 60 22 3 1 [3 0 0 0 0 0]", "Write 4 61 3 0 1 2", "Write 4 61 12 1 1 [1 0 0 0 0 0 0 0 0 0]",
                     "Write 4 61 12 2 1 [2 0 0 0 0 0 0 0 0 0]", "Write 4 62 3 0 1 4",
                     "Write 4 62 6 1 3 {[1 0 0] [2 0 0] [3 0 0]}", "Write 4 62 6 4 1 [4 0 0]", "Write 4 63 3 0 1 1",
                     "Write 4 63 14 1 1 [1 0 0 0 0]", "Write 4 65 3 0 1 1", "Write 4 65 0 1 1 [1 0 0 0 0 0 0 0 0 0]"}));
}

TEST_F(Jobs, EveryGenericArrayFitsItsTelegrams) {
    for (std::int32_t type = PT_GENERIC_01; type <= PT_GENERIC_10; ++type) {
        bus->log.clear();
        const std::int32_t size = coding::ElementSize(type);
        queue(kDown)->Add(4, 70, type, numberedBlocks(7, size), false, true);
        EXPECT_EQ(engine.DoDownload(), brimEibDownloadDone);
        const Lines writes = bus->lines("Write");
        int written = 0;
        for (std::size_t i = 1; i < writes.size(); ++i) {
            std::istringstream in(writes[i].substr(6));
            int object, property, dataType, start, count;
            in >> object >> property >> dataType >> start >> count;
            EXPECT_EQ(start, written + 1) << writes[i];  // no element skipped
            EXPECT_LE(count * size, 10) << writes[i];
            written += count;
        }
        EXPECT_EQ(written, 7) << type;
    }
}

TEST_F(Jobs, UploadReadsOfOneElement) {
    bus->properties[{4, 60}] = numberedBlocks(3, 6).elements();
    bus->properties[{4, 62}] = {1.5, 2.5, 3.5};
    bus->properties[{4, 63}] = {std::int32_t{7}, std::int32_t{8}, std::int32_t{9}};
    bus->properties[{4, 64}] = numberedBlocks(1, 4).elements();
    // A driver that hands out the two bytes of the last PT_GENERIC_02 element as two numbers.
    bus->properties[{4, 56}] = numberedBlocks(5, 2).elements();
    bus->properties[{4, 56}].push_back(Variant::longs({6, 200}));
    const auto device = queue(kUp);
    const auto generic6 = device->Add(4, 60, PT_GENERIC_06, Variant(), false, true);
    const auto doubles = device->Add(4, 62, PT_DOUBLE, Variant(), false, true);
    const auto unknown = device->Add(4, 63, 15, Variant(), false, true);
    const auto single = device->Add(4, 64, PT_GENERIC_04, Variant(), false, true);
    const auto scalar = device->Add(4, 64, PT_GENERIC_04);
    const auto packed = device->Add(4, 56, PT_GENERIC_02, Variant(), false, true);
    EXPECT_EQ(engine.DoUpload(), brimEibUploadDone);
    // A read of one block is one element, not an array of its bytes.
    EXPECT_EQ(generic6->Data(), numberedBlocks(3, 6));
    EXPECT_EQ(bus->lines("Read 4 60"),
              (Lines{"Read 4 60 4 0 1", "Read 4 60 22 1 1", "Read 4 60 22 2 1", "Read 4 60 22 3 1"}));
    EXPECT_EQ(single->Data(), numberedBlocks(1, 4));
    EXPECT_EQ(scalar->Data(), Variant::bytes({1, 0, 0, 0}));  // as the driver returned it
    EXPECT_EQ(doubles->Data(), Variant::doubles({1.5, 2.5, 3.5}));
    EXPECT_EQ(unknown->Data(), Variant::variants({std::int32_t{7}, std::int32_t{8}, std::int32_t{9}}));
    Variant expected = numberedBlocks(6, 2);
    expected.at(5).set(1, std::int32_t{200});
    EXPECT_EQ(packed->Data(), expected);
}

// An element count is a PT_UNSIGNED_INT: 65535 elements are read, a reply claiming more is a
// trapped overflow (6) before anything is sized for it, a negative one a subscript error (9).
TEST_F(Jobs, ElementCountsBeyondSixteenBitsAreRefused) {
    bus->properties[{4, 70}] = std::vector<Variant>(65535, Variant(std::int32_t{3}));
    const auto device = queue(kUp);
    const auto item = device->Add(4, 70, PT_UNSIGNED_CHAR, Variant(), false, true);
    EXPECT_EQ(engine.DoUpload(), brimEibUploadDone);
    EXPECT_EQ(item->Data().count(), 65535u);
    EXPECT_EQ(item->Data().at(65534), Variant(std::int32_t{3}));

    for (const auto& [count, error] :
         {std::pair{Variant(std::int32_t{65536}), 6}, {Variant(INT32_MAX), 6}, {Variant(std::int32_t{-1}), 9}}) {
        clear();
        bus->countReply = count;
        queue(kUp)->Add(4, 70, PT_UNSIGNED_CHAR, Variant(), false, true);
        EXPECT_EQ(engine.DoUpload(), brimEibError);
        const std::string region = std::to_string(brimEibDoUpload_Property);
        EXPECT_EQ(sink.events.back(), "E19(" + std::to_string(error) + "," + region + ")");
        EXPECT_EQ(bus->lines("Read 4 70"), Lines{"Read 4 70 4 0 1"});
    }
}
