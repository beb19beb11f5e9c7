// The physical-address dialog: the gateway's physical address as text, checked through the
// address converter and stored in the project header; order number and firmware for
// information. Opened by name ("frmphyAdr") from the project tree and the commissioning dialogs;
// it works on its main window's project header only and unloads itself when it closes.
#pragma once

#include "brimcorbin.h"
#include "corlink/Records.h"

#include <QDialog>

#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;

namespace corvane {

class MainWindowServices;

class frmphyAdr : public QDialog {
    Q_OBJECT
public:
    explicit frmphyAdr(MainWindowServices& main, QWidget* parent = nullptr);

    // Controls, in tab order: TextphyAdr, COMOK, COMAbbruch.
    QLineEdit* TextphyAdr = nullptr;
    QPushButton* COMOK = nullptr;
    QPushButton* COMAbbruch = nullptr;
    QLabel* Label1[3] = {};  // address, firmware, order number
    QLineEdit* TextBestell = nullptr;
    QLineEdit* TextFirmware = nullptr;

    // Texts, converter, a copy of the project header and the boxes filled from it. An error is
    // reported; the window then shows what was filled so far.
    void Form_Load();
    // An unchanged text closes the window. Otherwise the text is converted; an address below 1
    // is refused with message 914 (the window stays, the project is untouched); any other is
    // stored with its normalised text in the project header and the window closes.
    void COMOK_Click();
    void COMAbbruch_Click();
    void TextphyAdr_GotFocus();
    // Enter moves on to the next control as Tab does; true when the key was taken.
    bool TextphyAdr_KeyPress(int key);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    MainWindowServices& main_;
    corlink::TypHeader PhyHeader;
    std::unique_ptr<brimcorbin::Converter> PhyConverter;
};

// Registers frmphyAdr in the window registry (Forms.h).
void RegisterPhyAdrForm();

}  // namespace corvane
