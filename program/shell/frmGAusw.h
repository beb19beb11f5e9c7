// The gateway model dialog: order number and firmware of the known models; OK starts the
// project afresh for the chosen model.
#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;

namespace corvane {

class MainWindowServices;

class frmGAusw : public QDialog {
    Q_OBJECT
public:
    explicit frmGAusw(MainWindowServices& main, QWidget* parent = nullptr);

    QLabel* Label1[2] = {};  // order number, firmware version
    QComboBox* ComboBestellnummer = nullptr;
    QComboBox* ComboFirmware = nullptr;
    QPushButton* COMOK = nullptr;
    QPushButton* ComZurueck = nullptr;

    // Texts, size, the order numbers of DeviceTable with the first selected.
    void Form_Load();
    // The firmware versions of the chosen order number, the first selected.
    void ComboBestellnummer_Click();
    // After the save question for unsaved changes: loads the chosen model, sizes the project
    // for it and resets the header (no file, address 0, zero dates), unchanged; the tree is
    // rebuilt and the dialog closes. A refused model or save question keeps the dialog open
    // and the project untouched.
    void COMOK_Click();
    void ComZurueck_Click();

private:
    MainWindowServices& main_;
};

}  // namespace corvane
