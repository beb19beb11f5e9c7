#include "text1252.h"

#include <gtest/gtest.h>

using namespace automation;

TEST(Windows1252, GermanTextsAndTheEuroSign) {
    EXPECT_EQ(toWindows1252("abc"), "abc");
    EXPECT_EQ(toWindows1252("Größe"),
              "Gr\xF6\xDF"
              "e");
    EXPECT_EQ(toWindows1252("€ „x“"), "\x80 \x84x\x93");
    EXPECT_EQ(fromWindows1252("Gr\xF6\xDF"
                              "e \x80"),
              "Größe €");
}

TEST(Windows1252, UnrepresentableAndBrokenInputBecomesQuestionMark) {
    EXPECT_EQ(toWindows1252("Ω"), "?");
    EXPECT_EQ(toWindows1252("a\xC3"), "a?");  // sequence cut off
    EXPECT_EQ(toWindows1252("\xFF"
                            "b"),
              "?b");  // not a lead byte
}

TEST(Windows1252, EveryByteRoundTrips) {
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(toWindows1252(fromWindows1252(all)), all);
}

#include "unicode.h"

TEST(Unicode, Utf8AndUtf16RoundTripAndBrokenInputBecomesReplacement) {
    const std::string text = "Größe € 😀";
    EXPECT_EQ(fromUtf16(toUtf16(text)), text);
    EXPECT_EQ(toUtf16("😀").size(), 2u);
    EXPECT_EQ(decodeUtf8("a\xC3"), (std::u32string{U'a', kReplacementCharacter}));
    EXPECT_EQ(decodeUtf8("\xC0\xAF"), (std::u32string{kReplacementCharacter, kReplacementCharacter}));  // overlong
    EXPECT_EQ(fromUtf16(std::u16string{0xD800, u'x'}), "\xEF\xBF\xBDx");  // lone surrogate
}
