// The device-information dialog as the main window's event handlers fill it: the values read from
// the gateway and the progress of the read. The commissioning module's frmDeviceInfo implements
// it; the handlers take the loaded window from the window registry as this view.
#pragma once

class QLabel;
class QProgressBar;
class QString;

namespace corvane {

class DeviceInfoView {
public:
    // The value boxes, in the order the handler fills them.
    enum Value { OrderNumber, FirmwareVersion, AppLoadState, AppRunState, LoadState, RunState };
    virtual void SetValueText(Value value, const QString& text) = 0;

    // The read's progress bar (minimum 0) and the label beside it with the progress in per cent.
    virtual QProgressBar& Progress() = 0;
    virtual QLabel& ProgressPercent() = 0;

protected:
    ~DeviceInfoView() = default;
};

}  // namespace corvane
