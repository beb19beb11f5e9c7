// The program: the application object, the message box, and the splash window that starts it.
#pragma once

namespace corvane {

class frmStart;

// The application-wide set-up that precedes the first window: name, icon, message box, error
// log and the driver's connection dialog. Needs the QApplication.
void PrepareApplication();

// Shows the splash window; its first timer tick starts the main window. It deletes itself when
// it closes.
frmStart* ShowSplash();

int RunCorvane(int argc, char** argv);

}  // namespace corvane
