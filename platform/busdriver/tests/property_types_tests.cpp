// The table of property data types: every KNX type code with its element size, the elements one
// property read or write carries and the shape of its values.
#include "property_types.h"

#include <gtest/gtest.h>

#include <climits>

using namespace busdriver;

TEST(PropertyTypes, EveryCodeWithItsSizeTelegramAndShape) {
    using S = ValueShape;
    const struct {
        std::int32_t code, size, perTelegram;
        ValueShape shape;
    } types[] = {
        {-1, 0, 0, S::None},   {0, 10, 1, S::Control}, {1, 1, 10, S::Long},      {2, 1, 10, S::Long},
        {3, 2, 5, S::Long},    {4, 2, 5, S::Long},     {5, 2, 5, S::Double},     {6, 3, 3, S::None},
        {7, 3, 3, S::None},    {8, 4, 2, S::Long},     {9, 4, 2, S::Long},       {10, 4, 2, S::Double},
        {11, 8, 1, S::Double}, {12, 10, 1, S::Block},  {13, 3, 1, S::None},      {14, 5, 1, S::Block},
        {15, 0, 0, S::None},   {16, 0, 0, S::None},    {17, 1, 10, S::Block},    {18, 2, 5, S::Block},
        {19, 3, 3, S::Block},  {20, 4, 2, S::Block},   {21, 5, 2, S::Block},     {22, 6, 1, S::Block},
        {23, 7, 1, S::Block},  {24, 8, 1, S::Block},   {25, 9, 1, S::Block},     {26, 10, 1, S::Block},
        {27, 0, 0, S::None},   {-2, 0, 0, S::None},    {INT_MAX, 0, 0, S::None}, {INT_MIN, 0, 0, S::None},
    };
    for (const auto& t : types) {
        const PropertyType row = propertyType(t.code);
        EXPECT_EQ(row.code, t.code);
        EXPECT_EQ(row.elementSize, t.size) << t.code;
        EXPECT_EQ(row.perTelegram, t.perTelegram) << t.code;
        EXPECT_EQ(row.shape, t.shape) << t.code;
        // Ten data bytes a telegram, one element at a time for poll-group settings and short blocks.
        if (t.size > 0) {
            EXPECT_EQ(t.perTelegram, t.code == 13 || t.code == 14 ? 1 : 10 / t.size) << t.code;
        }
    }
}
