// The one message routine of the program and the error convention.
#pragma once

#include <cstdint>
#include <exception>
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
// The same under the title every message of the program has: MsgTitle (text 990).
std::int16_t ShowMessage(std::int32_t kind, const std::string& text);

// A message text loaded at start-up (MessageTexts), or, before the start-up has loaded it,
// text id fetched now (in English while no language is chosen); "" when the table lacks it.
std::string MessageText(const std::string& loaded, std::int32_t id);

// An error as it is logged: its number, the source that raised it and its description.
struct ErrorRecord {
    std::int32_t number = 0;
    std::string source;
    std::string description;
};

// The error number of an exception: an automation error keeps its number; out of memory
// is 7, an index out of range 9, anything else 51 (internal error).
std::int32_t ErrorNumber(const std::exception& e);
// The whole record: an automation error keeps its source and description; any other exception
// has the source "Corvane" and its own text as description.
ErrorRecord ErrorOf(const std::exception& e);

// The log that every reported error also goes to, so that a message's number can be traced
// afterwards. The program installs one at start-up; without one nothing is logged.
using ErrorLogFn = std::function<void(const ErrorRecord& error)>;
void SetErrorLog(ErrorLogFn log);
// Logs an error without showing anything (a report that shows a message of its own). A log
// that fails is passed over.
void LogError(const ErrorRecord& error) noexcept;

// Error convention of every procedure that traps errors: message kind 1 with text 907
// (or the given lead text), one blank and the decimal error number, under the title text 990.
// Each report is logged as well: a raised error with its source and description, a bare
// number without.
void ReportError(std::int32_t number);
void ReportError(const std::string& leadText, std::int32_t number);
void ReportError(const std::exception& e, const std::string& leadText = {});

// Runs f and reports any error it raises with the error convention (leadText: text 907 when
// empty). Returns true when f ran to its end. Nothing escapes: no error ends the program.
bool Trap(const std::function<void()>& f, const std::string& leadText = {});

}  // namespace corvane
