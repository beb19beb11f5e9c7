// The device information dialog: reads the gateway's order number, firmware version and the load
// and run states of its application and bus coupling unit. The values and the read's progress
// arrive through the project object's events, whose handlers in the main window find this window
// and its controls by name ("frmDeviceInfo", TextBestellnummer ..., ProgressBar1, PropNr).
#pragma once

#include "CommissioningDialog.h"

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace corvane {

class frmDeviceInfo : public GatewayDialog {
    Q_OBJECT
public:
    explicit frmDeviceInfo(MainWindowServices& main);

    // Controls. Label1(0..5) stand beside the six boxes, Label1(6) is the "%" after PropNr.
    QLabel* Label1[7] = {};
    QLineEdit* TextBestellnummer = nullptr;
    QLineEdit* TextVersion = nullptr;
    QLineEdit* TextAppLoadState = nullptr;
    QLineEdit* TextAppRunState = nullptr;
    QLineEdit* TextLoadState = nullptr;
    QLineEdit* TextRunState = nullptr;
    QProgressBar* ProgressBar1 = nullptr;  // 0..100 until a read sets its maximum
    QLabel* PropNr = nullptr;
    QPushButton* ComDownLoad = nullptr;
    QPushButton* Command1 = nullptr;

    void Form_Load();
    // The physical-address dialog (every time), then the read when the header holds a valid
    // address.
    void ComDownLoad_Click();
    void Command1_Click();

private:
    void clearBoxes();
};

}  // namespace corvane
