// Fuzz target: any bytes as a gateway menu-language file of the program folder, read into the
// list of menu texts and composed into the items that load them into the gateway.
#include "MenuLanguage.h"
#include "automation_error.h"
#include "corbus/devices.h"
#include "corlink/GatewayHooks.h"
#include "fuzz_support.h"
#include "tables_test_access.h"

#include <climits>

using namespace corlink;
using Access = ListsAndTablesTestAccess;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setProgramFolder(corvane_fuzz::scratchFolder());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // One project for the run: nothing here changes it.
    static clsOrvekDali& p = *[] {
        static clsOrvekDali project;
        TypZeiten z = project.Zeiten();
        z.MenuSprache = "Fuzz";
        z.MenuSpracheID = 1;
        project.letZeiten(z);
        TypHeader h;
        h.phyAdr = 0x1101;
        project.letHeader(h);
        return &project;
    }();
    corvane_fuzz::writeBytes(corvane_fuzz::scratchFolder() / "Fuzz.m1", data, size);

    // A refused file leaves the caller's list as it was; a read one holds 16-bit numbers.
    SafeArray<TypMenuText> items(0, 0);
    items(0) = {1, 2, "kept"};
    try {
        Access::ReadLanguageFile(p, items);
        FUZZ_CHECK(items.allocated() && items.lbound() == 0);
        for (std::int32_t i = 0; i <= items.ubound(); ++i) {
            FUZZ_CHECK(items(i).Nr1 >= SHRT_MIN && items(i).Nr1 <= SHRT_MAX);
            FUZZ_CHECK(items(i).Nr2 >= SHRT_MIN && items(i).Nr2 <= SHRT_MAX);
        }
    } catch (const automation::AutomationError& e) {
        FUZZ_CHECK(e.number() == automation::errInputPastEnd || e.number() == automation::errTypeMismatch ||
                   e.number() == automation::errOverflow);
        FUZZ_CHECK(items.ubound() == 0 && items(0).Text == "kept");
    }

    corbus::brimDevice dev;
    try {
        Access::BuildLanguageItems(p, dev);
    } catch (const automation::AutomationError&) {
        // Reported to the caller; the items built before stay in the job.
    }
    return 0;
}
