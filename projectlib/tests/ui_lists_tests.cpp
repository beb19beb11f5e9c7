#include "test_support.h"

using namespace corlink;

namespace {

// Sized with the gateway limits; kind k is named "Kk".
void sizeNamed(clsOrvekDali& p) {
    const TypMaxGrenzwerte g = test::gatewayLimits();
    SafeArray<TypFunktionsGruppen> kinds(0, g.MaxFunktionsGruppen);
    for (std::int32_t k = 0; k <= g.MaxFunktionsGruppen; ++k)
        kinds(k) = {"K" + std::to_string(k), static_cast<std::uint8_t>(k)};
    p.IniInterface(g, kinds, TypPropertyObjID{});
}

// The ids of a list, and the ids first, first + 1, ... of each (first, count) run.
template <class T>
std::vector<std::int16_t> ids(const SafeArray<T>& list) {
    std::vector<std::int16_t> out;
    for (const T& e : list) out.push_back(e.ID);
    return out;
}
std::vector<std::int16_t> runs(std::initializer_list<std::pair<int, int>> parts) {
    std::vector<std::int16_t> out;
    for (const auto& [first, count] : parts)
        for (int i = 0; i < count; ++i) out.push_back(static_cast<std::int16_t>(first + i));
    return out;
}

}  // namespace

TEST(UiLists, TreeListsEveryGroupAndSceneWithItsTreeId) {
    clsOrvekDali p;
    sizeNamed(p);
    p.letBeleuchtungsGruppe(0, {0, 10, "Flur", false, 0, {}});  // inactive groups are listed too
    p.letMeldeGruppe(0, {0, 0, "", "Alarm", false, 0, {}});     // Name1 stands in for an empty Name0
    p.letMeldeGruppe(1, {0, 0, "Tür", "Fenster", false, 0, {}});
    SafeArray<TypDynamicTasten> tree;
    p.GetDataTree(tree);
    ASSERT_EQ(tree.size(), 39u);
    EXPECT_EQ(ids(tree), runs({{101, 10}, {201, 3}, {301, 2}, {401, 6}, {501, 8}, {701, 10}}));
    EXPECT_EQ(tree(0).Text, "Flur");
    EXPECT_EQ(tree(29).Text, "Alarm");
    EXPECT_EQ(tree(30).Text, "Tür");

    // No limits: the single empty entry, the single "no group" entry, an empty value list.
    test::Recorder log;
    p.setEventSink(&log);
    p.IniInterface(TypMaxGrenzwerte{}, SafeArray<TypFunktionsGruppen>{}, TypPropertyObjID{});
    p.GetDataTree(tree);
    EXPECT_EQ(tree.size(), 1u);
    EXPECT_EQ(tree(0), TypDynamicTasten{});
    p.GetDynamicArray(tree);
    EXPECT_EQ(tree.size(), 1u);
    EXPECT_EQ(tree(0), (TypDynamicTasten{"-----", 0, 0}));
    SafeArray<TypDynamicSzenen> values;
    p.GetDynamicSzenenArray(values, 0);
    EXPECT_TRUE(values.allocated());
    EXPECT_EQ(values.size(), 0u);
    EXPECT_TRUE(log.interfaceErrors.empty());
    p.setEventSink(nullptr);
}

TEST(UiLists, SceneValueListCarriesEveryGroupWithTheScenesValue) {
    clsOrvekDali p;
    sizeNamed(p);
    p.letBeleuchtungsGruppe(2, {0, 11, "Decke", true, 0, {}});
    p.letJalousieGruppe(5, {0, 41, "Süd", false, 0, {}});
    TypSzene s = p.Szene(3);
    s.BeleuchtungsWerte(2) = {true, {7, 8}, {9, 10}, 1, 55, 2};
    s.JalousieWerte(5) = {true, {200, 30}, {0, 0}, 1, 0, 7};
    p.letSzene(3, s);

    SafeArray<TypDynamicSzenen> list;
    p.GetDynamicSzenenArray(list, 3);
    ASSERT_EQ(list.size(), 21u);
    EXPECT_EQ(ids(list), runs({{100, 10}, {200, 3}, {300, 2}, {400, 6}}));
    const std::pair<int, std::int16_t> sortKeys[] = {{0, 1}, {10, 3}, {13, 4}, {15, 2}};  // first of each kind
    for (const auto& [at, key] : sortKeys) EXPECT_EQ(list(at).SortKey, key);
    EXPECT_EQ(list(2), (TypDynamicSzenen{true, true, "K1: Decke", {7, 8}, {9, 10}, 102, 1, 11, 1, 2}));
    const TypDynamicSzenen& sued = list(20);  // an inactive group is listed, with GrpActive False
    EXPECT_FALSE(sued.GrpActive);
    EXPECT_TRUE(sued.Active);
    EXPECT_EQ(sued.Text, "K4: Süd");
    EXPECT_EQ(sued.RefAufSzenenWert, 7);

    // Failures are reported; the list keeps 101 entries with those written so far.
    test::Recorder log;
    p.setEventSink(&log);
    p.GetDynamicSzenenArray(list, 9);  // beyond MaxSzenen
    EXPECT_EQ(list.size(), 101u);
    EXPECT_EQ(list(0).Text, "K1: ");     // the group's part of the first entry is written
    s.BelueftungsWerte(1).WertID = 256;  // no byte
    p.letSzene(3, s);
    p.GetDynamicSzenenArray(list, 3);
    EXPECT_EQ(log.interfaceErrors, (std::vector<std::int16_t>{9, 6}));
    EXPECT_EQ(list.size(), 101u);
    p.setEventSink(nullptr);
}

TEST(UiLists, PushButtonListOffersTheActiveGroupsAndScenes) {
    clsOrvekDali p;
    sizeNamed(p);
    const TypMaxGrenzwerte g = test::gatewayLimits();
    for (std::int16_t i = 0; i <= g.MaxBeleuchtungsgruppen; ++i)  // the entry at index Max is never listed
        p.letBeleuchtungsGruppe(i, {0, 11, "L" + std::to_string(i), true, 0, {}});
    for (std::int16_t i = 0; i < g.MaxBelueftungsgruppen; ++i) p.letBelueftungsGruppe(i, {0, 20, "V", true, 0, {}});
    for (std::int16_t i = 0; i < g.MaxTemperaturgruppen; ++i)
        p.letTemperaturGruppe(i, {.AktorTyp = 30, .Name = "T", .Active = true});
    for (std::int16_t i = 0; i < g.MaxJalousiegruppen; ++i) p.letJalousieGruppe(i, {0, 41, "J", true, 0, {}});
    TypSzene scene;
    scene.Active = true;
    for (std::int16_t i = 0; i < g.MaxSzenen; ++i) {
        scene.Name = "S" + std::to_string(i);
        p.letSzene(i, scene);
    }
    SafeArray<TypDynamicTasten> list;
    p.GetDynamicArray(list);
    ASSERT_EQ(list.size(), 30u);
    EXPECT_EQ(ids(list), runs({{0, 1}, {100, 10}, {200, 3}, {300, 2}, {400, 6}, {500, 8}}));
    EXPECT_EQ(list(1), (TypDynamicTasten{"K1: L0", 100, 11}));
    EXPECT_EQ(list(29), (TypDynamicTasten{"K5: S7", 507, 100}));

    p.letBeleuchtungsGruppe(0, {0, 10, "off", false, 0, {}});
    scene.Active = false;
    p.letSzene(2, scene);
    p.GetDynamicArray(list);
    EXPECT_EQ(ids(list), runs({{0, 1}, {101, 9}, {200, 3}, {300, 2}, {400, 6}, {500, 2}, {503, 5}}));
}

TEST(UiLists, UseInScenesAndOnButtons) {
    clsOrvekDali p;
    sizeNamed(p);
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
    p.letTasten(7, {"T1", 3, 102, {}, 2, 0, 0});
    p.letTasten(0, {"T0", 3, 503, {}, 2, 0, 0});
    p.ClearChangeFlag();
    EXPECT_TRUE(p.isUsedinST(1, 2));
    EXPECT_FALSE(p.isUsedinST(1, 3));
    EXPECT_FALSE(p.isUsedinST(4, 2));
    EXPECT_TRUE(p.isUsedinST(5, 3));  // scenes: buttons only
    EXPECT_FALSE(p.isUsedinST(5, 1));

    // Clearing: a scene left without an active value becomes inactive and loses its name.
    EXPECT_TRUE(p.isUsedinST(1, 2, true));
    EXPECT_FALSE(p.Szene(1).Active);
    EXPECT_EQ(p.Szene(1).Name, "");
    EXPECT_TRUE(p.Szene(4).Active);
    EXPECT_EQ(p.Szene(4).Name, "Nacht");
    EXPECT_EQ(p.Tasten(7), (TypTasten{"T1", 0, 0, {}, 0, 0, 0}));
    EXPECT_EQ(p.Tasten(0).GruppenID, 503);
    EXPECT_FALSE(p.isUsedinST(1, 2));
    EXPECT_FALSE(p.GetChangeFlag());

    test::Recorder log;
    p.setEventSink(&log);
    EXPECT_FALSE(p.isUsedinST(1, 11));   // beyond the scenes' value lists
    EXPECT_FALSE(p.isUsedinST(400, 0));  // reference beyond 16 bits
    EXPECT_FALSE(p.isUsedinST(7, 0));    // another kind: buttons only, no scene lists read
    EXPECT_EQ(log.interfaceErrors, (std::vector<std::int16_t>{9, 6}));
    p.setEventSink(nullptr);
}
