#include "DateText.h"
#include "Messages.h"
#include "ModDefinition.h"
#include "StringTable.h"
#include "automation_error.h"
#include "oledate.h"

#include <stdexcept>
#include <vector>

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

TEST(MessageTexts, LoadedInTheLanguageOfTheStartAndSelectionIndexReset) {
    LanguageOffset = 0;
    SelectedNodeIndex = 17;
    LoadMessageTexts();
    EXPECT_EQ(MessageTexts.MsgTitle, "Hinweis");
    EXPECT_EQ(MessageTexts.MsgMaxLinks, Text(919));
    EXPECT_EQ(MessageTexts.MsgPropertyWriteFailed,
              "Property kann nicht geschrieben werden, kontakteiren Sie den Hersteller.");
    EXPECT_EQ(SelectedNodeIndex, 1);
    // A later change of language leaves the loaded texts as they were.
    LanguageOffset = 1000;
    EXPECT_EQ(MessageTexts.MsgTitle, "Hinweis");
    LoadMessageTexts();
    EXPECT_EQ(MessageTexts.MsgSaveChanges,
              "The data already projected has not yet been saved, would you like to save it now?");
    EXPECT_EQ(MessageTexts.MsgAssignmentsLost, "all ECG assignments are going lost - Continue ?");
    // Every message text exists in all five languages.
    for (std::int16_t offset : {0, 1000, 2000, 3000, 4000}) {
        LanguageOffset = offset;
        EXPECT_NO_THROW(LoadMessageTexts()) << offset;
    }
    MessageTexts = {};
    LanguageOffset = kLanguageNotChosen;
}

TEST(LanguageTable, FiveLanguagesAndAnEmptySixthEntry) {
    CreateLanguageTable();
    CreateLanguageTable();  // re-created, not appended
    ASSERT_EQ(LanguageTable.size(), 6u);
    EXPECT_EQ(LanguageTable[0].Name, "German");
    EXPECT_EQ(LanguageTable[1].Name, "English");
    EXPECT_EQ(LanguageTable[1].Offset, 1000);
    EXPECT_EQ(LanguageTable[4].Name, "French");
    EXPECT_EQ(LanguageTable[4].Offset, 4000);
    EXPECT_EQ(LanguageTable[5].Name, "");
    EXPECT_EQ(LanguageTable[5].Offset, 0);
    EXPECT_TRUE(IsLanguageOffset(3000));
    EXPECT_FALSE(IsLanguageOffset(kLanguageNotChosen));
}

TEST(ErrorConvention, Text907ABlankAndTheNumberUnderTitle990) {
    struct Shown {
        std::int32_t style;
        std::string text, title;
    };
    std::vector<Shown> shown;
    SetMessageBox([&](std::int32_t style, const std::string& text, const std::string& title) {
        shown.push_back({style, text, title});
        return 1;
    });
    LanguageOffset = 0;
    LoadMessageTexts();
    ReportError(53);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].style, styleOkExclamation);
    EXPECT_EQ(shown[0].text, "Bitte wenden Sie sich an den Hersteller, Fehlercode 53");
    EXPECT_EQ(shown[0].title, "Hinweis");

    // Before the start-up has loaded the texts, the convention fetches them itself; English
    // text 907 ends in a blank of its own, so two blanks stand before the number.
    MessageTexts = {};
    LanguageOffset = kLanguageNotChosen;
    EXPECT_FALSE(Trap([] { automation::raiseRuntime(automation::errSubscript); }));
    EXPECT_EQ(shown.back().text, "Please contact manufacturer: error code  9");
    EXPECT_EQ(shown.back().title, "advice");

    // Any exception is reported with a number and goes no further; the lead text can differ.
    LanguageOffset = 1000;
    EXPECT_FALSE(Trap([] { throw std::out_of_range("x"); }, "Access denied, please check the storage medium!"));
    EXPECT_EQ(shown.back().text, "Access denied, please check the storage medium! 9");
    EXPECT_FALSE(Trap([] { throw std::runtime_error("x"); }));
    EXPECT_EQ(shown.back().text, "Please contact manufacturer: error code  51");
    EXPECT_FALSE(Trap([] { throw 5; }));
    EXPECT_EQ(shown.back().text, "Please contact manufacturer: error code  51");
    const auto before = shown.size();
    EXPECT_TRUE(Trap([] {}));
    EXPECT_EQ(shown.size(), before);
    // A box that fails while reporting ends nothing either.
    SetMessageBox([](std::int32_t, const std::string&, const std::string&) -> std::int32_t {
        throw std::runtime_error("no box");
    });
    EXPECT_FALSE(Trap([] { automation::raiseRuntime(automation::errOverflow); }));
    SetMessageBox({});
    LanguageOffset = kLanguageNotChosen;
}

TEST(GeneralDate, DateTimeDateAloneTimeAlone) {
    EXPECT_EQ(GeneralDate(0), "00:00:00");
    EXPECT_EQ(GeneralDate(automation::toOleDate({2024, 3, 7, 14, 5, 9})), "07.03.2024 14:05:09");
    EXPECT_EQ(GeneralDate(automation::toOleDate({2024, 3, 7, 0, 0, 0})), "07.03.2024");
    EXPECT_EQ(GeneralDate(automation::toOleDate({1899, 12, 30, 8, 30, 0})), "08:30:00");
    EXPECT_EQ(ShortDate(automation::toOleDate({2024, 12, 24, 18, 0, 0})), "24.12.2024");
}
