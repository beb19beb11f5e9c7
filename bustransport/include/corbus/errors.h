// The errors the transport raises to its callers, each with its fixed source and description.
#pragma once

#include <cstdint>

namespace corbus {

// The source of the runtime errors (out of memory, overflow, ...) that the engine raises itself.
inline constexpr const char* kEngineSource = "brimEib.brimEib";

// Offsets added to vbBrimEibError.
enum class CorbusError : std::int32_t {
    PropItemsItem = 1,
    PropItemsRemove = 2,
    DevicesItem = 3,
    DevicesRemove = 4,
    TargetAddressType = 5,
    TargetAddressRange = 6,
    TargetAddressText = 7,
    RetriesRange = 8,
};

// Raises the error as an automation::AutomationError (number vbBrimEibError + offset).
[[noreturn]] void raiseCorbusError(CorbusError which);

// Raises error 88 with source and description "tbd" (item type out of range, control data that
// is no byte array).
[[noreturn]] void raiseTbd();

}  // namespace corbus
