// Zero values, array data and comparison of property values. Element sizes and elements per
// telegram come from the driver's table of property types, which its own tests check.
#include "corbus/coding.h"
#include "corbus/enums.h"
#include "test_support.h"

#include <gtest/gtest.h>

using namespace corbus;
using namespace corbus::coding;
using automation::Variant;
using corbus_test::caught;

TEST(Coding, ZeroValuesAndArrays) {
    EXPECT_EQ(genEibData(PT_UNSIGNED_INT), Variant(std::int32_t{0}));
    EXPECT_EQ(genEibData(PT_CHAR, 2), Variant::longs({0, 0, 0}));
    EXPECT_EQ(genEibData(PT_DOUBLE, 1), Variant::doubles({0.0, 0.0}));
    EXPECT_EQ(genEibData(PT_SHORT_CHAR_BLOCK), Variant::bytes({0, 0, 0, 0, 0}));
    EXPECT_EQ(genEibData(PT_CONTROL), Variant::bytes(std::vector<std::uint8_t>(10, 0)));
    for (std::int32_t empty : {-1, 6, 7, 13, 15, 27}) EXPECT_TRUE(genEibData(empty, 3).isEmpty()) << empty;
    EXPECT_TRUE(genEibData(PT_CONTROL, 3).isEmpty());

    // Arrays of blocks: every block is its own byte array.
    Variant table = genEibData(PT_GENERIC_04, 63);
    ASSERT_EQ(table.varType(), automation::vtArray | automation::vtVariant);
    EXPECT_EQ(table.upperBound(), 63);
    table.at(0).set(0, std::int32_t{7});
    EXPECT_EQ(table.at(1), Variant::bytes({0, 0, 0, 0}));

    // A bound no memory holds (2^31 blocks, terabytes) is out of memory, error 7.
    for (std::int32_t type : {PT_CHAR_BLOCK, PT_GENERIC_01, PT_GENERIC_10}) {
        EXPECT_EQ(caught([&] { genEibData(type, INT32_MAX); }).number, 7) << type;
    }
}

TEST(Coding, ArrayDataBlockTypesAndElementConversion) {
    const Variant longs = Variant::longs({1, 2});
    const Variant block = Variant::bytes({1, 2, 3});
    const Variant blocks = genEibData(PT_GENERIC_03, 5);
    // Number types: any array; block types: arrays of variants only (one block is one element).
    EXPECT_TRUE(IsArrayData(PT_UNSIGNED_INT, block));
    EXPECT_FALSE(IsArrayData(PT_DOUBLE, std::int32_t{3}));
    EXPECT_TRUE(IsArrayData(PT_CHAR_BLOCK, blocks));
    EXPECT_FALSE(IsArrayData(PT_GENERIC_03, block));
    EXPECT_FALSE(IsArrayData(PT_GENERIC_10, longs));
    EXPECT_FALSE(IsArrayData(PT_DATE, blocks));
    EXPECT_FALSE(IsArrayData(PT_CONTROL, genEibData(PT_CONTROL)));
    for (const Variant& notOneBlock : {longs, blocks, Variant(std::uint8_t{1})})
        EXPECT_EQ(caught([&] { IsArrayData(PT_CONTROL, notOneBlock); }).number, 88);

    for (std::int32_t t : {0, 6, 7, 12, 13, 14, 17, 22, 26}) EXPECT_TRUE(IsBlockType(t)) << t;
    for (std::int32_t t : {-1, 1, 3, 5, 11, 15, 16}) EXPECT_FALSE(IsBlockType(t)) << t;

    EXPECT_EQ(ToElement(PT_UNSIGNED_INT, 2.5), Variant(std::int32_t{2}));
    EXPECT_EQ(ToElement(PT_CHAR, "7"), Variant(std::int32_t{7}));
    EXPECT_EQ(ToElement(PT_FLOAT, std::int16_t{3}), Variant(3.0));
    EXPECT_EQ(ToElement(PT_GENERIC_06, block), block);
    EXPECT_EQ(caught([] { ToElement(PT_LONG, Variant::bytes({1})); }).number, 13);
}

TEST(Coding, CompareData) {
    EXPECT_TRUE(CompareData(std::int32_t{5}, 5.0));
    EXPECT_FALSE(CompareData(std::int32_t{5}, std::int32_t{6}));
    EXPECT_FALSE(CompareData("ab", "AB"));
    EXPECT_TRUE(CompareData(Variant(), Variant()));

    EXPECT_FALSE(CompareData(Variant::longs({1, 2}), Variant::doubles({1.0, 2.0})));
    EXPECT_FALSE(CompareData(Variant::longs({1}), std::int32_t{1}));
    EXPECT_TRUE(CompareData(Variant::longs({1, 2}), Variant::longs({1, 2})));
    EXPECT_FALSE(CompareData(Variant::longs({1, 2}), Variant::longs({1, 2, 0})));

    Variant a = genEibData(PT_GENERIC_02, 15);
    Variant b = genEibData(PT_GENERIC_02, 15);
    EXPECT_TRUE(CompareData(a, b));
    b.at(9).set(1, std::int32_t{1});
    EXPECT_FALSE(CompareData(a, b));
    EXPECT_FALSE(CompareData(genEibData(PT_GENERIC_02, 1), genEibData(PT_GENERIC_03, 1)));
    EXPECT_FALSE(CompareData(Variant::variants({std::int32_t{1}}), Variant::variants({Variant::bytes({1})})));
    EXPECT_TRUE(CompareData(Variant::variants({}), Variant::variants({})));
    EXPECT_FALSE(CompareData(Variant::variants({}), genEibData(PT_GENERIC_01, 0)));
}
