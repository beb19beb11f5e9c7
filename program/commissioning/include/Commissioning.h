// The commissioning dialogs in the program's window registry.
#pragma once

namespace corvane {

// Registers frmNeuinstallation, frmNachinstallation, frmEVGAssign, frmDownload and frmUpload
// (Forms.h), which the project tree and the menus open by name.
void RegisterCommissioningForms();

}  // namespace corvane
