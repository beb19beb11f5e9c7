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

// Adds items with the given object ids (and keys) and returns the list.
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
    EXPECT_EQ(vbBrimEibError, base);
    EXPECT_EQ(vbBrimEibError, -2147218504);

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
    // Errors of the keyed collection itself pass through with their own numbers.
    auto item = newItem(2);
    items->Add(item, "k");
    auto again = newItem(3);
    EXPECT_EQ(caught([&] { items->Add(again, "k"); }).number, 457);
    EXPECT_EQ(caught([&] { items->Item("missing"); }).number, 5);
    EXPECT_EQ(caught([&] { devices.Remove("missing"); }).number, 5);
}

TEST(PropItem, NewItemKindsAndFlags) {
    brimPropItem item;
    EXPECT_TRUE(item.IsArray());
    EXPECT_EQ(item.ItemType(), brimItemArray);
    EXPECT_FALSE(item.Verify());
    EXPECT_FALSE(item.bDebug());
    EXPECT_FALSE(item.Update());
    EXPECT_TRUE(item.Data().isEmpty());
    EXPECT_EQ(item.ObjectID(), 0);

    item.setIsArray(false);
    EXPECT_EQ(item.ItemType(), brimItemStandard);
    item.setItemType(brimItemAddress);
    EXPECT_FALSE(item.IsArray());
    item.setItemType(brimItemLoadCtl);
    EXPECT_EQ(caught([&] { item.setItemType(-1); }).number, 88);
    EXPECT_EQ(caught([&] { item.setItemType(5); }).number, 88);
    EXPECT_EQ(item.ItemType(), brimItemLoadCtl);

    // Data is a copy: changing the caller's array afterwards leaves the item alone.
    Variant data = Variant::longs({1, 2});
    item.setData(data);
    data.set(0, std::int32_t{9});
    EXPECT_EQ(item.Data(), Variant::longs({1, 2}));
}

TEST(PropItems, AddLinksTakesTheReferenceAndStamps) {
    double clock = 100.0;
    automation::ScopedClock scoped([&] { return clock; });
    brimPropItems list;
    EXPECT_EQ(list.ChangedAt(), 0.0);
    EXPECT_EQ(list.head(), nullptr);

    auto first = newItem(1);
    const auto returned = list.Add(first);
    EXPECT_EQ(first, nullptr);  // taken over
    EXPECT_EQ(returned->ObjectID(), 1);
    EXPECT_EQ(list.ChangedAt(), 100.0);

    clock = 101.0;
    auto second = newItem(2);
    list.Add(second);
    auto third = newItem(3);
    list.Add(third, "third");
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(chainIds(list), (std::vector<std::int32_t>{1, 2, 3}));

    // A duplicate key changes nothing, and the caller keeps the item.
    clock = 102.0;
    auto dup = newItem(4);
    EXPECT_EQ(caught([&] { list.Add(dup, "third"); }).number, 457);
    EXPECT_NE(dup, nullptr);
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.ChangedAt(), 101.0);
    EXPECT_EQ(chainIds(list), (std::vector<std::int32_t>{1, 2, 3}));
    // An empty key may repeat.
    auto fifth = newItem(5);
    list.Add(fifth, "");
    EXPECT_EQ(list.Count(), 4);

    std::shared_ptr<brimPropItem> none;
    EXPECT_EQ(caught([&] { list.Add(none); }).number, 91);
}

TEST(PropItems, PositionsAndKeys) {
    auto list = listOf({{10, "a"}, {20, "7"}, {30, ""}});
    // Numbers and numeric texts are positions, rounded half to even once inside 1..Count.
    EXPECT_EQ(list->Item(1)->ObjectID(), 10);
    EXPECT_EQ(list->Item("2")->ObjectID(), 20);
    EXPECT_EQ(list->Item(" 3 ")->ObjectID(), 30);
    EXPECT_EQ(list->Item(std::int16_t{2})->ObjectID(), 20);
    EXPECT_EQ(list->Item(1.5)->ObjectID(), 20);
    EXPECT_EQ(list->Item(2.5)->ObjectID(), 20);
    EXPECT_EQ(list->Item(Variant::date(3.0))->ObjectID(), 30);
    const std::int32_t outOfRange = vbBrimEibError + 1;
    EXPECT_EQ(caught([&] { list->Item(0); }).number, outOfRange);
    EXPECT_EQ(caught([&] { list->Item(0.9); }).number, outOfRange);
    EXPECT_EQ(caught([&] { list->Item(3.1); }).number, outOfRange);
    EXPECT_EQ(caught([&] { list->Item(4); }).number, outOfRange);
    EXPECT_EQ(caught([&] { list->Item("7"); }).number, outOfRange);  // a digit key is a position
    EXPECT_EQ(caught([&] { list->Item(Variant()); }).number, outOfRange);
    EXPECT_EQ(caught([&] { list->Item(true); }).number, outOfRange);
    // Other texts are keys.
    EXPECT_EQ(list->Item("a")->ObjectID(), 10);
    EXPECT_EQ(caught([&] { list->Item("A"); }).number, 5);
    EXPECT_EQ(caught([&] { list->Item(""); }).number, 5);
    EXPECT_EQ(caught([&] { list->Item(Variant::null()); }).number, 13);
    EXPECT_EQ(list->NewEnum().size(), 3u);
    EXPECT_EQ(list->NewEnum()[2]->ObjectID(), 30);
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
    EXPECT_EQ(first->PrevItem(), nullptr);
    EXPECT_EQ(list->head()->ObjectID(), 2);
    EXPECT_EQ(list->head()->PrevItem(), nullptr);
    EXPECT_EQ(chainIds(*list), (std::vector<std::int32_t>{2, 3}));

    // By key exactly like by position; an out-of-range position raises + 2 and changes nothing.
    EXPECT_EQ(caught([&] { list->Remove(3); }).number, vbBrimEibError + 2);
    EXPECT_EQ(caught([&] { list->Remove("one"); }).number, 5);
    EXPECT_EQ(list->Count(), 2);
    list->Remove("two");
    EXPECT_EQ(chainIds(*list), (std::vector<std::int32_t>{3}));
    list->Remove(1);
    EXPECT_EQ(list->Count(), 0);
    EXPECT_EQ(list->head(), nullptr);
    EXPECT_EQ(list->tail(), nullptr);
}

TEST(PropItems, EndingListCutsTheChainOfItemsStillHeld) {
    std::shared_ptr<brimPropItem> kept;
    {
        auto list = listOf({{1, ""}, {2, ""}});
        kept = list->Item(1);
        EXPECT_NE(kept->NextItem(), nullptr);
    }
    EXPECT_EQ(kept->NextItem(), nullptr);
    EXPECT_EQ(kept->PrevItem(), nullptr);
}

TEST(Device, NewDeviceAndAdd) {
    automation::ScopedClock scoped([] { return 44000.5; });
    brimDevice device;
    EXPECT_EQ(device.State(), pdStateEmpty);
    EXPECT_EQ(device.Created(), 44000.5);
    EXPECT_EQ(device.LastLoaded(), 0.0);
    EXPECT_EQ(device.LastError(), 0.0);
    EXPECT_EQ(device.LastUpdated(), 0.0);
    EXPECT_TRUE(device.TargetAddress().isEmpty());

    const auto plain = device.Add(objDeviceObject, PID_MANUFACTURER_ID, PT_UNSIGNED_INT);
    EXPECT_EQ(plain->ItemType(), brimItemStandard);
    EXPECT_FALSE(plain->Verify());
    EXPECT_TRUE(plain->Data().isEmpty());
    EXPECT_EQ(device.LastUpdated(), 44000.5);

    const Variant table = coding::genEibData(PT_GENERIC_04, 1);
    const auto array = device.Add(objAddressConnect, 51, PT_GENERIC_04, table, false, true, "table");
    EXPECT_EQ(array->ItemType(), brimItemArray);
    EXPECT_EQ(array->Data(), table);
    EXPECT_EQ(array->PropertyId(), 51);
    EXPECT_EQ(array->DataType(), PT_GENERIC_04);
    EXPECT_EQ(device.PropItems()->Item("table"), array);
    EXPECT_EQ(caught([&] { device.Add(1, 1, 1, Variant(), false, false, "table"); }).number, 457);
    EXPECT_EQ(device.PropItems()->Count(), 2);
}

TEST(Device, TargetAddressNumbers) {
    brimDevice device;
    device.setTargetAddress(std::int32_t{4353});
    EXPECT_EQ(device.TargetAddress().varType(), automation::vtLong);
    EXPECT_EQ(device.State(), pdStateReady);
    device.setTargetAddress(std::int16_t{4353});
    EXPECT_EQ(device.TargetAddress().varType(), automation::vtInteger);
    device.setTargetAddress(std::int32_t{65535});

    for (std::int32_t bad : {0, -1, 65536}) {
        EXPECT_EQ(caught([&] { device.setTargetAddress(bad); }).number, vbBrimEibError + 6) << bad;
    }
    EXPECT_EQ(caught([&] { device.setTargetAddress(std::int16_t{0}); }).number, vbBrimEibError + 6);
    for (const Variant& bad : {Variant(4353.0), Variant(true), Variant(), Variant(std::uint8_t{5}),
                               Variant::longs({4353})}) {
        EXPECT_EQ(caught([&] { device.setTargetAddress(bad); }).number, vbBrimEibError + 5);
    }
    // A refused address keeps the previous one.
    EXPECT_EQ(device.TargetAddress(), Variant(std::int32_t{65535}));
}

TEST(Device, TargetAddressTexts) {
    for (const char* good : {"1.1.1", "15.15.255", "0.0.1", "01.1.001"}) {
        brimDevice device;
        device.setTargetAddress(good);
        EXPECT_EQ(device.TargetAddress(), Variant(good));
        EXPECT_EQ(device.State(), pdStateReady);
    }
    // Each part must be decimal digits only: no exponent, comma, sign or blank.
    for (const char* bad : {"0.0.0", "16.1.1", "1.16.1", "1.1.256", "-1.1.1", "1.1", "4353", "1.1.1.1", "",
                            "a.1.1", "1..1", " 1.1.1", "1.1.1 ", "1. 1.1", "1.1.1e2", "2,5.1.1", "+1.1.1",
                            "1.1.0x1", "1.1.", ".1.1", "1.1.99999999999999999999"}) {
        brimDevice device;
        device.setTargetAddress(std::int32_t{7});
        EXPECT_EQ(caught([&] { device.setTargetAddress(bad); }).number, vbBrimEibError + 7) << '"' << bad << '"';
        EXPECT_EQ(device.TargetAddress(), Variant(std::int32_t{7}));
    }
    brimDevice fresh;
    EXPECT_EQ(caught([&] { fresh.setTargetAddress("1.1"); }).number, vbBrimEibError + 7);
    EXPECT_EQ(fresh.State(), pdStateEmpty);
}

TEST(Devices, AddKeepsTheReferenceAndRemoveRelinks) {
    brimDevices list;
    auto a = std::make_shared<brimDevice>();
    auto b = std::make_shared<brimDevice>();
    EXPECT_EQ(list.Add(a), a);
    EXPECT_NE(a, nullptr);  // unlike the item list, the caller keeps its reference
    list.Add(b, "b");
    EXPECT_EQ(a->NextDevice(), b);
    EXPECT_EQ(b->PrevDevice(), a);
    EXPECT_EQ(list.Item("b"), b);
    EXPECT_EQ(list.Item("2"), b);

    EXPECT_EQ(list.Item(1), a);
    list.Remove(1);
    EXPECT_EQ(list.head(), b);
    EXPECT_EQ(list.tail(), b);
    EXPECT_EQ(b->PrevDevice(), nullptr);
    EXPECT_EQ(a->NextDevice(), nullptr);
    // A device can be queued again after it left a list.
    list.Add(a);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(b->NextDevice(), a);
    EXPECT_EQ(caught([&] { list.Item(3); }).number, vbBrimEibError + 3);
    EXPECT_EQ(caught([&] { list.Remove(-1); }).number, vbBrimEibError + 4);
    EXPECT_EQ(caught([&] { list.Add(std::make_shared<brimDevice>(), "b"); }).number, 457);
    EXPECT_EQ(list.NewEnum().size(), 2u);
}
