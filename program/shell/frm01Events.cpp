// The main window's handlers of the project object's events: the status bar, the error
// messages of the gateway operations and the device-information dialog.
#include "DateText.h"
#include "DeviceInfoView.h"
#include "FormTexts.h"
#include "Forms.h"
#include "Messages.h"
#include "ModDefinition.h"
#include "StringTable.h"
#include "frm01.h"
#include "variant.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>

namespace corvane {

namespace {

const char* const kDeviceInfo = "frmDeviceInfo";

// Text ids of the load states (0 unloaded, 1 loaded, 2 loading, 3 error) and run states;
// 0 for a value without a text.
int loadStateText(int v) {
    static const int ids[4] = {540, 542, 541, 543};
    return v >= 0 && v < 4 ? ids[v] : 0;
}
int runStateText(int v) { return v >= 0 && v < 4 ? 544 + v : 0; }

// A state box takes the state's text; a state without one leaves the box as it was.
void setState(DeviceInfoView& form, DeviceInfoView::Value box, int textId) {
    if (textId) form.SetValueText(box, QText(textId));
}

}  // namespace

// ---- clsOrvekDaliEvents -------------------------------------------------------------------

void frm01::HeaderChanged() {
    Trap([this] { mDali_HeaderChanged(); });
}

void frm01::InterfaceError(std::int16_t ErrCode) {
    Trap([&] { mDali_InterfaceError(ErrCode); });
}

void frm01::DeviceInfoEvent(corlink::TypDeviceInfo& DeviceInfoText, corlink::DeviceState, double,
                            const automation::Variant&) {
    Trap([&] { mDali_DeviceInfoEvent(DeviceInfoText); });
}

void frm01::DownUpLoad(corlink::DeviceState, double, const automation::Variant&, corlink::TypLoadProc TypLoad) {
    Trap([&] { mDali_DownUpLoad(TypLoad); });
}

void frm01::LoadEvent(const std::string& loadMsg, std::int32_t param1, std::int32_t, double) {
    Trap([&] { mDali_LoadEvent(loadMsg, param1); });
}

void frm01::LoadErrorEvent(const std::string&, std::int32_t, std::int32_t, double, corlink::LoadError& ErrCode) {
    Trap([&] { mDali_LoadErrorEvent(ErrCode); });
}

// ---- handlers -----------------------------------------------------------------------------

void frm01::mDali_HeaderChanged() {
    const corlink::TypHeader h = mDali().Header();
    panels_[1]->setText(QString::fromStdString(h.DateiName));
    panels_[2]->setText(QString::fromStdString(GeneralDate(h.LetzterZugriff)));
    panels_[3]->setText("-");
    panels_[4]->setText("-");
    panels_[5]->setText(QString::fromStdString(h.phyAdrString));
}

// Text 907, "Interface " and the number; logged with the number alone, as a bare number is.
void frm01::mDali_InterfaceError(std::int16_t ErrCode) {
    ReportError(MessageText(MessageTexts.MsgErrorCode, 907) + "Interface", ErrCode);
}

// The device-information dialog frmDeviceInfo comes with the commissioning dialogs, which
// register it. Filling it loads it without showing it.
void frm01::mDali_DeviceInfoEvent(const corlink::TypDeviceInfo& info) {
    auto* form = dynamic_cast<DeviceInfoView*>(LoadForm(kDeviceInfo, *this));
    if (!form) return;
    form->SetValueText(DeviceInfoView::OrderNumber, QString::fromStdString(info.Bestellnummer));
    form->SetValueText(DeviceInfoView::FirmwareVersion, QString::fromStdString(info.FirmwareVersion));
    setState(*form, DeviceInfoView::AppLoadState, loadStateText(info.AppLoadState));
    setState(*form, DeviceInfoView::AppRunState, runStateText(info.AppRunState));
    setState(*form, DeviceInfoView::LoadState, loadStateText(info.LoadState));
    setState(*form, DeviceInfoView::RunState, runStateText(info.RunState));
}

void frm01::mDali_DownUpLoad(corlink::TypLoadProc TypLoad) {
    if (TypLoad == corlink::pdError) ShowMessage(1, MessageTexts.MsgCommAborted);
}

void frm01::mDali_LoadEvent(const std::string& loadMsg, std::int32_t param1) {
    if (loadMsg.find("Ende") != std::string::npos) return;
    QWidget* active = QApplication::activeWindow();
    if (!active || active->objectName() != kDeviceInfo) return;
    auto* form = dynamic_cast<DeviceInfoView*>(active);
    if (!form) return;
    QProgressBar& bar = form->Progress();
    QLabel& percent = form->ProgressPercent();
    if (loadMsg.find("Begin") != std::string::npos) {
        // The bar needs a maximum above its minimum 0: a count below 1 counts as 1.
        bar.setMaximum(std::max<std::int32_t>(param1, 1));
        if (bar.value() < bar.minimum()) bar.setValue(bar.minimum());
        percent.setText("1");
    }
    if (bar.maximum() > bar.value()) {
        bar.setValue(bar.value() + 1);
        percent.setText(QString::number(automation::toInteger(bar.value() * 100.0 / bar.maximum())));
    }
}

void frm01::mDali_LoadErrorEvent(corlink::LoadError ErrCode) {
    int id = 0;
    if (ErrCode == corlink::ERR_COMMUNICATION || ErrCode == corlink::ERR_LOAD) {
        id = 880;
    } else if (ErrCode >= corlink::ERR_NOCONNECTION && ErrCode <= corlink::ERR_USER) {
        id = 879 + ErrCode;
    }
    ShowMessage(1, id ? Text(id) : std::string());
}

}  // namespace corvane
