#include "ModelTables.h"

namespace corvane {

ModelTables Model;
corlink::TypMaxGrenzwerte& MaxLimits = Model.MaxLimits;
SafeArray<corlink::TypFunktionsGruppen>& FunctionGroupList = Model.FunctionGroupList;
SafeArray<ActorTypeRec>& ActorTypeList = Model.ActorTypeList;
SafeArray<DisplayModeRec>& DisplayModeList = Model.DisplayModeList;
SafeArray<ValueOptionRec>& ValueOptionList = Model.ValueOptionList;
SafeArray<ButtonFunctionRec>& ButtonFunctionList = Model.ButtonFunctionList;
SafeArray<ButtonActionRec>& ButtonActionList = Model.ButtonActionList;
SafeArray<ObjectGroupRec>& LightingObjectList = Model.LightingObjectList;
SafeArray<ObjectGroupRec>& VentilationObjectList = Model.VentilationObjectList;
SafeArray<ObjectGroupRec>& TemperatureObjectList = Model.TemperatureObjectList;
SafeArray<ObjectGroupRec>& BlindObjectList = Model.BlindObjectList;
SafeArray<ObjectGroupRec>& SceneObjectList = Model.SceneObjectList;
SafeArray<ObjectGroupRec>& MessageObjectList = Model.MessageObjectList;
SafeArray<ObjectRec>& DeviceObjectList = Model.DeviceObjectList;
corlink::TypPropertyObjID& PropertyObjectIds = Model.PropertyObjectIds;

}  // namespace corvane
