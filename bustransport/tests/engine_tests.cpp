#include "corbus/brim_eib.h"
#include "corbus/coding.h"
#include "fake_bus.h"
#include "test_support.h"

#include <gtest/gtest.h>

using namespace corbus;
using automation::Variant;
using corbus_test::caught;
using corbus_test::RecordingSink;

TEST(Engine, SettingsDefaultsAndRanges) {
    brimEib engine;
    EXPECT_EQ(engine.ClassCreatorObject(), nullptr);
    EXPECT_TRUE(engine.VerifyObjectID());
    EXPECT_FALSE(engine.MaskCheck());
    EXPECT_FALSE(engine.ConnectionAsDefault());
    EXPECT_EQ(engine.MaskVersion(), 32);
    EXPECT_FALSE(engine.ItemVerify());
    EXPECT_FALSE(engine.AutoUpload());
    EXPECT_FALSE(engine.AutoDownload());
    EXPECT_EQ(engine.Retries(), 3);
    EXPECT_EQ(engine.EngineState(), brimEibStateNoInit);

    engine.setRetries(0);
    EXPECT_EQ(engine.Retries(), 0);
    engine.setRetries(10);
    EXPECT_EQ(engine.Retries(), 10);
    for (std::int32_t bad : {11, -1}) {
        EXPECT_EQ(caught([&] { engine.setRetries(bad); }).number, static_cast<std::int32_t>(0x80040BC0u));
    }
    EXPECT_EQ(engine.Retries(), 10);
    brimEib fresh;
    EXPECT_EQ(caught([&] { fresh.setRetries(11); }).number, vbBrimEibError + 8);
    EXPECT_EQ(fresh.Retries(), 3);

    engine.setMaskVersion(-5);  // not validated
    EXPECT_EQ(engine.MaskVersion(), -5);
}

TEST(Engine, InitPortCancelAndTheListsBeforeAnyJob) {
    brimEib engine;
    RecordingSink sink;
    engine.setEventSink(&sink);
    engine.Upload()->Add(std::make_shared<brimDevice>());

    // Not initialised: nothing happens and nothing is reported.
    EXPECT_EQ(engine.DoUpload(), brimEibNotInitialized);
    EXPECT_EQ(engine.DoDownload(), brimEibNotInitialized);
    EXPECT_TRUE(sink.events.empty());
    EXPECT_EQ(engine.Upload()->Count(), 1);

    // Cancel touches no list and no state.
    EXPECT_EQ(engine.Cancel(), static_cast<enumRetVal>(brimEibCancel_Requested));
    EXPECT_EQ(engine.EngineState(), brimEibStateNoInit);

    EXPECT_TRUE(engine.InitPort());
    EXPECT_TRUE(engine.InitPort("{guid}", "params"));
    EXPECT_EQ(engine.EngineState(), brimEibStatePassive);

    // The getters hand out the engine's own lists.
    EXPECT_EQ(engine.Upload(), engine.Upload());
    EXPECT_NE(engine.Upload(), engine.Download());
    EXPECT_NE(engine.LoadError(), engine.UploadDone());
    EXPECT_NE(engine.UploadDone(), engine.DownloadDone());
    engine.Upload()->Remove(1);

    // Empty lists: the upload reports before going passive, the download after.
    std::vector<std::int32_t> statesSeen;
    sink.onEvent = [&](const std::string&) { statesSeen.push_back(engine.EngineState()); };
    EXPECT_EQ(engine.DoUpload(), brimEibUploadListIsEmpty);
    EXPECT_EQ(engine.DoDownload(), brimEibDownloadListIsEmpty);
    EXPECT_EQ(sink.events, (std::vector<std::string>{"L12(0,0)", "L13(0,0)"}));
    EXPECT_EQ(statesSeen, (std::vector<std::int32_t>{brimEibStatePassive, brimEibStatePassive}));
    EXPECT_EQ(engine.genEibData(PT_GENERIC_02, 1), coding::genEibData(PT_GENERIC_02, 1));
}

TEST(Engine, UploadDeviceQueuesTheIdentificationRead) {
    brimEib engine;
    const auto device = engine.UploadDevice(std::int32_t{4353}, brimDevDefault);
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(engine.Upload()->Count(), 1);
    EXPECT_EQ(engine.Upload()->Item(1), device);
    EXPECT_EQ(device->State(), pdStateReady);
    const auto items = device->PropItems()->NewEnum();
    ASSERT_EQ(items.size(), 10u);
    struct Row {
        std::int32_t object, property, type;
        bool verify;
    };
    const Row rows[] = {{5, 1, 4, true},    {5, 12, 4, false},   {5, 15, 12, false}, {5, 201, 14, false},
                        {7, 1, 4, true},    {7, 201, 2, false},  {7, 202, 2, false}, {7, 203, 2, false},
                        {7, 204, 2, false}, {7, 205, 2, false}};
    for (std::size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(items[i]->ObjectID(), rows[i].object) << i;
        EXPECT_EQ(items[i]->PropertyId(), rows[i].property) << i;
        EXPECT_EQ(items[i]->DataType(), rows[i].type) << i;
        EXPECT_EQ(items[i]->Verify(), rows[i].verify) << i;
        EXPECT_EQ(items[i]->ItemType(), brimItemStandard) << i;
    }
    EXPECT_EQ(items[0]->Data(), Variant(std::int32_t{50021}));
    EXPECT_EQ(items[4]->Data(), Variant(std::int32_t{50023}));
    EXPECT_TRUE(items[1]->Data().isEmpty());

    engine.setVerifyObjectID(false);
    EXPECT_EQ(engine.UploadDevice("1.1.1", 0)->PropItems()->Count(), 8);
    EXPECT_EQ(engine.UploadDevice(std::int32_t{4353}, 1), nullptr);
    EXPECT_EQ(caught([&] { engine.UploadDevice("0.0.0", 0); }).number, vbBrimEibError + 7);
    EXPECT_EQ(engine.Upload()->Count(), 2);
}
