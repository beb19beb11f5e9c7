// The five languages of the program, in one list that everything language-bound reads: the
// language table of the menu's language dialog, the string table's blocks and columns, Qt's
// own texts and locale, and the first-start dialog's options.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace corvane {

struct Language {
    std::int16_t Offset;        // the language's block of the string table: text n is entry n + Offset
    const char* Name;           // its name in LanguageTable
    int Column;                 // its column in strings.tsv (column 0 holds the id)
    const char* Locale;         // the default QLocale's name (sizes and dates of the file lists)
    const char* QtTranslation;  // Qt's qtbase translation; "" for English, Qt's own language
    int StartOption;            // its option button OptionSprache(i) in the first-start dialog
    const char* StartCaption;   // that option's caption
};

// In the order of LanguageTable.
inline constexpr std::array<Language, 5> kLanguages = {{
    {0, "German", 1, "de_DE", "qtbase_de", 1, "deutsch"},
    {1000, "English", 2, "en_US", "", 0, "english"},
    {2000, "Italian", 3, "it_IT", "qtbase_it", 2, "italiano"},
    {3000, "Spanish", 4, "es_ES", "qtbase_es", 3, "español"},
    {4000, "French", 5, "fr_FR", "qtbase_fr", 4, "français"},
}};

// The offset of the language named `name` in the list; a name not in the list does not compile.
consteval std::int16_t OffsetOfLanguage(std::string_view name) {
    for (const Language& language : kLanguages) {
        if (language.Name == name) return language.Offset;
    }
    throw "no language of that name";
}

// The language of an offset, or nullptr when the offset selects none.
const Language* LanguageOf(std::int32_t offset);

// The language of the first-start dialog's option button i (0 .. kLanguages.size() - 1).
const Language& LanguageOfStartOption(int option);

}  // namespace corvane
