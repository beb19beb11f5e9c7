// The print engine, the page layout, the address lines and the sections, on a recording
// printer, a PDF file and the print file.
#include "DateText.h"
#include "StringTable.h"
#include "frmPrint.h"
#include "frmProjektInfo.h"
#include "printout_fixture.h"
#include "text1252.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPrinter>
#include <QPrinterInfo>

#include <cmath>

using namespace corvane;
using corvane::test::activeGroup;
using corvane::test::bound;
using corvane::test::Printed;
using corvane::test::Printout;
using corvane::test::Ruled;

namespace {

std::vector<std::string> printFileLines(const QString& folder) {
    QFile f(QDir(folder).filePath("Print.txt"));
    if (!f.open(QIODevice::ReadOnly)) return {};
    const std::string all = automation::fromWindows1252(f.readAll().toStdString());
    std::vector<std::string> lines;
    for (std::size_t start = 0, end; (end = all.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(all.substr(start, end - start));
    }
    return lines;
}

// A lighting group with its four objects bound: seven rows in the printout.
corlink::TypBeleuchtungsGruppe fullLightingGroup(int i) {
    auto g = activeGroup<corlink::TypBeleuchtungsGruppe>("Licht " + std::to_string(i + 1), ActorTypeList(1).ActorCode);
    for (int k = 0; k < 4; ++k) g.Objekte[static_cast<std::size_t>(k)] = bound({{1, i, k}}, 0);
    return g;
}

}  // namespace

TEST_F(Printout, AddressListShowsAddressesFlagsAndPriority) {
    const auto o = bound({{1, 2, 3}, {1, 2, 4}}, 0b0100'1111);
    EXPECT_EQ(PrintAddressList(o.GrpAdr, o.Flags), " 1/2/3 1/2/4 : KLÜ  Priorität: Niedrig  ");
    EXPECT_EQ(PrintAddressList(o.GrpAdr, 0b0110'1111), " 1/2/3 1/2/4 : KLÜ  Priorität: Niedrig  ");  // bit 5
    ShowGrpAdr = 0;
    EXPECT_EQ(PrintAddressList(o.GrpAdr, 0b1001'0001), " 1/515 1/516 : SA  Priorität: Hoch  ");
    EXPECT_EQ(PrintAddressList({}, 0), " :   Priorität: System  ");
    LanguageOffset = kEnglish;
    EXPECT_EQ(PrintAddressList({}, 0b1101'1110), " : CRWTU  priority: alarm  ");
}

TEST_F(Printout, NothingIsPrintedWithoutProjectFile) {
    corlink::TypHeader h = dali().Header();
    h.DateiName.clear();
    dali().letHeader(h);
    PrintProject(*main, 0);
    PrintProject(*main, 1);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, "Keine Gerätedaten zum Drucken!");
    EXPECT_EQ(shown[0].style, styleOkExclamation);
    EXPECT_EQ(shown[0].title, Text(990));
    EXPECT_EQ(rec->jobs, 0);
    EXPECT_FALSE(QFile::exists(dir.filePath("Print.txt")));
}

TEST_F(Printout, PageHeaderBodyAndFooterOfAnEmptyProject) {
    PrintProject(*main, 0);
    EXPECT_TRUE(shown.empty());
    ASSERT_EQ(rec->jobs, 1);
    EXPECT_EQ(rec->pages, 1);
    EXPECT_TRUE(rec->ended);

    auto expectAt = [this](const std::string& text, double x, double y) {
        const Printed* p = find(text);
        ASSERT_NE(p, nullptr) << text;
        EXPECT_EQ(p->x, x) << text;
        EXPECT_EQ(p->y, y) << text;
    };
    expectAt(Text(1), 10, 2);
    expectAt("letzter Download: 18.05.2024 10:00:00", 10, 3);
    expectAt("letzter Upload: 00:00:00", 10, 4);
    expectAt("Artikelnummer: " + dali().Header().Bestellnummer, 80, 3);
    expectAt("Firmwareversion: " + dali().Header().Version, 80, 4);
    expectAt("phys. Adresse: 1.1.7", 80, 5);
    expectAt("Projektierung: /projects/hall.dal", 10, 6);
    expectAt("Beleuchtung", 10, 8);
    expectAt("Zeit zwischen Lesetelegrammen (Basis 10s): 0", 10, 9);
    expectAt("03.06.2024 14:05:09", 10, 77);
    expectAt("Seite: 1", 130, 77);
    EXPECT_TRUE(find("Beleuchtung")->bold && find("Beleuchtung")->underline);
    EXPECT_FALSE(find("Zeit zwischen Lesetelegrammen (Basis 10s): 0")->bold);

    ASSERT_GE(rec->rules.size(), 3u);
    EXPECT_EQ(rec->rules.front().y1, 7);
    EXPECT_EQ(rec->rules.front().x1, 10);
    EXPECT_EQ(rec->rules.front().x2, 150);
    EXPECT_EQ(rec->rules[1].y1, 10);  // under the lighting section
    EXPECT_EQ(rec->rules.back().y1, 75);

    std::vector<std::string> titles;
    for (const Printed& p : rec->texts) {
        if (p.underline && p.text.find(':') == std::string::npos) titles.push_back(p.text);
    }
    EXPECT_EQ(titles, (std::vector<std::string>{"Beleuchtung", "Belüftung", "Jalousie", "Temperatur", "Szene",
                                                "Tastenbelegung", "Meldung", "Allgemeine Einstellungen"}));
}

TEST_F(Printout, LongProjectsBreakPagesBelowTheFooterRow) {
    for (int i = 0; i < MaxLimits.MaxBeleuchtungsgruppen; ++i) {
        dali().letBeleuchtungsGruppe(static_cast<std::int16_t>(i), fullLightingGroup(i));
    }
    PrintProject(*main, 0);
    ASSERT_EQ(rec->jobs, 1);
    ASSERT_GE(rec->pages, 2);
    for (int page = 1; page <= rec->pages; ++page) {
        const std::vector<std::string> texts = textsOn(page);
        ASSERT_FALSE(texts.empty());
        EXPECT_EQ(texts.front(), Text(1)) << page;
        EXPECT_EQ(texts.back(), "Seite: " + std::to_string(page));
    }
    for (const Printed& p : rec->texts) {
        const bool header = p.y >= 2 && p.y <= 6, footer = p.y == 77;
        EXPECT_TRUE(header || footer || (p.y >= 8 && p.y <= 74)) << p.text << " at " << p.y;
    }
    // Every group's actuator type stands beside its name, and page 2 continues at row 8.
    for (int i = 0; i < MaxLimits.MaxBeleuchtungsgruppen; ++i) {
        const Printed* name = find("Licht " + std::to_string(i + 1));
        ASSERT_NE(name, nullptr);
        const auto type = std::find_if(rec->texts.begin(), rec->texts.end(),
                                       [name](const Printed& p) { return &p > name && p.x == 90; });
        ASSERT_NE(type, rec->texts.end());
        EXPECT_EQ(type->page, name->page);
        EXPECT_EQ(type->y, name->y);
    }
    const auto firstOnPage2 =
        std::find_if(rec->texts.begin(), rec->texts.end(), [](const Printed& p) { return p.page == 2 && p.y >= 8; });
    ASSERT_NE(firstOnPage2, rec->texts.end());
    EXPECT_EQ(firstOnPage2->y, 8);
    EXPECT_EQ(rec->rules.back().y1, 75);

    // Nine groups of seven rows end page 1 with the section's rule at row 73: the next section
    // finds less than seven rows left and opens page 2 with its title, underlined and bold.
    dali().letBeleuchtungsGruppe(9, corlink::TypBeleuchtungsGruppe{});
    PrintProject(*main, 0);
    const Printed* title = find("Belüftung");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->page, 2);
    EXPECT_EQ(title->y, 8);
    EXPECT_TRUE(title->bold && title->underline);

    // A real page at 8 points takes the same rows: the PDF has as many pages.
    const QString pdf = dir.filePath("print.pdf");
    const int recorded = rec->pages;
    SetPrinterFactory([pdf] {
        auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(pdf);
        printer->setPageSize(QPageSize(QPageSize::A4));
        return MakeQtPrinterObject(printer);
    });
    PrintProject(*main, 0);
    EXPECT_TRUE(shown.empty());
    QFile f(pdf);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    EXPECT_EQ(bytes.count("/Type /Page\n"), recorded);
}

TEST_F(Printout, FunctionGroupLinesInThePrintFile) {
    corlink::TypZeiten t = dali().Zeiten();
    t.ReadTimeLight = 12;
    dali().letZeiten(t);
    auto light = activeGroup<corlink::TypBeleuchtungsGruppe>("Flur", ActorTypeList(1).ActorCode);
    light.FeedBack = 0x12;  // display 2, read the object value
    light.Objekte[0] = bound({{1, 2, 3}}, 0b0001'1100);
    light.Objekte[3] = bound({{1, 2, 4}}, 0);
    dali().letBeleuchtungsGruppe(1, light);
    auto temp = activeGroup<corlink::TypTemperaturGruppe>("Büro", 222);  // no such actuator
    temp.FeedBack1 = 6;
    temp.FeedBack2 = 0x10;
    temp.FeedBack3 = 9;  // no display line; its read line follows the row printed last
    dali().letTemperaturGruppe(0, temp);

    PrintProject(*main, 1);
    PrintProject(*main, 1);  // a second run appends
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(rec->jobs, 0);  // the print file needs no printer
    EXPECT_FALSE(PrintToFileActive());
    const std::vector<std::string> lines = printFileLines(dir.path());
    ASSERT_EQ(lines.size() % 2, 0u);
    const std::vector<std::string> run(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(lines.size() / 2));
    EXPECT_EQ(std::vector<std::string>(lines.begin() + static_cast<std::ptrdiff_t>(run.size()), lines.end()), run);
    const std::vector<std::string> expected = {"Beleuchtung",
                                               "Zeit zwischen Lesetelegrammen (Basis 10s): 12",
                                               "",
                                               "Flur",
                                               "Aktortyp: " + ActorTypeList(1).Text,
                                               "Anzeige im Display: Abhängig vom Rückmeldeobjekt",
                                               "Objektwert lesen: Ja",
                                               " 1/2/3 : KLS  Priorität: System   Schaltobjekt (1 Bit)",
                                               " 1/2/4 :   Priorität: System   Rückmeldeobjekt (1 Bit)",
                                               "Belüftung",
                                               "Zeit zwischen Lesetelegrammen (Basis 10s): 0",
                                               "Jalousie",
                                               "Zeit zwischen Lesetelegrammen (Basis 10s): 0",
                                               "Temperatur",
                                               "Zeit zwischen Lesetelegrammen (Basis 10s): 0",
                                               "",
                                               "Büro",
                                               "Aktortyp: ",
                                               Text(342) + ": Isttemperatur",
                                               Text(345) + ": Nein",
                                               Text(343) + ": " + Text(346),
                                               Text(345) + ": Ja",
                                               Text(345) + ": Nein",
                                               "Szene",
                                               "Tastenbelegung"};
    ASSERT_GE(run.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(run.begin(), run.begin() + static_cast<std::ptrdiff_t>(expected.size())),
              expected);
    // No signalling or general section in the print file.
    EXPECT_EQ(std::count(run.begin(), run.end(), "Meldung"), 0);
    EXPECT_EQ(std::count(run.begin(), run.end(), "Allgemeine Einstellungen"), 0);
    QFile raw(dir.filePath("Print.txt"));
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    EXPECT_TRUE(raw.readAll().contains("B\xFCro\r\n"));  // Windows-1252 lines
}

TEST_F(Printout, ScenesAndPushButtonsInTheirColumns) {
    // A value option that takes an input value, and a lighting group that the scene sets.
    int row = -1, number = 0;
    for (int r = 0; r <= ValueOptionList.ubound() && row < 0; ++r) {
        const auto& options = ValueOptionList(r).Options;
        if (!options.allocated()) continue;
        for (int k = options.lbound(); k <= options.ubound(); ++k) {
            if (options(k).Kind == 2) {
                row = r;
                number = k + 1;
                break;
            }
        }
    }
    ASSERT_GE(row, 0);
    dali().letBeleuchtungsGruppe(0,
                                 activeGroup<corlink::TypBeleuchtungsGruppe>("Saal", ValueOptionList(row).ActorCode));
    corlink::TypSzene scene = dali().Szene(0);
    scene.Active = true;
    scene.Name = "Abend";
    scene.Verzoegerungszeit = 5;
    scene.BeleuchtungsWerte(0).Aktiv = true;
    scene.BeleuchtungsWerte(0).WertID = static_cast<std::int16_t>(number);
    scene.BeleuchtungsWerte(0).RefAufSzenenWert = static_cast<std::int16_t>(row);
    scene.BeleuchtungsWerte(0).Wert1 = {77, 0};
    scene.ObjNebenstelle = bound({{2, 0, 1}}, 0);
    dali().letSzene(0, scene);
    // A scene value without a chosen option prints its row instead of ending the printout.
    corlink::TypSzene broken = dali().Szene(3);
    broken.Active = true;
    broken.Name = "Nacht";
    broken.BeleuchtungsWerte(0).Aktiv = true;
    dali().letSzene(3, broken);
    corlink::TypTasten key = dali().Tasten(0);
    key.Name = "Taste A";
    key.FunktionID = 1;
    key.WertID = 1;
    dali().letTasten(0, key);

    PrintProject(*main, 0);
    EXPECT_TRUE(shown.empty());
    const Printed* name = find("Abend");
    ASSERT_NE(name, nullptr);
    EXPECT_TRUE(name->bold);
    const Printed* spacing = find("Telegrammabstand (Basis 100ms): 5");
    ASSERT_NE(spacing, nullptr);
    EXPECT_EQ(spacing->x, 90);
    EXPECT_EQ(spacing->y, name->y);
    const Printed* group = find(Text(101) + ": Saal");
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->y, name->y + 1);
    const Printed* option = find(ValueOptionList(row).Options(number - 1).Text);
    ASSERT_NE(option, nullptr);
    EXPECT_EQ(option->x, 90);
    EXPECT_EQ(option->y, group->y);
    const Printed* value = find("77");
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->x, 130);
    EXPECT_EQ(value->y, group->y);
    const Printed* extension = find(" 2/0/1 :   Priorität: System   Nebenstellenbedienung");
    ASSERT_NE(extension, nullptr);
    EXPECT_EQ(extension->y, group->y + 1);
    ASSERT_NE(find("Nacht"), nullptr);

    // Push buttons in pairs: odd numbers on the left, even ones beside them.
    const std::int32_t keys = MaxLimits.MaxTasten;
    for (int i = 1; i <= keys; ++i) {
        const Printed* heading = find("Tastenbelegung: " + std::to_string(i));
        ASSERT_NE(heading, nullptr) << i;
        EXPECT_TRUE(heading->bold && heading->underline);
        EXPECT_EQ(heading->x, i % 2 ? 10 : 90);
        if (i % 2 == 0) {
            EXPECT_EQ(heading->y, find("Tastenbelegung: " + std::to_string(i - 1))->y);
        }
        if (i > 2) {
            EXPECT_EQ(heading->y, find("Tastenbelegung: " + std::to_string(i - 2))->y + 5);
        }
    }
    const Printed* keyName = find("Taste A");
    ASSERT_NE(keyName, nullptr);
    EXPECT_EQ(keyName->y, find("Tastenbelegung: 1")->y + 1);
    ASSERT_NE(find(ButtonFunctionList(1).Text + ": " + ButtonActionList(1).Actions(0).Text), nullptr);
    ASSERT_NE(find("LED: " + DisplayModeList(0).Text), nullptr);
}

TEST_F(Printout, GeneralSettingsSection) {
    corlink::TypZeiten t = dali().Zeiten();
    t.ZeitDatumKonfig = 4;  // no line, the blank lines stay
    t.ZeitDatumFormat = 1;
    t.LangeTastZeit = 30;
    t.SLangeTastZeit = 7;
    t.LCDOnZeit = 120;
    t.ObjekteDatumZeitLCD[0] = bound({{3, 1, 1}}, 0);
    t.ObjekteDatumZeitLCD[2] = bound({{3, 1, 3}}, 0);
    dali().letZeiten(t);
    PrintProject(*main, 0);
    const Printed* title = find("Allgemeine Einstellungen");
    ASSERT_NE(title, nullptr);
    std::vector<std::string> section;
    for (const Printed* p = title; p->text.rfind("Seite", 0) != 0 && p->y < 75; ++p) section.push_back(p->text);
    EXPECT_EQ(section,
              (std::vector<std::string>{
                  "Allgemeine Einstellungen", "Einstellung der Datum- und Zeitformate: 12h - MM.TT.JJ",
                  "Einstellung der Zeiten", "lange Tastzeit (Basis 10ms): 30", "sehr lange Tastzeit (Basis 100ms): 7",
                  "Einstellung Display", "Einschaltzeit Displaybeleuchtung (Basis 1s): 120",
                  "Beleuchtung schaltbar über Objekt: Ja", " 3/1/1 :   Priorität: System   Zeit",
                  " 3/1/3 :   Priorität: System   Display-Beleuchtung"}));
    EXPECT_EQ(find("Einstellung der Datum- und Zeitformate: 12h - MM.TT.JJ")->y, title->y + 3);
}

TEST_F(Printout, FailuresAreReportedAndAbandonTheRun) {
    for (int i = 0; i < MaxLimits.MaxBeleuchtungsgruppen; ++i) {
        dali().letBeleuchtungsGruppe(static_cast<std::int16_t>(i), fullLightingGroup(i));
    }
    rec->failOnPage = 2;
    PrintProject(*main, 0);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, Text(907) + " 1004");
    EXPECT_TRUE(rec->killed);
    EXPECT_FALSE(rec->ended);

    // The print file cannot be opened: reported, and the module is ready for the next run.
    ASSERT_TRUE(QDir(dir.path()).mkdir("Print.txt"));
    PrintProject(*main, 1);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].text, Text(907) + " 75");
    EXPECT_FALSE(PrintToFileActive());
    rec->failOnPage = 0;
    PrintProject(*main, 0);
    EXPECT_EQ(shown.size(), 2u);
    EXPECT_TRUE(rec->ended);

    // No printer at all.
    SetPrinterFactory([]() -> std::unique_ptr<PrinterObject> { automation::raise(errPrinter, "Printer", "none"); });
    PrintProject(*main, 0);
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[2].text, "Es ist kein Drucker angeschlossen!");
    EXPECT_EQ(shown[2].style, styleOkExclamation);
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        SetPrinterFactory({});  // the system's printers
        PrintProject(*main, 0);
        ASSERT_EQ(shown.size(), 4u);
        EXPECT_EQ(shown[3].text, "Es ist kein Drucker angeschlossen!");
    }
}

TEST_F(Printout, PrintCommandOfTheMainWindow) {
    RegisterPrintout();
    EXPECT_FALSE(main->mnuDrucken->isEnabled());
    EXPECT_FALSE(main->mnuDruckenMehr->isEnabled());
    main->Toolbar1_ButtonClick("Print");
    EXPECT_EQ(rec->jobs, 1);
    EXPECT_TRUE(rec->ended);
    SetPrintCommand({});
}

// A display code outside the table prints no display line; its read-object text then takes a row
// of its own in the middle column instead of the row printed before.
TEST_F(Printout, ReadObjectTextOfAnUnlistedDisplayCodeHasItsOwnRow) {
    auto light = activeGroup<corlink::TypBeleuchtungsGruppe>("Flur", 222);  // no such actuator: no type text
    light.FeedBack = 0x19;                                                  // display 9, read the object value
    dali().letBeleuchtungsGruppe(0, light);
    auto temp = activeGroup<corlink::TypTemperaturGruppe>("Büro", 222);
    temp.FeedBack1 = 0x16;  // actual temperature, read
    temp.FeedBack2 = 0x17;  // display 7, read
    temp.FeedBack3 = 0x00;  // no display, not read
    dali().letTemperaturGruppe(0, temp);

    PrintProject(*main, 0);
    EXPECT_TRUE(shown.empty());
    using Placed = std::tuple<std::string, double, double>;  // text, row below the name, column
    const auto placedAfter = [&](const std::string& name, int rows) {
        const Printed* head = find(name);
        std::vector<Placed> out;
        for (const Printed* p = head + 1; head && p < rec->texts.data() + rec->texts.size() && p->y <= head->y + rows;
             ++p) {
            out.emplace_back(p->text, p->y - head->y, p->x);
        }
        return out;
    };
    EXPECT_EQ(placedAfter("Flur", 1), (std::vector<Placed>{{"Aktortyp: ", 0, 90}, {"Objektwert lesen: Ja", 1, 90}}));
    EXPECT_EQ(placedAfter("Büro", 3), (std::vector<Placed>{{"Aktortyp: ", 0, 90},
                                                           {Text(342) + ": Isttemperatur", 1, 10},
                                                           {Text(345) + ": Ja", 1, 90},
                                                           {Text(345) + ": Ja", 2, 90},
                                                           {Text(344) + ": " + Text(346), 3, 10},
                                                           {Text(345) + ": Nein", 3, 90}}));
}

// ---- The page-room checks on both sides of their boundary ----

namespace {

// Active lighting groups with 0 to 4 of their objects bound: 3 rows each and one per object.
void lightingGroupsOfRows(corlink::clsOrvekDali& dali, const std::vector<int>& boundObjects) {
    std::int16_t i = 0;
    for (const int objects : boundObjects) {
        corlink::TypBeleuchtungsGruppe g = fullLightingGroup(i);
        for (std::size_t k = static_cast<std::size_t>(objects); k < g.Objekte.size(); ++k) g.Objekte[k] = {};
        dali.letBeleuchtungsGruppe(i++, g);
    }
}

}  // namespace

// A section needs 7 rows above the footer row 75: after a rule at row 68 the next one starts
// beside it, after a rule at row 69 on the next page. A line at row 74 ends its page at once: the
// section's rule follows at row 8 of the next page, and the next section below it.
TEST_F(Printout, ALineAtRow74EndsThePageAndASectionNeedsSevenRows) {
    struct Case {
        std::vector<int> groups;  // bound objects per lighting group
        int rulePage;             // the lighting section's closing rule
        double rule;
        int page;  // where the ventilation section starts
        double row;
    };
    const Case cases[] = {{{4, 4, 4, 4, 4, 4, 4, 2, 1}, 1, 68, 1, 69},
                          {{4, 4, 4, 4, 4, 4, 4, 2, 2}, 1, 69, 2, 8},
                          {{4, 4, 4, 4, 4, 4, 4, 4, 2, 0}, 1, 74, 2, 8},
                          {{4, 4, 4, 4, 4, 4, 4, 4, 3, 0}, 2, 8, 2, 9}};
    // The job's last section ends with its empty line at row 74 (15 rows more than an empty
    // project): its rule opens page 2, and the job's footer follows there.
    lightingGroupsOfRows(dali(), {4, 1, 1});
    PrintProject(*main, 0);
    const Printed* lastText = find(Text(454) + ": " + Text(456));
    ASSERT_NE(lastText, nullptr);
    EXPECT_EQ(std::tuple(lastText->page, lastText->y), std::tuple(1, 73.0));
    ASSERT_EQ(rec->pages, 2);
    ASSERT_GE(rec->rules.size(), 2u);
    const Ruled& last = rec->rules[rec->rules.size() - 2];  // above the footer's
    EXPECT_EQ(std::tuple(last.page, last.y1), std::tuple(2, 8.0));
    EXPECT_EQ(textsOn(2).back(), "Seite: 2");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rule);
        lightingGroupsOfRows(dali(), c.groups);
        PrintProject(*main, 0);
        // The first rule that is no header's (row 7) or footer's (row 75).
        const auto rule =
            std::find_if(rec->rules.begin(), rec->rules.end(), [](const Ruled& r) { return r.y1 != 7 && r.y1 != 75; });
        ASSERT_NE(rule, rec->rules.end());
        EXPECT_EQ(rule->page, c.rulePage);
        EXPECT_EQ(rule->y1, c.rule);
        const Printed* title = find("Belüftung");
        ASSERT_NE(title, nullptr);
        EXPECT_EQ(title->page, c.page);
        EXPECT_EQ(title->y, c.row);
    }
}

// A push-button pair needs 5 rows above the footer row: a pair that starts at row 70 ends at
// row 74 beside each other, one that would start at row 71 moves to the next page whole.
TEST_F(Printout, APushButtonPairStaysTogetherAtAPageBreak) {
    struct Case {
        std::vector<int> groups;  // bound objects per lighting group
        int page;                 // of buttons 7 and 8, the fourth pair
        double headingRow;
    };
    const Case cases[] = {{{4, 4, 4, 4, 1}, 1, 71}, {{4, 4, 4, 4, 2}, 2, 9}};
    ASSERT_EQ(MaxLimits.MaxTasten, 8);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.page);
        lightingGroupsOfRows(dali(), c.groups);
        PrintProject(*main, 0);
        const Printed* left = find("Tastenbelegung: 7");
        const Printed* right = find("Tastenbelegung: 8");
        ASSERT_TRUE(left && right);
        EXPECT_EQ(left->page, c.page);
        EXPECT_EQ(left->y, c.headingRow);
        EXPECT_EQ(left->x, 10);
        EXPECT_EQ(right->page, c.page);
        EXPECT_EQ(right->y, c.headingRow);
        EXPECT_EQ(right->x, 90);
        const Printed* before = find("Tastenbelegung: 5");  // the pair above stays on page 1
        ASSERT_NE(before, nullptr);
        EXPECT_EQ(before->page, 1);
    }
}

// ---- Dates that are no dates ----

TEST_F(Printout, AFileWhoseDatesAreNoDatesOpensAndShowsThemEmpty) {
    // The saved file's three dates (LetzterZugriff is the clock's) become NaN, infinity and 1e300.
    const std::string name = dir.filePath("odd.dal").toStdString();
    dali().SaveProjektData(name);
    QFile file(QString::fromStdString(name));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    QByteArray bytes = file.readAll();
    const double access = automation::now();
    const qsizetype at = bytes.indexOf(QByteArray(reinterpret_cast<const char*>(&access), 8));
    ASSERT_GT(at, 0);
    const double odd[3] = {std::nan(""), HUGE_VAL, 1e300};
    bytes.replace(at, 24, QByteArray(reinterpret_cast<const char*>(odd), 24));
    file.seek(0);
    file.write(bytes);
    file.close();

    ASSERT_EQ(main->OpenProjectFile(name), frm01::FileOpen::Opened);
    EXPECT_EQ(main->StatusPanel(3), "");
    frmProjektInfo info(*main);
    for (const QLineEdit* box : {info.TextDateiZugriff, info.TextDownload, info.TextUpload}) {
        EXPECT_EQ(box->text(), "") << box->objectName().toStdString();
    }
    PrintProject(*main, 0);
    EXPECT_NE(find("letzter Download: "), nullptr);
    EXPECT_NE(find("letzter Upload: "), nullptr);
    EXPECT_TRUE(shown.empty());
}

// ---- Every value that a section prints as a text, against the text ids of the sections ----

namespace {

// The display byte as the address component reads it: field 0 (the display choice) in the low
// four bits, field 1 (read the object value) in bit 4.
std::uint8_t feedBack(int display, int read) { return static_cast<std::uint8_t>(display | read << 4); }

// The line of an object bound to 1/0/k with flags 0, labelled with text `label`.
std::string objectLine(int k, int label) {
    return " 1/0/" + std::to_string(k) + " :   Priorität: System   " + Text(label);
}

}  // namespace

// Lighting, ventilation and blinds: every actuator type, every display value with both read
// settings, and every printed object's label.
TEST_F(Printout, FunctionGroupsPrintEveryActuatorTypeDisplayValueAndObject) {
    struct Kind {
        int title, next, type, display, read, yes, no;
        std::array<int, 4> values, objects;
    };
    const Kind lighting{101, 102, 300, 302, 303, 308, 309, {304, 305, 306, 307}, {150, 151, 152, 153}};
    const Kind ventilation{102, 104, 320, 322, 323, 328, 329, {324, 325, 326, 327}, {154, 155, 156, 157}};
    const Kind blinds{104, 103, 360, 362, 363, 368, 369, {364, 365, 366, 367}, {165, 166, 167, 168}};
    struct Case {
        const Kind* kind;
        std::uint8_t actor;
        int typeText;  // 0: a code no actuator type has
        int display, read;
    };
    const Case cases[] = {
        {&lighting, 0, 109, 0, 0},     {&lighting, 10, 110, 1, 1},    {&lighting, 11, 111, 2, 0},
        {&lighting, 20, 112, 3, 1},    {&ventilation, 21, 113, 0, 1}, {&ventilation, 30, 114, 1, 0},
        {&ventilation, 40, 116, 2, 1}, {&ventilation, 41, 117, 3, 0}, {&blinds, 42, 118, 0, 0},
        {&blinds, 12, 0, 1, 1},        {&blinds, 0, 109, 2, 0},       {&blinds, 10, 110, 3, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << Text(c.kind->title) << " " << int{c.actor} << " " << c.display);
        const auto group = [&](auto g) {
            g.Active = true;
            g.Name = "Gruppe";
            g.AktorTyp = c.actor;
            g.FeedBack = feedBack(c.display, c.read);
            for (std::size_t k = 0; k < g.Objekte.size(); ++k) g.Objekte[k] = bound({{1, 0, static_cast<int>(k)}}, 0);
            return g;
        };
        if (c.kind == &lighting) dali().letBeleuchtungsGruppe(0, group(corlink::TypBeleuchtungsGruppe{}));
        if (c.kind == &ventilation) dali().letBelueftungsGruppe(0, group(corlink::TypBelueftungsGruppe{}));
        if (c.kind == &blinds) dali().letJalousieGruppe(0, group(corlink::TypJalousieGruppe{}));  // 5 objects
        PrintProject(*main, 0);
        const Kind& k = *c.kind;
        std::vector<std::string> expected = {
            Text(490) + ": 0", "Gruppe", Text(k.type) + ": " + (c.typeText ? Text(c.typeText) : ""),
            Text(k.display) + ": " + Text(k.values[static_cast<std::size_t>(c.display)]),
            Text(k.read) + ": " + Text(c.read ? k.yes : k.no)};
        for (int slot = 0; slot < 4; ++slot)
            expected.push_back(objectLine(slot, k.objects[static_cast<std::size_t>(slot)]));
        EXPECT_EQ(textsBetween(Text(k.title), Text(k.next)), expected);
    }
}

// Temperature: each display line's two values and both read settings, the seven objects; the
// signalling groups' message texts and object.
TEST_F(Printout, TemperatureAndSignalGroupsPrintEveryDisplayValueAndObject) {
    auto first = activeGroup<corlink::TypTemperaturGruppe>("Raum 1", 30);
    first.FeedBack1 = feedBack(0, 0);
    first.FeedBack2 = feedBack(4, 1);
    first.FeedBack3 = feedBack(5, 0);
    for (int k = 0; k < 7; ++k) first.Objekte[static_cast<std::size_t>(k)] = bound({{1, 0, k}}, 0);
    dali().letTemperaturGruppe(0, first);
    auto second = activeGroup<corlink::TypTemperaturGruppe>("Raum 2");
    second.FeedBack1 = feedBack(6, 1);
    second.FeedBack2 = feedBack(0, 0);
    second.FeedBack3 = feedBack(0, 1);
    dali().letTemperaturGruppe(1, second);
    corlink::TypMeldeGruppe message;
    message.Active = true;
    message.Name0 = "Störung";
    message.Name1 = "in Ordnung";
    message.Objekte[0] = bound({{1, 0, 0}}, 0);
    dali().letMeldeGruppe(2, message);
    PrintProject(*main, 0);

    const auto line = [](int label, int value) { return Text(label) + ": " + Text(value); };
    const std::vector<std::string> temperature = {Text(490) + ": 0",  "Raum 1",           Text(340) + ": " + Text(114),
                                                  line(342, 346),     line(345, 349),     line(343, 352),
                                                  line(345, 348),     line(344, 353),     line(345, 349),
                                                  objectLine(0, 158), objectLine(1, 159), objectLine(2, 160),
                                                  objectLine(3, 161), objectLine(4, 162), objectLine(5, 163),
                                                  objectLine(6, 164), "Raum 2",           Text(340) + ": " + Text(109),
                                                  line(342, 347),     line(345, 348),     line(343, 346),
                                                  line(345, 349),     line(344, 346),     line(345, 348)};
    EXPECT_EQ(textsBetween(Text(103), Text(105)), temperature);
    EXPECT_EQ(textsBetween(Text(107), Text(200)),
              (std::vector<std::string>{Text(420) + ": Störung", Text(421) + ": in Ordnung", objectLine(0, 172)}));
}

// General settings: every display choice (459..462), both formats (463, 464), the display
// lighting's yes and no (455, 456) and the three objects' labels.
TEST_F(Printout, GeneralSettingsPrintEveryChoiceAndObject) {
    struct Case {
        std::uint8_t konfig, format;
        int slot;  // the one object with addresses, -1 none
        int konfigText, formatText;
    };
    const Case cases[] = {{0, 0, 0, 459, 463}, {1, 1, 1, 460, 464}, {2, 0, 2, 461, 463}, {3, 1, -1, 462, 464}};
    const std::array<int, 3> labels = {169, 170, 171};
    for (const Case& c : cases) {
        SCOPED_TRACE(int{c.konfig});
        corlink::TypZeiten t;
        t.ZeitDatumKonfig = c.konfig;
        t.ZeitDatumFormat = c.format;
        t.LangeTastZeit = 1;
        t.SLangeTastZeit = 20;
        t.LCDOnZeit = 255;
        if (c.slot >= 0) t.ObjekteDatumZeitLCD[static_cast<std::size_t>(c.slot)] = bound({{1, 0, c.slot}}, 0);
        dali().letZeiten(t);
        PrintProject(*main, 0);
        std::vector<std::string> expected = {Text(444) + ": " + Text(c.konfigText),
                                             Text(440) + ": " + Text(c.formatText),
                                             Text(441),
                                             Text(447) + ": 1",
                                             Text(448) + ": 20",
                                             Text(442),
                                             Text(453) + ": 255",
                                             Text(454) + ": " + Text(c.slot == 2 ? 455 : 456)};
        if (c.slot >= 0) expected.push_back(objectLine(c.slot, labels[static_cast<std::size_t>(c.slot)]));
        EXPECT_EQ(textsBetween(Text(200), ""), expected);
    }
}

// Scenes: every value option of every actuator type, with the value of an input option (one
// number) and of a position with slats (two).
TEST_F(Printout, ScenesPrintEveryValueOption) {
    struct Case {
        std::int16_t row, number;  // the option: row of the value options, 1-based number
        int text;
        std::string value;  // right column, "" none
    };
    const Case cases[] = {{1, 1, 580, ""},  {1, 2, 581, ""},   {2, 1, 582, "11"}, {3, 1, 583, ""},
                          {3, 2, 584, ""},  {4, 1, 585, "11"}, {5, 1, 588, ""},   {5, 2, 587, ""},
                          {5, 3, 586, ""},  {6, 1, 589, ""},   {6, 2, 590, ""},   {7, 1, 591, "11 / 22"},
                          {8, 1, 593, "11"}};
    corlink::TypSzene scene = dali().Szene(0);
    scene.Active = true;
    scene.Name = "Abend";
    std::vector<std::string> expected = {"Abend", Text(382) + ": 0"};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        // Ten lighting groups, then the ventilation groups: the value list's order.
        const bool light = i < 10;
        const auto index = static_cast<std::int16_t>(light ? i : i - 10);
        const std::string name = "G" + std::to_string(i);
        if (light) {
            corlink::TypBeleuchtungsGruppe g;
            g.Name = name;
            dali().letBeleuchtungsGruppe(index, g);
        } else {
            corlink::TypBelueftungsGruppe g;
            g.Name = name;
            dali().letBelueftungsGruppe(index, g);
        }
        corlink::TypSzenenWerte& v = (light ? scene.BeleuchtungsWerte : scene.BelueftungsWerte)(index);
        v.Aktiv = true;
        v.RefAufSzenenWert = c.row;
        v.WertID = c.number;
        v.Wert1 = {11, 22};
        expected.push_back(Text(light ? 101 : 102) + ": " + name);
        expected.push_back(Text(c.text));
        if (!c.value.empty()) expected.push_back(c.value);
    }
    dali().letSzene(0, scene);
    PrintProject(*main, 0);
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(textsBetween(Text(105), Text(106)), expected);
}

// Push buttons: every function with its press actions, the values of the functions whose
// setting is entered (kinds 3, 4 and 5; kind 0 prints no rows), and every LED display mode.
TEST_F(Printout, PushButtonsPrintEveryFunctionActionValueAndLedMode) {
    struct Case {
        std::uint8_t function;
        std::int16_t action;  // WertID; 0: the entered values
        std::uint8_t led;
        int functionText;
        int actionText;      // 0: the empty action text
        std::string values;  // for action 0; "-" no rows at all
    };
    const Case cases[] = {
        {0, 1, 0, 550, 0, ""},       {1, 1, 1, 551, 610, ""},    {1, 2, 2, 551, 611, ""},
        {1, 3, 3, 551, 612, ""},     {1, 4, 4, 551, 613, ""},    {1, 5, 5, 551, 614, ""},
        {2, 1, 6, 552, 615, ""},     {2, 2, 7, 552, 616, ""},    {3, 1, 8, 553, 617, ""},
        {4, 1, 9, 554, 619, ""},     {4, 2, 0, 554, 620, ""},    {5, 1, 1, 555, 621, ""},
        {6, 3, 2, 556, 612, ""},     {7, 1, 3, 557, 615, ""},    {8, 1, 4, 558, 617, ""},
        {9, 2, 5, 559, 620, ""},     {10, 1, 6, 560, 621, ""},   {11, 1, 7, 561, 622, ""},
        {11, 2, 8, 561, 623, ""},    {12, 1, 9, 562, 0, ""},     {13, 1, 0, 563, 0, ""},
        {14, 1, 1, 564, 625, ""},    {14, 2, 2, 564, 624, ""},   {14, 3, 3, 564, 627, ""},
        {14, 4, 4, 564, 628, ""},    {14, 5, 5, 564, 629, ""},   {14, 6, 6, 564, 630, ""},
        {15, 1, 7, 565, 626, ""},    {16, 2, 8, 561, 623, ""},   {17, 1, 9, 561, 622, ""},
        {1, 0, 0, 551, 0, "-"},      {5, 0, 1, 555, 0, "1 / 3"}, {12, 0, 2, 562, 0, "1 / 2 / 3 / 4"},
        {13, 0, 3, 563, 0, "1 / 3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int{c.function} << " " << c.action);
        corlink::TypTasten key = dali().Tasten(0);
        key.Name = "Taste";
        key.FunktionID = c.function;
        key.WertID = c.action;
        key.FunktionLED = c.led;
        key.Wert.Wert1 = {1, 2};
        key.Wert.Wert2 = {3, 4};
        dali().letTasten(0, key);
        PrintProject(*main, 0);
        std::vector<std::string> expected;
        if (c.values != "-") {
            const std::string setting = c.action ? (c.actionText ? Text(c.actionText) : "") : c.values;
            expected = {"Taste", Text(c.functionText) + ": " + setting, Text(649) + " " + Text(130 + c.led)};
        }
        EXPECT_EQ(textsBetween("Tastenbelegung: 1", "Tastenbelegung: 2"), expected);
    }
}
