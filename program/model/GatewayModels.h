// The definitions of the two gateway models. Each class's operation rebuilds every model table
// (ModelTables.h) for its model, with the texts of the language in force: the shared tables, or
// a set of tables of the caller's. The two models build the same tables and differ only in
// MaxTasten (517204: 18, 517104: 8). A missing text raises its error to the caller, with the
// tables built up to that point.
#pragma once

#include "corlink/Records.h"

namespace corvane {

struct ModelTables;

// The largest of each limit that a model sets.
corlink::TypMaxGrenzwerte LargestModelLimits();

class GatewayModelDefinition {
protected:
    // Rebuilds every table of `into` for a model with these limits.
    static void Define(const corlink::TypMaxGrenzwerte& limits, ModelTables& into);

private:
    // The larger tables, each built from the limits and ActorTypeList, in this order
    // (OptionLists.cpp: value options, push-button functions; ObjectLists.cpp: communication
    // objects, interface-object ids).
    static void CreateValueOptionList(ModelTables& m);
    static void CreateButtonFunctionList(ModelTables& m);
    static void CreateObjectList(ModelTables& m);
    static void CreateObjectNumberTables(ModelTables& m);
};

class ClsG517104 : private GatewayModelDefinition {
public:
    void G517104V11();
    void G517104V11(ModelTables& into);
};

class ClsG517204 : private GatewayModelDefinition {
public:
    void G517204V11();
    void G517204V11(ModelTables& into);
};

}  // namespace corvane
