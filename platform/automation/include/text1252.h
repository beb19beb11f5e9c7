// 8-bit texts in the Windows-1252 code page, as project files written on Windows hold them.
// Inside the program every text is UTF-8.
#pragma once

#include <string>

namespace automation {

// UTF-8 to Windows-1252; a character the code page cannot hold (or a broken UTF-8 sequence) becomes "?".
std::string toWindows1252(const std::string& utf8);
// Windows-1252 to UTF-8; the five unassigned bytes map to the control characters of the same number.
std::string fromWindows1252(const std::string& bytes);

}  // namespace automation
