#include "Commissioning.h"
#include "EditorForms.h"
#include "GroupDialogs.h"
#include "Program.h"
#include "frmPrint.h"
#include "SceneAndDeviceInfo.h"
#include "SmallDialogs.h"
#include "corlink/GatewayHooks.h"

#include <QCoreApplication>

int main(int argc, char** argv) {
    corvane::RegisterCommissioningForms();
    corvane::RegisterEditorForms();
    corvane::RegisterPrintout();
    corvane::RegisterSmallDialogs();
    corvane::RegisterGroupDialogForms();
    corvane::RegisterSceneAndDeviceInfoForms();
    // The windows keep working (repaint, timers) while a gateway operation transfers.
    corlink::setMessagePump([] { QCoreApplication::processEvents(); });
    return corvane::RunCorvane(argc, argv);
}
