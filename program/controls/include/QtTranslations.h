// Qt's own texts (the buttons of message boxes, the file dialogs) and the default locale (the
// month and day names of the file dialogs) in the program's language, from the qtbase
// translations that come with Qt.
#pragma once

#include <cstdint>

namespace corvane {

// Replaces the Qt translation in force by the one of the language offset and makes that
// language the default QLocale. The start-up calls it once, for the start-up language, which
// the message texts keep as well: a language chosen later takes effect at the next start. True
// when a translation was loaded; English, or a missing file, leaves Qt's English texts.
bool LoadQtTranslations(std::int16_t languageOffset);

}  // namespace corvane
