// The definitions of the two gateway models. Each class's one operation rebuilds every shared
// model table (ModelTables.h) for its model, with the texts of the language in force. The two
// models build the same tables and differ only in MaxTasten (517204: 18, 517104: 8).
// A missing text raises its error to the caller, with the tables built up to that point.
#pragma once

#include "corlink/Records.h"

namespace corvane {

class GatewayModelDefinition {
protected:
    // Rebuilds every table for a model with these limits.
    static void Define(const corlink::TypMaxGrenzwerte& limits);

private:
    // The larger tables, each built from the limits and ActorTypeList, in this order
    // (OptionLists.cpp: value options, push-button functions; ObjectLists.cpp: communication
    // objects, interface-object ids).
    static void CreateValueOptionList();
    static void CreateButtonFunctionList();
    static void CreateObjectList();
    static void CreateObjectNumberTables();
};

class ClsG517104 : private GatewayModelDefinition {
public:
    void G517104V11();
};

class ClsG517204 : private GatewayModelDefinition {
public:
    void G517204V11();
};

}  // namespace corvane
