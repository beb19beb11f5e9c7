#include "corbus/brim_eib.h"
#include "test_support.h"

#include <gtest/gtest.h>

using namespace corbus;
using corbus_test::caught;
using corbus_test::Lines;

TEST(Engine, SettingsDefaultsAndRanges) {
    brimEib engine;
    EXPECT_TRUE(engine.VerifyObjectID());
    EXPECT_FALSE(engine.MaskCheck() || engine.ConnectionAsDefault() || engine.ItemVerify() || engine.AutoUpload() ||
                 engine.AutoDownload());
    EXPECT_EQ(engine.MaskVersion(), 32);
    EXPECT_EQ(engine.Retries(), 3);
    engine.setRetries(0);
    engine.setRetries(10);
    for (std::int32_t bad : {11, -1}) EXPECT_EQ(caught([&] { engine.setRetries(bad); }).number, vbBrimEibError + 8);
    EXPECT_EQ(engine.Retries(), 10);
}

TEST(Engine, JobsBeforeInitPortAndOnEmptyLists) {
    brimEib engine;
    corbus_test::RecordingSink sink;
    engine.setEventSink(&sink);
    engine.Upload()->Add(std::make_shared<brimDevice>());
    // Not initialised: nothing happens and nothing is reported.
    EXPECT_EQ(engine.DoUpload(), brimEibNotInitialized);
    EXPECT_EQ(engine.DoDownload(), brimEibNotInitialized);
    EXPECT_TRUE(sink.events.empty());
    EXPECT_EQ(engine.Upload()->Count(), 1);
    EXPECT_EQ(engine.Cancel(), static_cast<enumRetVal>(brimEibCancel_Requested));

    EXPECT_TRUE(engine.InitPort());
    engine.Upload()->Remove(1);
    // Empty lists: the upload reports before going passive, the download after.
    std::vector<std::int32_t> statesSeen;
    sink.onEvent = [&](const std::string&) { statesSeen.push_back(engine.EngineState()); };
    EXPECT_EQ(engine.DoUpload(), brimEibUploadListIsEmpty);
    EXPECT_EQ(engine.DoDownload(), brimEibDownloadListIsEmpty);
    EXPECT_EQ(sink.events, (Lines{"L12(0,0)", "L13(0,0)"}));
    EXPECT_EQ(statesSeen, (std::vector<std::int32_t>{brimEibStatePassive, brimEibStatePassive}));
}

TEST(Engine, UploadDeviceQueuesTheIdentificationRead) {
    brimEib engine;
    const auto device = engine.UploadDevice(std::int32_t{4353}, brimDevDefault);
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(engine.Upload()->Item(1), device);
    // Object/property/data type/item type, and the value a verify item expects.
    const auto items = [](const brimDevice& d) {
        Lines out;
        for (const auto& item : d.PropItems()->NewEnum()) {
            out.push_back(std::to_string(item->ObjectID()) + "/" + std::to_string(item->PropertyId()) + "/" +
                          std::to_string(item->DataType()) + "/" + std::to_string(item->ItemType()) +
                          (item->Verify() ? " = " + corbus_test::describe(item->Data()) : ""));
        }
        return out;
    };
    EXPECT_EQ(items(*device), (Lines{"5/1/4/0 = 50021", "5/12/4/0", "5/15/12/0", "5/201/14/0", "7/1/4/0 = 50023",
                                     "7/201/2/0", "7/202/2/0", "7/203/2/0", "7/204/2/0", "7/205/2/0"}));
    // Without the object-type check the two verify items are left out.
    engine.setVerifyObjectID(false);
    EXPECT_EQ(items(*engine.UploadDevice("1.1.1", 0)), (Lines{"5/12/4/0", "5/15/12/0", "5/201/14/0", "7/201/2/0",
                                                              "7/202/2/0", "7/203/2/0", "7/204/2/0", "7/205/2/0"}));
    EXPECT_EQ(engine.UploadDevice(std::int32_t{4353}, 1), nullptr);
    EXPECT_EQ(caught([&] { engine.UploadDevice("0.0.0", 0); }).number, vbBrimEibError + 7);
    EXPECT_EQ(engine.Upload()->Count(), 2);
}
