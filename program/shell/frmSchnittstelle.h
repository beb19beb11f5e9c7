// The PC interface dialog: interface type (COMTyp 1 serial 1.0, 2 serial 2.0, 3 USB) and
// serial port (COM 1..4; 0 with USB).
#pragma once

#include <QDialog>

class QGroupBox;
class QPushButton;
class QRadioButton;

namespace corvane {

class frmSchnittstelle : public QDialog {
    Q_OBJECT
public:
    explicit frmSchnittstelle(QWidget* parent = nullptr);

    QGroupBox* Frame2 = nullptr;  // the type options
    QRadioButton* TypeSelection[3] = {};
    QGroupBox* Frame1 = nullptr;  // the port options
    QRadioButton* Selection[4] = {};
    QPushButton* COMSchnittOK = nullptr;
    QPushButton* COMAbbruch = nullptr;

    // Chooses the port of COM 1..4 and the type of COMTyp 1 or 2; other values choose none.
    void Form_Load();
    // The chosen options set COM and COMTyp (a group without a choice leaves its setting);
    // USB has no port: COM 0.
    void COMSchnittOK_Click();
    void COMAbbruch_Click();
};

}  // namespace corvane
