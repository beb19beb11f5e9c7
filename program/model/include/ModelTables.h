// The shared gateway model tables: built from constants by the model definition of the chosen
// gateway model (GatewayModels.h), read by the windows and the printout, and handed in part to
// the project object (MaxLimits, FunctionGroupList, PropertyObjectIds). All arrays index from 0
// and include their upper bound. Texts are in the language in force when the model was chosen.
#pragma once

#include "corlink/Records.h"

#include <cstdint>
#include <string>

namespace corvane {

using corlink::SafeArray;

// One actuator type; ActorCode is what a group's AktorTyp holds, its tens digit the GroupKind.
struct ActorTypeRec {
    std::string Text;
    std::uint8_t ActorCode = 0;
    std::uint8_t GroupKind = 0;
    bool operator==(const ActorTypeRec&) const = default;
};

// One display mode of a push button's LED; Code equals the entry's index.
struct DisplayModeRec {
    std::string Text;
    std::uint8_t Code = 0;
    bool operator==(const DisplayModeRec&) const = default;
};

// One value option of an actuator type, or one press action of a push-button function.
struct OptionRec {
    std::string Text;
    std::string Text2;
    std::int32_t Kind = 0;
    std::uint8_t Value = 0;
    std::uint8_t Flag = 0;
    std::int16_t Number = 0;
    bool operator==(const OptionRec&) const = default;
};

struct ValueOptionRec {
    SafeArray<OptionRec> Options;
    std::uint8_t ActorCode = 0;
    bool operator==(const ValueOptionRec&) const = default;
};

struct ButtonFunctionRec {
    std::string Text;
    std::uint8_t FunctionCode = 0;
    std::uint8_t ActorCode = 0;
    bool operator==(const ButtonFunctionRec&) const = default;
};

struct ButtonActionRec {
    SafeArray<OptionRec> Actions;
    SafeArray<std::uint8_t> LedModes;
    std::uint8_t AuxByte1 = 0;
    std::uint8_t AuxByte2 = 0;
    bool operator==(const ButtonActionRec&) const = default;
};

// One communication object: its number in the gateway, its name and its default flags.
struct ObjectRec {
    std::int16_t ObjectNumber = 0;
    std::string Name;
    std::uint8_t Flags = 0;
    bool operator==(const ObjectRec&) const = default;
};

struct ObjectGroupRec {
    SafeArray<ObjectRec> Objects;
    bool operator==(const ObjectGroupRec&) const = default;
};

// All tables of one model, so that a selection can be undone as a whole.
struct ModelTables {
    corlink::TypMaxGrenzwerte MaxLimits;
    SafeArray<corlink::TypFunktionsGruppen> FunctionGroupList;  // 0..MaxFunktionsGruppen
    SafeArray<ActorTypeRec> ActorTypeList;                      // 0..9, entry 9 an empty end entry
    SafeArray<DisplayModeRec> DisplayModeList;                  // 0..9
    SafeArray<ValueOptionRec> ValueOptionList;                  // one row per actuator type
    SafeArray<ButtonFunctionRec> ButtonFunctionList;            // 0..MaxFunktionen
    SafeArray<ButtonActionRec> ButtonActionList;                // 0..MaxFunktionen
    SafeArray<ObjectGroupRec> LightingObjectList;               // per group, 0..group limit
    SafeArray<ObjectGroupRec> VentilationObjectList;
    SafeArray<ObjectGroupRec> TemperatureObjectList;
    SafeArray<ObjectGroupRec> BlindObjectList;
    SafeArray<ObjectGroupRec> SceneObjectList;
    SafeArray<ObjectGroupRec> MessageObjectList;
    SafeArray<ObjectRec> DeviceObjectList;  // 0..3: time, date, display lighting
    corlink::TypPropertyObjID PropertyObjectIds;
    bool operator==(const ModelTables&) const = default;
};

// The tables in force, and each table by its own name.
extern ModelTables Model;
extern corlink::TypMaxGrenzwerte& MaxLimits;
extern SafeArray<corlink::TypFunktionsGruppen>& FunctionGroupList;
extern SafeArray<ActorTypeRec>& ActorTypeList;
extern SafeArray<DisplayModeRec>& DisplayModeList;
extern SafeArray<ValueOptionRec>& ValueOptionList;
extern SafeArray<ButtonFunctionRec>& ButtonFunctionList;
extern SafeArray<ButtonActionRec>& ButtonActionList;
extern SafeArray<ObjectGroupRec>& LightingObjectList;
extern SafeArray<ObjectGroupRec>& VentilationObjectList;
extern SafeArray<ObjectGroupRec>& TemperatureObjectList;
extern SafeArray<ObjectGroupRec>& BlindObjectList;
extern SafeArray<ObjectGroupRec>& SceneObjectList;
extern SafeArray<ObjectGroupRec>& MessageObjectList;
extern SafeArray<ObjectRec>& DeviceObjectList;
extern corlink::TypPropertyObjID& PropertyObjectIds;

}  // namespace corvane
