// For tests: the number of the automation error a call raises, 0 when it raises none.
#pragma once

#include "automation_error.h"

#include <cstdint>

namespace automation::testing {

template <typename F>
std::int32_t errorOf(F&& f) {
    try {
        f();
    } catch (const AutomationError& e) {
        return e.number();
    }
    return 0;
}

}  // namespace automation::testing
