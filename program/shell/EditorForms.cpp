#include "EditorForms.h"

#include "Forms.h"
#include "frmAllgemein.h"
#include "frmGrpAdr.h"

namespace corvane {

void RegisterEditorForms() {
    RegisterForm("frmGrpAdr", [](MainWindowServices& main) { return new frmGrpAdr(main); });
    RegisterForm("frmAllgemein", [](MainWindowServices& main) { return new frmAllgemein(main); });
}

}  // namespace corvane
