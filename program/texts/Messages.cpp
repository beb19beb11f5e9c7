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

std::string MessageText(const std::string& loaded, std::int32_t id) {
    if (!loaded.empty()) return loaded;
    const std::int32_t entry = id + (IsLanguageOffset(LanguageOffset) ? LanguageOffset : kEnglish);
    return HasResString(entry) ? LoadResString(entry) : std::string();
}

void ReportError(const std::string& leadText, std::int32_t number) {
    ShowMessage(1, leadText + " " + std::to_string(number), MessageText(MessageTexts.MsgTitle, 990));
}

void ReportError(std::int32_t number) { ReportError(MessageText(MessageTexts.MsgErrorCode, 907), number); }

std::int32_t ErrorNumber(const std::exception& e) {
    if (const auto* a = dynamic_cast<const automation::AutomationError*>(&e)) return a->number();
    if (dynamic_cast<const std::bad_alloc*>(&e)) return 7;
    if (dynamic_cast<const std::out_of_range*>(&e)) return automation::errSubscript;
    return 51;
}

bool Trap(const std::function<void()>& f, const std::string& leadText) {
    std::int32_t number = 0;
    try {
        f();
        return true;
    } catch (const std::exception& e) {
        number = ErrorNumber(e);
    } catch (...) {
        number = 51;
    }
    try {
        if (leadText.empty()) {
            ReportError(number);
        } else {
            ReportError(leadText, number);
        }
    } catch (...) {
        // The report itself failed (no box can be drawn): the program still goes on.
    }
    return false;
}

}  // namespace corvane
