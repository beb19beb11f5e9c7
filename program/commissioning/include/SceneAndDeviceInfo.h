// The scene programming and device information dialogs in the program's window registry.
#pragma once

namespace corvane {

// Registers frmScene (opened by the project tree's scene nodes) and frmDeviceInfo (Forms.h).
void RegisterSceneAndDeviceInfoForms();

}  // namespace corvane
