#include "GatewayModels.h"

#include "ModelTables.h"
#include "StringTable.h"

namespace corvane {

namespace {

// The limits of both models; only the number of push buttons differs.
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

void GatewayModelDefinition::Define(const corlink::TypMaxGrenzwerte& limits) {
    MaxLimits = limits;

    FunctionGroupList.redim(0, MaxLimits.MaxFunktionsGruppen);
    FunctionGroupList(0).Name = Text(100);
    for (std::int32_t i = 1; i <= 8; ++i) {
        FunctionGroupList(i).Name = Text(100 + i);
        FunctionGroupList(i).ID = static_cast<std::uint8_t>(i);
    }

    ActorTypeList.redim(0, 9);  // entry 9 stays empty
    for (std::int32_t i = 0; i < 9; ++i) {
        ActorTypeList(i) = {Text(kActorTypes[i].textId), kActorTypes[i].code, kActorTypes[i].kind};
    }

    DisplayModeList.redim(0, 9);
    for (std::int32_t i = 0; i <= 9; ++i) DisplayModeList(i) = {Text(130 + i), static_cast<std::uint8_t>(i)};

    CreateValueOptionList();
    CreateButtonFunctionList();
    CreateObjectList();
    CreateObjectNumberTables();
}

void ClsG517104::G517104V11() { Define(modelLimits(8)); }

void ClsG517204::G517204V11() { Define(modelLimits(18)); }

}  // namespace corvane
