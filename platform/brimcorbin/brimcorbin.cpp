#include "brimcorbin.h"

#include "automation_error.h"

#include <array>
#include <span>
#include <string_view>

namespace brimcorbin {

namespace {

const char* const kSource = "BrimcorBin";

constexpr std::int32_t kMaxAddress = 0xFFFF;

// Bit widths of the levels of each address text, most significant level first.
using Widths = std::span<const int>;
constexpr std::array kGroupTwoLevels{5, 11};
constexpr std::array kGroupThreeLevels{5, 3, 8};
constexpr std::array kPhysicalLevels{4, 4, 8};

void checkIndexAndByte(std::int32_t index, std::int32_t value, std::int32_t maxIndex) {
    if (index < 0 || index > maxIndex) automation::raiseRuntime(automation::errInvalidCall, kSource);
    if (value < 0 || value > 0xFF) automation::raiseRuntime(automation::errOverflow, kSource);
}

std::string formatLevels(std::int32_t address, Widths widths, char separator) {
    if (address < 0 || address > kMaxAddress) return {};
    std::string text;
    int shift = 16;
    for (int width : widths) {
        shift -= width;
        if (!text.empty()) text += separator;
        text += std::to_string((address >> shift) & ((1 << width) - 1));
    }
    return text;
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// One decimal level with optional blanks around it, at most maxValue; -1 when unreadable.
std::int32_t parseLevel(std::string_view level, std::int32_t maxValue) {
    while (!level.empty() && isBlank(level.front())) level.remove_prefix(1);
    while (!level.empty() && isBlank(level.back())) level.remove_suffix(1);
    if (level.empty()) return -1;
    std::int32_t value = 0;
    for (char c : level) {
        if (c < '0' || c > '9') return -1;
        value = value * 10 + (c - '0');
        if (value > maxValue) return -1;
    }
    return value;
}

// The address of a text with exactly as many levels as widths, or kUnreadableAddress.
std::int32_t parseLevels(std::string_view text, Widths widths, char separator) {
    std::int32_t address = 0;
    bool first = true;
    for (int width : widths) {
        if (!first) {
            if (text.empty()) return kUnreadableAddress;  // fewer levels than widths
            text.remove_prefix(1);                        // the separator
        }
        const std::size_t end = text.find(separator);
        const std::int32_t level = parseLevel(text.substr(0, end), (1 << width) - 1);
        if (level < 0) return kUnreadableAddress;
        address = (address << width) | level;
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end);
        first = false;
    }
    return text.empty() ? address : kUnreadableAddress;  // more levels than widths
}

}  // namespace

std::int32_t Converter::SetBit(std::int32_t bit, std::int32_t value) const {
    checkIndexAndByte(bit, value, 7);
    return value | (1 << bit);
}

std::int32_t Converter::ClearBit(std::int32_t bit, std::int32_t value) const {
    checkIndexAndByte(bit, value, 7);
    return value & ~(1 << bit);
}

bool Converter::TestBit(std::int32_t bit, std::int32_t value) const {
    checkIndexAndByte(bit, value, 7);
    return (value >> bit) & 1;
}

std::int32_t Converter::GetBitField(std::int32_t field, std::int32_t value) const {
    checkIndexAndByte(field, value, fieldReadObject);
    return field == fieldDisplay ? value & 0x0F : (value >> 4) & 1;
}

std::string Converter::GrpAdrToText(std::int32_t address, std::int32_t style) const {
    return formatLevels(address, style == styleTwoLevels ? Widths(kGroupTwoLevels) : Widths(kGroupThreeLevels), '/');
}

std::int32_t Converter::TextToGrpAdr(const std::string& text) const {
    const std::int32_t twoLevels = parseLevels(text, kGroupTwoLevels, '/');
    return twoLevels != kUnreadableAddress ? twoLevels : parseLevels(text, kGroupThreeLevels, '/');
}

std::string Converter::PhyAdrToText(std::int32_t address) const { return formatLevels(address, kPhysicalLevels, '.'); }

std::int32_t Converter::TextToPhyAdr(const std::string& text) const { return parseLevels(text, kPhysicalLevels, '.'); }

}  // namespace brimcorbin
