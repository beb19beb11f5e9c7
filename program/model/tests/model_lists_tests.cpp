#include "GatewayModels.h"
#include "ModDefinition.h"
#include "ModelTables.h"
#include "corlink/clsOrvekDali.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <vector>

using namespace corvane;

namespace {

class ModelLists : public ::testing::Test {
protected:
    void SetUp() override {
        LanguageOffset = 0;
        Model = ModelTables{};
    }
    void TearDown() override { LanguageOffset = kLanguageNotChosen; }
};

// Both gateway models, each run in the current language.
const std::vector<std::pair<const char*, std::function<void()>>> kModels = {
    {"517104", [] { ClsG517104().G517104V11(); }},
    {"517204", [] { ClsG517204().G517204V11(); }},
};

std::vector<std::int32_t> idsOf(const SafeArray<std::int32_t>& a) { return {a.begin(), a.end()}; }

std::vector<std::int32_t> idRange(std::int32_t first, std::int32_t count) {
    std::vector<std::int32_t> out;
    for (std::int32_t i = 0; i < count; ++i) out.push_back(first + i);
    return out;
}

// Every filled communication object of the seven lists: number -> how often it occurs.
std::map<std::int32_t, int> objectNumbers() {
    std::map<std::int32_t, int> seen;
    const std::pair<const SafeArray<ObjectGroupRec>*, std::int32_t> lists[] = {
        {&LightingObjectList, MaxLimits.MaxBeleuchtungsgruppen}, {&VentilationObjectList, MaxLimits.MaxBelueftungsgruppen},
        {&TemperatureObjectList, MaxLimits.MaxTemperaturgruppen}, {&BlindObjectList, MaxLimits.MaxJalousiegruppen},
        {&SceneObjectList, MaxLimits.MaxSzenen}, {&MessageObjectList, MaxLimits.MaxMeldegruppen},
    };
    for (const auto& [list, count] : lists) {
        for (std::int32_t g = 0; g < count; ++g) {
            for (const ObjectRec& o : (*list)(g).Objects) {
                if (!o.Name.empty()) ++seen[o.ObjectNumber];
            }
        }
    }
    for (std::int32_t i = 0; i <= 2; ++i) ++seen[DeviceObjectList(i).ObjectNumber];
    return seen;
}

}  // namespace

TEST_F(ModelLists, ValueOptionsPerActuatorType) {
    for (const auto& [name, define] : kModels) {
        SCOPED_TRACE(name);
        define();
        ASSERT_EQ(ValueOptionList.lbound(), 0);
        ASSERT_EQ(ValueOptionList.ubound(), ActorTypeList.ubound());
        ASSERT_EQ(ValueOptionList(0).Options.ubound(), 0);
        EXPECT_EQ(ValueOptionList(0).Options(0), OptionRec{});
        EXPECT_FALSE(ValueOptionList(9).Options.allocated());
        EXPECT_EQ(ValueOptionList(9).ActorCode, 0);

        const std::int32_t optionCounts[] = {0, 2, 1, 2, 1, 3, 2, 1, 1};
        for (std::int32_t r = 1; r <= 8; ++r) {
            const ValueOptionRec& row = ValueOptionList(r);
            EXPECT_EQ(row.ActorCode, ActorTypeList(r).ActorCode) << r;
            ASSERT_EQ(row.Options.ubound(), optionCounts[r]) << r;
            EXPECT_EQ(row.Options(optionCounts[r]), OptionRec{}) << r;  // the spare entry
            for (std::int32_t j = 0; j < optionCounts[r]; ++j) EXPECT_EQ(row.Options(j).Number, j + 1);
        }
        EXPECT_EQ(ValueOptionList(1).Options(1), (OptionRec{"Aus", "", 0, 0, 1, 2}));
        EXPECT_EQ(ValueOptionList(2).Options(0), (OptionRec{"Werteingabe (0 bis 255)", "", 2, 0, 0, 1}));
        EXPECT_EQ(ValueOptionList(5).Options(0), (OptionRec{"Nacht", "", 0, 0, 0, 1}));
        EXPECT_EQ(ValueOptionList(5).Options(2), (OptionRec{"Komfort", "", 0, 2, 0, 3}));
        EXPECT_EQ(ValueOptionList(6).Options(1), (OptionRec{"Zu", "", 0, 1, 0, 2}));
        EXPECT_EQ(ValueOptionList(7).Options(0),
                  (OptionRec{"Jalousie-/Rolloposition (0-255)", "Lamellenposition (0-255)", 3, 0, 0, 1}));
        EXPECT_EQ(ValueOptionList(8).Options(0), (OptionRec{"Jalousie-/Rolloposition (0-255)", "", 2, 0, 0, 1}));
    }

    LanguageOffset = 1000;
    ClsG517104().G517104V11();
    EXPECT_EQ(ValueOptionList(2).Options(0).Text, "enter value");
    EXPECT_EQ(ValueOptionList(4).Options(0).Text, "enter value ( value of dimming )");
    EXPECT_EQ(ValueOptionList(7).Options(0).Text2, "slats position");
}

TEST_F(ModelLists, PushButtonFunctionsWithTheirPressActionsAndDisplayModes) {
    const std::uint8_t functionCodes[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 11, 11};
    const std::uint8_t actorCodes[] = {0, 10, 10, 11, 11, 11, 20, 20, 21, 21, 21, 40, 41, 42, 30, 100, 41, 42};
    const std::int32_t actionCounts[] = {0, 5, 2, 1, 2, 1, 5, 2, 1, 2, 1, 2, 1, 1, 6, 1, 2, 2};
    ModelTables first;
    for (const auto& [name, define] : kModels) {
        SCOPED_TRACE(name);
        define();
        ASSERT_EQ(ButtonFunctionList.ubound(), 18);
        ASSERT_EQ(ButtonActionList.ubound(), 18);
        for (std::int32_t k = 0; k < 18; ++k) {
            SCOPED_TRACE(k);
            EXPECT_EQ(ButtonFunctionList(k).FunctionCode, functionCodes[k]);
            EXPECT_EQ(ButtonFunctionList(k).ActorCode, actorCodes[k]);
            EXPECT_FALSE(ButtonFunctionList(k).Text.empty());
            const ButtonActionRec& a = ButtonActionList(k);
            ASSERT_EQ(a.Actions.ubound(), actionCounts[k]);
            EXPECT_EQ(a.Actions(actionCounts[k]), OptionRec{});
            for (std::int32_t j = 0; j < actionCounts[k]; ++j) {
                EXPECT_EQ(a.Actions(j).Number, j + 1);
                EXPECT_EQ(a.Actions(j).Text2, "");
            }
            EXPECT_EQ(a.LedModes(0), 0);
            EXPECT_EQ(a.LedModes(a.LedModes.ubound()), 0);  // the spare entry
        }
        const auto leds = [](std::int32_t k) {
            return std::vector<std::uint8_t>(ButtonActionList(k).LedModes.begin(), ButtonActionList(k).LedModes.end());
        };
        EXPECT_EQ(leds(0), (std::vector<std::uint8_t>{0, 0}));
        EXPECT_EQ(leds(1), (std::vector<std::uint8_t>{0, 1, 3, 0}));
        EXPECT_EQ(leds(12), (std::vector<std::uint8_t>{0, 7, 8, 9, 0}));
        EXPECT_EQ(leds(14), (std::vector<std::uint8_t>{0, 4, 0}));
        EXPECT_EQ(ButtonActionList(1).AuxByte1, 2);
        EXPECT_EQ(ButtonActionList(11).AuxByte2, 2);
        EXPECT_EQ(ButtonActionList(14).AuxByte1, 1);
        EXPECT_EQ(ButtonFunctionList(18), ButtonFunctionRec{});
        EXPECT_FALSE(ButtonActionList(18).Actions.allocated());
        EXPECT_FALSE(ButtonActionList(18).LedModes.allocated());

        EXPECT_EQ(ButtonFunctionList(0).Text, "keine Funktion");
        EXPECT_EQ(ButtonFunctionList(16).Text, "Jalousie/Rollo zweiflächig");
        EXPECT_EQ(ButtonFunctionList(17).Text, ButtonFunctionList(11).Text);
        EXPECT_EQ(ButtonActionList(1).Actions(4), (OptionRec{"Bei Betätigung Aus, bei Loslassen Ein", "", 0, 0, 1, 5}));
        EXPECT_EQ(ButtonActionList(2).Actions(0).Text, "Ein ");  // the string table's blank is kept
        EXPECT_EQ(ButtonActionList(4).Actions(0), (OptionRec{"Ein / Heller", "", 0, 9, 0, 1}));
        EXPECT_EQ(ButtonActionList(10).Actions(0), (OptionRec{"Dimmen", "", 3, 0, 0, 1}));
        EXPECT_EQ(ButtonActionList(12).Actions(0), (OptionRec{"", "", 4, 0, 0, 1}));
        EXPECT_EQ(ButtonActionList(13).Actions(0), (OptionRec{"", "", 5, 0, 0, 1}));
        EXPECT_EQ(ButtonActionList(14).Actions(1), (OptionRec{"Komfort", "", 0, 2, 2, 2}));
        EXPECT_EQ(ButtonActionList(14).Actions(5), (OptionRec{"StandBy <-> Nacht", "", 0, 1, 0, 6}));
        EXPECT_EQ(ButtonActionList(15).Actions(0).Text, "Szene einschalten");
        EXPECT_EQ(ButtonActionList(6).Actions, ButtonActionList(1).Actions);  // same actions for ventilation
        EXPECT_EQ(ButtonActionList(16).Actions, ButtonActionList(11).Actions);
        if (first.ButtonActionList.allocated()) {
            EXPECT_EQ(ButtonFunctionList, first.ButtonFunctionList);
            EXPECT_EQ(ButtonActionList, first.ButtonActionList);
        }
        first = Model;
    }

    const std::pair<std::int16_t, const char*> noFunction[] = {
        {1000, "no function"}, {2000, "nessuna funzione"}, {3000, "sin función"}, {4000, "aucune fonction"}};
    for (const auto& [offset, text] : noFunction) {
        LanguageOffset = offset;
        ClsG517204().G517204V11();
        EXPECT_EQ(ButtonFunctionList(0).Text, text);
        EXPECT_NE(ButtonFunctionList(1).Text, first.ButtonFunctionList(1).Text);
        EXPECT_EQ(ButtonActionList(12).Actions(0).Text, "");
    }
    LanguageOffset = 1000;
    ClsG517204().G517204V11();
    EXPECT_EQ(ButtonFunctionList(13).Text, "venetian blind absolute roller-blind");
    EXPECT_EQ(ButtonActionList(14).Actions(3).Text, "comfort<->standby");
}

TEST_F(ModelLists, CommunicationObjectsAreNumberedZeroTo110OnceEach) {
    for (const auto& [name, define] : kModels) {
        SCOPED_TRACE(name);
        define();
        const std::map<std::int32_t, int> seen = objectNumbers();
        ASSERT_EQ(seen.size(), 111u);
        EXPECT_EQ(seen.begin()->first, 0);
        EXPECT_EQ(seen.rbegin()->first, 110);
        for (const auto& [number, count] : seen) EXPECT_EQ(count, 1) << number;
        EXPECT_EQ(static_cast<std::int32_t>(seen.size()), MaxLimits.MaxObjekte);

        EXPECT_EQ(LightingObjectList.ubound(), 10);
        EXPECT_EQ(LightingObjectList(9).Objects(3), (ObjectRec{39, "Rückmeldeobjekt (1 Bit)", 0x97}));
        EXPECT_EQ(LightingObjectList(9).Objects(4), ObjectRec{});
        EXPECT_FALSE(LightingObjectList(10).Objects.allocated());
        EXPECT_EQ(VentilationObjectList(2).Objects(0), (ObjectRec{48, "Schaltobjekt (1 Bit)", 0xD7}));
        EXPECT_EQ(TemperatureObjectList(1).Objects(6), (ObjectRec{65, "Regler Status (1Byte)", 0xD7}));
        EXPECT_EQ(TemperatureObjectList(1).Objects(7), ObjectRec{});
        EXPECT_EQ(BlindObjectList(5).Objects(3), (ObjectRec{89, "Lamellen-Position", 0xD7}));
        EXPECT_EQ(BlindObjectList(5).Objects.ubound(), 4);
        for (std::int32_t g = 0; g < 8; ++g) {
            ASSERT_EQ(SceneObjectList(g).Objects.ubound(), 0);
            EXPECT_EQ(SceneObjectList(g).Objects(0), (ObjectRec{static_cast<std::int16_t>(90 + g), "Nebenstellenbedienung", 0xFF}));
        }
        for (std::int32_t g = 0; g < 10; ++g) {
            ASSERT_EQ(MessageObjectList(g).Objects.ubound(), 1);
            EXPECT_EQ(MessageObjectList(g).Objects(0).Flags, 0xB7);
            EXPECT_EQ(MessageObjectList(g).Objects(1), ObjectRec{});
        }
        ASSERT_EQ(DeviceObjectList.ubound(), 3);
        EXPECT_EQ(DeviceObjectList(0), (ObjectRec{108, "Zeit", 0xB7}));
        EXPECT_EQ(DeviceObjectList(2), (ObjectRec{110, "Display-Beleuchtung", 0x9F}));
        EXPECT_EQ(DeviceObjectList(3), ObjectRec{});
    }

    LanguageOffset = 1000;
    ClsG517104().G517104V11();
    EXPECT_EQ(TemperatureObjectList(0).Objects(3).Name, "presence");
    EXPECT_EQ(MessageObjectList(0).Objects(0).Name, "report object");
    EXPECT_EQ(DeviceObjectList(1).Name, "date");
}

TEST_F(ModelLists, InterfaceObjectIds) {
    for (const auto& [name, define] : kModels) {
        SCOPED_TRACE(name);
        define();
        const corlink::TypPropertyObjID& p = PropertyObjectIds;
        EXPECT_EQ(idsOf(p.ObjIDBeleuchtung), idRange(8, 11));  // entry 10: the rule runs on
        EXPECT_EQ(idsOf(p.ObjIDBelueftung), idRange(18, 4));
        EXPECT_EQ(idsOf(p.ObjIDTemperatur), idRange(21, 3));
        EXPECT_EQ(idsOf(p.ObjIDJalousie), idRange(23, 7));
        EXPECT_EQ(idsOf(p.ObjIDSzene), idRange(29, 9));
        EXPECT_EQ(idsOf(p.ObjIDMeldung), idRange(38, 11));
        EXPECT_EQ(idsOf(p.ObjIDTasten), idRange(37, MaxLimits.MaxTasten + 1));
        EXPECT_EQ(idsOf(p.ObjIDApplicationData), std::vector<std::int32_t>{7});
        const std::int32_t codes[] = {p.ObjKennungApplicationData, p.ObjKennungBeleuchtung, p.ObjKennungBelueftung,
                                      p.ObjKennungTemperatur, p.ObjKennungJalousie, p.ObjKennungSzene,
                                      p.ObjKennungTasten, p.ObjKennungMedung};
        for (std::int32_t i = 0; i < 8; ++i) EXPECT_EQ(codes[i], 50023 + i);
        EXPECT_EQ(p.ObjIDSprache, 48);
        EXPECT_EQ(p.ObjKennungSprache, 50032);
    }
    EXPECT_EQ(PropertyObjectIds.ObjIDTasten.size(), 19u);
    ClsG517104().G517104V11();
    EXPECT_EQ(PropertyObjectIds.ObjIDTasten.size(), 9u);
}

// The project object sized with each model's tables.
TEST_F(ModelLists, ProjectListsUnderBothModels) {
    for (const auto& [name, define] : kModels) {
        SCOPED_TRACE(name);
        define();
        corlink::clsOrvekDali p;
        p.IniInterface(MaxLimits, FunctionGroupList, PropertyObjectIds);

        SafeArray<corlink::TypDynamicTasten> tree;
        p.GetDataTree(tree);
        ASSERT_EQ(tree.size(), 39u);
        EXPECT_EQ(tree(0).ID, 101);
        EXPECT_EQ(tree(21).ID, 501);
        EXPECT_EQ(tree(38).ID, 710);

        // A blind group with a scene value chosen from its actuator type's option row.
        corlink::TypJalousieGruppe blind;
        blind.Name = "Süd";
        blind.AktorTyp = ActorTypeList(7).ActorCode;
        blind.Active = true;
        p.letJalousieGruppe(1, blind);
        corlink::TypSzene scene = p.Szene(0);
        scene.Active = true;
        scene.Name = "Morgen";
        scene.JalousieWerte(1) = {true, {128, 64}, {0, 0}, 1, 0, 7};
        p.letSzene(0, scene);

        SafeArray<corlink::TypDynamicSzenen> values;
        p.GetDynamicSzenenArray(values, 0);
        ASSERT_EQ(values.size(), 21u);
        EXPECT_EQ(values(0).Text, "Beleuchtung: ");
        const corlink::TypDynamicSzenen& v = values(16);
        EXPECT_EQ(v.Text, "Jalousie: Süd");
        EXPECT_EQ(v.ID, 401);
        const OptionRec& option = ValueOptionList(v.RefAufSzenenWert).Options(v.WertID - 1);
        EXPECT_EQ(option.Kind, 3);  // position and slat position
        EXPECT_EQ(ValueOptionList(v.RefAufSzenenWert).ActorCode, v.AktorID);

        SafeArray<corlink::TypDynamicTasten> buttons;
        p.GetDynamicArray(buttons);
        ASSERT_EQ(buttons.size(), 3u);
        EXPECT_EQ(buttons(1), (corlink::TypDynamicTasten{"Jalousie: Süd", 401, 41}));
        EXPECT_EQ(buttons(2), (corlink::TypDynamicTasten{"Szene: Morgen", 500, 100}));

        // Every object of the model bound to an address of its own: one entry per object.
        std::int32_t address = 0x0800;
        const auto bind = [&](const ObjectRec& o) {
            corlink::TypObjectZuordnung b;
            b.Active1 = true;
            b.GrpAdrActive = true;
            b.ObjNo = static_cast<std::uint8_t>(o.ObjectNumber);
            b.Flags = o.Flags;
            b.GrpAdr.redim(0, 0);
            b.GrpAdr(0) = ++address;
            return b;
        };
        for (std::int16_t g = 0; g < MaxLimits.MaxBeleuchtungsgruppen; ++g) {
            corlink::TypBeleuchtungsGruppe light;
            for (std::int32_t k = 0; k < 4; ++k) light.Objekte[static_cast<std::size_t>(k)] = bind(LightingObjectList(g).Objects(k));
            p.letBeleuchtungsGruppe(g, light);
        }
        corlink::TypZeiten settings;
        for (std::int32_t k = 0; k < 3; ++k) settings.ObjekteDatumZeitLCD[static_cast<std::size_t>(k)] = bind(DeviceObjectList(k));
        p.letZeiten(settings);
        EXPECT_EQ(p.GetAssozLen().number(), 111);
        settings.ObjekteDatumZeitLCD[0].GrpAdr.redim(0, 1);
        settings.ObjekteDatumZeitLCD[0].GrpAdr(0) = 0x0F00;
        settings.ObjekteDatumZeitLCD[0].GrpAdr(1) = 0x0F01;  // a second address of the time object
        p.letZeiten(settings);
        EXPECT_EQ(p.GetAssozLen().number(), 112);
    }
}
