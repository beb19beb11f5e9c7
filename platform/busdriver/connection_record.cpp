#include "connection_dialog.h"

#include "unicode.h"

#include <algorithm>

namespace busdriver {

namespace {

constexpr std::size_t kNameOffset = 0;
constexpr std::size_t kNameUnits = 65;  // 132 bytes with the terminator
constexpr std::size_t kGuidOffset = 132;
constexpr std::size_t kParametersOffset = 148;
constexpr std::size_t kParametersUnits = 511;

// Writes at most `units` UTF-16 units little-endian, never half of a surrogate pair; the zeroed
// record supplies the terminator.
void putText(ConnectionRecord& record, std::size_t offset, const std::string& text, std::size_t units) {
    const std::u16string wide = automation::toUtf16(text);
    std::size_t n = std::min(wide.size(), units);
    if (n > 0 && n < wide.size() && wide[n - 1] >= 0xD800 && wide[n - 1] <= 0xDBFF) --n;
    for (std::size_t i = 0; i < n; ++i) {
        record[offset + 2 * i] = static_cast<std::uint8_t>(wide[i] & 0xFF);
        record[offset + 2 * i + 1] = static_cast<std::uint8_t>(wide[i] >> 8);
    }
}

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" to its 16 bytes as the record holds them.
bool parseGuid(const std::string& text, std::array<std::uint8_t, 16>& out) {
    static const char kPattern[] = "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}";
    if (text.size() != sizeof kPattern - 1) return false;
    std::array<std::uint8_t, 16> digits{};  // the bytes in text order
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (kPattern[i] != 'X') {
            if (c != kPattern[i]) return false;
            continue;
        }
        const int v = c >= '0' && c <= '9'   ? c - '0'
                      : c >= 'A' && c <= 'F' ? c - 'A' + 10
                      : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                             : -1;
        if (v < 0) return false;
        digits[count / 2] = static_cast<std::uint8_t>((digits[count / 2] << 4) | v);
        ++count;
    }
    // Data1, Data2 and Data3 are little-endian numbers; Data4 stays in text order.
    static const int kOrder[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
    for (std::size_t i = 0; i < 16; ++i) out[i] = digits[static_cast<std::size_t>(kOrder[i])];
    return true;
}

}  // namespace

bool writeConnectionRecord(ConnectionRecord& record, const InterfaceChoice& choice) {
    std::array<std::uint8_t, 16> guid{};
    if (!parseGuid(choice.interfaceId, guid)) return false;
    record.fill(0);
    putText(record, kNameOffset, choice.name, kNameUnits);
    std::copy(guid.begin(), guid.end(), record.begin() + kGuidOffset);
    putText(record, kParametersOffset, choice.parameters, kParametersUnits);
    return true;
}

}  // namespace busdriver
