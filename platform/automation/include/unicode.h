// UTF-8, UTF-16 and code points. Broken input never fails: it becomes U+FFFD.
#pragma once

#include <string>
#include <string_view>

namespace automation {

constexpr char32_t kReplacementCharacter = 0xFFFD;

// The code points of a UTF-8 text; each byte that starts no valid sequence becomes U+FFFD.
std::u32string decodeUtf8(std::string_view utf8);
void appendUtf8(std::string& out, char32_t codePoint);

std::u16string toUtf16(std::string_view utf8);
// A lone surrogate becomes U+FFFD.
std::string fromUtf16(std::u16string_view units);

}  // namespace automation
