#include "PrinterObject.h"

#include "automation_error.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPen>
#include <QPrinter>
#include <QPrinterInfo>

namespace corvane {

namespace {

class QtPrinterObject : public PrinterObject {
public:
    explicit QtPrinterObject(std::shared_ptr<QPrinter> printer) : printer_(std::move(printer)) {
        if (!printer_ || !painter_.begin(printer_.get())) {
            automation::raise(errPrinter, "Printer", "Printer error");
        }
    }
    ~QtPrinterObject() override {
        if (painter_.isActive()) painter_.end();
    }

    void Print(const std::string& text) override {
        QFont font;
        font.setPointSize(FontSize);
        font.setBold(FontBold);
        font.setUnderline(FontUnderline);
        painter_.setFont(font);
        const QFontMetricsF metrics(font, painter_.device());
        if (!text.empty()) {
            painter_.drawText(QPointF(toX(CurrentX), toY(CurrentY) + metrics.ascent()), QString::fromStdString(text));
        }
        CurrentY += metrics.height() / unitY();
    }

    void Line(double x1, double y1, double x2, double y2) override {
        QPen pen(Qt::black);
        pen.setWidthF(painter_.device()->logicalDpiY() / 144.0);  // half a point
        painter_.setPen(pen);
        painter_.drawLine(QPointF(toX(x1), toY(y1)), QPointF(toX(x2), toY(y2)));
        CurrentX = x2;
        CurrentY = y2;
    }

    void NewPage() override {
        if (!printer_->newPage()) automation::raise(errPrinter, "Printer", "Printer error");
    }
    void EndDoc() override { painter_.end(); }
    void KillDoc() override {
        printer_->abort();
        if (painter_.isActive()) painter_.end();
    }

private:
    double unitX() const { return painter_.device()->width() / ScaleWidth; }
    double unitY() const { return painter_.device()->height() / ScaleHeight; }
    double toX(double x) const { return (x - ScaleLeft) * unitX(); }
    double toY(double y) const { return (y - ScaleTop) * unitY(); }

    std::shared_ptr<QPrinter> printer_;
    QPainter painter_;
};

PrinterFactory& factory() {
    static PrinterFactory f;
    return f;
}

std::unique_ptr<PrinterObject> SystemPrinter() {
    if (QPrinterInfo::availablePrinters().isEmpty()) automation::raise(errPrinter, "Printer", "Printer error");
    QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) info = QPrinterInfo::availablePrinters().constFirst();
    return MakeQtPrinterObject(std::make_shared<QPrinter>(info, QPrinter::HighResolution));
}

}  // namespace

std::unique_ptr<PrinterObject> MakeQtPrinterObject(std::shared_ptr<QPrinter> printer) {
    return std::make_unique<QtPrinterObject>(std::move(printer));
}

void SetPrinterFactory(PrinterFactory f) { factory() = std::move(f); }

std::unique_ptr<PrinterObject> OpenPrinter() { return factory() ? factory()() : SystemPrinter(); }

}  // namespace corvane
