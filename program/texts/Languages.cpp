#include "Languages.h"

#include <stdexcept>
#include <string>

namespace corvane {

const Language* LanguageOf(std::int32_t offset) {
    for (const Language& language : kLanguages) {
        if (language.Offset == offset) return &language;
    }
    return nullptr;
}

const Language& LanguageOfStartOption(int option) {
    for (const Language& language : kLanguages) {
        if (language.StartOption == option) return language;
    }
    throw std::out_of_range("no language at start option " + std::to_string(option));
}

}  // namespace corvane
