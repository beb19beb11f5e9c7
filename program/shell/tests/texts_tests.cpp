#include "Messages.h"
#include "ModDefinition.h"
#include "StringTable.h"
#include "automation_error.h"

#include <gtest/gtest.h>

using namespace corvane;

TEST(StringTable, TextsAreFetchedAsIdPlusLanguageOffset) {
    LanguageOffset = 0;
    EXPECT_EQ(Text(990), "Hinweis");
    LanguageOffset = 1000;
    EXPECT_EQ(Text(990), "advice");
    EXPECT_EQ(LoadResString(1907), "Please contact manufacturer: error code ");  // trailing blank kept
    try {
        LoadResString(999);
        FAIL();
    } catch (const automation::AutomationError& e) {
        EXPECT_EQ(e.number(), errResourceNotFound);
    }
    LanguageOffset = 32000;
    try {
        Text(990);
        FAIL();
    } catch (const automation::AutomationError& e) {
        EXPECT_EQ(e.number(), 6);  // 16-bit sum overflows
    }
    LanguageOffset = kLanguageNotChosen;
}

TEST(ShowMessage, KindsSelectStylesAndUnknownKindsShowNothing) {
    std::int32_t seenStyle = -1;
    SetMessageBox([&](std::int32_t style, const std::string&, const std::string&) {
        seenStyle = style;
        return 7;
    });
    const std::int32_t expected[5] = {49, 48, 52, 64, 67};
    for (int kind = 0; kind < 5; ++kind) {
        EXPECT_EQ(ShowMessage(kind, "t", "x"), 7);
        EXPECT_EQ(seenStyle, expected[kind]);
    }
    seenStyle = -1;
    EXPECT_EQ(ShowMessage(5, "t", "x"), 0);
    EXPECT_EQ(ShowMessage(-1, "t", "x"), 0);
    EXPECT_EQ(seenStyle, -1);
    SetMessageBox({});
    EXPECT_EQ(ShowMessage(4, "t", "x"), msgYes);
    EXPECT_EQ(ShowMessage(1, "t", "x"), msgOK);
}
