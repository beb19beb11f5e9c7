#include "automation_error.h"
#include "testing/error_of.h"
#include "variant.h"

#include <gtest/gtest.h>

using namespace automation;

using automation::testing::errorOf;

TEST(AutomationErrors, CarryNumberSourceAndDescription) {
    try {
        raise(vbBrimEibError + 1, "brimEib.brimPropItems.Item", "Item: Index out of range");
        FAIL();
    } catch (const AutomationError& e) {
        EXPECT_EQ(e.number(), static_cast<std::int32_t>(0x80040BB9u));
        EXPECT_EQ(e.number(), -2147218503);
        EXPECT_EQ(e.source(), "brimEib.brimPropItems.Item");
        EXPECT_EQ(e.description(), "Item: Index out of range");
        EXPECT_STREQ(e.what(), "Item: Index out of range");
    }
    EXPECT_EQ(runtimeDescription(6), "Overflow");
    EXPECT_EQ(runtimeDescription(9), "Subscript out of range");
    EXPECT_EQ(runtimeDescription(13), "Type mismatch");
    EXPECT_EQ(runtimeDescription(457), "This key is already associated with an element of this collection");
    EXPECT_EQ(runtimeDescription(88), "tbd");
}

TEST(VariantShapes, TypeCodesFollowTheAutomationNumbering) {
    EXPECT_EQ(Variant().varType(), vtEmpty);
    EXPECT_EQ(Variant(static_cast<std::int16_t>(1)).varType(), vtInteger);
    EXPECT_EQ(Variant(1).varType(), vtLong);
    EXPECT_EQ(Variant(1.0).varType(), vtDouble);
    EXPECT_EQ(Variant(true).varType(), vtBoolean);
    EXPECT_EQ(Variant("x").varType(), vtString);
    EXPECT_EQ(Variant::bytes({1, 2}).varType(), 0x2011);
    EXPECT_EQ(Variant::longs({1}).varType(), 0x2003);
    EXPECT_EQ(Variant::variants({}).varType(), 0x200C);
    // The masks the transport uses to recognise blocks and arrays of blocks.
    EXPECT_EQ(Variant::variants({}).varType() & 12, 12);
    EXPECT_NE(Variant::bytes({}).varType() & 12, 12);
    EXPECT_EQ(Variant::bytes({}).varType() & 17, 17);
    EXPECT_NE(Variant::longs({}).varType() & 17, 17);
    EXPECT_EQ(Variant(true).number(), -1.0);
}

TEST(VariantArrays, BoundsIndexingAndElementTypes) {
    Variant a = Variant::array(vtByte, 4, 1);
    EXPECT_EQ(a.lowerBound(), 1);
    EXPECT_EQ(a.upperBound(), 4);
    EXPECT_EQ(errorOf([&] { a.at(0); }), 9);
    EXPECT_EQ(errorOf([&] { a.at(5); }), 9);
    a.set(4, Variant(200));
    EXPECT_EQ(a.at(4), Variant(static_cast<std::uint8_t>(200)));
    EXPECT_EQ(errorOf([&] { a.set(1, Variant(256)); }), 6);
    EXPECT_EQ(errorOf([&] { a.set(1, Variant("abc")); }), 13);
    EXPECT_EQ(a.toBytes(), (std::vector<std::uint8_t>{0, 0, 0, 200}));
    EXPECT_EQ(errorOf([] { Variant(3).upperBound(); }), 13);
    EXPECT_EQ(Variant::variants({}).upperBound(), -1);

    // Copies are deep: changing one block changes no other.
    Variant blocks = Variant::variants({Variant::bytes({1}), Variant::bytes({1})});
    Variant copy = blocks;
    copy.at(0).set(0, Variant(9));
    EXPECT_EQ(blocks.at(0).toBytes()[0], 1);
    EXPECT_NE(copy, blocks);
}

TEST(VariantConversions, RangesRoundingAndTypeMismatch) {
    EXPECT_EQ(toByte(Variant(255)), 255);
    EXPECT_EQ(errorOf([] { toByte(Variant(256)); }), 6);
    EXPECT_EQ(errorOf([] { toByte(Variant(-1)); }), 6);
    EXPECT_EQ(errorOf([] { toByte(Variant(true)); }), 6);  // True is -1
    EXPECT_EQ(toByte(Variant(2.5)), 2);                    // halves round to even
    EXPECT_EQ(toByte(Variant(3.5)), 4);
    EXPECT_EQ(toInteger(Variant(32767)), 32767);
    EXPECT_EQ(errorOf([] { toInteger(Variant(32768)); }), 6);
    EXPECT_EQ(errorOf([] { toInteger(Variant(static_cast<std::int32_t>(0x80040BB9u))); }), 6);
    EXPECT_EQ(toLong(Variant(-2147483648.0)), INT32_MIN);
    EXPECT_EQ(errorOf([] { toLong(Variant(2147483648.0)); }), 6);
    EXPECT_EQ(toLong(Variant(" 42 ")), 42);
    EXPECT_EQ(errorOf([] { toLong(Variant("4x")); }), 13);
    EXPECT_EQ(errorOf([] { toLong(Variant::bytes({1})); }), 13);
    EXPECT_EQ(toLong(Variant()), 0);
    EXPECT_EQ(toText(Variant(12)), "12");
    EXPECT_EQ(toText(Variant(1.5)), "1.5");
}

TEST(VariantConversions, NumericTextsAndScalarEquality) {
    EXPECT_TRUE(isNumeric(Variant("2")));
    EXPECT_TRUE(isNumeric(Variant("-1.5e2")));
    EXPECT_FALSE(isNumeric(Variant("a")));
    EXPECT_FALSE(isNumeric(Variant("")));
    EXPECT_FALSE(isNumeric(Variant("0x10")));
    EXPECT_FALSE(isNumeric(Variant("inf")));
    EXPECT_TRUE(scalarEquals(Variant(5), Variant(static_cast<std::int16_t>(5))));
    EXPECT_TRUE(scalarEquals(Variant(5), Variant(5.0)));
    EXPECT_FALSE(scalarEquals(Variant("5"), Variant("5 ")));
    EXPECT_FALSE(scalarEquals(Variant::longs({5}), Variant::longs({5})));
}
