// The one message routine of the program and the error convention.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace corvane {

// Box results.
enum MessageResult : std::int16_t { msgNone = 0, msgOK = 1, msgCancel = 2, msgYes = 6, msgNo = 7 };

// Platform style values of the five message kinds (buttons + icon).
enum MessageStyle : std::int32_t {
    styleOkCancelExclamation = 49,     // kind 0
    styleOkExclamation = 48,           // kind 1
    styleYesNoExclamation = 52,        // kind 2
    styleOkInformation = 64,           // kind 3
    styleYesNoCancelInformation = 67,  // kind 4
};

// Draws one modal box and returns the button that closed it. The program installs a real
// message box; tests install a scripted one.
using MessageBoxFn = std::function<std::int32_t(std::int32_t style, const std::string& text, const std::string& title)>;
void SetMessageBox(MessageBoxFn box);

// Shows a box of the given kind (0..4; any other kind shows nothing and returns 0).
// Without an installed box the default button answers (OK, or Yes).
std::int16_t ShowMessage(std::int32_t kind, const std::string& text, const std::string& title);

}  // namespace corvane
