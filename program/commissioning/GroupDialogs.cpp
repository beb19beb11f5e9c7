#include "GroupDialogs.h"

#include "Forms.h"
#include "frmGrpAssign.h"
#include "frmGruppe.h"

namespace corvane {

void RegisterGroupDialogForms() {
    RegisterForm("frmGrpAssign", [](MainWindowServices& main) { return new frmGrpAssign(main); });
    RegisterForm("frmGruppe", [](MainWindowServices& main) { return new frmGruppe(main); });
}

}  // namespace corvane
