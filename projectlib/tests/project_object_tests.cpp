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

#define PROPERTY(Name, Type, upper)                                                      \
    Property {                                                                           \
        #Name, [](clsOrvekDali& p, std::int16_t i) { p.Name(i); },                       \
            [](clsOrvekDali& p, std::int16_t i) { p.let##Name(i, Type{}); }, upper       \
    }

std::vector<Property> indexedProperties() {
    const TypMaxGrenzwerte g = test::gatewayLimits();
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
        test::size(p);
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
    for (const auto& let : std::vector<std::function<void()>>{[&] { p.letdaliCommand({1, 2, 3}); },
                                                              [&] { p.letZeiten(TypZeiten{}); },
                                                              [&] { p.letHeader(TypHeader{}); }}) {
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

TEST(ProjectObject, IniInterfaceKeepsBallastsAndGroupsWhileIniInterfaceStartEmptiesThem) {
    clsOrvekDali p;
    test::size(p);
    TypHeader h;
    h.ProjektBeschreibung = "Büro";
    p.letHeader(h);
    p.letDaliGruppe(2, TypDaliGruppe{4, 1, 2, 3, "EVG 3", "Gruppe 5", 2, "a", "b"});
    p.letDaliGruppe(64, TypDaliGruppe{4, 1, 2, 3, "spare", "", 64, "", ""});
    p.letDaliEinzelgruppe(4, TypDaliEinzelGruppe{"Flur", 5, 6, 7, "desc", 4});
    TypSzene s;
    s.Name = "Abend";
    p.letSzene(0, s);

    test::size(p);
    EXPECT_EQ(p.Szene(0).Name, "");
    EXPECT_EQ(p.Szene(0).JalousieWerte.ubound(), 6);  // scene values sized by the group limits
    EXPECT_EQ(p.DaliGruppe(2), (TypDaliGruppe{255, 1, 2, 3, "EVG 3", "Gruppe 5", 2, "a", "b"}));
    EXPECT_EQ(p.DaliEinzelgruppe(4).Name, "Flur");

    p.IniInterfaceStart(test::gatewayLimits(), SafeArray<TypFunktionsGruppen>(), TypPropertyObjID{});
    EXPECT_EQ(p.DaliGruppe(2), (TypDaliGruppe{255, 0, 0, 0, "", "", 2, "", ""}));
    EXPECT_EQ(p.DaliEinzelgruppe(4), (TypDaliEinzelGruppe{"", 0, 0, 0, "", 4}));
    // Entry 64 and the header survive even a new project.
    EXPECT_EQ(p.DaliGruppe(64).Name, "spare");
    EXPECT_EQ(p.Header().ProjektBeschreibung, "Büro");
}
