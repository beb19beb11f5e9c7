#include "ModDefinition.h"

namespace corvane {

std::int16_t LanguageOffset = kLanguageNotChosen;

}  // namespace corvane
