#include "DeviceSelection.h"
#include "GatewayModels.h"
#include "Messages.h"
#include "ModDefinition.h"
#include "ModelTables.h"
#include "corlink/clsOrvekDali.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
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

// Every filled communication object of all lists: number -> how often it occurs.
std::map<std::int32_t, int> objectNumbers() {
    std::map<std::int32_t, int> seen;
    for (const SafeArray<ObjectGroupRec>* list : {&LightingObjectList, &VentilationObjectList, &TemperatureObjectList,
                                                  &BlindObjectList, &SceneObjectList, &MessageObjectList}) {
        for (const ObjectGroupRec& group : *list) {
            if (!group.Objects.allocated()) continue;
            for (const ObjectRec& o : group.Objects) {
                if (!o.Name.empty()) ++seen[o.ObjectNumber];
            }
        }
    }
    for (const ObjectRec& o : DeviceObjectList) {
        if (!o.Name.empty()) ++seen[o.ObjectNumber];
    }
    return seen;
}

}  // namespace

TEST_F(Models, LimitsAndListCountsOfBothModels) {
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

    EXPECT_EQ(FunctionGroupList.ubound(), 8);
    EXPECT_EQ(FunctionGroupList(8), (corlink::TypFunktionsGruppen{"Zeit-/Datum", 8}));
    ASSERT_EQ(ActorTypeList.ubound(), 9);
    EXPECT_EQ(ActorTypeList(9), ActorTypeRec{});  // the empty end entry
    for (const ActorTypeRec& a : ActorTypeList) EXPECT_EQ(a.GroupKind, a.ActorCode / 10);
    EXPECT_EQ(DisplayModeList.ubound(), 9);
    for (int i = 0; i <= 9; ++i) EXPECT_EQ(DisplayModeList(i).Code, i);

    // Value options per actuator type: counts plus the spare entry.
    ASSERT_EQ(ValueOptionList.ubound(), 9);
    const std::int32_t optionCounts[] = {0, 2, 1, 2, 1, 3, 2, 1, 1};
    for (std::int32_t r = 0; r <= 8; ++r) {
        const ValueOptionRec& row = ValueOptionList(r);
        EXPECT_EQ(row.ActorCode, ActorTypeList(r).ActorCode) << r;
        ASSERT_EQ(row.Options.ubound(), optionCounts[r]) << r;
        EXPECT_EQ(row.Options(optionCounts[r]), OptionRec{}) << r;
    }
    EXPECT_FALSE(ValueOptionList(9).Options.allocated());
    EXPECT_EQ(ValueOptionList(7).Options(0),
              (OptionRec{"Jalousie-/Rolloposition (0-255)", "Lamellenposition (0-255)", 3, 0, 0, 1}));

    // Push-button functions: function code, actuator, number of press actions.
    const std::uint8_t functionCodes[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 11, 11};
    const std::uint8_t actorCodes[] = {0, 10, 10, 11, 11, 11, 20, 20, 21, 21, 21, 40, 41, 42, 30, 100, 41, 42};
    const std::int32_t actionCounts[] = {0, 5, 2, 1, 2, 1, 5, 2, 1, 2, 1, 2, 1, 1, 6, 1, 2, 2};
    ASSERT_EQ(ButtonFunctionList.ubound(), 18);
    ASSERT_EQ(ButtonActionList.ubound(), 18);
    for (std::int32_t k = 0; k < 18; ++k) {
        EXPECT_EQ(ButtonFunctionList(k).FunctionCode, functionCodes[k]) << k;
        EXPECT_EQ(ButtonFunctionList(k).ActorCode, actorCodes[k]) << k;
        const ButtonActionRec& a = ButtonActionList(k);
        ASSERT_EQ(a.Actions.ubound(), actionCounts[k]) << k;
        for (std::int32_t j = 0; j < actionCounts[k]; ++j) EXPECT_EQ(a.Actions(j).Number, j + 1) << k;
        EXPECT_EQ(a.LedModes(a.LedModes.ubound()), 0) << k;  // the spare entry
    }
    EXPECT_EQ(ButtonActionList(14).Actions(1), (OptionRec{"Komfort", "", 0, 2, 2, 2}));
    EXPECT_EQ(ButtonActionList(2).Actions(0).Text, "Ein ");  // the string table's blank is kept
    EXPECT_EQ(std::vector<std::uint8_t>(ButtonActionList(12).LedModes.begin(), ButtonActionList(12).LedModes.end()),
              (std::vector<std::uint8_t>{0, 7, 8, 9, 0}));
}

TEST_F(Models, CommunicationObjectsAreNumberedZeroTo110OnceEach) {
    for (const auto& [name, define] : kModels) {
        SCOPED_TRACE(name);
        define();
        const std::map<std::int32_t, int> seen = objectNumbers();
        ASSERT_EQ(seen.size(), 111u);
        EXPECT_EQ(seen.begin()->first, 0);
        EXPECT_EQ(seen.rbegin()->first, 110);
        for (const auto& [number, count] : seen) EXPECT_EQ(count, 1) << number;
        EXPECT_EQ(LightingObjectList(9).Objects(3), (ObjectRec{39, "Rückmeldeobjekt (1 Bit)", 0x97}));
        EXPECT_EQ(SceneObjectList(7).Objects(0), (ObjectRec{97, "Nebenstellenbedienung", 0xFF}));
        EXPECT_EQ(DeviceObjectList(2), (ObjectRec{110, "Display-Beleuchtung", 0x9F}));
    }
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
                                      p.ObjKennungTemperatur, p.ObjKennungJalousie, p.ObjKennungSzene,
                                      p.ObjKennungTasten, p.ObjKennungMedung};
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
