#include "Commissioning.h"

#include "Forms.h"
#include "frmDeviceInfo.h"
#include "frmEVGAssign.h"
#include "frmGrpAssign.h"
#include "frmGruppe.h"
#include "frmInstallation.h"
#include "frmScene.h"
#include "frmTransfer.h"

namespace corvane {

void RegisterCommissioningForms() {
    RegisterForm("frmNeuinstallation", [](MainWindowServices& main) { return new frmNeuinstallation(main); });
    RegisterForm("frmNachinstallation", [](MainWindowServices& main) { return new frmNachinstallation(main); });
    RegisterForm("frmEVGAssign", [](MainWindowServices& main) { return new frmEVGAssign(main); });
    RegisterForm("frmDownload", [](MainWindowServices& main) { return new frmDownload(main); });
    RegisterForm("frmUpload", [](MainWindowServices& main) { return new frmUpload(main); });
    RegisterForm("frmGrpAssign", [](MainWindowServices& main) { return new frmGrpAssign(main); });
    RegisterSubjectForm("frmGruppe", [](MainWindowServices& main, const std::optional<FormSubject>& node) {
        return new frmGruppe(main, node);
    });
    RegisterSubjectForm("frmScene", [](MainWindowServices& main, const std::optional<FormSubject>& node) {
        return new frmScene(main, node);
    });
    RegisterForm("frmDeviceInfo", [](MainWindowServices& main) { return new frmDeviceInfo(main); });
}

}  // namespace corvane
