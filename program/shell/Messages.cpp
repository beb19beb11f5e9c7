#include "Messages.h"

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

}  // namespace corvane
