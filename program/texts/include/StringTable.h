// The program's string table: texts by numeric id, one block of ids per language.
#pragma once

#include <cstdint>
#include <string>

namespace corvane {

// Error raised for an id the table lacks ("Resource with identifier ... not found").
constexpr std::int32_t errResourceNotFound = 326;

// The text of the table entry with exactly this id (the caller adds the language offset).
// Raises errResourceNotFound when the table has no such entry.
std::string LoadResString(std::int32_t id);
bool HasResString(std::int32_t id);

// The text of id n in the current language: entry n + LanguageOffset, the sum taken as a
// 16-bit number (an overflow raises error 6).
std::string Text(std::int32_t id);

}  // namespace corvane
