#include "ModPrinter.h"

#include "DateText.h"
#include "MainWindowServices.h"
#include "Messages.h"
#include "ModDefinition.h"
#include "PrinterObject.h"
#include "Seams.h"
#include "StringTable.h"
#include "automation_error.h"
#include "brimcorbin.h"
#include "corlink/clsOrvekDali.h"
#include "oledate.h"
#include "text1252.h"
#include "variant.h"

#include <QDir>
#include <QFile>

#include <cmath>
#include <memory>

namespace corvane {

namespace {

// The state of the printout, kept between runs as the listing's module keeps it.
struct PrintRun {
    bool PrintToFile = false;
    std::int16_t PrintLeft = 10;
    std::int16_t PrintLineY = 0;
    std::int16_t PrintPageNo = 0;
    corlink::clsOrvekDali* project = nullptr;  // while a run is under way
    corlink::TypHeader PrintHeader;
    corlink::TypZeiten PrintTimes;
    std::unique_ptr<PrinterObject> printer;  // while a printer run is under way
    std::unique_ptr<QFile> file;             // while a to-file run is under way
};

PrintRun& run() {
    static PrintRun r;
    return r;
}

PrinterObject& printer() {
    if (!run().printer) automation::raiseRuntime(automation::errObjectNotSet, "Corvane");
    return *run().printer;
}

double middleColumn() { return printer().ScaleWidth / 2 + run().PrintLeft; }
double rightColumn() { return printer().ScaleWidth * 3 / 4 + run().PrintLeft; }

// Rows are whole numbers; a position is rounded to the nearest one, halves to even.
std::int16_t roundRow(double y) { return automation::toInteger(y); }

void PrintPageHeader();
void PrintPageFooter();

// A page that a row has filled ends before anything else goes on a new row: the next line, a
// rule or the room check of the next section. Only what goes back up beside the rows already
// printed stays on the page: a same-row column beside its line, the right block of a push-button
// pair beside the left one.
void breakIfFull() {
    PrintRun& r = run();
    if (r.PrintLineY < kFooterRow) return;
    // Footer and header print plainly; the row about to be printed keeps its emphasis.
    PrinterObject& p = printer();
    const bool bold = p.FontBold, underline = p.FontUnderline;
    r.PrintLineY = kFooterRow;
    PrintPageFooter();
    p.NewPage();
    ++r.PrintPageNo;
    PrintPageHeader();
    p.FontBold = bold;
    p.FontUnderline = underline;
}

// One text at column x on the current row (rowOffset 0) or on the row just printed (-1).
void out(const std::string& text, double x, int rowOffset, bool mayBreak = true) {
    PrintRun& r = run();
    if (r.PrintToFile) {
        const std::string line = automation::toWindows1252(text) + "\r\n";
        if (r.file->write(line.data(), static_cast<qint64>(line.size())) != static_cast<qint64>(line.size())) {
            automation::raiseRuntime(automation::errPathFileAccess, "Corvane");
        }
        return;
    }
    if (rowOffset == 0 && mayBreak) breakIfFull();
    PrinterObject& p = printer();
    p.CurrentX = x;
    p.CurrentY = r.PrintLineY + rowOffset;
    p.Print(text);
    r.PrintLineY = roundRow(p.CurrentY);
}

void PrintPageHeader() {
    PrintRun& r = run();
    PrinterObject& p = printer();
    r.PrintHeader = PrintedProject().Header();
    p.FontSize = 8;
    p.FontBold = false;
    p.FontUnderline = false;
    const corlink::TypHeader& h = r.PrintHeader;
    auto at = [&p](double x, double y, const std::string& text) {
        p.CurrentX = x;
        p.CurrentY = y;
        p.Print(text);
    };
    const double left = r.PrintLeft;
    const double half = p.ScaleWidth / 2;
    at(left, 2, Text(1));
    at(left, 3, Text(287) + ": " + GeneralDate(h.LetzterDownload));
    at(left, 4, Text(288) + ": " + GeneralDate(h.LetzterUpload));
    at(half, 3, Text(430) + ": " + h.Bestellnummer);
    at(half, 4, Text(431) + ": " + h.Version);
    at(half, 5, Text(201) + ": " + h.phyAdrString);
    at(left, 6, Text(289) + ": " + h.DateiName);
    p.Line(left, 7, p.ScaleWidth - left, 7);
    p.Print("");
    r.PrintLineY = roundRow(p.CurrentY);
}

void rule() {
    PrintRun& r = run();
    PrinterObject& p = printer();
    p.CurrentX = r.PrintLeft;
    p.CurrentY = r.PrintLineY;
    p.Line(r.PrintLeft, r.PrintLineY, p.ScaleWidth - r.PrintLeft, r.PrintLineY);
    r.PrintLineY = roundRow(p.CurrentY + 1);
}

void PrintPageFooter() {
    PrintRun& r = run();
    PrinterObject& p = printer();
    p.FontSize = 8;
    p.FontBold = false;
    p.FontUnderline = false;
    rule();
    out("", r.PrintLeft, 0, false);
    out(GeneralDate(automation::now()), r.PrintLeft, 0, false);
    out(Text(279) + ": " + std::to_string(r.PrintPageNo + 1), rightColumn(), -1, false);
}

void EnsurePageRoom(int rows) {
    PrintRun& r = run();
    if (r.PrintToFile) return;
    breakIfFull();
    if (printer().CurrentY + rows > kFooterRow) {
        r.PrintLineY = kFooterRow - 1;
        PrintLine("");
    }
}

void printSections(bool onPrinter) {
    PrintLightingGroups();
    PrintVentilationGroups();
    PrintBlindGroups();
    PrintTemperatureGroups();
    PrintScenes();
    PrintKeys();
    if (!onPrinter) return;
    PrintSignalGroups();
    PrintGeneralSettings();
}

// After a failure the job is abandoned and the print file closed.
void abandonRun() {
    PrintRun& r = run();
    if (r.printer) {
        try {
            r.printer->KillDoc();
        } catch (...) {
        }
        r.printer.reset();
    }
    r.file.reset();
    r.PrintToFile = false;
}

}  // namespace

void PrintLine(const std::string& Text) { out(Text, run().PrintLeft, 0); }
void PrintLineMiddle(const std::string& Text) { out(Text, run().PrintToFile ? 0 : middleColumn(), 0); }
void PrintLineMiddleSameRow(const std::string& Text) { out(Text, run().PrintToFile ? 0 : middleColumn(), -1); }
void PrintLineRightSameRow(const std::string& Text) { out(Text, run().PrintToFile ? 0 : rightColumn(), -1); }

void PrintRule() {
    if (run().PrintToFile) return;
    breakIfFull();
    rule();
}

void EnsurePageRoom7() { EnsurePageRoom(7); }
void EnsurePageRoom5() { EnsurePageRoom(5); }

void PrintBold(bool on) {
    if (run().printer) run().printer->FontBold = on;
}
void PrintUnderline(bool on) {
    if (run().printer) run().printer->FontUnderline = on;
}

void PrintTitle(const std::string& Text) {
    PrintUnderline(true);
    PrintBold(true);
    PrintLine(Text);
    PrintUnderline(false);
    PrintBold(false);
}

std::int16_t PrintRow() { return run().PrintLineY; }

void SetPrintRow(std::int16_t row) {
    run().PrintLineY = row;
    if (run().printer) run().printer->CurrentY = row;
}

corlink::clsOrvekDali& PrintedProject() {
    if (!run().project) automation::raiseRuntime(automation::errObjectNotSet, "Corvane");
    return *run().project;
}

const corlink::TypZeiten& PrintTimes() { return run().PrintTimes; }

bool PrintToFileActive() { return run().PrintToFile; }

std::string PrintAddressList(const corlink::SafeArray<std::int32_t>& GrpAdr, std::uint8_t Flags) {
    const brimcorbin::Converter converter;
    std::string a;
    if (GrpAdr.allocated()) {
        for (const std::int32_t address : GrpAdr) a += " " + converter.GrpAdrToText(address, ShowGrpAdr);
    }
    a += " : ";
    std::string f;
    constexpr std::pair<int, int> letters[] = {{2, 281}, {3, 282}, {4, 283}, {6, 284}, {7, 285}};
    for (const auto& [bit, id] : letters) {
        if (converter.TestBit(bit, Flags)) f += Text(id);
    }
    f += "  ";
    constexpr int priority[] = {663, 661, 662, 660};  // by bits 1-0
    f += Text(286) + ": " + Text(priority[Flags & 3]);
    return a + f + "  ";
}

void PrintProject(MainWindowServices& main, std::int16_t ToFile) {
    PrintRun& r = run();
    // The main window's project is the run's for the run only.
    struct Borrowed {
        PrintRun& run;
        ~Borrowed() { run.project = nullptr; }
    } borrowed{r};
    try {
        corlink::clsOrvekDali& dali = main.mDali();
        r.project = &dali;
        r.PrintHeader = dali.Header();
        if (r.PrintHeader.DateiName.empty()) {
            ShowMessage(1, MessageText(MessageTexts.MsgNoPrintData, 922));
            return;
        }
        // Both kinds of run print the times of the project they print.
        r.PrintTimes = dali.Zeiten();
        if (ToFile != 0) {
            r.file = std::make_unique<QFile>(QDir(ProgramFolder()).filePath("Print.txt"));
            if (!r.file->open(QIODevice::WriteOnly | QIODevice::Append)) {
                automation::raiseRuntime(automation::errPathFileAccess, "Corvane");
            }
            r.PrintToFile = true;
            printSections(false);
            r.file.reset();
            r.PrintToFile = false;
            return;
        }
        r.printer = OpenPrinter();
        PrinterObject& p = *r.printer;
        p.ScaleTop = 0;
        p.ScaleLeft = 0;
        p.ScaleWidth = 160;
        p.ScaleHeight = 80;
        r.PrintLeft = 10;
        r.PrintPageNo = 0;
        r.PrintLineY = 0;
        PrintPageHeader();
        printSections(true);
        r.PrintLineY = kFooterRow;
        PrintPageFooter();
        p.EndDoc();
        r.printer.reset();
    } catch (const std::exception& e) {
        abandonRun();
        if (ErrorNumber(e) == errPrinter) {
            LogError(ErrorOf(e));
            ShowMessage(1, MessageText(MessageTexts.MsgNoPrinter, 917));
        } else {
            ReportError(e);
        }
    }
}

}  // namespace corvane
