// The printout of the open project: a paginated listing on the printer (page header, the
// sections, page footer), or the section lines appended to "Print.txt" in the program folder.
//
// Page geometry: the printable area is 160 units across and 80 down, one text line at 8 points
// is one row. Rows 2-6 hold the page header, row 7 its rule, rows 8-74 the body, row 75 the
// footer rule, row 77 date, time and page number. Columns: left 10, middle 90, right 130.
#pragma once

#include "corlink/Records.h"

#include <cstdint>
#include <string>

namespace corlink {
class clsOrvekDali;
}

namespace corvane {

class MainWindowServices;

// Prints the project of the main window: ToFile 0 on the printer, otherwise into the print file.
// Nothing is printed while the project has no file name (message 922); every failure is reported
// (no printer: message 917; else the error convention) and ends the run, abandoning its job.
void PrintProject(MainWindowServices& main, std::int16_t ToFile);

// The text of one communication object: " addr addr : flags  priority: text  ". Addresses in the
// display style ShowGrpAdr; the flag letters of bits 2, 3, 4, 6, 7; the priority of bits 1-0.
std::string PrintAddressList(const corlink::SafeArray<std::int32_t>& GrpAdr, std::uint8_t Flags);

// True while a run writes the print file.
bool PrintToFileActive();

// ---- the line printer of a run, used by the sections ----

constexpr std::int16_t kFooterRow = 75;  // reaching it ends the page

// A text in the left, middle or right column. A line starts a new row (after ending a full
// page); the same-row variants print beside the line just printed. In the print file every text
// is a line of its own.
void PrintLine(const std::string& Text);
void PrintLineMiddle(const std::string& Text);
void PrintLineMiddleSameRow(const std::string& Text);
void PrintLineRightSameRow(const std::string& Text);
// A rule across the page on the current row (after ending a full page).
void PrintRule();
// End the page now unless 7 (5) rows remain above the footer.
void EnsurePageRoom7();
void EnsurePageRoom5();
// Font emphasis of the following texts (printer only).
void PrintBold(bool on);
void PrintUnderline(bool on);
// A section title: underlined and bold.
void PrintTitle(const std::string& Text);
// The row the next line is printed on; moving it also moves the printer's position.
std::int16_t PrintRow();
void SetPrintRow(std::int16_t row);

// The project the run prints (error 91 outside a run).
corlink::clsOrvekDali& PrintedProject();
// The copy of the project's times and display settings taken at the start of the run.
const corlink::TypZeiten& PrintTimes();

// The sections, in the order of the printout.
void PrintLightingGroups();
void PrintVentilationGroups();
void PrintBlindGroups();
void PrintTemperatureGroups();
void PrintScenes();
void PrintKeys();
void PrintSignalGroups();
void PrintGeneralSettings();

}  // namespace corvane
