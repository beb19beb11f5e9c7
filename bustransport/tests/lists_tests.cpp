#include "corbus/brim_eib.h"
#include "corbus/coding.h"
#include "corbus/devices.h"
#include "corbus/prop_items.h"
#include "oledate.h"
#include "test_support.h"

#include <gtest/gtest.h>

using namespace corbus;
using automation::Variant;
using corbus_test::caught;

namespace {

std::shared_ptr<brimPropItem> newItem(std::int32_t objectId) {
    auto item = std::make_shared<brimPropItem>();
    item->setObjectID(objectId);
    return item;
}

std::shared_ptr<brimPropItems> listOf(std::initializer_list<std::pair<std::int32_t, const char*>> entries) {
    auto list = std::make_shared<brimPropItems>();
    for (const auto& [id, key] : entries) {
        auto item = newItem(id);
        list->Add(item, key);
    }
    return list;
}

// Object ids along the chain from the head, checking every back link on the way.
std::vector<std::int32_t> chainIds(const brimPropItems& list) {
    std::vector<std::int32_t> ids;
    std::shared_ptr<brimPropItem> prev;
    for (auto item = list.head(); item; item = item->NextItem()) {
        EXPECT_EQ(item->PrevItem(), prev);
        ids.push_back(item->ObjectID());
        prev = item;
    }
    EXPECT_EQ(list.tail(), prev);
    return ids;
}

}  // namespace

TEST(CorbusErrors, EveryNumberSourceAndDescription) {
    const std::int32_t base = static_cast<std::int32_t>(0x80040BB8u);
    auto items = listOf({{1, ""}});
    brimDevices devices;
    brimDevice device;
    brimEib engine;
    struct Row {
        corbus_test::Caught got;
        std::int32_t number;
        const char* source;
        const char* description;
    };
    const Row rows[] = {
        {caught([&] { items->Item(0); }), base + 1, "brimEib.brimPropItems.Item", "Item: Index out of range"},
        {caught([&] { items->Remove(2); }), base + 2, "brimEib.brimPropItems.Remove", "Remove: Index out of range"},
        {caught([&] { devices.Item(1); }), base + 3, "brimEib.brimDevices.Item", "Item: Index out of range"},
        {caught([&] { devices.Remove(0); }), base + 4, "brimEib.brimDevices.Remove", "Remove: Index out of range"},
        {caught([&] { device.setTargetAddress(4353.0); }), base + 5, "brimEib.brimDevice.TargetAddress",
         "TargetAddress: Must be Sring or Int-Type"},
        {caught([&] { device.setTargetAddress(std::int32_t{0}); }), base + 6, "brimEib.brimDevice.TargetAddress",
         "TargetAddress: Must be >0 and <= 65535"},
        {caught([&] { device.setTargetAddress("1.1"); }), base + 7, "brimEib.brimDevice.TargetAddress",
         "TargetAddress: Text Form of Physical Address must be xx.xx.xx and not 0.0.0"},
        {caught([&] { engine.setRetries(11); }), base + 8, "brimEib.brimEib.Retries",
         "Retries: Must be between 0 and 10"},
        {caught([&] { items->Item(1)->setItemType(5); }), 88, "tbd", "tbd"},
        {caught([&] { coding::IsArrayData(PT_CONTROL, std::int32_t{1}); }), 88, "tbd", "tbd"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.got.number, row.number) << row.description;
        EXPECT_EQ(row.got.source, row.source);
        EXPECT_EQ(row.got.description, row.description);
    }
}

TEST(PropItems, AddTakesTheReferenceAndLinks) {
    double clock = 100.0;
    automation::ScopedClock scoped([&] { return clock; });
    auto list = listOf({{1, ""}, {2, ""}});  // empty keys may repeat
    EXPECT_EQ(list->ChangedAt(), 100.0);
    auto third = newItem(3);
    EXPECT_EQ(list->Add(third, "third")->ObjectID(), 3);
    EXPECT_EQ(third, nullptr);  // taken over
    // A duplicate key raises 457 and changes nothing; the caller keeps the item.
    clock = 101.0;
    auto dup = newItem(4);
    EXPECT_EQ(caught([&] { list->Add(dup, "third"); }).number, 457);
    EXPECT_NE(dup, nullptr);
    EXPECT_EQ(list->ChangedAt(), 100.0);
    EXPECT_EQ(chainIds(*list), (std::vector<std::int32_t>{1, 2, 3}));
    std::shared_ptr<brimPropItem> none;
    EXPECT_EQ(caught([&] { list->Add(none); }).number, 91);
}

TEST(PropItems, NumbersAndNumericTextsArePositionsOtherTextsKeys) {
    auto list = listOf({{10, "a"}, {20, "7"}, {30, ""}});
    // Positions, rounded half to even once inside 1..Count.
    EXPECT_EQ(list->Item(1)->ObjectID(), 10);
    EXPECT_EQ(list->Item("2")->ObjectID(), 20);
    EXPECT_EQ(list->Item(" 3 ")->ObjectID(), 30);
    EXPECT_EQ(list->Item(1.5)->ObjectID(), 20);
    EXPECT_EQ(list->Item(2.5)->ObjectID(), 20);
    EXPECT_EQ(list->Item(Variant::date(3.0))->ObjectID(), 30);
    for (const Variant& outside :
         {Variant(0), Variant(0.9), Variant(3.1), Variant(4), Variant("7"), Variant(), Variant(true)})
        EXPECT_EQ(caught([&] { list->Item(outside); }).number, vbBrimEibError + 1);
    // Keys: exact text; a missing key raises 5, a value of another kind 13.
    EXPECT_EQ(list->Item("a")->ObjectID(), 10);
    EXPECT_EQ(caught([&] { list->Item("A"); }).number, 5);
    EXPECT_EQ(caught([&] { list->Item(""); }).number, 5);
    EXPECT_EQ(caught([&] { list->Item(Variant::null()); }).number, 13);
}

TEST(PropItems, RemoveUnlinksAndStamps) {
    double clock = 5.0;
    automation::ScopedClock scoped([&] { return clock; });
    auto list = listOf({{1, ""}, {2, "two"}, {3, ""}});
    const auto first = list->Item(1);
    clock = 6.0;
    list->Remove(1);
    EXPECT_EQ(list->ChangedAt(), 6.0);
    EXPECT_EQ(first->NextItem(), nullptr);
    EXPECT_EQ(chainIds(*list), (std::vector<std::int32_t>{2, 3}));

    EXPECT_EQ(caught([&] { list->Remove(3); }).number, vbBrimEibError + 2);
    EXPECT_EQ(caught([&] { list->Remove("one"); }).number, 5);
    list->Remove("two");
    EXPECT_EQ(chainIds(*list), (std::vector<std::int32_t>{3}));
    list->Remove(1);
    EXPECT_EQ(list->head(), nullptr);
    EXPECT_EQ(list->tail(), nullptr);

    // Items still held when their list ends lose their links.
    std::shared_ptr<brimPropItem> kept = listOf({{1, ""}, {2, ""}})->Item(1);
    EXPECT_EQ(kept->NextItem(), nullptr);
}

TEST(PropItem, KindsAndDeviceAdd) {
    brimPropItem item;
    EXPECT_EQ(item.ItemType(), brimItemArray);  // a new item is of array kind
    item.setItemType(brimItemAddress);
    EXPECT_FALSE(item.IsArray());
    EXPECT_EQ(caught([&] { item.setItemType(-1); }).number, 88);
    EXPECT_EQ(item.ItemType(), brimItemAddress);

    automation::ScopedClock scoped([] { return 44000.5; });
    brimDevice device;
    EXPECT_EQ(device.State(), pdStateEmpty);
    EXPECT_EQ(device.LastUpdated(), 0.0);
    EXPECT_EQ(device.Add(objDeviceObject, PID_MANUFACTURER_ID, PT_UNSIGNED_INT)->ItemType(), brimItemStandard);
    EXPECT_EQ(device.LastUpdated(), 44000.5);
    const Variant table = coding::genEibData(PT_GENERIC_04, 1);
    const auto array = device.Add(objAddressConnect, 51, PT_GENERIC_04, table, true, true, "table");
    EXPECT_EQ(array->ItemType(), brimItemArray);
    EXPECT_TRUE(array->Verify());
    EXPECT_EQ(array->Data(), table);
    EXPECT_EQ(device.PropItems()->Item("table"), array);
    EXPECT_EQ(caught([&] { device.Add(1, 1, 1, Variant(), false, false, "table"); }).number, 457);
}

TEST(Device, TargetAddressValidation) {
    brimDevice device;
    for (const Variant& good : {Variant(std::int32_t{4353}), Variant(std::int16_t{1}), Variant(std::int32_t{65535}),
                                Variant("1.1.1"), Variant("15.15.255"), Variant("0.0.1"), Variant("01.1.001")}) {
        device.setTargetAddress(good);
        EXPECT_EQ(device.TargetAddress(), good);  // stored as given
        EXPECT_EQ(device.State(), pdStateReady);
    }
    struct Bad {
        Variant value;
        std::int32_t offset;
    };
    const Bad bad[] = {{std::int32_t{0}, 6}, {std::int32_t{-1}, 6}, {std::int32_t{65536}, 6},
                       {std::int16_t{0}, 6}, {4353.0, 5},           {true, 5},
                       {Variant(), 5},       {std::uint8_t{5}, 5},  {Variant::longs({4353}), 5}};
    for (const Bad& b : bad)
        EXPECT_EQ(caught([&] { device.setTargetAddress(b.value); }).number, vbBrimEibError + b.offset);
    // Texts: three parts of decimal digits only (no exponent, comma, sign or blank), in range, not 0.0.0.
    for (const char* text : {"0.0.0",   "16.1.1",  "1.16.1", "1.1.256", "-1.1.1", "1.1",    "4353",
                             "1.1.1.1", "",        "a.1.1",  "1..1",    " 1.1.1", "1.1.1 ", "1. 1.1",
                             "1.1.1e2", "2,5.1.1", "+1.1.1", "1.1.0x1", "1.1.",   ".1.1",   "1.1.99999999999999999999"})
        EXPECT_EQ(caught([&] { device.setTargetAddress(text); }).number, vbBrimEibError + 7) << '"' << text << '"';
    // A refused address keeps the previous one.
    EXPECT_EQ(device.TargetAddress(), Variant("01.1.001"));
}

TEST(Devices, AddKeepsTheReferenceAndADeviceCanBeQueuedAgain) {
    brimDevices list;
    auto a = std::make_shared<brimDevice>();
    auto b = std::make_shared<brimDevice>();
    EXPECT_EQ(list.Add(a), a);  // unlike the item list, the caller keeps its reference
    list.Add(b, "b");
    EXPECT_EQ(list.Item("2"), b);
    list.Remove(1);
    EXPECT_EQ(b->PrevDevice(), nullptr);
    list.Add(a);
    EXPECT_EQ(b->NextDevice(), a);
    EXPECT_EQ(list.Item("b"), b);
}
