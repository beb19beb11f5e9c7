// Small helpers shared by the Corbus tests.
#pragma once

#include "automation_error.h"

#include <cstdint>
#include <string>

namespace corbus_test {

struct Caught {
    std::int32_t number = 0;  // 0: nothing raised
    std::string source;
    std::string description;
};

template <typename F>
Caught caught(F&& f) {
    try {
        f();
    } catch (const automation::AutomationError& e) {
        return {e.number(), e.source(), e.description()};
    }
    return {};
}

}  // namespace corbus_test
