// The gateway models' limits, for the Corlink tests and the fuzz targets (no test framework).
#pragma once

#include "corlink/clsOrvekDali.h"

namespace corlink::test {

// The limits of the gateway models in field order (517204 differs in MaxTasten alone).
inline TypMaxGrenzwerte gatewayLimits() { return {16, 32, 64, 16, 10, 3, 2, 6, 8, 8, 10, 8, 18, 16, 126, 111}; }

inline void size(clsOrvekDali& p, const TypMaxGrenzwerte& g = gatewayLimits()) {
    p.IniInterface(g, SafeArray<TypFunktionsGruppen>(0, g.MaxFunktionsGruppen), TypPropertyObjID{});
}

}  // namespace corlink::test
