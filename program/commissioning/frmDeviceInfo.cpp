#include "frmDeviceInfo.h"

#include "ConnectTrapped.h"
#include "FormTexts.h"
#include "Forms.h"
#include "MainWindowServices.h"
#include "Messages.h"
#include "ModDefinition.h"
#include "Seams.h"
#include "SmallDialogs.h"
#include "TransferSteps.h"
#include "corlink/clsOrvekDali.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>

namespace corvane {

frmDeviceInfo::frmDeviceInfo(MainWindowServices& main) : GatewayDialog("frmDeviceInfo", main) {
    const auto box = [this](const char* name) {
        auto* b = new QLineEdit(this);
        b->setObjectName(name);
        b->setReadOnly(true);
        return b;
    };
    TextBestellnummer = box("TextBestellnummer");
    TextVersion = box("TextVersion");
    TextAppLoadState = box("TextAppLoadState");
    TextAppRunState = box("TextAppRunState");
    TextLoadState = box("TextLoadState");
    TextRunState = box("TextRunState");
    const auto boxes = valueBoxes();
    for (int i = 0; i < 7; ++i) {
        Label1[i] = new QLabel(this);
        Label1[i]->setObjectName(QStringLiteral("Label1(%1)").arg(i));
        if (i < 6) SetTag(*Label1[i], QString::number(531 + i));
    }
    Label1[6]->setText("%");
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName("ProgressBar1");
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    PropNr = new QLabel("0", this);
    PropNr->setObjectName("PropNr");
    PropNr->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    PropNr->setMinimumWidth(PropNr->fontMetrics().horizontalAdvance("100"));
    ComDownLoad = CommandButton(this, "ComDownLoad", "537");
    Command1 = CommandButton(this, "Command1", "538");

    // Tight rows, the progress beside the buttons: the content fits the window's 3100 twips with
    // the window system's title bar.
    auto* layout = new QGridLayout(this);
    const int gap = TwipsToPixels(90);
    layout->setContentsMargins(gap, gap, gap, gap);
    layout->setVerticalSpacing(TwipsToPixels(30));
    for (int i = 0; i < 6; ++i) {
        layout->addWidget(Label1[i], i, 0);
        layout->addWidget(boxes[i], i, 1);
    }
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(ProgressBar1, 1);
    bottom->addWidget(PropNr);
    bottom->addWidget(Label1[6]);
    bottom->addWidget(ComDownLoad);
    bottom->addWidget(Command1);
    layout->addLayout(bottom, 6, 0, 1, 2);
    layout->setColumnStretch(1, 1);

    ConnectTrapped(this, ComDownLoad, &QPushButton::clicked, &frmDeviceInfo::ComDownLoad_Click);
    connect(Command1, &QPushButton::clicked, this, &frmDeviceInfo::Command1_Click);
    Trap([this] { Form_Load(); });
}

void frmDeviceInfo::Form_Load() {
    SetFormTexts(*this);
    setWindowTitle(QText(530));  // an opener sets its own caption
    SetWindowTwips(*this, 1, 100, 6315, 3100);
    clearBoxes();
}

std::array<QLineEdit*, 6> frmDeviceInfo::valueBoxes() const {
    return {TextBestellnummer, TextVersion, TextAppLoadState, TextAppRunState, TextLoadState, TextRunState};
}

void frmDeviceInfo::SetValueText(Value value, const QString& text) { valueBoxes().at(value)->setText(text); }

void frmDeviceInfo::clearBoxes() {
    for (QLineEdit* b : valueBoxes()) b->clear();
}

void frmDeviceInfo::ComDownLoad_Click() {
    if (InCall()) return;
    corlink::clsOrvekDali& project = Project();
    // The installer confirms or enters the gateway's address every time. The entry does not
    // count as an unsaved change; earlier changes still do.
    {
        const KeepChangeFlag keep(project);
        QPointer<QDialog> address = qobject_cast<QDialog*>(NewForm("frmphyAdr", Main()));
        if (address) {
            ShowModal(*address);
            if (address) address->deleteLater();
        }
    }
    if (!IsValidPhysicalAddress(project.Header().phyAdr)) {
        ShowMessage(1, MessageText(MessageTexts.MsgNoPhysAddress, 910));
        return;
    }
    ProgressBar1->setValue(0);
    PropNr->setText("0");
    clearBoxes();
    // The values and the progress come through the main window's event handlers.
    std::string orderNumber, firmware;
    Call([&] { return project.StartDeviceInfo(EDI, EDIPara, &orderNumber, &firmware, Main().LogFileFlag()); });
}

void frmDeviceInfo::Command1_Click() { close(); }

}  // namespace corvane
