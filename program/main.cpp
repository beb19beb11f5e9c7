#include "Commissioning.h"
#include "Program.h"
#include "corlink/GatewayHooks.h"

#include <QCoreApplication>

int main(int argc, char** argv) {
    corvane::RegisterCommissioningForms();
    // The windows keep working (repaint, timers) while a gateway operation transfers.
    corlink::setMessagePump([] { QCoreApplication::processEvents(); });
    return corvane::RunCorvane(argc, argv);
}
