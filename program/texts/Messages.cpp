#include "Messages.h"

#include "ModDefinition.h"
#include "StringTable.h"
#include "automation_error.h"

#include <new>
#include <stdexcept>

namespace corvane {

namespace {

MessageBoxFn& box() {
    static MessageBoxFn b;
    return b;
}

ErrorLogFn& errorLog() {
    static ErrorLogFn log;
    return log;
}

// The source of the errors the program raises itself, and of those without a source.
const char* const kProgramSource = "Corvane";

std::string errorCodeText() { return MessageText(MessageTexts.MsgErrorCode, 907); }

// The message of the error convention, without the log.
void showError(const std::string& leadText, std::int32_t number) {
    ShowMessage(1, leadText + " " + std::to_string(number));
}

// Logs a raised error and shows it under the convention (leadText: text 907 when empty).
void report(const ErrorRecord& error, const std::string& leadText) {
    LogError(error);
    showError(leadText.empty() ? errorCodeText() : leadText, error.number);
}

}  // namespace

void SetMessageBox(MessageBoxFn b) { box() = std::move(b); }

std::int16_t ShowMessage(std::int32_t kind, const std::string& text, const std::string& title) {
    static const std::int32_t styles[5] = {styleOkCancelExclamation, styleOkExclamation, styleYesNoExclamation,
                                           styleOkInformation, styleYesNoCancelInformation};
    if (static_cast<std::uint32_t>(kind) > 4) return msgNone;
    const std::int32_t style = styles[kind];
    if (!box()) return (style & 0x0F) == 3 || (style & 0x0F) == 4 ? msgYes : msgOK;
    return static_cast<std::int16_t>(box()(style, text, title));
}

std::int16_t ShowMessage(std::int32_t kind, const std::string& text) {
    return ShowMessage(kind, text, MessageText(MessageTexts.MsgTitle, 990));
}

std::string MessageText(const std::string& loaded, std::int32_t id) {
    if (!loaded.empty()) return loaded;
    const std::int32_t entry = id + (IsLanguageOffset(LanguageOffset) ? LanguageOffset : kEnglish);
    return HasResString(entry) ? LoadResString(entry) : std::string();
}

std::int32_t ErrorNumber(const std::exception& e) {
    if (const auto* a = dynamic_cast<const automation::AutomationError*>(&e)) return a->number();
    if (dynamic_cast<const std::bad_alloc*>(&e)) return automation::errOutOfMemory;
    if (dynamic_cast<const std::out_of_range*>(&e)) return automation::errSubscript;
    return 51;
}

ErrorRecord ErrorOf(const std::exception& e) {
    if (const auto* a = dynamic_cast<const automation::AutomationError*>(&e)) {
        return {a->number(), a->source(), a->description()};
    }
    return {ErrorNumber(e), kProgramSource, e.what()};
}

void SetErrorLog(ErrorLogFn log) { errorLog() = std::move(log); }

void LogError(const ErrorRecord& error) noexcept {
    try {
        if (errorLog()) errorLog()(error);
    } catch (...) {
        // A log that fails takes nothing from the report.
    }
}

void ReportError(const std::string& leadText, std::int32_t number) {
    LogError({number, {}, {}});
    showError(leadText, number);
}

void ReportError(std::int32_t number) { ReportError(errorCodeText(), number); }

void ReportError(const std::exception& e, const std::string& leadText) { report(ErrorOf(e), leadText); }

bool Trap(const std::function<void()>& f, const std::string& leadText) {
    ErrorRecord error;
    try {
        f();
        return true;
    } catch (const std::exception& e) {
        error.number = ErrorNumber(e);
        try {
            error = ErrorOf(e);
        } catch (...) {
            // No room for the texts: the number alone is reported.
        }
    } catch (...) {
        error.number = 51;
        try {
            error.source = kProgramSource;
            error.description = "an exception of no known type";
        } catch (...) {
        }
    }
    try {
        report(error, leadText);
    } catch (...) {
        // The report itself failed (no box can be drawn): the program still goes on.
    }
    return false;
}

}  // namespace corvane
