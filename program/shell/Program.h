// The program: the application object, the message box, and the splash window that starts it.
#pragma once

namespace corvane {

int RunCorvane(int argc, char** argv);

}  // namespace corvane
