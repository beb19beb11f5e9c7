// The program's shared state that every window and the model definitions read.
#pragma once

#include <cstdint>

namespace corvane {

// Language block of the string table: 0 German, 1000 English, 2000 Italian, 3000 Spanish,
// 4000 French; 1111 while no language has been chosen.
extern std::int16_t LanguageOffset;

constexpr std::int16_t kLanguageNotChosen = 1111;

}  // namespace corvane
