#include "test_support.h"

#include <vector>

using namespace corlink;

namespace {

// Sized with the gateway limits and the given number of push buttons; kind k is named "Kk".
void sizeNamed(clsOrvekDali& p, std::uint8_t maxTasten = 8) {
    TypMaxGrenzwerte g = test::gatewayLimits();
    g.MaxTasten = maxTasten;
    SafeArray<TypFunktionsGruppen> kinds(0, g.MaxFunktionsGruppen);
    for (std::int32_t k = 0; k <= g.MaxFunktionsGruppen; ++k) kinds(k) = {"K" + std::to_string(k), static_cast<std::uint8_t>(k)};
    p.IniInterface(g, kinds, TypPropertyObjID{});
}

template <class T>
std::vector<std::int16_t> ids(const SafeArray<T>& list) {
    std::vector<std::int16_t> out;
    for (const T& e : list) out.push_back(e.ID);
    return out;
}

std::vector<std::int16_t> range(std::int16_t first, std::int16_t count) {
    std::vector<std::int16_t> out;
    for (std::int16_t i = 0; i < count; ++i) out.push_back(static_cast<std::int16_t>(first + i));
    return out;
}

std::vector<std::int16_t> concat(std::initializer_list<std::vector<std::int16_t>> parts) {
    std::vector<std::int16_t> out;
    for (const auto& part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
}

// Activates every group and scene of the project.
void activateAll(clsOrvekDali& p) {
    const TypMaxGrenzwerte g = test::gatewayLimits();
    for (std::int16_t i = 0; i < g.MaxBeleuchtungsgruppen; ++i) {
        TypBeleuchtungsGruppe x;
        x.Active = true;
        x.Name = "L" + std::to_string(i);
        x.AktorTyp = 11;
        p.letBeleuchtungsGruppe(i, x);
    }
    for (std::int16_t i = 0; i < g.MaxBelueftungsgruppen; ++i) p.letBelueftungsGruppe(i, {0, 20, "V", true, 0, {}});
    for (std::int16_t i = 0; i < g.MaxTemperaturgruppen; ++i) {
        TypTemperaturGruppe x;
        x.Active = true;
        x.AktorTyp = 30;
        p.letTemperaturGruppe(i, x);
    }
    for (std::int16_t i = 0; i < g.MaxJalousiegruppen; ++i) p.letJalousieGruppe(i, {0, 41, "J", true, 0, {}});
    for (std::int16_t i = 0; i < g.MaxSzenen; ++i) {
        TypSzene s = p.Szene(i);
        s.Active = true;
        s.Name = "S" + std::to_string(i);
        p.letSzene(i, s);
    }
}

}  // namespace

TEST(UiLists, TreeListsEveryGroupAndSceneWithItsTreeId) {
    for (std::uint8_t maxTasten : {8, 18}) {  // both gateway models
        clsOrvekDali p;
        sizeNamed(p, maxTasten);
        p.letBeleuchtungsGruppe(0, {0, 10, "Flur", false, 0, {}});  // inactive groups are listed too
        p.letMeldeGruppe(0, {0, 0, "", "Alarm", false, 0, {}});     // Name1 stands in for an empty Name0
        p.letMeldeGruppe(1, {0, 0, "Tür", "Fenster", false, 0, {}});
        p.letMeldeGruppe(10, {0, 0, "beyond", "", true, 0, {}});    // index Max is never listed
        SafeArray<TypDynamicTasten> tree;
        p.GetDataTree(tree);
        ASSERT_EQ(tree.size(), 39u);
        EXPECT_EQ(ids(tree), concat({range(101, 10), range(201, 3), range(301, 2), range(401, 6), range(501, 8),
                                     range(701, 10)}));
        EXPECT_EQ(tree(0).Text, "Flur");
        EXPECT_EQ(tree(29).Text, "Alarm");
        EXPECT_EQ(tree(30).Text, "Tür");
        EXPECT_EQ(tree(31).Text, "");
        for (const TypDynamicTasten& e : tree) EXPECT_EQ(e.AktorID, 0);
    }
}

TEST(UiLists, EmptyLimitsGiveTheSingleEmptyOrNoGroupEntry) {
    clsOrvekDali p;
    test::EventLog log;
    p.setEventSink(&log);
    p.IniInterface(TypMaxGrenzwerte{}, SafeArray<TypFunktionsGruppen>{}, TypPropertyObjID{});
    SafeArray<TypDynamicTasten> list;
    p.GetDataTree(list);
    ASSERT_EQ(list.ubound(), 0);
    EXPECT_EQ(list(0), TypDynamicTasten{});
    p.GetDynamicArray(list);
    ASSERT_EQ(list.ubound(), 0);
    EXPECT_EQ(list(0), (TypDynamicTasten{"-----", 0, 0}));
    SafeArray<TypDynamicSzenen> values;
    p.GetDynamicSzenenArray(values, 0);
    EXPECT_TRUE(values.allocated());
    EXPECT_EQ(values.size(), 0u);
    EXPECT_TRUE(log.interfaceErrors.empty());
}

TEST(UiLists, SceneValueListCarriesEveryGroupWithTheScenesValue) {
    clsOrvekDali p;
    sizeNamed(p, 18);
    TypBeleuchtungsGruppe light;
    light.Name = "Decke";
    light.AktorTyp = 11;
    light.Active = true;
    p.letBeleuchtungsGruppe(2, light);
    p.letJalousieGruppe(5, {0, 41, "Süd", false, 0, {}});

    TypSzene s = p.Szene(3);
    TypSzenenWerte& v = s.BeleuchtungsWerte(2);
    v = {true, {7, 8}, {9, 10}, 1, 55, 2};
    s.JalousieWerte(5) = {true, {200, 30}, {0, 0}, 1, 0, 7};
    p.letSzene(3, s);

    SafeArray<TypDynamicSzenen> list;
    p.GetDynamicSzenenArray(list, 3);
    ASSERT_EQ(list.size(), 21u);
    EXPECT_EQ(ids(list), concat({range(100, 10), range(200, 3), range(300, 2), range(400, 6)}));
    const std::int16_t sortKeys[] = {1, 3, 4, 2};
    const std::size_t firstOfKind[] = {0, 10, 13, 15};
    for (int k = 0; k < 4; ++k) EXPECT_EQ(list(static_cast<std::int32_t>(firstOfKind[k])).SortKey, sortKeys[k]);

    const TypDynamicSzenen& decke = list(2);
    EXPECT_TRUE(decke.Active);
    EXPECT_TRUE(decke.GrpActive);
    EXPECT_EQ(decke.Text, "K1: Decke");
    EXPECT_EQ(decke.AktorID, 11);
    EXPECT_EQ(decke.WertID, 1);
    EXPECT_EQ(decke.Wert1, (std::array<std::uint8_t, 2>{7, 8}));
    EXPECT_EQ(decke.Wert2, (std::array<std::uint8_t, 2>{9, 10}));
    EXPECT_EQ(decke.RefAufSzenenWert, 2);

    const TypDynamicSzenen& sued = list(20);  // an inactive group is listed, with GrpActive False
    EXPECT_FALSE(sued.GrpActive);
    EXPECT_TRUE(sued.Active);
    EXPECT_EQ(sued.Text, "K4: Süd");
    EXPECT_EQ(sued.ID, 405);
    EXPECT_EQ(sued.RefAufSzenenWert, 7);
    EXPECT_EQ(list(0).Text, "K1: ");
    EXPECT_FALSE(list(0).Active);
}

TEST(UiLists, SceneValueListReportsBadScenesAndValues) {
    clsOrvekDali p;
    test::EventLog log;
    p.setEventSink(&log);
    sizeNamed(p);
    p.letBeleuchtungsGruppe(0, {0, 10, "A", true, 0, {}});

    SafeArray<TypDynamicSzenen> list;
    p.GetDynamicSzenenArray(list, 9);  // beyond MaxSzenen
    ASSERT_EQ(log.interfaceErrors, std::vector<std::int16_t>{9});
    ASSERT_EQ(list.size(), 101u);
    EXPECT_TRUE(list(0).GrpActive);  // the group's part of the first entry is written
    EXPECT_EQ(list(0).Text, "K1: A");
    EXPECT_EQ(list(1), TypDynamicSzenen{});

    TypSzene s = p.Szene(0);
    s.BelueftungsWerte(1).WertID = 256;  // no byte
    p.letSzene(0, s);
    p.GetDynamicSzenenArray(list, 0);
    EXPECT_EQ(log.interfaceErrors, (std::vector<std::int16_t>{9, 6}));
    EXPECT_EQ(list.size(), 101u);

    s.BelueftungsWerte(1).WertID = 255;
    s.TemperaturWerte.redim(0, 0);  // shorter than its kind's limit
    p.letSzene(0, s);
    p.GetDynamicSzenenArray(list, 0);
    EXPECT_EQ(log.interfaceErrors, (std::vector<std::int16_t>{9, 6, 9}));
    EXPECT_EQ(list(11).WertID, 255);
}

TEST(UiLists, PushButtonListOffersTheActiveGroupsAndScenes) {
    for (std::uint8_t maxTasten : {8, 18}) {
        clsOrvekDali p;
        sizeNamed(p, maxTasten);
        SafeArray<TypDynamicTasten> list;
        p.GetDynamicArray(list, 12345);
        ASSERT_EQ(list.size(), 1u);  // nothing active yet

        activateAll(p);
        p.letBeleuchtungsGruppe(10, {0, 10, "beyond", true, 0, {}});
        p.GetDynamicArray(list);
        ASSERT_EQ(list.size(), 30u);
        EXPECT_EQ(ids(list), concat({{0}, range(100, 10), range(200, 3), range(300, 2), range(400, 6), range(500, 8)}));
        EXPECT_EQ(list(1), (TypDynamicTasten{"K1: L0", 100, 11}));
        EXPECT_EQ(list(11).AktorID, 20);
        EXPECT_EQ(list(29), (TypDynamicTasten{"K5: S7", 507, 100}));
    }

    clsOrvekDali p;
    sizeNamed(p);
    activateAll(p);
    p.letBeleuchtungsGruppe(0, {0, 10, "off", false, 0, {}});
    TypSzene s = p.Szene(2);
    s.Active = false;
    p.letSzene(2, s);
    SafeArray<TypDynamicTasten> list;
    p.GetDynamicArray(list);
    ASSERT_EQ(list.size(), 28u);
    EXPECT_EQ(list(1).ID, 101);  // the first lighting group drops out; its tree id would be 101 as well
    EXPECT_EQ(list(22).ID, 501);
    EXPECT_EQ(list(23).ID, 503);
}

TEST(UiLists, UseInScenesAndOnButtons) {
    clsOrvekDali p;
    sizeNamed(p);
    EXPECT_FALSE(p.isUsedinST(1, 2));

    TypSzene only = p.Szene(1);  // lighting 2 is its only active value
    only.Name = "Abend";
    only.Active = true;
    only.BeleuchtungsWerte(2).Aktiv = true;
    p.letSzene(1, only);
    TypSzene more = p.Szene(4);  // lighting 2 and a blind value
    more.Name = "Nacht";
    more.Active = true;
    more.BeleuchtungsWerte(2).Aktiv = true;
    more.JalousieWerte(6).Aktiv = true;  // the entry at index Max counts as well
    p.letSzene(4, more);
    EXPECT_TRUE(p.isUsedinST(1, 2));
    EXPECT_FALSE(p.isUsedinST(1, 3));
    EXPECT_FALSE(p.isUsedinST(4, 2));

    TypTasten button;
    button.GruppenID = 102;
    button.FunktionID = 3;
    button.WertID = 2;
    button.Name = "T1";
    p.letTasten(7, button);
    button.GruppenID = 503;
    p.letTasten(0, button);
    p.ClearChangeFlag();
    EXPECT_TRUE(p.isUsedinST(5, 3));  // scenes: buttons only
    EXPECT_FALSE(p.isUsedinST(5, 1));

    EXPECT_TRUE(p.isUsedinST(1, 2, true));
    EXPECT_FALSE(p.Szene(1).Active);
    EXPECT_EQ(p.Szene(1).Name, "");
    EXPECT_TRUE(p.Szene(4).Active);
    EXPECT_EQ(p.Szene(4).Name, "Nacht");
    EXPECT_FALSE(p.Szene(4).BeleuchtungsWerte(2).Aktiv);
    EXPECT_EQ(p.Tasten(7), (TypTasten{"T1", 0, 0, {}, 0, 0, 0}));
    EXPECT_EQ(p.Tasten(0).GruppenID, 503);
    EXPECT_FALSE(p.isUsedinST(1, 2));
    EXPECT_FALSE(p.GetChangeFlag());
}

TEST(UiLists, UseQueriesReportTheirFailures) {
    clsOrvekDali p;
    test::EventLog log;
    p.setEventSink(&log);
    sizeNamed(p);
    EXPECT_FALSE(p.isUsedinST(1, 11));  // beyond the scenes' value lists
    EXPECT_FALSE(p.isUsedinST(400, 0));  // reference beyond 16 bits
    EXPECT_EQ(log.interfaceErrors, (std::vector<std::int16_t>{9, 6}));
    EXPECT_FALSE(p.isUsedinST(7, 0));  // another kind: buttons only, no scene lists read
    EXPECT_EQ(log.interfaceErrors.size(), 2u);
}
