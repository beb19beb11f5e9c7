// The program's message box: a modal QMessageBox with the buttons and icon of the style value.
#pragma once

#include <cstdint>
#include <string>

namespace corvane {

// Shows the box and returns the button that closed it: 1 OK, 2 Cancel, 6 Yes, 7 No.
// The style's low bits give the buttons (0 OK, 1 OK/Cancel, 3 Yes/No/Cancel, 4 Yes/No), the
// bits 16..64 the icon (48 exclamation mark, 64 information mark).
std::int32_t RunMessageBox(std::int32_t style, const std::string& text, const std::string& title);

// Routes ShowMessage to RunMessageBox.
void InstallMessageBox();

}  // namespace corvane
