// The device information dialog: reads the gateway's order number, firmware version and the load
// and run states of its application and bus coupling unit. The values and the read's progress
// arrive through the project object's events, whose handlers in the main window load this window
// by its name ("frmDeviceInfo") and fill it as their DeviceInfoView.
#pragma once

#include "CommissioningDialog.h"
#include "DeviceInfoView.h"

#include <array>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace corvane {

class frmDeviceInfo : public GatewayDialog, public DeviceInfoView {
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

    // DeviceInfoView: the six boxes, ProgressBar1 and PropNr.
    void SetValueText(Value value, const QString& text) override;
    QProgressBar& Progress() override { return *ProgressBar1; }
    QLabel& ProgressPercent() override { return *PropNr; }

    void Form_Load();
    // The physical-address dialog (every time), then the read when the header holds a valid
    // address.
    void ComDownLoad_Click();
    void Command1_Click();

private:
    // The six boxes in the order of DeviceInfoView::Value.
    std::array<QLineEdit*, 6> valueBoxes() const;
    void clearBoxes();
};

}  // namespace corvane
