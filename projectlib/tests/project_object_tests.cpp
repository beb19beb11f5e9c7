#include "test_support.h"

using namespace corlink;
using corlink::test::errorOf;

namespace {

// One record property: a get and a let at an index, and the let's value changed so that it
// differs from an empty element.
struct Property {
    const char* name;
    std::function<void(clsOrvekDali&, std::int16_t)> get;
    std::function<void(clsOrvekDali&, std::int16_t)> let;
    std::int32_t upper;  // highest valid index under the gateway limits
};

std::vector<Property> indexedProperties() {
    const TypMaxGrenzwerte g = test::gatewayLimits();
    return {
        {"DaliScene", [](clsOrvekDali& p, std::int16_t i) { p.DaliScene(i); },
         [](clsOrvekDali& p, std::int16_t i) { p.letDaliScene(i, {1, 2, 3}); }, g.MaxDaliScenes},
        {"DaliEinzelgruppe", [](clsOrvekDali& p, std::int16_t i) { p.DaliEinzelgruppe(i); },
         [](clsOrvekDali& p, std::int16_t i) { p.letDaliEinzelgruppe(i, {"g", 1, 2, 3, "d", 4}); }, 16},
        {"DaliGruppe", [](clsOrvekDali& p, std::int16_t i) { p.DaliGruppe(i); },
         [](clsOrvekDali& p, std::int16_t i) { p.letDaliGruppe(i, {}); }, 64},
        {"DaliGruppeName", [](clsOrvekDali& p, std::int16_t i) { p.DaliGruppe(i); },
         [](clsOrvekDali& p, std::int16_t i) { p.letDaliGruppeName(i, "n"); }, 64},
        {"Szene", [](clsOrvekDali& p, std::int16_t i) { p.Szene(i); },
         [](clsOrvekDali& p, std::int16_t i) { p.letSzene(i, {}); }, g.MaxSzenen},
        {"Tasten", [](clsOrvekDali& p, std::int16_t i) { p.Tasten(i); },
         [](clsOrvekDali& p, std::int16_t i) { p.letTasten(i, {}); }, g.MaxTasten},
        {"BeleuchtungsGruppe", [](clsOrvekDali& p, std::int16_t i) { p.BeleuchtungsGruppe(i); },
         [](clsOrvekDali& p, std::int16_t i) { p.letBeleuchtungsGruppe(i, {}); }, g.MaxBeleuchtungsgruppen},
        {"BelueftungsGruppe", [](clsOrvekDali& p, std::int16_t i) { p.BelueftungsGruppe(i); },
         [](clsOrvekDali& p, std::int16_t i) { p.letBelueftungsGruppe(i, {}); }, g.MaxBelueftungsgruppen},
        {"JalousieGruppe", [](clsOrvekDali& p, std::int16_t i) { p.JalousieGruppe(i); },
         [](clsOrvekDali& p, std::int16_t i) { p.letJalousieGruppe(i, {}); }, g.MaxJalousiegruppen},
        {"TemperaturGruppe", [](clsOrvekDali& p, std::int16_t i) { p.TemperaturGruppe(i); },
         [](clsOrvekDali& p, std::int16_t i) { p.letTemperaturGruppe(i, {}); }, g.MaxTemperaturgruppen},
        {"MeldeGruppe", [](clsOrvekDali& p, std::int16_t i) { p.MeldeGruppe(i); },
         [](clsOrvekDali& p, std::int16_t i) { p.letMeldeGruppe(i, {}); }, g.MaxMeldegruppen},
    };
}

}  // namespace

TEST(ProjectObject, NewInstanceHasFixedArraysAndSettingsButNoModelSizedArrays) {
    clsOrvekDali p;
    EXPECT_FALSE(p.GetChangeFlag());
    EXPECT_EQ(p.Zeiten(), TypZeiten{});
    const TypHeader h = p.Header();
    EXPECT_EQ(h, TypHeader{});
    EXPECT_EQ(h.LetzterZugriff, 0.0);
    EXPECT_EQ(h.LetzterDownload, 0.0);
    EXPECT_EQ(h.LetzterUpload, 0.0);
    EXPECT_EQ(errorOf([&] { p.Szene(0); }), 9);
    EXPECT_EQ(errorOf([&] { p.DaliScene(0); }), 9);
    EXPECT_EQ(errorOf([&] { p.Tasten(0); }), 9);
    EXPECT_EQ(errorOf([&] { p.MeldeGruppe(0); }), 9);
    EXPECT_EQ(errorOf([&] { p.DaliGruppe(64); }), 0);
    EXPECT_EQ(errorOf([&] { p.DaliEinzelgruppe(16); }), 0);
    EXPECT_NE(p.mDaliBIN, nullptr);
}

TEST(ProjectObject, IndicesOutsideTheBoundsFailWithError9AndTouchNothing) {
    for (const Property& prop : indexedProperties()) {
        SCOPED_TRACE(prop.name);
        clsOrvekDali p;
        test::size(p);
        p.ClearChangeFlag();
        const auto upper = static_cast<std::int16_t>(prop.upper);
        EXPECT_EQ(errorOf([&] { prop.get(p, 0); }), 0);
        EXPECT_EQ(errorOf([&] { prop.get(p, upper); }), 0);
        EXPECT_EQ(errorOf([&] { prop.get(p, static_cast<std::int16_t>(upper + 1)); }), 9);
        EXPECT_EQ(errorOf([&] { prop.get(p, -1); }), 9);
        // A failing let has already marked the project changed.
        EXPECT_EQ(errorOf([&] { prop.let(p, -1); }), 9);
        EXPECT_TRUE(p.GetChangeFlag());
        p.ClearChangeFlag();
        EXPECT_EQ(errorOf([&] { prop.let(p, static_cast<std::int16_t>(upper + 1)); }), 9);
        EXPECT_TRUE(p.GetChangeFlag());
        EXPECT_EQ(errorOf([&] { prop.let(p, upper); }), 0);
    }
    clsOrvekDali p;
    test::size(p);
    p.letDaliGruppe(64, TypDaliGruppe{1, 2, 3, 4, "x", "y", 64, "a", "b"});
    EXPECT_EQ(p.DaliGruppe(64).Name, "x");
    EXPECT_EQ(errorOf([&] { p.letDaliGruppe(65, TypDaliGruppe{}); }), 9);
    EXPECT_EQ(p.DaliGruppe(64).Name, "x");
}

TEST(ProjectObject, EveryLetButDeviceInfoMarksTheProjectChanged) {
    clsOrvekDali p;
    test::size(p);
    test::EventLog events;
    p.setEventSink(&events);

    TypDeviceInfo info;
    info.Bestellnummer = "517104";
    p.letDeviceInfo(info);
    EXPECT_FALSE(p.GetChangeFlag());
    EXPECT_EQ(p.DeviceInfo(), info);

    const std::vector<std::function<void()>> lets = {
        [&] { p.letdaliCommand({1, 2, 3}); },
        [&] { p.letZeiten(TypZeiten{}); },
        [&] { p.letHeader(TypHeader{}); },
    };
    for (const auto& let : lets) {
        p.ClearChangeFlag();
        let();
        EXPECT_TRUE(p.GetChangeFlag());
    }
    for (const Property& prop : indexedProperties()) {
        p.ClearChangeFlag();
        prop.let(p, 0);
        EXPECT_TRUE(p.GetChangeFlag()) << prop.name;
    }
    EXPECT_EQ(events.headerChanged, 1);  // the Header let only

    // Sizing neither sets nor clears it.
    test::size(p);
    EXPECT_TRUE(p.GetChangeFlag());
    p.ClearChangeFlag();
    test::size(p);
    EXPECT_FALSE(p.GetChangeFlag());
    p.setEventSink(nullptr);
}

TEST(ProjectObject, RecordsAreCopiedInAndOut) {
    clsOrvekDali p;
    test::size(p);
    TypSzene s = p.Szene(1);
    ASSERT_EQ(s.BeleuchtungsWerte.ubound(), 10);
    s.Name = "Abend";
    s.BeleuchtungsWerte(3).Aktiv = true;
    EXPECT_EQ(p.Szene(1).Name, "");
    EXPECT_FALSE(p.Szene(1).BeleuchtungsWerte(3).Aktiv);

    // A let keeps the caller's record as it is, value arrays with their own bounds included.
    s.JalousieWerte.redim(0, 1);
    p.letSzene(1, s);
    s.BeleuchtungsWerte(3).Aktiv = false;
    const TypSzene stored = p.Szene(1);
    EXPECT_EQ(stored.Name, "Abend");
    EXPECT_TRUE(stored.BeleuchtungsWerte(3).Aktiv);
    EXPECT_EQ(stored.JalousieWerte.ubound(), 1);

    p.letDaliGruppe(5, TypDaliGruppe{3, 0x11, 0x22, 0x33, "Flur", "G3", 5, "d1", "d2"});
    p.letDaliGruppeName(5, "Treppe");
    const TypDaliGruppe b = p.DaliGruppe(5);
    EXPECT_EQ(b.Name, "Treppe");
    EXPECT_EQ(b.pAdrM, 0x22);
    EXPECT_EQ(b.GrpName, "G3");
}

TEST(ProjectObject, SizingFollowsTheLimits) {
    clsOrvekDali p;
    TypMaxGrenzwerte g = test::gatewayLimits();
    g.MaxSzenen = 0;
    test::size(p, g);
    const TypSzene s = p.Szene(0);
    EXPECT_EQ(errorOf([&] { p.Szene(1); }), 9);
    EXPECT_EQ(s.BeleuchtungsWerte.lbound(), 0);
    EXPECT_EQ(s.BeleuchtungsWerte.ubound(), 10);
    EXPECT_EQ(s.BelueftungsWerte.ubound(), 3);
    EXPECT_EQ(s.TemperaturWerte.ubound(), 2);
    EXPECT_EQ(s.JalousieWerte.ubound(), 6);
    EXPECT_FALSE(s.ObjNebenstelle.GrpAdr.allocated());
    for (std::int16_t j = 0; j < 64; ++j) {
        EXPECT_EQ(p.DaliGruppe(j).Index, j);
        EXPECT_EQ(p.DaliGruppe(j).Gruppe, 255);
    }
    EXPECT_EQ(p.DaliGruppe(64), TypDaliGruppe{});  // entry 64 is left alone
    for (std::int16_t k = 0; k < 16; ++k) EXPECT_EQ(p.DaliEinzelgruppe(k).Index, k);

    // All limits 0: every model-sized array has its one element 0.
    clsOrvekDali zero;
    test::size(zero, TypMaxGrenzwerte{});
    EXPECT_EQ(errorOf([&] { zero.DaliScene(0); }), 0);
    EXPECT_EQ(errorOf([&] { zero.DaliScene(1); }), 9);
    EXPECT_EQ(zero.Szene(0).BeleuchtungsWerte.ubound(), 0);
}

TEST(ProjectObject, IniInterfaceKeepsBallastsAndHeaderWhileIniInterfaceStartEmptiesThem) {
    clsOrvekDali p;
    test::size(p);
    TypHeader h;
    h.ProjektBeschreibung = "Büro";
    p.letHeader(h);
    p.letdaliCommand({9, 8, 7});
    p.letDaliGruppe(2, TypDaliGruppe{4, 1, 2, 3, "EVG 3", "Gruppe 5", 2, "a", "b"});
    p.letDaliGruppe(64, TypDaliGruppe{4, 1, 2, 3, "spare", "", 64, "", ""});
    p.letDaliEinzelgruppe(4, TypDaliEinzelGruppe{"Flur", 5, 6, 7, "desc", 4});
    p.letDaliEinzelgruppe(16, TypDaliEinzelGruppe{"spare", 1, 1, 1, "", 16});
    TypSzene s;
    s.Name = "Abend";
    p.letSzene(0, s);
    TypBeleuchtungsGruppe l;
    l.Name = "Decke";
    p.letBeleuchtungsGruppe(0, l);
    TypZeiten z;
    z.LCDOnZeit = 30;
    p.letZeiten(z);
    p.letDaliScene(0, {1, 2, 0});

    test::size(p);
    EXPECT_EQ(p.Szene(0).Name, "");
    EXPECT_EQ(p.BeleuchtungsGruppe(0).Name, "");
    EXPECT_EQ(p.Zeiten(), TypZeiten{});
    EXPECT_EQ(p.DaliScene(0), TypDaliScene{});
    TypDaliGruppe b = p.DaliGruppe(2);
    EXPECT_EQ(b.Gruppe, 255);
    EXPECT_EQ(b.Name, "EVG 3");
    EXPECT_EQ(b.pAdrH, 3);
    EXPECT_EQ(p.DaliEinzelgruppe(4).Name, "Flur");
    EXPECT_EQ(p.DaliEinzelgruppe(4).EinschaltZeit, 5);
    EXPECT_EQ(p.Header().ProjektBeschreibung, "Büro");
    EXPECT_EQ(p.daliCommand(), (TypDaliCommand{9, 8, 7}));

    p.IniInterfaceStart(test::gatewayLimits(), SafeArray<TypFunktionsGruppen>(), TypPropertyObjID{});
    b = p.DaliGruppe(2);
    EXPECT_EQ(b, (TypDaliGruppe{255, 0, 0, 0, "", "", 2, "", ""}));
    EXPECT_EQ(p.DaliEinzelgruppe(4), (TypDaliEinzelGruppe{"", 0, 0, 0, "", 4}));
    // Entries beyond the 64 ballasts and 16 groups, and the header, survive even a new project.
    EXPECT_EQ(p.DaliGruppe(64).Name, "spare");
    EXPECT_EQ(p.DaliEinzelgruppe(16).Name, "spare");
    EXPECT_EQ(p.Header().ProjektBeschreibung, "Büro");
}
