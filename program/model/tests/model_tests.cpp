#include "DeviceSelection.h"
#include "GatewayModels.h"
#include "Messages.h"
#include "ModDefinition.h"
#include "ModelTables.h"
#include "StringTable.h"
#include "corlink/clsOrvekDali.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <tuple>
#include <vector>

using namespace corvane;

namespace {

class Models : public ::testing::Test {
protected:
    void SetUp() override {
        LanguageOffset = 0;
        Model = ModelTables{};
        CreateDeviceTable();
        SetMessageBox([this](std::int32_t style, const std::string& text, const std::string&) {
            messages.push_back({style, text});
            return 1;
        });
    }
    void TearDown() override {
        SetMessageBox({});
        LanguageOffset = kLanguageNotChosen;
    }
    std::vector<std::pair<std::int32_t, std::string>> messages;
};

const std::pair<const char*, std::function<void()>> kModels[] = {
    {"517104", [] { ClsG517104().G517104V11(); }},
    {"517204", [] { ClsG517204().G517204V11(); }},
};

std::vector<std::int32_t> ids(const SafeArray<std::int32_t>& a) { return {a.begin(), a.end()}; }

std::vector<std::int32_t> idRange(std::int32_t first, std::int32_t count) {
    std::vector<std::int32_t> out;
    for (std::int32_t i = 0; i < count; ++i) out.push_back(first + i);
    return out;
}

// Runs a check under both models, in German and in English.
void forEachModelAndLanguage(const std::function<void()>& check) {
    for (const std::int16_t language : {kGerman, kEnglish}) {
        for (const auto& [name, define] : kModels) {
            SCOPED_TRACE(std::string(name) + " in language " + std::to_string(language));
            LanguageOffset = language;
            define();
            check();
        }
    }
}

std::string textOrEmpty(std::int32_t id) { return id == 0 ? std::string() : Text(id); }

// A value option or press action as the tables give it: text id (0 the empty text), Kind,
// Value, Flag, and the id of the second text.
struct Opt {
    std::int32_t text;
    std::int32_t kind;
    std::uint8_t value;
    std::uint8_t flag;
    std::int32_t text2 = 0;
};

// The options in their order (Number is the place + 1, what stored projects refer to), then
// the empty spare entry.
void expectOptions(const SafeArray<OptionRec>& actual, const std::vector<Opt>& expected) {
    ASSERT_TRUE(actual.allocated());
    ASSERT_EQ(actual.lbound(), 0);
    ASSERT_EQ(actual.ubound(), static_cast<std::int32_t>(expected.size()));
    for (std::size_t j = 0; j < expected.size(); ++j) {
        const Opt& e = expected[j];
        EXPECT_EQ(actual(static_cast<std::int32_t>(j)), (OptionRec{textOrEmpty(e.text), textOrEmpty(e.text2), e.kind,
                                                                   e.value, e.flag, static_cast<std::int16_t>(j + 1)}))
            << "option " << j;
    }
    EXPECT_EQ(actual(actual.ubound()), OptionRec{});
}

}  // namespace

TEST_F(Models, LimitsOfBothModelsAndRebuildingTheTables) {
    ClsG517204().G517204V11();
    EXPECT_EQ(MaxLimits, (corlink::TypMaxGrenzwerte{16, 32, 64, 16, 10, 3, 2, 6, 8, 18, 10, 8, 18, 16, 126, 111}));
    const ModelTables model204 = Model;

    ClsG517104().G517104V11();
    ModelTables once = Model;
    ClsG517104().G517104V11();
    EXPECT_EQ(Model, once);  // building twice changes nothing
    // The models differ only in MaxTasten and the push-button ids it sizes.
    EXPECT_EQ(MaxLimits.MaxTasten, 8);
    once.MaxLimits.MaxTasten = 18;
    once.PropertyObjectIds.ObjIDTasten = model204.PropertyObjectIds.ObjIDTasten;
    EXPECT_EQ(once, model204);
    // The largest of each: 517204's limits.
    EXPECT_EQ(LargestModelLimits(),
              (corlink::TypMaxGrenzwerte{16, 32, 64, 16, 10, 3, 2, 6, 8, 18, 10, 8, 18, 16, 126, 111}));

    // Tables built into a set of the caller's leave the shared ones alone.
    ModelTables into;
    ClsG517204().G517204V11(into);
    EXPECT_EQ(into, model204);
    EXPECT_EQ(MaxLimits.MaxTasten, 8);
}

TEST_F(Models, FunctionGroupsActuatorTypesAndDisplayModes) {
    struct ActorType {
        std::int32_t text;
        std::uint8_t code, kind;
    };
    constexpr ActorType kActorTypes[] = {{109, 0, 0},  {110, 10, 1}, {111, 11, 1}, {112, 20, 2}, {113, 21, 2},
                                         {114, 30, 3}, {116, 40, 4}, {117, 41, 4}, {118, 42, 4}};
    forEachModelAndLanguage([&] {
        ASSERT_EQ(FunctionGroupList.ubound(), 8);
        for (std::int32_t i = 0; i <= 8; ++i) {
            EXPECT_EQ(FunctionGroupList(i),
                      (corlink::TypFunktionsGruppen{Text(100 + i), static_cast<std::uint8_t>(i)}));
        }
        ASSERT_EQ(ActorTypeList.ubound(), 9);
        for (std::int32_t i = 0; i < 9; ++i) {
            const ActorType& a = kActorTypes[i];
            EXPECT_EQ(ActorTypeList(i), (ActorTypeRec{Text(a.text), a.code, a.kind})) << i;
        }
        EXPECT_EQ(ActorTypeList(9), ActorTypeRec{});  // the empty end entry
        ASSERT_EQ(DisplayModeList.ubound(), 9);
        for (std::int32_t i = 0; i <= 9; ++i) {
            EXPECT_EQ(DisplayModeList(i), (DisplayModeRec{Text(130 + i), static_cast<std::uint8_t>(i)})) << i;
        }
    });
}

// Scenes store an option by its 1-based place in its row: the order is what stored projects mean.
TEST_F(Models, ValueOptionsOfEveryActuatorType) {
    const std::pair<std::uint8_t, std::vector<Opt>> kRows[] = {
        {10, {{580, 0, 1, 0}, {581, 0, 0, 1}}},
        {11, {{582, 2, 0, 0}}},
        {20, {{583, 0, 1, 0}, {584, 0, 0, 1}}},
        {21, {{585, 2, 0, 0}}},
        {30, {{588, 0, 0, 0}, {587, 0, 1, 0}, {586, 0, 2, 0}}},  // night, standby, comfort
        {40, {{589, 0, 0, 0}, {590, 0, 1, 0}}},
        {41, {{591, 3, 0, 0, 592}}},  // position and slat position
        {42, {{593, 2, 0, 0}}},
    };
    forEachModelAndLanguage([&] {
        ASSERT_EQ(ValueOptionList.ubound(), 9);
        EXPECT_EQ(ValueOptionList(0).ActorCode, 0);  // no actuator: one empty option
        expectOptions(ValueOptionList(0).Options, {});
        for (std::int32_t r = 1; r <= 8; ++r) {
            SCOPED_TRACE(r);
            const auto& [actorCode, options] = kRows[r - 1];
            EXPECT_EQ(ValueOptionList(r).ActorCode, actorCode);
            expectOptions(ValueOptionList(r).Options, options);
        }
        EXPECT_EQ(ValueOptionList(9), ValueOptionRec{});  // no options at all
    });
}

// The printout reads the function's text, its actions' texts and the Kind of its first action.
TEST_F(Models, PushButtonFunctionsWithTheirPressActionsAndLedModes) {
    const std::vector<Opt> switchSingle = {
        {610, 0, 1, 3}, {611, 0, 0, 3}, {612, 0, 2, 3}, {613, 0, 1, 0}, {614, 0, 0, 1}};
    const std::vector<Opt> switchDouble = {{615, 0, 1, 0}, {616, 0, 0, 1}};
    const std::vector<Opt> dimSingle = {{617, 0, 0, 0}};
    const std::vector<Opt> dimDouble = {{619, 0, 9, 0}, {620, 0, 1, 0}};
    const std::vector<Opt> dimAbsolute = {{621, 3, 0, 0}};
    const std::vector<Opt> blindDouble = {{622, 0, 1, 3}, {623, 0, 0, 3}};
    const std::vector<Opt> mode = {{625, 0, 0, 0}, {624, 0, 2, 2}, {627, 0, 1, 1},
                                   {628, 0, 2, 1}, {629, 0, 2, 0}, {630, 0, 1, 0}};
    struct Function {
        std::int32_t text;
        std::uint8_t code, actor;
        std::vector<Opt> actions;
        std::vector<std::uint8_t> ledModes;
        std::uint8_t aux1, aux2;
    };
    const Function kFunctions[] = {
        {550, 0, 0, {}, {0}, 0, 0},
        {551, 1, 10, switchSingle, {0, 1, 3}, 2, 1},
        {552, 2, 10, switchDouble, {0, 1, 3}, 0, 1},
        {553, 3, 11, dimSingle, {0, 1, 2, 3}, 0, 1},
        {554, 4, 11, dimDouble, {0, 1, 2, 3}, 0, 1},
        {555, 5, 11, dimAbsolute, {0, 1, 2, 3}, 0, 1},
        {556, 6, 20, switchSingle, {0, 1, 3}, 2, 1},
        {557, 7, 20, switchDouble, {0, 1, 3}, 0, 1},
        {558, 8, 21, dimSingle, {0, 1, 2, 3}, 0, 1},
        {559, 9, 21, dimDouble, {0, 1, 2, 3}, 0, 1},
        {560, 10, 21, dimAbsolute, {0, 1, 2, 3}, 0, 1},
        {561, 11, 40, blindDouble, {0, 7, 8}, 1, 2},
        {562, 12, 41, {{0, 4, 0, 0}}, {0, 7, 8, 9}, 0, 2},
        {563, 13, 42, {{0, 5, 0, 0}}, {0, 7, 8, 9}, 0, 2},
        {564, 14, 30, mode, {0, 4}, 1, 1},
        {565, 15, 100, {{626, 0, 0, 0}}, {0, 1}, 0, 1},
        {561, 11, 41, blindDouble, {0, 7, 8}, 1, 2},
        {561, 11, 42, blindDouble, {0, 7, 8}, 1, 2},
    };
    forEachModelAndLanguage([&] {
        ASSERT_EQ(ButtonFunctionList.ubound(), 18);
        ASSERT_EQ(ButtonActionList.ubound(), 18);
        for (std::int32_t k = 0; k < 18; ++k) {
            SCOPED_TRACE(k);
            const Function& f = kFunctions[k];
            EXPECT_EQ(ButtonFunctionList(k), (ButtonFunctionRec{Text(f.text), f.code, f.actor}));
            const ButtonActionRec& a = ButtonActionList(k);
            expectOptions(a.Actions, f.actions);
            std::vector<std::uint8_t> led = f.ledModes;
            led.push_back(0);  // the spare entry
            ASSERT_TRUE(a.LedModes.allocated());
            EXPECT_EQ(a.LedModes.lbound(), 0);
            EXPECT_EQ(std::vector<std::uint8_t>(a.LedModes.begin(), a.LedModes.end()), led);
            EXPECT_EQ(a.AuxByte1, f.aux1);
            EXPECT_EQ(a.AuxByte2, f.aux2);
        }
        EXPECT_EQ(ButtonFunctionList(18), ButtonFunctionRec{});
        EXPECT_EQ(ButtonActionList(18), ButtonActionRec{});
    });
}

// The group-address editor takes an object's number and default flags by group and place.
TEST_F(Models, CommunicationObjectsOfEveryKind) {
    constexpr std::uint8_t kCWTU = 0xD7, kCWU = 0x97;
    struct Kind {
        const SafeArray<ObjectGroupRec>* list;
        std::int32_t groups, base, objectsUpper, firstText;
        std::vector<std::uint8_t> flags;  // per place in the group
    };
    const Kind kKinds[] = {
        {&LightingObjectList, 10, 0, 4, 150, {kCWTU, kCWTU, kCWTU, kCWU}},
        {&VentilationObjectList, 3, 40, 4, 154, {kCWTU, kCWTU, kCWTU, kCWU}},
        {&TemperatureObjectList, 2, 52, 7, 158, std::vector<std::uint8_t>(7, kCWTU)},
        {&BlindObjectList, 6, 66, 4, 165, std::vector<std::uint8_t>(4, kCWTU)},
        {&SceneObjectList, 8, 90, 0, 173, {0xFF}},
        {&MessageObjectList, 10, 98, 1, 172, {0xB7}},
    };
    forEachModelAndLanguage([&] {
        for (const Kind& kind : kKinds) {
            SCOPED_TRACE(kind.base);
            const SafeArray<ObjectGroupRec>& list = *kind.list;
            ASSERT_EQ(list.ubound(), kind.groups);
            const auto perGroup = static_cast<std::int32_t>(kind.flags.size());
            for (std::int32_t g = 0; g < kind.groups; ++g) {
                const SafeArray<ObjectRec>& objects = list(g).Objects;
                ASSERT_EQ(objects.ubound(), kind.objectsUpper) << g;
                for (std::int32_t k = 0; k <= kind.objectsUpper; ++k) {
                    const ObjectRec expected =
                        k < perGroup ? ObjectRec{static_cast<std::int16_t>(kind.base + g * perGroup + k),
                                                 Text(kind.firstText + k), kind.flags[static_cast<std::size_t>(k)]}
                                     : ObjectRec{};  // the spare entry
                    EXPECT_EQ(objects(k), expected) << g << " " << k;
                }
            }
            EXPECT_FALSE(list(kind.groups).Objects.allocated());
        }
        ASSERT_EQ(DeviceObjectList.ubound(), 3);
        EXPECT_EQ(DeviceObjectList(0), (ObjectRec{108, Text(169), 0xB7}));
        EXPECT_EQ(DeviceObjectList(1), (ObjectRec{109, Text(170), 0xB7}));
        EXPECT_EQ(DeviceObjectList(2), (ObjectRec{110, Text(171), 0x9F}));
        EXPECT_EQ(DeviceObjectList(3), ObjectRec{});
    });
}

// The gateway's interface-object ids and kind codes, as the transfers address them.
TEST_F(Models, InterfaceObjectIds) {
    for (const auto& [name, define] : kModels) {
        SCOPED_TRACE(name);
        define();
        const corlink::TypPropertyObjID& p = PropertyObjectIds;
        EXPECT_EQ(ids(p.ObjIDApplicationData), idRange(7, 1));
        EXPECT_EQ(ids(p.ObjIDBeleuchtung), idRange(8, 11));
        EXPECT_EQ(ids(p.ObjIDBelueftung), idRange(18, 4));
        EXPECT_EQ(ids(p.ObjIDTemperatur), idRange(21, 3));
        EXPECT_EQ(ids(p.ObjIDJalousie), idRange(23, 7));
        EXPECT_EQ(ids(p.ObjIDSzene), idRange(29, 9));
        EXPECT_EQ(ids(p.ObjIDMeldung), idRange(38, 11));
        EXPECT_EQ(ids(p.ObjIDTasten), idRange(37, MaxLimits.MaxTasten + 1));
        const std::int32_t codes[] = {p.ObjKennungApplicationData, p.ObjKennungBeleuchtung, p.ObjKennungBelueftung,
                                      p.ObjKennungTemperatur,      p.ObjKennungJalousie,    p.ObjKennungSzene,
                                      p.ObjKennungTasten,          p.ObjKennungMedung};
        for (std::int32_t i = 0; i < 8; ++i) EXPECT_EQ(codes[i], 50023 + i);
        EXPECT_EQ(p.ObjIDSprache, 48);
        EXPECT_EQ(p.ObjKennungSprache, 50032);
    }
}

TEST_F(Models, TablesInEveryLanguageKeepTheirLanguageUntilTheNextSelection) {
    LanguageOffset = kEnglish;
    ASSERT_TRUE(SelectDeviceDefinition("517104", "11"));
    EXPECT_EQ(FunctionGroupList(6).Name, "allocation of buttons");
    EXPECT_EQ(ActorTypeList(6).Text, "move and stop-object (1bit)");
    EXPECT_EQ(DisplayModeList(7).Text, "On after operation");
    EXPECT_EQ(ValueOptionList(7).Options(0).Text2, "slats position");
    EXPECT_EQ(ButtonFunctionList(13).Text, "venetian blind absolute roller-blind");
    EXPECT_EQ(TemperatureObjectList(0).Objects(3).Name, "presence");

    LanguageOffset = kGerman;
    EXPECT_EQ(FunctionGroupList(0).Name, "dummy");
    ASSERT_TRUE(SelectDeviceDefinition("517204", "11"));
    EXPECT_EQ(FunctionGroupList(0).Name, "Dummy");
    EXPECT_EQ(ActorTypeList(6).Text, "Beweg.u.Stop-Objekt (1Bit)");

    // Every text of the tables exists in the other languages as well.
    for (std::int16_t offset : {2000, 3000, 4000}) {
        LanguageOffset = offset;
        ASSERT_TRUE(SelectDeviceDefinition("517104", "11")) << offset;
        EXPECT_NE(ButtonFunctionList(1).Text, "Schalten einflächig") << offset;
    }
    // Italian and Spanish name only "no function" and the last push-button functions; the
    // others carry the string table's placeholder.
    const std::pair<std::int16_t, const char*> noFunction[] = {{2000, "nessuna funzione"}, {3000, "sin función"}};
    for (const auto& [offset, text] : noFunction) {
        LanguageOffset = offset;
        ASSERT_TRUE(SelectDeviceDefinition("517104", "11")) << offset;
        EXPECT_EQ(ButtonFunctionList(0).Text, text);
        for (std::int32_t row : {1, 13, 16, 17}) {
            EXPECT_EQ(ButtonFunctionList(row).Text, "(not used do not translate)") << offset << " " << row;
        }
        EXPECT_NE(ButtonFunctionList(14).Text, "(not used do not translate)") << offset;
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(Models, SelectionByOrderNumberAndFirmware) {
    ASSERT_TRUE(SelectDeviceDefinition("517204", "11"));
    EXPECT_EQ(MaxLimits.MaxTasten, 18);
    for (const char* other : {"305719", "0", ""}) {  // unknown order numbers get model 517104
        ASSERT_TRUE(SelectDeviceDefinition("517204", "11"));
        EXPECT_TRUE(SelectDeviceDefinition(other, "1.3"));
        EXPECT_EQ(MaxLimits.MaxTasten, 8) << other;
    }
    EXPECT_TRUE(messages.empty());

    // A known model with an unknown firmware: message 916, nothing loaded.
    const ModelTables before = Model;
    EXPECT_FALSE(SelectDeviceDefinition("517204", "12"));
    EXPECT_FALSE(SelectDeviceDefinition("517104", "1.3"));
    EXPECT_EQ(Model, before);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0], std::make_pair(48, std::string("Ein Gerät mit dieser Firmwareversion ist unbekannt, "
                                                          "bitte wenden Sie sich an den Hersteller!")));

    // Chosen aside: the model's tables come back, those in force stay; a refusal gives none.
    const std::tuple<const char*, const char*, int> aside[] = {
        {"517204", "11", 18}, {"517104", "11", 8}, {"0", "0", 8}, {"517204", "12", -1}, {"517104", "", -1}};
    for (const auto& [order, firmware, buttons] : aside) {
        SCOPED_TRACE(std::string(order) + " " + firmware);
        const std::optional<ModelTables> chosen = ChooseDeviceDefinition(order, firmware);
        ASSERT_EQ(chosen.has_value(), buttons >= 0);
        EXPECT_EQ(chosen ? chosen->MaxLimits.MaxTasten : -1, buttons);
        EXPECT_EQ(Model, before);
    }
    EXPECT_EQ(messages.size(), 4u);
}

TEST_F(Models, ADefinitionThatFailsPartWayReturnsFalseAndKeepsThePreviousModel) {
    ASSERT_TRUE(SelectDeviceDefinition("517204", "11"));
    const ModelTables before = Model;
    LanguageOffset = 32700;  // id + offset overflows 16 bits: the first text fails with error 6
    EXPECT_FALSE(SelectDeviceDefinition("517104", "11"));
    EXPECT_EQ(Model, before);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].second.ends_with(" 6")) << messages[0].second;

    // Without the table of known models no model is loaded either.
    LanguageOffset = 0;
    DeviceTable.erase();
    EXPECT_FALSE(SelectDeviceDefinition("517104", "11"));
    EXPECT_EQ(Model, before);
}

TEST_F(Models, ActorTypeTextsAreLookedUpByCode) {
    ASSERT_TRUE(SelectDeviceDefinition("517104", "11"));
    EXPECT_EQ(GetActorTypeText(21), "Dimmaktor");
    EXPECT_EQ(GetActorTypeText(12), "");
    ActorTypeList(9).ActorCode = 99;  // the end entry is not searched
    EXPECT_EQ(GetActorTypeText(99), "");
    // A code that two entries carry gives the first one's text.
    ActorTypeList(8).ActorCode = 10;
    EXPECT_EQ(GetActorTypeText(10), Text(110));
    ActorTypeList(0).ActorCode = 10;
    EXPECT_EQ(GetActorTypeText(10), Text(109));
    EXPECT_TRUE(messages.empty());
}

// The project object sized with each model's tables; a scene value refers to its option row.
TEST_F(Models, ProjectListsUnderBothModels) {
    for (const auto& [name, define] : kModels) {
        SCOPED_TRACE(name);
        define();
        corlink::clsOrvekDali p;
        p.IniInterface(MaxLimits, FunctionGroupList, PropertyObjectIds);
        SafeArray<corlink::TypDynamicTasten> tree;
        p.GetDataTree(tree);
        EXPECT_EQ(tree.size(), 39u);

        corlink::TypJalousieGruppe blind;
        blind.Name = "Süd";
        blind.AktorTyp = ActorTypeList(7).ActorCode;
        blind.Active = true;
        p.letJalousieGruppe(1, blind);
        corlink::TypSzene scene = p.Szene(0);
        scene.Active = true;
        scene.JalousieWerte(1) = {true, {128, 64}, {0, 0}, 1, 0, 7};
        p.letSzene(0, scene);
        SafeArray<corlink::TypDynamicSzenen> values;
        p.GetDynamicSzenenArray(values, 0);
        ASSERT_EQ(values.size(), 21u);
        const corlink::TypDynamicSzenen& v = values(16);
        EXPECT_EQ(v.Text, "Jalousie: Süd");
        EXPECT_EQ(ValueOptionList(v.RefAufSzenenWert).ActorCode, v.AktorID);
        EXPECT_EQ(ValueOptionList(v.RefAufSzenenWert).Options(v.WertID - 1).Kind, 3);  // position and slat position
    }
}
