// The KNX property data types as property reads and writes carry them: for each type code the
// size of one element, how many elements one read or write carries (at most ten data bytes) and
// the shape its values take in a variant. The transport engine codes its items by this table and
// the simulated line decodes what it is sent by it.
#pragma once

#include <cstdint>

namespace busdriver {

enum class ValueShape : std::uint8_t {
    None,     // no value shape: PT_UNDEFINED, dates, times, poll-group settings, unknown codes
    Long,     // whole numbers, held as Long
    Double,   // floating-point numbers, held as Double
    Block,    // byte blocks; several elements are an array of variants holding one block each
    Control,  // one block of ten bytes, never several
};

struct PropertyType {
    std::int32_t code;
    std::int32_t elementSize;  // bytes; 0 for a type that cannot be moved element by element
    std::int32_t perTelegram;  // elements per read or write; 0 exactly where elementSize is 0
    ValueShape shape;
};

// Every code from -1 to 26, in order; 15 and 16 are no type.
inline constexpr PropertyType kPropertyTypes[] = {
    {-1, 0, 0, ValueShape::None},     // PT_UNDEFINED
    {0, 10, 1, ValueShape::Control},  // PT_CONTROL
    {1, 1, 10, ValueShape::Long},     // PT_CHAR
    {2, 1, 10, ValueShape::Long},     // PT_UNSIGNED_CHAR
    {3, 2, 5, ValueShape::Long},      // PT_INT
    {4, 2, 5, ValueShape::Long},      // PT_UNSIGNED_INT
    {5, 2, 5, ValueShape::Double},    // PT_EIB_FLOAT
    {6, 3, 3, ValueShape::None},      // PT_DATE
    {7, 3, 3, ValueShape::None},      // PT_TIME
    {8, 4, 2, ValueShape::Long},      // PT_LONG
    {9, 4, 2, ValueShape::Long},      // PT_UNSIGNED_LONG
    {10, 4, 2, ValueShape::Double},   // PT_FLOAT
    {11, 8, 1, ValueShape::Double},   // PT_DOUBLE
    {12, 10, 1, ValueShape::Block},   // PT_CHAR_BLOCK
    {13, 3, 1, ValueShape::None},     // PT_POLL_GROUP_SETTINGS
    {14, 5, 1, ValueShape::Block},    // PT_SHORT_CHAR_BLOCK
    {15, 0, 0, ValueShape::None},     // no type
    {16, 0, 0, ValueShape::None},     // no type
    {17, 1, 10, ValueShape::Block},   // PT_GENERIC_01
    {18, 2, 5, ValueShape::Block},    // PT_GENERIC_02
    {19, 3, 3, ValueShape::Block},    // PT_GENERIC_03
    {20, 4, 2, ValueShape::Block},    // PT_GENERIC_04
    {21, 5, 2, ValueShape::Block},    // PT_GENERIC_05
    {22, 6, 1, ValueShape::Block},    // PT_GENERIC_06
    {23, 7, 1, ValueShape::Block},    // PT_GENERIC_07
    {24, 8, 1, ValueShape::Block},    // PT_GENERIC_08
    {25, 9, 1, ValueShape::Block},    // PT_GENERIC_09
    {26, 10, 1, ValueShape::Block},   // PT_GENERIC_10
};

inline constexpr std::int32_t kFirstPropertyType = -1;
inline constexpr std::int32_t kLastPropertyType = 26;

// The row of a type code; a code outside the table has no size and no value shape.
constexpr PropertyType propertyType(std::int32_t code) {
    if (code < kFirstPropertyType || code > kLastPropertyType) return {code, 0, 0, ValueShape::None};
    return kPropertyTypes[code - kFirstPropertyType];
}

static_assert(
    [] {
        std::int32_t code = kFirstPropertyType;
        for (const PropertyType& row : kPropertyTypes) {
            if (row.code != code++) return false;
        }
        return code == kLastPropertyType + 1;
    }(),
    "one row per code, in order");

}  // namespace busdriver
