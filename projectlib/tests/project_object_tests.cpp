#include "tables_test_access.h"
#include "test_support.h"

using namespace corlink;
using corlink::test::errorOf;

namespace {

// One record property: its get and its let at an index, and the highest index under the gateway limits.
struct Property {
    const char* name;
    std::function<void(clsOrvekDali&, std::int16_t)> get;
    std::function<void(clsOrvekDali&, std::int16_t)> let;
    std::int32_t upper;
};

#define PROPERTY(Name, Type, upper)                                                                                    \
    Property {                                                                                                         \
#Name, [](clsOrvekDali & p, std::int16_t i) { p.Name(i); }, [](clsOrvekDali & p,                               \
                                                                       std::int16_t i) { p.let##Name(i, Type{}); },    \
                                                                                                                 upper \
    }

// Limits that differ from kind to kind, so that an array sized by another kind's limit shows.
TypMaxGrenzwerte distinctLimits() {
    TypMaxGrenzwerte g = test::gatewayLimits();
    g.MaxDaliScenes = 12;
    g.MaxBeleuchtungsgruppen = 9;
    g.MaxBelueftungsgruppen = 3;
    g.MaxTemperaturgruppen = 2;
    g.MaxJalousiegruppen = 6;
    g.MaxSzenen = 5;
    g.MaxTasten = 7;
    g.MaxMeldegruppen = 4;
    return g;
}

std::vector<Property> indexedProperties() {
    const TypMaxGrenzwerte g = distinctLimits();
    return {
        PROPERTY(DaliScene, TypDaliScene, g.MaxDaliScenes),
        PROPERTY(DaliEinzelgruppe, TypDaliEinzelGruppe, 16),
        PROPERTY(DaliGruppe, TypDaliGruppe, 64),
        {"DaliGruppeName", [](clsOrvekDali& p, std::int16_t i) { p.DaliGruppe(i); },
         [](clsOrvekDali& p, std::int16_t i) { p.letDaliGruppeName(i, "n"); }, 64},
        PROPERTY(Szene, TypSzene, g.MaxSzenen),
        PROPERTY(Tasten, TypTasten, g.MaxTasten),
        PROPERTY(BeleuchtungsGruppe, TypBeleuchtungsGruppe, g.MaxBeleuchtungsgruppen),
        PROPERTY(BelueftungsGruppe, TypBelueftungsGruppe, g.MaxBelueftungsgruppen),
        PROPERTY(JalousieGruppe, TypJalousieGruppe, g.MaxJalousiegruppen),
        PROPERTY(TemperaturGruppe, TypTemperaturGruppe, g.MaxTemperaturgruppen),
        PROPERTY(MeldeGruppe, TypMeldeGruppe, g.MaxMeldegruppen),
    };
}

}  // namespace

TEST(ProjectObject, RecordBoundsAndTheChangeFlag) {
    clsOrvekDali fresh;  // model-sized arrays exist only once sized
    EXPECT_EQ(errorOf([&] { fresh.Szene(0); }), 9);
    EXPECT_EQ(errorOf([&] { fresh.DaliScene(0); }), 9);
    EXPECT_EQ(errorOf([&] { fresh.DaliGruppe(64); }), 0);

    for (const Property& prop : indexedProperties()) {
        SCOPED_TRACE(prop.name);
        clsOrvekDali p;
        test::size(p, distinctLimits());
        p.ClearChangeFlag();
        const auto upper = static_cast<std::int16_t>(prop.upper);
        EXPECT_EQ(errorOf([&] { prop.get(p, upper); }), 0);
        EXPECT_EQ(errorOf([&] { prop.get(p, static_cast<std::int16_t>(upper + 1)); }), 9);
        EXPECT_EQ(errorOf([&] { prop.get(p, -1); }), 9);
        EXPECT_EQ(errorOf([&] { prop.let(p, static_cast<std::int16_t>(upper + 1)); }), 9);
        EXPECT_TRUE(p.GetChangeFlag());  // set before the index is checked
        p.ClearChangeFlag();
        EXPECT_EQ(errorOf([&] { prop.let(p, upper); }), 0);
        EXPECT_TRUE(p.GetChangeFlag());
    }

    clsOrvekDali p;
    test::size(p);
    test::Recorder events;
    p.setEventSink(&events);
    p.ClearChangeFlag();
    p.letDeviceInfo(TypDeviceInfo{});
    EXPECT_FALSE(p.GetChangeFlag());
    for (const auto& let :
         std::vector<std::function<void()>>{[&] {
                                                p.letdaliCommand({1, 2, 3});
                                            },
                                            [&] { p.letZeiten(TypZeiten{}); }, [&] { p.letHeader(TypHeader{}); }}) {
        p.ClearChangeFlag();
        let();
        EXPECT_TRUE(p.GetChangeFlag());
    }
    EXPECT_EQ(events.count("HeaderChanged"), 1);
    p.ClearChangeFlag();
    test::size(p);  // sizing leaves the flag alone
    EXPECT_FALSE(p.GetChangeFlag());
    p.setEventSink(nullptr);
}

// Both sizing operations: what each resets, what each keeps, and how every array is sized.
TEST(ProjectObject, SizingResetsAndKeepsWhatEachOperationSays) {
    const TypDaliGruppe ballast{7, 1, 2, 3, "EVG", "Gruppe 5", 99, "a", "b"};
    const TypDaliEinzelGruppe group{"Flur", 5, 6, 7, "desc", 99};
    struct Case {
        const char* name;
        void (clsOrvekDali::*size)(const TypMaxGrenzwerte&, const SafeArray<TypFunktionsGruppen>&,
                                   const TypPropertyObjID&);
        TypDaliGruppe ballastAfter;      // entries 0..63, Index set apart
        TypDaliEinzelGruppe groupAfter;  // entries 0..15, Index set apart
    };
    const Case cases[] = {
        {"IniInterface",
         &clsOrvekDali::IniInterface,
         {255, 1, 2, 3, "EVG", "Gruppe 5", 0, "a", "b"},
         {"Flur", 5, 6, 7, "desc", 0}},
        {"IniInterfaceStart",
         &clsOrvekDali::IniInterfaceStart,
         {255, 0, 0, 0, "", "", 0, "", ""},
         {"", 0, 0, 0, "", 0}},
    };
    const TypMaxGrenzwerte g = distinctLimits();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        clsOrvekDali p;
        test::size(p);
        for (std::int16_t i = 0; i <= 64; ++i) p.letDaliGruppe(i, ballast);
        for (std::int16_t k = 0; k <= 16; ++k) p.letDaliEinzelgruppe(k, group);
        TypHeader h;
        h.ProjektBeschreibung = "Büro";
        p.letHeader(h);
        p.letDeviceInfo(TypDeviceInfo{4353, "517104", "11", "", 1, 2, 3, 4, 5});
        p.letdaliCommand({0xFF, 5, 0});
        ListsAndTablesTestAccess::sceneData(p)[0].Byte1 = 42;
        p.letDaliScene(0, {1, 2, 0});
        TypSzene s;
        s.Name = "Abend";
        p.letSzene(0, s);
        p.letTasten(0, TypTasten{"Taste", 1, 2, {}, 3, 4, 5});
        p.letZeiten(TypZeiten{1, 2, 3, 4, 5, 6, 7, 8, 9, {}, "Deutsch", 1, 2});

        (p.*c.size)(g, SafeArray<TypFunktionsGruppen>(0, g.MaxFunktionsGruppen), TypPropertyObjID{});
        for (std::int16_t i = 0; i < 64; ++i) {
            TypDaliGruppe expected = c.ballastAfter;
            expected.Index = static_cast<std::uint8_t>(i);
            EXPECT_EQ(p.DaliGruppe(i), expected) << i;
        }
        EXPECT_EQ(p.DaliGruppe(64), ballast);
        for (std::int16_t k = 0; k < 16; ++k) {
            TypDaliEinzelGruppe expected = c.groupAfter;
            expected.Index = static_cast<std::uint8_t>(k);
            EXPECT_EQ(p.DaliEinzelgruppe(k), expected) << k;
        }
        EXPECT_EQ(p.DaliEinzelgruppe(16), group);
        // Untouched: the header, the device information, the command reply, the scene data, the flag.
        EXPECT_EQ(p.Header().ProjektBeschreibung, "Büro");
        EXPECT_EQ(p.DeviceInfo().phyAdr, 4353);
        EXPECT_EQ(p.daliCommand(), (TypDaliCommand{0xFF, 5, 0}));
        EXPECT_EQ(ListsAndTablesTestAccess::sceneData(p)[0].Byte1, 42);
        EXPECT_TRUE(p.GetChangeFlag());
        // Every model-sized array anew and empty, each scene's values sized by their own kind's limit.
        EXPECT_EQ(p.DaliScene(0), TypDaliScene{});
        EXPECT_EQ(p.Tasten(0), TypTasten{});
        EXPECT_EQ(p.Zeiten(), TypZeiten{});
        for (std::int16_t i = 0; i <= g.MaxSzenen; ++i) {
            const TypSzene scene = p.Szene(i);
            EXPECT_EQ(scene.Name, "") << i;
            const std::pair<const SafeArray<TypSzenenWerte>*, std::int32_t> values[] = {
                {&scene.BeleuchtungsWerte, g.MaxBeleuchtungsgruppen},
                {&scene.BelueftungsWerte, g.MaxBelueftungsgruppen},
                {&scene.TemperaturWerte, g.MaxTemperaturgruppen},
                {&scene.JalousieWerte, g.MaxJalousiegruppen}};
            for (const auto& [array, limit] : values) {
                EXPECT_EQ(array->lbound(), 0) << i;
                EXPECT_EQ(array->ubound(), limit) << i;
                EXPECT_TRUE(std::all_of(array->begin(), array->end(),
                                        [](const TypSzenenWerte& v) { return v == TypSzenenWerte{}; }));
            }
        }
    }

    // No scene at all but scene 0, whose values are still sized.
    TypMaxGrenzwerte none = g;
    none.MaxSzenen = 0;
    clsOrvekDali p;
    test::size(p, none);
    EXPECT_EQ(p.Szene(0).TemperaturWerte.ubound(), none.MaxTemperaturgruppen);
    EXPECT_EQ(errorOf([&] { p.Szene(1); }), 9);
}
