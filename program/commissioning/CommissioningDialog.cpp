#include "CommissioningDialog.h"

#include "FormTexts.h"
#include "MainWindowServices.h"
#include "Messages.h"
#include "ModDefinition.h"
#include "Seams.h"
#include "SmallDialogs.h"
#include "TransferSteps.h"
#include "corlink/clsOrvekDali.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

namespace corvane {

GatewayDialog::GatewayDialog(const QString& name, MainWindowServices& main) : main_(main) {
    setObjectName(name);
    setAttribute(Qt::WA_DeleteOnClose);  // a dialog unloads itself when it closes
}

corlink::clsOrvekDali& GatewayDialog::Project() const { return main_.mDali(); }

std::int16_t GatewayDialog::Call(const std::function<std::int16_t()>& call) {
    struct Guard {
        bool& flag;
        explicit Guard(bool& f) : flag(f) { flag = true; }
        ~Guard() { flag = false; }
    } guard(inCall_);
    return call();
}

void GatewayDialog::done(int result) {
    if (inCall_) return;
    // The close button, the close box and Escape all end here.
    Trap([this] { KeepWhatTheUserDid(); });
    if (treeOutdated_) Trap([this] { RebuildProjectTree(); });
    QDialog::done(result);
}

void GatewayDialog::RebuildProjectTree() {
    treeOutdated_ = false;
    main_.CreateObjektDataTree();
}

void GatewayDialog::CloseAndRebuildProjectTree() {
    treeOutdated_ = true;
    close();
}

void GatewayDialog::closeEvent(QCloseEvent* event) {
    if (inCall_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void GatewayDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!activate_) return;
    QMetaObject::invokeMethod(
        this, [activate = std::move(activate_)] { Trap(activate); }, Qt::QueuedConnection);
    activate_ = nullptr;
}

void GatewayDialog::ActivateWhenShown(std::function<void()> activate) { activate_ = std::move(activate); }

bool GatewayDialog::AddressValidOrUnload() {
    if (IsValidPhysicalAddress(Project().Header().phyAdr)) return true;
    ShowMessage(1, MessageText(MessageTexts.MsgNoPhysAddress, 910));
    close();
    return false;
}

QSlider* GatewayDialog::PercentSlider(QWidget* parent, const char* name) {
    auto* s = new QSlider(Qt::Horizontal, parent);
    s->setObjectName(name);
    s->setRange(0, 100);
    s->setSingleStep(10);
    s->setPageStep(10);
    s->setTickInterval(10);
    s->setTickPosition(QSlider::TicksBelow);
    return s;
}

RunDialog::RunDialog(const QString& name, MainWindowServices& main, int startTextId, int timerMs)
    : GatewayDialog(name, main) {
    ComUpLoad = CommandButton(this, "ComUpLoad", QString::number(startTextId));
    ComClose = CommandButton(this, "ComClose", "723");
    LabelInfo = new QLabel(this);
    LabelInfo->setObjectName("LabelInfo");
    LabelInfo->setFont(QFont("Arial", 9));
    LabelInfo->setWordWrap(true);
    ProgressNeuinstallation = new QProgressBar(this);
    ProgressNeuinstallation->setObjectName("ProgressNeuinstallation");
    ProgressNeuinstallation->setRange(0, 24);
    ProgressNeuinstallation->setValue(0);
    TimerNeuinstallation = new FormTimer("TimerNeuinstallation", timerMs, this);

    auto* layout = new QVBoxLayout(this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ComUpLoad);
    buttons->addStretch();
    buttons->addWidget(ComClose);
    layout->addLayout(buttons);
    layout->addWidget(ProgressNeuinstallation);
    lines_ = new QVBoxLayout;
    lines_->addWidget(LabelInfo);
    layout->addLayout(lines_);
    layout->addStretch();

    connect(ComClose, &QPushButton::clicked, this, [this] { close(); });
    resize(TwipsToPixels(5400), TwipsToPixels(2800));
}

void RunDialog::Form_Load() { SetFormTexts(*this); }

void RunDialog::BeginRun() {
    running_ = true;
    ComUpLoad->setEnabled(false);
    ComClose->setEnabled(false);
}

void RunDialog::ShowFailure() {
    SetInfo(880);
    ComClose->setEnabled(true);
}

void RunDialog::EndRun() {
    running_ = false;
    TimerNeuinstallation->setEnabled(false);
    ComUpLoad->setEnabled(true);
    ComClose->setEnabled(true);
}

void RunDialog::SetProgress(int value) {
    ProgressNeuinstallation->setValue(
        std::clamp(value, ProgressNeuinstallation->minimum(), ProgressNeuinstallation->maximum()));
}

void RunDialog::SetInfo(int textId) { LabelInfo->setText(QText(textId)); }

void RunDialog::ConnectRun(const std::function<void()>& start, const std::function<void()>& tick) {
    connect(ComUpLoad, &QPushButton::clicked, this, [this, start] {
        if (running_ || InCall()) return;
        if (!Trap(start)) EndRun();
    });
    connect(TimerNeuinstallation, &FormTimer::tick, this, [this, tick] {
        if (!running_ || !TimerNeuinstallation->Enabled() || InCall()) return;
        if (!Trap(tick)) EndRun();
    });
}

}  // namespace corvane
