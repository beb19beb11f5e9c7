// The gateway's menu-language text files (library internal).
//
// A file as it is read: a header line, then records of four fields (first number, second
// number, an ignored field, the text), separated by commas or line ends; a field in double
// quotes may hold commas. Numbers are decimal 16-bit integers; the text is Windows-1252.
// A file as it is written ("MenuSprache.m00"): one line per entry, Nr1,Nr2,"Text" and CR LF,
// without a header line.
#pragma once

#include <cstdint>
#include <string>

namespace corlink {

// One menu text; only Text reaches the gateway.
struct TypMenuText {
    std::int32_t Nr1 = 0;
    std::int32_t Nr2 = 0;
    std::string Text;
    bool operator==(const TypMenuText&) const = default;
};

// The gateway shows at most this many characters of a menu text.
constexpr std::size_t kMenuTextLength = 16;

}  // namespace corlink
