#include "QtMessageBox.h"

#include "Messages.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace corvane {

std::int32_t RunMessageBox(std::int32_t style, const std::string& text, const std::string& title) {
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(QString::fromStdString(title));
    box.setText(QString::fromStdString(text));
    switch (style & 0x70) {
    case 16: box.setIcon(QMessageBox::Critical); break;
    case 32: box.setIcon(QMessageBox::Question); break;
    case 48: box.setIcon(QMessageBox::Warning); break;
    case 64: box.setIcon(QMessageBox::Information); break;
    default: box.setIcon(QMessageBox::NoIcon); break;
    }
    struct Button {
        QMessageBox::StandardButton button;
        std::int32_t result;
    };
    std::vector<Button> buttons;
    switch (style & 0x0F) {
    case 1: buttons = {{QMessageBox::Ok, msgOK}, {QMessageBox::Cancel, msgCancel}}; break;
    case 3: buttons = {{QMessageBox::Yes, msgYes}, {QMessageBox::No, msgNo}, {QMessageBox::Cancel, msgCancel}}; break;
    case 4: buttons = {{QMessageBox::Yes, msgYes}, {QMessageBox::No, msgNo}}; break;
    default: buttons = {{QMessageBox::Ok, msgOK}}; break;
    }
    QMessageBox::StandardButtons all;
    for (const Button& b : buttons) all |= b.button;
    box.setStandardButtons(all);
    box.setDefaultButton(buttons.front().button);  // the first button, as the platform's boxes do
    // Escape answers Cancel where there is one, OK on a box with OK alone; Yes/No needs a choice.
    if ((style & 0x0F) == 0) box.setEscapeButton(QMessageBox::Ok);
    box.exec();
    const auto clicked = box.standardButton(box.clickedButton());
    for (const Button& b : buttons) {
        if (b.button == clicked) return b.result;
    }
    // Closed without a button: the answer that changes nothing.
    switch (style & 0x0F) {
    case 0: return msgOK;
    case 4: return msgNo;
    default: return msgCancel;
    }
}

void InstallMessageBox() { SetMessageBox(&RunMessageBox); }

}  // namespace corvane
