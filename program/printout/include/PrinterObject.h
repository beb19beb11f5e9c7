// The printer object that the printout drives: a page in user scale units, font emphasis, a
// print position that each printed text moves down by one text line, rules, pages and the job.
// The program prints on the system printer; tests install a PDF file or a recording printer.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class QPrinter;

namespace corvane {

// Raised when no printer can be used (the platform's "printer error").
constexpr std::int32_t errPrinter = 482;

class PrinterObject {
public:
    virtual ~PrinterObject() = default;

    // User scale: the page's printable area is ScaleWidth units across and ScaleHeight down.
    double ScaleLeft = 0, ScaleTop = 0, ScaleWidth = 160, ScaleHeight = 80;
    int FontSize = 8;
    bool FontBold = false;
    bool FontUnderline = false;
    // Where the next text starts (its top left corner), in scale units.
    double CurrentX = 0, CurrentY = 0;

    // Prints text at CurrentX, CurrentY and moves CurrentY down by the height of one text line.
    virtual void Print(const std::string& text) = 0;
    // Draws a straight line; the print position is left at its end point.
    virtual void Line(double x1, double y1, double x2, double y2) = 0;
    virtual void NewPage() = 0;
    // Ends the job: the pages go to the printer.
    virtual void EndDoc() = 0;
    // Abandons the job after an error: nothing more is printed.
    virtual void KillDoc() = 0;
};

// A printer object on a QPrinter (the system printer, or a PDF file). The job starts at once;
// a printer that cannot start one raises errPrinter.
std::unique_ptr<PrinterObject> MakeQtPrinterObject(std::shared_ptr<QPrinter> printer);

// Where a printer run prints. The default is the system's default printer, or errPrinter when
// the system has none; tests install their own (an empty factory restores the default).
using PrinterFactory = std::function<std::unique_ptr<PrinterObject>()>;
void SetPrinterFactory(PrinterFactory factory);
std::unique_ptr<PrinterObject> OpenPrinter();

}  // namespace corvane
