// Helpers shared by the Corlink tests.
#pragma once

#include "automation_error.h"
#include "corlink/clsOrvekDali.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace corlink::test {

// The limits of the gateway models (517104; 517204 differs in MaxTasten alone).
inline TypMaxGrenzwerte gatewayLimits() {
    TypMaxGrenzwerte g;
    g.MaxDaliScenes = 16;
    g.MaxDaliScenesData = 32;
    g.MaxDaligruppen = 64;
    g.MaxDaliEinzelGruppen = 16;
    g.MaxBeleuchtungsgruppen = 10;
    g.MaxBelueftungsgruppen = 3;
    g.MaxTemperaturgruppen = 2;
    g.MaxJalousiegruppen = 6;
    g.MaxSzenen = 8;
    g.MaxTasten = 8;
    g.MaxMeldegruppen = 10;
    g.MaxFunktionsGruppen = 8;
    g.MaxFunktionen = 18;
    g.MaxCharGruppenBezeichnung = 16;
    g.MaxAssoziation = 126;
    g.MaxObjekte = 111;
    return g;
}

inline void size(clsOrvekDali& p, const TypMaxGrenzwerte& g = gatewayLimits()) {
    p.IniInterface(g, SafeArray<TypFunktionsGruppen>(0, g.MaxFunktionsGruppen), TypPropertyObjID{});
}

// The number of the automation error that f raises, or 0 when it raises none.
inline std::int32_t errorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const automation::AutomationError& e) {
        return e.number();
    }
    return 0;
}

// Records every event.
struct EventLog : clsOrvekDaliEvents {
    int headerChanged = 0;
    std::vector<std::int16_t> interfaceErrors;
    void HeaderChanged() override { ++headerChanged; }
    void InterfaceError(std::int16_t code) override { interfaceErrors.push_back(code); }
};

}  // namespace corlink::test
