// Address conversion component: bit operations on bytes and the text forms of KNX group and
// physical addresses. One object per use; it holds no state.
//
// Addresses are 16-bit values carried in 32-bit signed integers:
//   group address    main (bits 15-11) / middle (bits 10-8) / sub (bits 7-0)  three levels
//                    main (bits 15-11) / sub (bits 10-0)                      two levels
//   physical address area (bits 15-12) . line (bits 11-8) . device (bits 7-0)
// Texts of both kinds convert back to the same number for every value 0 to 65535.
#pragma once

#include <cstdint>
#include <string>

namespace brimcorbin {

// Dispatch ids under which callers of the original component reached each operation.
enum DispId : std::int32_t {
    dispSetBit = 1,
    dispClearBit = 2,
    dispGetBitField = 4,
    dispGrpAdrToText = 5,
    dispTextToGrpAdr = 6,
    dispPhyAdrToText = 7,
    dispTextToPhyAdr = 8,
    dispTestBit = 9,
};

// Group-address display styles (the user setting "ShowGrpAdr"); every value but 0 means three levels.
enum GrpAdrStyle : std::int32_t {
    styleTwoLevels = 0,
    styleThreeLevels = 1,
};

// Returned by TextToGrpAdr and TextToPhyAdr for text they cannot read.
constexpr std::int32_t kUnreadableAddress = -1;

// Fields of a function group's display byte (FeedBack) read by GetBitField.
enum BitField : std::int32_t {
    fieldDisplay = 0,     // bits 0-3: display code (0 to 15)
    fieldReadObject = 1,  // bit 4: read the object value (0 or 1)
};

class Converter {
public:
    // Bit operations on a byte (0 to 255) with bit numbers 0 to 7. A bit number outside 0 to 7
    // raises error 5, a value outside 0 to 255 raises error 6.
    std::int32_t SetBit(std::int32_t bit, std::int32_t value) const;
    std::int32_t ClearBit(std::int32_t bit, std::int32_t value) const;
    bool TestBit(std::int32_t bit, std::int32_t value) const;
    // Field 0: the display code (0 to 15); field 1: the read-object flag (0 or 1). Another field
    // number raises error 5, a value outside 0 to 255 error 6.
    std::int32_t GetBitField(std::int32_t field, std::int32_t value) const;

    // "main/sub" (style 0) or "main/middle/sub" (any other style), in decimal without leading
    // zeros; "" for a value outside 0 to 65535, which is no group address.
    std::string GrpAdrToText(std::int32_t address, std::int32_t style) const;
    // Reads two or three decimal levels separated by "/" (blanks around a level and leading
    // zeros allowed): "main/sub" with main 0-31 and sub 0-2047, or "main/middle/sub" with
    // main 0-31, middle 0-7 and sub 0-255. Anything else gives kUnreadableAddress.
    // "0/0" and "0/0/0" give 0, which callers treat as invalid as well.
    std::int32_t TextToGrpAdr(const std::string& text) const;

    // "area.line.device" in decimal; "" for a value outside 0 to 65535.
    std::string PhyAdrToText(std::int32_t address) const;
    // Reads "area.line.device" with area 0-15, line 0-15 and device 0-255 (blanks around a
    // level and leading zeros allowed); anything else gives kUnreadableAddress. "0.0.0" gives 0.
    std::int32_t TextToPhyAdr(const std::string& text) const;
};

}  // namespace brimcorbin
