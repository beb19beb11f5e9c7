#include "DeviceSelection.h"
#include "GatewayModels.h"
#include "Messages.h"
#include "ModDefinition.h"
#include "ModelTables.h"

#include <gtest/gtest.h>

#include <vector>

using namespace corvane;

namespace {

class Models : public ::testing::Test {
protected:
    void SetUp() override {
        LanguageOffset = 0;
        Model = ModelTables{};
        CreateDeviceTable();
        SetMessageBox([this](std::int32_t style, const std::string& text, const std::string& title) {
            messages.push_back({style, text, title});
            return 1;
        });
    }
    void TearDown() override {
        SetMessageBox({});
        LanguageOffset = kLanguageNotChosen;
    }
    struct Message {
        std::int32_t style;
        std::string text, title;
    };
    std::vector<Message> messages;
};

std::vector<std::string> actorTexts() {
    std::vector<std::string> t;
    for (const ActorTypeRec& a : ActorTypeList) t.push_back(a.Text);
    return t;
}

}  // namespace

TEST_F(Models, BothModelsBuildTheirLimitsAndListsInGerman) {
    ClsG517204().G517204V11();
    const corlink::TypMaxGrenzwerte& g = MaxLimits;
    const std::uint8_t limits204[16] = {16, 32, 64, 16, 10, 3, 2, 6, 8, 18, 10, 8, 18, 16, 126, 111};
    const std::uint8_t fields[16] = {g.MaxDaliScenes, g.MaxDaliScenesData, g.MaxDaligruppen, g.MaxDaliEinzelGruppen,
                                     g.MaxBeleuchtungsgruppen, g.MaxBelueftungsgruppen, g.MaxTemperaturgruppen,
                                     g.MaxJalousiegruppen, g.MaxSzenen, g.MaxTasten, g.MaxMeldegruppen,
                                     g.MaxFunktionsGruppen, g.MaxFunktionen, g.MaxCharGruppenBezeichnung,
                                     g.MaxAssoziation, g.MaxObjekte};
    for (int i = 0; i < 16; ++i) EXPECT_EQ(fields[i], limits204[i]) << "limit byte " << i;
    const ModelTables model204 = Model;

    ClsG517104().G517104V11();
    EXPECT_EQ(MaxLimits.MaxTasten, 8);
    corlink::TypMaxGrenzwerte only = MaxLimits;
    only.MaxTasten = 18;
    EXPECT_EQ(only, model204.MaxLimits);  // the models differ in MaxTasten alone

    ASSERT_EQ(FunctionGroupList.lbound(), 0);
    ASSERT_EQ(FunctionGroupList.ubound(), 8);
    EXPECT_EQ(FunctionGroupList(0), (corlink::TypFunktionsGruppen{"Dummy", 0}));
    EXPECT_EQ(FunctionGroupList(2), (corlink::TypFunktionsGruppen{"Belüftung", 2}));
    EXPECT_EQ(FunctionGroupList(8), (corlink::TypFunktionsGruppen{"Zeit-/Datum", 8}));

    ASSERT_EQ(ActorTypeList.ubound(), 9);
    EXPECT_EQ(actorTexts(), (std::vector<std::string>{"kein Aktor", "Schaltaktor", "Dimmaktor", "Schaltaktor",
                                                      "Dimmaktor", "ext. Fühler, ext. Regler",
                                                      "Beweg.u.Stop-Objekt (1Bit)", "8-bit Steuerung (Jalousie)",
                                                      "8-bit Steuerung (Rollo)", ""}));
    const std::uint8_t codes[10] = {0, 10, 11, 20, 21, 30, 40, 41, 42, 0};
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(ActorTypeList(i).ActorCode, codes[i]);
        EXPECT_EQ(ActorTypeList(i).GroupKind, codes[i] / 10);
    }

    ASSERT_EQ(DisplayModeList.ubound(), 9);
    EXPECT_EQ(DisplayModeList(0).Text, "keine Anzeige / Immer aus");
    EXPECT_EQ(DisplayModeList(9).Text, "abhängig vom Positionsobjekt");
    for (int i = 0; i <= 9; ++i) {
        EXPECT_EQ(DisplayModeList(i).Code, i);
        EXPECT_FALSE(DisplayModeList(i).Text.empty());
    }

    // Both models build the same lists, and building twice changes nothing.
    ModelTables once = Model;
    ClsG517104().G517104V11();
    EXPECT_EQ(Model, once);
    once.MaxLimits.MaxTasten = 18;
    once.PropertyObjectIds.ObjIDTasten = model204.PropertyObjectIds.ObjIDTasten;  // sized by MaxTasten
    EXPECT_EQ(once, model204);
}

TEST_F(Models, TablesKeepTheLanguageOfTheirBuildUntilTheNextSelection) {
    LanguageOffset = 1000;
    ASSERT_TRUE(SelectDeviceDefinition("517104", "11"));
    EXPECT_EQ(FunctionGroupList(0).Name, "dummy");
    EXPECT_EQ(FunctionGroupList(6).Name, "allocation of buttons");
    EXPECT_EQ(ActorTypeList(5).Text, "external sensor, external controller");
    EXPECT_EQ(ActorTypeList(6).Text, "move and stop-object (1bit)");
    EXPECT_EQ(DisplayModeList(1).Text, "depending on switching project");
    EXPECT_EQ(DisplayModeList(7).Text, "On after operation");

    LanguageOffset = 0;
    EXPECT_EQ(FunctionGroupList(0).Name, "dummy");
    ASSERT_TRUE(SelectDeviceDefinition("517204", "11"));
    EXPECT_EQ(FunctionGroupList(0).Name, "Dummy");

    // Every text of the tables exists in all five languages, and differs from the German one
    // where the word is not shared.
    for (std::int16_t offset : {2000, 3000, 4000}) {
        LanguageOffset = offset;
        ASSERT_TRUE(SelectDeviceDefinition("517104", "11")) << offset;
        EXPECT_NE(FunctionGroupList(1).Name, "Beleuchtung");
        EXPECT_NE(DisplayModeList(9).Text, "abhängig vom Positionsobjekt");
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(Models, SelectionPicksTheModelByOrderNumberAndFirmware) {
    ASSERT_TRUE(SelectDeviceDefinition("517204", "11"));
    EXPECT_EQ(MaxLimits.MaxTasten, 18);
    ASSERT_TRUE(SelectDeviceDefinition("517104", "11"));
    EXPECT_EQ(MaxLimits.MaxTasten, 8);
    for (const char* other : {"305719", "0", ""}) {
        ASSERT_TRUE(SelectDeviceDefinition("517204", "11"));
        EXPECT_TRUE(SelectDeviceDefinition(other, other == std::string("305719") ? "1.3" : other));
        EXPECT_EQ(MaxLimits.MaxTasten, 8) << other;
    }
    EXPECT_TRUE(messages.empty());

    // A known model with an unknown firmware loads nothing.
    const ModelTables before = Model;
    EXPECT_FALSE(SelectDeviceDefinition("517204", "12"));
    EXPECT_FALSE(SelectDeviceDefinition("517104", "1.3"));
    EXPECT_EQ(Model, before);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].style, 48);
    EXPECT_EQ(messages[0].text, "Ein Gerät mit dieser Firmwareversion ist unbekannt, bitte wenden Sie sich an den Hersteller!");
    EXPECT_EQ(messages[0].title, "Hinweis");
}

TEST_F(Models, ADefinitionThatFailsPartWayLeavesThePreviousModelInForce) {
    ASSERT_TRUE(SelectDeviceDefinition("517204", "11"));
    const ModelTables before = Model;
    LanguageOffset = 32700;  // id + offset overflows 16 bits: the first text fails with error 6
    EXPECT_FALSE(SelectDeviceDefinition("517104", "11"));
    EXPECT_EQ(Model, before);
    EXPECT_EQ(MaxLimits.MaxTasten, 18);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].style, 48);
    EXPECT_TRUE(messages[0].text.ends_with(" 6")) << messages[0].text;  // the error message

    // Without the table of known models no model is loaded either.
    LanguageOffset = 0;
    DeviceTable.erase();
    EXPECT_FALSE(SelectDeviceDefinition("517104", "11"));
    EXPECT_EQ(Model, before);
}

TEST_F(Models, ActorTypeTextsAreLookedUpByCode) {
    ASSERT_TRUE(SelectDeviceDefinition("517104", "11"));
    EXPECT_EQ(GetActorTypeText(0), "kein Aktor");  // the first of the entries carrying 0
    EXPECT_EQ(GetActorTypeText(21), "Dimmaktor");
    EXPECT_EQ(GetActorTypeText(42), "8-bit Steuerung (Rollo)");
    EXPECT_EQ(GetActorTypeText(12), "");
    ActorTypeList(9).ActorCode = 99;  // the end entry is not searched
    EXPECT_EQ(GetActorTypeText(99), "");
    EXPECT_TRUE(messages.empty());

    ActorTypeList.erase();
    EXPECT_EQ(GetActorTypeText(0), "");
    EXPECT_EQ(messages.size(), 1u);  // the error message
}
