#include "tables_test_access.h"
#include "test_support.h"

using namespace corlink;
using Longs = std::vector<std::int32_t>;

namespace {

SafeArray<std::int32_t> addresses(const Longs& values) {
    SafeArray<std::int32_t> a(0, static_cast<std::int32_t>(values.size()) - 1);
    for (std::size_t i = 0; i < values.size(); ++i) a(static_cast<std::int32_t>(i)) = values[i];
    return a;
}

TypObjectZuordnung binding(std::uint8_t objNo, const Longs& values) {
    return {true, false, objNo, addresses(values), true, "", 0};
}

Longs longs(const automation::Variant& v) {
    Longs out;
    for (std::int32_t i = v.lowerBound(); i <= v.upperBound(); ++i) out.push_back(automation::toLong(v.at(i)));
    return out;
}

// An association table of n objects without sending addresses, with some entries set and
// further entries appended.
Longs assoz(std::int32_t n, std::initializer_list<std::pair<std::size_t, std::int32_t>> set,
            const Longs& further = {}) {
    Longs out;
    for (std::int32_t i = 0; i < n; ++i) out.push_back(0xFE00 + i);
    for (const auto& [i, value] : set) out[i] = value;
    out.insert(out.end(), further.begin(), further.end());
    return out;
}

}  // namespace

TEST(GroupTables, ObjectWithTwoAddressesInAnOtherwiseEmptyProject) {
    clsOrvekDali p;
    EXPECT_EQ(p.GetAssozLen().number(), 0);  // not sized: no objects
    test::size(p);
    TypBeleuchtungsGruppe light;
    light.Objekte[1] = binding(5, {0x0A01, 0x0901});
    p.letBeleuchtungsGruppe(1, light);

    clsTabs tabs;
    ListsAndTablesTestAccess::FillTabs(p, tabs);
    EXPECT_EQ(longs(tabs.AddrTab()), (Longs{3, 0x0901, 0x0A01}));
    EXPECT_EQ(tabs.FindTabItem(0x0A01), 2);
    EXPECT_EQ(tabs.FindTabItem(0x0B00), 254);
    EXPECT_EQ(longs(tabs.AssozTab(6)), assoz(6, {{5, 0x0205}}, {0x0105}));

    const automation::Variant length = p.GetAssozLen();
    EXPECT_EQ(length.varType(), automation::vtLong);
    EXPECT_EQ(length.number(), 112);
}

TEST(GroupTables, AddressesAreEnteredOnceAndObjectsWithoutSendingAddressGetPosition254) {
    clsTabs tabs;
    tabs.Add(SafeArray<std::int32_t>{}, 0);      // no list
    tabs.Add(SafeArray<std::int32_t>(1, 1), 2);  // no element 0
    EXPECT_EQ(longs(tabs.AddrTab()), Longs{1});
    EXPECT_EQ(longs(tabs.AssozTab(3)), assoz(3, {}));
    EXPECT_TRUE(tabs.AssozTab(-1).isEmpty());

    tabs.Add(addresses({0x0901}), 3);
    tabs.Add(addresses({0x0901}), 1);  // the same address: one entry, one position for both
    tabs.Add(addresses({0x0800, 0x0901}), 2);
    tabs.Add(addresses({0x0A00}), 7);  // a sending address beyond the objects counted: before the further ones
    EXPECT_EQ(longs(tabs.AddrTab()), (Longs{4, 0x0800, 0x0901, 0x0A00}));
    EXPECT_EQ(longs(tabs.AssozTab(4)), assoz(4, {{1, 0x0201}, {2, 0x0102}, {3, 0x0203}}, {0x0307, 0x0202}));
}

TEST(GroupTables, ASecondSendingAddressOfAnObjectDoesNotDisplaceTheFollowingObjects) {
    clsTabs tabs;
    tabs.Add(addresses({0x0901, 0x0902}), 2);
    tabs.Add(addresses({0x0903}), 2);  // object 2 bound twice with a sending address
    tabs.Add(addresses({0x0904}), 3);
    tabs.Add(addresses({0x0905, 0x0906}), 1);
    // Every object keeps its own entry; the second sending binding follows, then the further
    // addresses, each binding once.
    EXPECT_EQ(longs(tabs.AssozTab(5)), assoz(5, {{1, 0x0501}, {2, 0x0102}, {3, 0x0403}}, {0x0302, 0x0601, 0x0202}));
}

TEST(GroupTables, GroupAddressZeroIsNoAddress) {
    clsTabs tabs;
    tabs.Add(addresses({0}), 1);
    EXPECT_EQ(longs(tabs.AddrTab()), Longs{1});
    tabs.Add(addresses({0, 0x0901}), 2);  // no sending address, one further address
    tabs.Add(addresses({0x0902, 0}), 0);
    EXPECT_EQ(longs(tabs.AddrTab()), (Longs{3, 0x0901, 0x0902}));
    EXPECT_EQ(tabs.FindTabItem(0), 254);
    EXPECT_EQ(longs(tabs.AssozTab(3)), assoz(3, {{0, 0x0200}}, {0x0102}));
}

TEST(GroupTables, TheProjectEntersEveryActiveBindingOfItsGroupsSettingsAndScenes) {
    clsOrvekDali p;
    test::size(p);
    std::int32_t address = 0x0100;
    const auto next = [&](std::uint8_t objNo) { return binding(objNo, {++address}); };

    TypBeleuchtungsGruppe light;  // the group's own Active flag is not looked at
    light.Objekte[3] = next(3);
    p.letBeleuchtungsGruppe(0, light);
    TypTemperaturGruppe temp;
    temp.Objekte[5] = next(57);
    std::swap(temp.Objekte[5].Active1, temp.Objekte[5].Active2);  // either flag will do
    temp.Objekte[4] = next(56);
    temp.Objekte[4].Active1 = false;  // neither flag: left out
    p.letTemperaturGruppe(0, temp);
    TypJalousieGruppe blind;
    blind.Objekte[3] = next(69);
    blind.Objekte[3].GrpAdrActive = false;  // addresses not in use: left out
    p.letJalousieGruppe(5, blind);
    TypMeldeGruppe message;
    message.Objekte[0] = next(107);
    p.letMeldeGruppe(9, message);
    message.Objekte[0] = next(99);
    p.letMeldeGruppe(10, message);  // the entry at index Max is no group
    TypZeiten settings;
    settings.ObjekteDatumZeitLCD[2] = next(110);
    p.letZeiten(settings);
    TypSzene scene = p.Szene(7);
    scene.ObjNebenstelle = next(97);
    p.letSzene(7, scene);
    scene.ObjNebenstelle = next(98);
    p.letSzene(8, scene);  // index Max: no scene
    // Two records carrying object 40: the second sending address follows the objects.
    TypBelueftungsGruppe air;
    air.Objekte[0] = binding(40, {0x1001});
    air.Objekte[1] = binding(40, {0x1002});
    p.letBelueftungsGruppe(0, air);

    clsTabs tabs;
    ListsAndTablesTestAccess::FillTabs(p, tabs);
    const Longs table = longs(tabs.AssozTab(111));
    ASSERT_EQ(table.size(), 112u);
    std::vector<std::int32_t> bound;
    for (std::int32_t i = 0; i < 111; ++i) {
        if (table[static_cast<std::size_t>(i)] != 0xFE00 + i) bound.push_back(i);
    }
    EXPECT_EQ(bound, (std::vector<std::int32_t>{3, 40, 57, 97, 107, 110}));
    EXPECT_EQ(longs(tabs.AddrTab()).front(), 8);  // seven addresses
    EXPECT_EQ(table[111], 0x0728);                // 0x1002, the highest, at position 7
    EXPECT_EQ(p.GetAssozLen().number(), 112);
}

// An entry is position * 256 + object number, each in a byte, 254 standing for "no address";
// the table's length is a byte as well. Beyond that the tables are refused with error 6.
TEST(GroupTables, MoreAddressesOrEntriesThanTheBytesHoldAreRefused) {
    const auto distinct = [](std::int32_t n) {
        Longs values;
        for (std::int32_t i = 1; i <= n; ++i) values.push_back(0x0800 + i);
        return values;
    };
    {
        clsTabs tabs;  // 253 distinct addresses: the last one has position 253
        tabs.Add(addresses(distinct(253)), 4);
        EXPECT_EQ(longs(tabs.AddrTab()).front(), 254);
        EXPECT_EQ(tabs.FindTabItem(0x0800 + 253), 253);
        const Longs full = longs(tabs.AssozTab(2));  // 2 + 253 entries
        EXPECT_EQ(full.size(), 255u);
        EXPECT_EQ(full[2], 0x0104);
        EXPECT_EQ(full.back(), 253 * 256 + 4);
        tabs.Add(addresses({0x0800 + 254}), 6);  // a 254th
        EXPECT_EQ(test::errorOf([&] { tabs.AddrTab(); }), 6);
        EXPECT_EQ(test::errorOf([&] { tabs.FindTabItem(0x0800 + 254); }), 6);
        EXPECT_EQ(tabs.FindTabItem(0x0100), 254);                // not held
        EXPECT_EQ(test::errorOf([&] { tabs.AssozTab(0); }), 6);  // 254 entries would fit
    }
    struct Case {
        std::int32_t objectNr, further, lMaxObj;
        bool refused;
    };
    const Case cases[] = {
        {255, 0, 3, false},         {256, 0, 3, true},         {-1, 0, 3, true},  // object numbers: the low byte
        {0, 255 - 111, 111, false}, {0, 256 - 111, 111, true},  // 111 objects and the further ones: 255 entries
        {0, 0, 255, false},         {0, 0, 256, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.objectNr << " " << c.further << " " << c.lMaxObj);
        clsTabs tabs;
        Longs list{0x0901};  // a sending address, then `further` more bindings of the same object
        for (std::int32_t i = 0; i < c.further; ++i) list.push_back(0x0901);
        tabs.Add(addresses(list), c.objectNr);
        if (c.refused) {
            EXPECT_EQ(test::errorOf([&] { tabs.AssozTab(c.lMaxObj); }), 6);
        } else {
            const Longs t = longs(tabs.AssozTab(c.lMaxObj));
            EXPECT_LE(t.size(), 255u);
            EXPECT_EQ(std::count(t.begin(), t.end(), 0x0100 + (c.objectNr & 0xFF)), c.further + 1);
        }
    }
}

// The project's table length is a count: the bindings that the packed tables refuse (254
// distinct addresses, 256 entries) are counted like any others, without an error. With
// MaxObjekte 111, an object bound to n addresses makes 111 + n - 1 entries.
TEST(GroupTables, TheProjectCountsItsEntriesBeyondWhatTheTablesBytesHold) {
    struct Case {
        std::int32_t addresses;
        bool distinct;
        std::int32_t length;
    };
    const Case cases[] = {{145, false, 255}, {146, false, 256}, {253, true, 363}, {254, true, 364}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.addresses);
        clsOrvekDali p;
        test::size(p);
        Longs list;
        for (std::int32_t i = 1; i <= c.addresses; ++i) list.push_back(c.distinct ? 0x0800 + i : 0x0901);
        TypBeleuchtungsGruppe light;
        light.Objekte[0] = binding(0, list);
        p.letBeleuchtungsGruppe(0, light);
        test::Recorder events;
        p.setEventSink(&events);
        const automation::Variant length = p.GetAssozLen();
        p.setEventSink(nullptr);
        EXPECT_EQ(length.varType(), automation::vtLong);
        EXPECT_EQ(length.number(), c.length);
        EXPECT_TRUE(events.interfaceErrors.empty());
    }
}
