#include "brimcorbin.h"

#include "automation_error.h"
#include "testing/error_of.h"

#include <gtest/gtest.h>

#include <cstdint>

using brimcorbin::Converter;

using automation::testing::errorOf;

TEST(BrimcorBinBits, SetClearAndTestEveryBitOfEveryByte) {
    const Converter c;
    for (int value = 0; value < 256; ++value) {
        for (int bit = 0; bit < 8; ++bit) {
            const int mask = 1 << bit;
            ASSERT_EQ(c.SetBit(bit, value), value | mask);
            ASSERT_EQ(c.ClearBit(bit, value), value & ~mask);
            ASSERT_EQ(c.TestBit(bit, value), (value & mask) != 0);
        }
    }
}

TEST(BrimcorBinBits, BitFieldsOfTheDisplayByte) {
    const Converter c;
    EXPECT_EQ(c.GetBitField(0, 0x16), 6);  // temperature display code 6 with read flag
    EXPECT_EQ(c.GetBitField(1, 0x16), 1);
    EXPECT_EQ(c.GetBitField(1, 0xEF), 0);  // only bit 4 is the read flag
    EXPECT_EQ(c.GetBitField(0, 0xF0), 0);
}

TEST(BrimcorBinBits, ArgumentsOutsideTheirRangeRaise) {
    const Converter c;
    EXPECT_EQ(errorOf([&] { c.SetBit(8, 0); }), automation::errInvalidCall);
    EXPECT_EQ(errorOf([&] { c.ClearBit(-1, 0); }), automation::errInvalidCall);
    EXPECT_EQ(errorOf([&] { c.TestBit(32, 1); }), automation::errInvalidCall);
    EXPECT_EQ(errorOf([&] { c.SetBit(0, 256); }), automation::errOverflow);
    EXPECT_EQ(errorOf([&] { c.TestBit(0, -1); }), automation::errOverflow);
    EXPECT_EQ(errorOf([&] { c.GetBitField(2, 0); }), automation::errInvalidCall);
    EXPECT_EQ(errorOf([&] { c.GetBitField(0, 300); }), automation::errOverflow);
}

TEST(BrimcorBinGroupAddress, TextsInBothStyles) {
    const Converter c;
    const std::int32_t a = (1 << 11) | (2 << 8) | 3;  // 1/2/3
    EXPECT_EQ(c.GrpAdrToText(a, 1), "1/2/3");
    EXPECT_EQ(c.GrpAdrToText(a, 0), "1/515");
    EXPECT_EQ(c.GrpAdrToText(a, 2), "1/2/3");  // every style but 0 is three levels
    EXPECT_EQ(c.GrpAdrToText(0, 0), "0/0");
    EXPECT_EQ(c.GrpAdrToText(0xFFFF, 0), "31/2047");
    EXPECT_EQ(c.GrpAdrToText(0xFFFF, 1), "31/7/255");
    EXPECT_EQ(c.GrpAdrToText(-1, 1), "");
    EXPECT_EQ(c.GrpAdrToText(0x10000, 0), "");
}

TEST(BrimcorBinGroupAddress, EveryAddressRoundTripsInBothStyles) {
    const Converter c;
    for (std::int32_t a = 0; a <= 0xFFFF; ++a) {
        ASSERT_EQ(c.TextToGrpAdr(c.GrpAdrToText(a, 0)), a);
        ASSERT_EQ(c.TextToGrpAdr(c.GrpAdrToText(a, 1)), a);
    }
}

TEST(BrimcorBinGroupAddress, ReadsTypedTextsAndRejectsOthers) {
    const Converter c;
    EXPECT_EQ(c.TextToGrpAdr(" 01 / 002/3 "), (1 << 11) | (2 << 8) | 3);
    EXPECT_EQ(c.TextToGrpAdr("1/515"), (1 << 11) | 515);
    EXPECT_EQ(c.TextToGrpAdr("0/0"), 0);
    for (const char* bad : {"", "/", "1", "1/", "/1", "1//2", "1/2/3/4", "32/0", "0/2048", "0/8/0", "0/0/256", "a/b",
                            "1/2x", "-1/2", "+1/2", "1 2/3", "99999999999/1", "1.2.3"}) {
        EXPECT_EQ(c.TextToGrpAdr(bad), brimcorbin::kUnreadableAddress) << bad;
    }
}

TEST(BrimcorBinPhysicalAddress, TextsAndEveryRoundTrip) {
    const Converter c;
    EXPECT_EQ(c.PhyAdrToText(0), "0.0.0");
    EXPECT_EQ(c.PhyAdrToText(0x1203), "1.2.3");
    EXPECT_EQ(c.PhyAdrToText(0xFFFF), "15.15.255");
    EXPECT_EQ(c.PhyAdrToText(-1), "");
    EXPECT_EQ(c.PhyAdrToText(0x10000), "");
    for (std::int32_t a = 0; a <= 0xFFFF; ++a) ASSERT_EQ(c.TextToPhyAdr(c.PhyAdrToText(a)), a);
}

TEST(BrimcorBinPhysicalAddress, ReadsTypedTextsAndRejectsOthers) {
    const Converter c;
    EXPECT_EQ(c.TextToPhyAdr("01. 2 .003"), 0x1203);
    EXPECT_EQ(c.TextToPhyAdr("0.0.0"), 0);
    for (const char* bad :
         {"", "1.2", "1.2.3.4", "16.0.0", "0.16.0", "0.0.256", "1..3", "1.2.", "x.y.z", "1/2/3", "-1.0.0", "1.2.3 4"}) {
        EXPECT_EQ(c.TextToPhyAdr(bad), brimcorbin::kUnreadableAddress) << bad;
    }
}
