#include "GatewayModels.h"

#include "ModelTables.h"
#include "StringTable.h"

#include <algorithm>

namespace corvane {

namespace {

// The limits of both models; only the number of push buttons differs.
constexpr std::uint8_t kTasten517104 = 8;
constexpr std::uint8_t kTasten517204 = 18;

corlink::TypMaxGrenzwerte modelLimits(std::uint8_t maxTasten) {
    corlink::TypMaxGrenzwerte g;
    g.MaxDaligruppen = 64;
    g.MaxDaliScenes = 16;
    g.MaxDaliScenesData = 32;
    g.MaxDaliEinzelGruppen = 16;
    g.MaxFunktionsGruppen = 8;
    g.MaxFunktionen = 18;
    g.MaxBeleuchtungsgruppen = 10;
    g.MaxBelueftungsgruppen = 3;
    g.MaxJalousiegruppen = 6;
    g.MaxTemperaturgruppen = 2;
    g.MaxMeldegruppen = 10;
    g.MaxSzenen = 8;
    g.MaxTasten = maxTasten;
    g.MaxCharGruppenBezeichnung = 16;
    g.MaxAssoziation = 126;
    g.MaxObjekte = 111;
    return g;
}

// Actuator types 0..8: text id, code, group kind (the code's tens digit). There is no text 115.
struct ActorType {
    std::int32_t textId;
    std::uint8_t code;
    std::uint8_t kind;
};
constexpr ActorType kActorTypes[] = {
    {109, 0, 0},  {110, 10, 1}, {111, 11, 1}, {112, 20, 2}, {113, 21, 2},
    {114, 30, 3}, {116, 40, 4}, {117, 41, 4}, {118, 42, 4},
};

}  // namespace

corlink::TypMaxGrenzwerte LargestModelLimits() { return modelLimits(std::max(kTasten517104, kTasten517204)); }

void GatewayModelDefinition::Define(const corlink::TypMaxGrenzwerte& limits, ModelTables& m) {
    m.MaxLimits = limits;

    m.FunctionGroupList.redim(0, m.MaxLimits.MaxFunktionsGruppen);
    m.FunctionGroupList(0).Name = Text(100);
    for (std::int32_t i = 1; i <= 8; ++i) {
        m.FunctionGroupList(i).Name = Text(100 + i);
        m.FunctionGroupList(i).ID = static_cast<std::uint8_t>(i);
    }

    m.ActorTypeList.redim(0, 9);  // entry 9 stays empty
    for (std::int32_t i = 0; i < 9; ++i) {
        m.ActorTypeList(i) = {Text(kActorTypes[i].textId), kActorTypes[i].code, kActorTypes[i].kind};
    }

    m.DisplayModeList.redim(0, 9);
    for (std::int32_t i = 0; i <= 9; ++i) m.DisplayModeList(i) = {Text(130 + i), static_cast<std::uint8_t>(i)};

    CreateValueOptionList(m);
    CreateButtonFunctionList(m);
    CreateObjectList(m);
    CreateObjectNumberTables(m);
}

void ClsG517104::G517104V11() { G517104V11(Model); }
void ClsG517104::G517104V11(ModelTables& into) { Define(modelLimits(kTasten517104), into); }

void ClsG517204::G517204V11() { G517204V11(Model); }
void ClsG517204::G517204V11(ModelTables& into) { Define(modelLimits(kTasten517204), into); }

}  // namespace corvane
