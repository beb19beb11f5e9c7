#include "Commissioning.h"

#include "Forms.h"
#include "frmEVGAssign.h"
#include "frmInstallation.h"
#include "frmTransfer.h"

namespace corvane {

void RegisterCommissioningForms() {
    RegisterForm("frmNeuinstallation", [](MainWindowServices& main) { return new frmNeuinstallation(main); });
    RegisterForm("frmNachinstallation", [](MainWindowServices& main) { return new frmNachinstallation(main); });
    RegisterForm("frmEVGAssign", [](MainWindowServices& main) { return new frmEVGAssign(main); });
    RegisterForm("frmDownload", [](MainWindowServices& main) { return new frmDownload(main); });
    RegisterForm("frmUpload", [](MainWindowServices& main) { return new frmUpload(main); });
}

}  // namespace corvane
