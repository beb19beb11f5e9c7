#include "EditorForms.h"

#include "Forms.h"
#include "frmAllgemein.h"
#include "frmGrpAdr.h"

namespace corvane {

void RegisterEditorForms() {
    RegisterSubjectForm("frmGrpAdr", [](MainWindowServices& main, const std::optional<FormSubject>& node) {
        return new frmGrpAdr(main, node);
    });
    RegisterForm("frmAllgemein", [](MainWindowServices& main) { return new frmAllgemein(main); });
}

}  // namespace corvane
