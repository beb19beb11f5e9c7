#include "corbus/errors.h"

#include "automation_error.h"
#include "corbus/enums.h"

namespace corbus {

void raiseCorbusError(CorbusError which) {
    struct Entry {
        const char* source;
        const char* description;
    };
    static constexpr Entry kTable[] = {
        {"brimEib.brimPropItems.Item", "Item: Index out of range"},
        {"brimEib.brimPropItems.Remove", "Remove: Index out of range"},
        {"brimEib.brimDevices.Item", "Item: Index out of range"},
        {"brimEib.brimDevices.Remove", "Remove: Index out of range"},
        {"brimEib.brimDevice.TargetAddress", "TargetAddress: Must be Sring or Int-Type"},
        {"brimEib.brimDevice.TargetAddress", "TargetAddress: Must be >0 and <= 65535"},
        {"brimEib.brimDevice.TargetAddress",
         "TargetAddress: Text Form of Physical Address must be xx.xx.xx and not 0.0.0"},
        {"brimEib.brimEib.Retries", "Retries: Must be between 0 and 10"},
    };
    const auto offset = static_cast<std::int32_t>(which);
    const Entry& e = kTable[offset - 1];
    automation::raise(vbBrimEibError + offset, e.source, e.description);
}

void raiseTbd() { automation::raise(automation::errTbd, "tbd", "tbd"); }

}  // namespace corbus
