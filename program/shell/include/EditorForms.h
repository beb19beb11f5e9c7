// The project editors of the main window: the group-address editor and the general settings page.
#pragma once

namespace corvane {

// Registers frmGrpAdr (a new instance per opening) and frmAllgemein in the window registry.
void RegisterEditorForms();

}  // namespace corvane
