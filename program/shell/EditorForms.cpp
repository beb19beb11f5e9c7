#include "EditorForms.h"

#include "Forms.h"
#include "frmAllgemein.h"
#include "frmGrpAdr.h"

namespace corvane {

void RegisterEditorForms() {
    RegisterForm("frmGrpAdr", [] { return new frmGrpAdr; });
    RegisterForm("frmAllgemein", [] { return new frmAllgemein; });
}

}  // namespace corvane
