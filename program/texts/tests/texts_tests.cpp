#include "DateText.h"
#include "Languages.h"
#include "Messages.h"
#include "ModDefinition.h"
#include "StringTable.h"
#include "automation_error.h"
#include "oledate.h"
#include "testing/error_of.h"

#include <cmath>
#include <functional>
#include <new>
#include <set>
#include <stdexcept>
#include <vector>

#include <gtest/gtest.h>

using namespace corvane;

using automation::testing::errorOf;

TEST(StringTable, TextsAreFetchedAsIdPlusLanguageOffset) {
    LanguageOffset = 0;
    EXPECT_EQ(Text(990), "Hinweis");
    LanguageOffset = 1000;
    EXPECT_EQ(Text(990), "advice");
    EXPECT_EQ(LoadResString(1907), "Please contact manufacturer: error code ");  // trailing blank kept
    EXPECT_EQ(errorOf([] { LoadResString(999); }), errResourceNotFound);
    LanguageOffset = 32000;
    EXPECT_EQ(errorOf([] { Text(990); }), 6);  // the 16-bit sum overflows
    LanguageOffset = kLanguageNotChosen;
}

// Every language of the list has a text for each id that any language has: a language whose
// column the string table lacks, or a field left empty, fails here.
TEST(StringTable, EveryLanguageHasEveryText) {
    std::set<std::int32_t> ids;
    for (const Language& language : kLanguages) {
        for (std::int32_t id = 0; id < 1000; ++id) {
            if (HasResString(id + language.Offset)) ids.insert(id);
        }
    }
    ASSERT_GT(ids.size(), 300u);
    for (const Language& language : kLanguages) {
        std::string missing;
        for (const std::int32_t id : ids) {
            if (!HasResString(id + language.Offset)) missing += " " + std::to_string(id);
        }
        EXPECT_EQ(missing, "") << language.Name;
    }
}

TEST(MessageTexts, LoadedOnceInTheLanguageOfTheStart) {
    SelectedNodeIndex = 17;
    for (std::int16_t offset : {4000, 3000, 2000, 1000, 0}) {  // every text exists in all five languages
        LanguageOffset = offset;
        EXPECT_NO_THROW(LoadMessageTexts()) << offset;
    }
    EXPECT_EQ(SelectedNodeIndex, 1);
    EXPECT_EQ(MessageTexts.MsgPropertyWriteFailed,
              "Property kann nicht geschrieben werden, kontakteiren Sie den Hersteller.");
    LanguageOffset = 1000;  // a later change of language leaves the loaded texts as they were
    EXPECT_EQ(MessageTexts.MsgTitle, "Hinweis");
    MessageTexts = {};
    LanguageOffset = kLanguageNotChosen;
}

TEST(ShowMessage, EachKindHasItsStyleAndWithoutABoxTheDefaultButtonAnswers) {
    // Kind, the box's style value (0: no box), and the answer without a box (1 OK, 6 Yes).
    const struct {
        std::int32_t kind, style, answer;
    } cases[] = {{0, 49, 1}, {1, 48, 1}, {2, 52, 6}, {3, 64, 1}, {4, 67, 6}, {5, 0, 0}, {-1, 0, 0}};
    for (const auto& c : cases) {
        std::int32_t style = 0;
        SetMessageBox([&](std::int32_t s, const std::string& text, const std::string& title) {
            style = s;
            EXPECT_EQ(text + "|" + title, "t|x");
            return 7;
        });
        EXPECT_EQ(ShowMessage(c.kind, "t", "x"), c.style ? 7 : 0) << c.kind;
        EXPECT_EQ(style, c.style) << c.kind;
        SetMessageBox({});
        EXPECT_EQ(ShowMessage(c.kind, "t", "x"), c.answer) << c.kind;
    }
}

TEST(ErrorConvention, Text907ABlankAndTheNumberUnderTitle990) {
    std::vector<std::pair<std::string, std::string>> shown;
    SetMessageBox([&](std::int32_t style, const std::string& text, const std::string& title) {
        EXPECT_EQ(style, styleOkExclamation);
        shown.emplace_back(text, title);
        return 1;
    });
    LanguageOffset = 0;
    LoadMessageTexts();
    ReportError(53);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], std::make_pair(std::string("Bitte wenden Sie sich an den Hersteller, Fehlercode 53"),
                                       std::string("Hinweis")));

    // Before the start-up has loaded the texts, the convention fetches them itself; English
    // text 907 ends in a blank of its own, so two blanks stand before the number.
    MessageTexts = {};
    LanguageOffset = kLanguageNotChosen;
    EXPECT_FALSE(Trap([] { automation::raiseRuntime(automation::errSubscript); }));
    EXPECT_EQ(shown.back(),
              std::make_pair(std::string("Please contact manufacturer: error code  9"), std::string("advice")));

    // Any exception is reported with a number and goes no further; the lead text can differ.
    LanguageOffset = 1000;
    EXPECT_FALSE(Trap([] { throw std::out_of_range("x"); }, "Access denied, please check the storage medium!"));
    EXPECT_EQ(shown.back().first, "Access denied, please check the storage medium! 9");
    EXPECT_FALSE(Trap([] { throw 5; }));
    EXPECT_EQ(shown.back().first, "Please contact manufacturer: error code  51");
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

// Every report also goes to the error log with the error's number, source and description,
// while the message shown stays the convention's: the number alone.
TEST(ErrorConvention, EachReportIsLoggedWithNumberSourceAndDescription) {
    std::vector<std::string> shown;
    SetMessageBox([&](std::int32_t, const std::string& text, const std::string&) {
        shown.push_back(text);
        return 1;
    });
    std::vector<std::string> logged;
    SetErrorLog([&](const ErrorRecord& e) {
        logged.push_back(std::to_string(e.number) + "|" + e.source + "|" + e.description);
    });
    LanguageOffset = 1000;
    const std::string contact = "Please contact manufacturer: error code  ";  // text 907, a blank, the number
    const struct {
        std::function<void()> raise;
        const char* log;
        const char* code;  // of the message
    } cases[] = {
        {[] { automation::raise(51, "Corlink.clsOrvekDali", "Table entry 70 missing"); },
         "51|Corlink.clsOrvekDali|Table entry 70 missing", "51"},
        {[] { automation::raise(automation::vbBrimEibError + 3, "brimEib.DoUpload", "Upload is running"); },
         "-2147218501|brimEib.DoUpload|Upload is running", "-2147218501"},
        {[] { throw std::bad_alloc(); }, "7|Corvane|std::bad_alloc", "7"},
        {[] { throw std::out_of_range("slot 70"); }, "9|Corvane|slot 70", "9"},
        {[] { throw std::logic_error("no project"); }, "51|Corvane|no project", "51"},
        {[] { throw 5; }, "51|Corvane|an exception of no known type", "51"},
    };
    for (const auto& c : cases) {
        shown.clear();
        logged.clear();
        EXPECT_FALSE(Trap(c.raise));
        EXPECT_EQ(logged, std::vector<std::string>{c.log});
        EXPECT_EQ(shown, std::vector<std::string>{contact + c.code});
    }

    // The lead text of Save As, a report of a caught error and one of a bare number.
    logged.clear();
    shown.clear();
    Trap([] { automation::raise(70, "Corlink.SaveProjektData", "Permission denied"); },
         "Access denied, please check the storage medium!");
    ReportError(std::runtime_error("printer gone"));
    ReportError(53);
    EXPECT_EQ(logged, (std::vector<std::string>{"70|Corlink.SaveProjektData|Permission denied",
                                                "51|Corvane|printer gone", "53||"}));
    EXPECT_EQ(shown, (std::vector<std::string>{"Access denied, please check the storage medium! 70", contact + "51",
                                               contact + "53"}));

    // A log that fails takes nothing from the message.
    SetErrorLog([](const ErrorRecord&) { throw std::runtime_error("log full"); });
    shown.clear();
    EXPECT_FALSE(Trap([] { automation::raiseRuntime(automation::errSubscript); }));
    EXPECT_EQ(shown, std::vector<std::string>{contact + "9"});
    SetErrorLog({});
    SetMessageBox({});
    LanguageOffset = kLanguageNotChosen;
}

TEST(GeneralDate, DateTimeDateAloneTimeAlone) {
    EXPECT_EQ(GeneralDate(0), "00:00:00");
    const std::pair<automation::DateTime, const char*> cases[] = {
        {{2024, 3, 7, 14, 5, 9}, "07.03.2024 14:05:09"},
        {{2024, 3, 7, 0, 0, 0}, "07.03.2024"},
        {{2024, 3, 7, 0, 0, 5}, "07.03.2024 00:00:05"},
        {{1899, 12, 30, 8, 30, 0}, "08:30:00"},
    };
    for (const auto& [time, text] : cases) EXPECT_EQ(GeneralDate(automation::toOleDate(time)), text);
    EXPECT_EQ(ShortDate(automation::toOleDate({2024, 12, 24, 18, 0, 0})), "24.12.2024");

    // The ends of the automation-date range, and values that are no date: an empty text.
    EXPECT_EQ(GeneralDate(-657434.5), "01.01.0100 12:00:00");
    EXPECT_EQ(GeneralDate(2958465.0), "31.12.9999");
    for (const double none : {std::nan(""), HUGE_VAL, -HUGE_VAL, -657435.0, 2958466.0, 1e300, -1e300}) {
        EXPECT_EQ(GeneralDate(none), "") << none;
        EXPECT_EQ(ShortDate(none), "") << none;
    }
}
