// The group assignment and group test dialogs in the program's window registry.
#pragma once

namespace corvane {

// Registers frmGrpAssign (the project tree's group assignment node) and frmGruppe (its DALI
// group nodes) (Forms.h).
void RegisterGroupDialogForms();

}  // namespace corvane
