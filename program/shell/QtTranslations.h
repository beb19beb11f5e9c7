// Qt's own texts (the buttons of message boxes, the file dialogs) in the program's language,
// from the qtbase translations that come with Qt.
#pragma once

#include <cstdint>

namespace corvane {

// Replaces the Qt translation in force by the one of the language offset. True when a
// translation was loaded; English, or a missing file, leaves Qt's English texts.
bool LoadQtTranslations(std::int16_t languageOffset);

}  // namespace corvane
