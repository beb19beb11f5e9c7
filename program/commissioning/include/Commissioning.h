// The commissioning dialogs in the program's window registry.
#pragma once

namespace corvane {

// Registers every commissioning dialog (Forms.h), which the project tree and the menus open by
// name: frmNeuinstallation, frmNachinstallation, frmEVGAssign, frmDownload and frmUpload;
// frmGrpAssign (the tree's group assignment node) and frmGruppe (its DALI group nodes);
// frmScene (its scene nodes) and frmDeviceInfo.
void RegisterCommissioningForms();

}  // namespace corvane
