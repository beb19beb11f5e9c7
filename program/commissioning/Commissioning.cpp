#include "Commissioning.h"

#include "Forms.h"
#include "frmEVGAssign.h"
#include "frmInstallation.h"
#include "frmTransfer.h"

namespace corvane {

void RegisterCommissioningForms() {
    RegisterForm("frmNeuinstallation", [] { return new frmNeuinstallation; });
    RegisterForm("frmNachinstallation", [] { return new frmNachinstallation; });
    RegisterForm("frmEVGAssign", [] { return new frmEVGAssign; });
    RegisterForm("frmDownload", [] { return new frmDownload; });
    RegisterForm("frmUpload", [] { return new frmUpload; });
}

}  // namespace corvane
