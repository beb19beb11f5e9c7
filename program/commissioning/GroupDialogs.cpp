#include "GroupDialogs.h"

#include "Forms.h"
#include "frmGrpAssign.h"
#include "frmGruppe.h"

namespace corvane {

void RegisterGroupDialogForms() {
    RegisterForm("frmGrpAssign", [] { return new frmGrpAssign; });
    RegisterForm("frmGruppe", [] { return new frmGruppe; });
}

}  // namespace corvane
