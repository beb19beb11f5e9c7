#include "GroupDialogs.h"

#include "Forms.h"
#include "frmGrpAssign.h"
#include "frmGruppe.h"

namespace corvane {

void RegisterGroupDialogForms() {
    RegisterForm("frmGrpAssign", [](MainWindowServices& main) { return new frmGrpAssign(main); });
    RegisterSubjectForm("frmGruppe", [](MainWindowServices& main, const std::optional<FormSubject>& node) {
        return new frmGruppe(main, node);
    });
}

}  // namespace corvane
