#include "Registration.h"

#include "Commissioning.h"
#include "EditorForms.h"
#include "SmallDialogs.h"
#include "corlink/GatewayHooks.h"
#include "frmPrint.h"

#include <QCoreApplication>

namespace corvane {

void RegisterProgramModules() {
    RegisterCommissioningForms();
    RegisterEditorForms();
    RegisterPrintout();
    RegisterSmallDialogs();
    // The windows keep working (repaint, timers) while a gateway operation transfers.
    corlink::setMessagePump([] { QCoreApplication::processEvents(); });
}

}  // namespace corvane
