#include "frmGruppe.h"

#include "ConnectTrapped.h"
#include "FormTexts.h"
#include "GatewayCommands.h"
#include "InputClasses.h"
#include "MainWindowServices.h"
#include "Messages.h"
#include "Seams.h"
#include "SmallDialogs.h"
#include "automation_error.h"
#include "corlink/clsOrvekDali.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTreeWidget>

namespace corvane {

namespace {

// The group of a tree node: error 91 without a node, 13 when its Tag is no number, 9 when it is
// no group 0..15.
int groupOf(const std::optional<FormSubject>& node) {
    if (!node) automation::raiseRuntime(automation::errObjectNotSet, "Corvane");
    bool number = false;
    const int g = node->tag.toInt(&number);
    if (!number) automation::raiseRuntime(automation::errTypeMismatch, "Corvane");
    if (g < 0 || g > 15) automation::raiseRuntime(automation::errSubscript, "Corvane");
    return g;
}

}  // namespace

frmGruppe::frmGruppe(MainWindowServices& main, const std::optional<FormSubject>& node)
    : GatewayDialog("frmGruppe", main), node_(node) {
    LabelGrpDescription = new QLabel(this);
    LabelGrpDescription->setObjectName("LabelGrpDescription");
    SetTag(*LabelGrpDescription, "740");
    GrpName = new QLineEdit(this);
    GrpName->setObjectName("GrpName");
    GuardProjectText(*GrpName);
    DimmValueSlider = PercentSlider(this, "DimmValueSlider");
    GroupValue = new QLabel("?", this);
    GroupValue->setObjectName("GroupValue");
    GroupValue->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    GroupValue->setMinimumWidth(GroupValue->fontMetrics().horizontalAdvance("100") + 4);
    EVGInfo[4] = new QLabel("%", this);
    EVGInfo[4]->setObjectName("EVGInfo(4)");
    ComBlink = CommandButton(this, "ComBlink", "731");
    Command1 = CommandButton(this, "Command1", "738");
    LabelBitteWarten = new QLabel(this);
    LabelBitteWarten->setObjectName("LabelBitteWarten");
    SetTag(*LabelBitteWarten, "739");
    LabelBitteWarten->hide();
    ComClose = CommandButton(this, "ComClose", "723");
    TimerWAIT1 = new FormTimer("TimerWAIT1", 1000, this);

    auto* grid = new QGridLayout(this);
    grid->addWidget(LabelGrpDescription, 0, 0);
    grid->addWidget(GrpName, 0, 1, 1, 3);
    grid->addWidget(DimmValueSlider, 1, 0, 1, 2);
    grid->addWidget(GroupValue, 1, 2);
    grid->addWidget(EVGInfo[4], 1, 3);
    grid->addWidget(ComBlink, 2, 0);
    grid->addWidget(Command1, 3, 0);
    grid->addWidget(LabelBitteWarten, 3, 1, 1, 3);
    grid->setRowStretch(4, 1);
    grid->addWidget(ComClose, 5, 1, 1, 3, Qt::AlignRight);
    grid->setColumnStretch(1, 1);

    ConnectTrapped(this, ComBlink, &QPushButton::clicked, &frmGruppe::ComBlink_Click);
    ConnectTrapped(this, Command1, &QPushButton::clicked, &frmGruppe::Command1_Click);
    ConnectTrapped(this, ComClose, &QPushButton::clicked, &frmGruppe::ComClose_Click);
    ConnectTrapped(this, TimerWAIT1, &FormTimer::tick, &frmGruppe::TimerWAIT1_Timer);
    connect(DimmValueSlider, &QSlider::valueChanged, this, &frmGruppe::DimmValueSlider_Change);

    ActivateWhenShown([this] { Form_Activate(); });

    resize(TwipsToPixels(5400), TwipsToPixels(2600));
    Trap([this] { Form_Load(); });
}

void frmGruppe::Form_Load() {
    SetFormTexts(*this);
    Group = groupOf(node_);
    GroupRecord = Project().DaliEinzelgruppe(static_cast<std::int16_t>(*Group));
    GrpName->setText(QString::fromStdString(GroupRecord.Name));
}

int frmGruppe::group() const {
    if (!Group) automation::raiseRuntime(automation::errSubscript, "Corvane");
    return *Group;
}

void frmGruppe::Form_Activate() {
    if (!Group) {  // no group to work on; the load has reported why
        close();
        return;
    }
    if (AddressValidOrUnload()) LabelBitteWarten->hide();
}

void frmGruppe::DimmValueSlider_Change() { GroupValue->setNum(DimmValueSlider->value()); }

void frmGruppe::ComBlink_Click() {
    if (InCall()) return;
    const corlink::TypDaliCommand command = CmdGroupLevel(group(), LevelFromPercent(DimmValueSlider->value()));
    Call([&] { return SendDaliCmd(Main(), command); });
}

void frmGruppe::Command1_Click() {
    if (InCall()) return;
    const corlink::TypDaliCommand command = CmdReadGroupLevel(group());
    if (Call([&] { return SendDaliCmd(Main(), command); }) < 0) return;
    LabelBitteWarten->show();
    TimerWAIT1->setEnabled(true);
}

void frmGruppe::TimerWAIT1_Timer() {
    if (!TimerWAIT1->Enabled() || InCall()) return;
    // The poll carries the command record as the last send left it.
    const corlink::TypDaliCommand sent = DaliCmd;
    if (Call([&] { return PollDaliCmd(Main(), sent); }) < 0) return;
    const auto level = GroupLevelOf(DaliReply(Main()));
    if (!level) return;
    DimmValueSlider->setValue(PercentFromLevel(*level));
    GroupValue->setNum(DimmValueSlider->value());
    TimerWAIT1->setEnabled(false);
    LabelBitteWarten->hide();
}

void frmGruppe::ComClose_Click() {
    if (InCall()) return;
    GroupRecord.Name = GrpName->text().toStdString();
    Project().letDaliEinzelgruppe(static_cast<std::int16_t>(group()), GroupRecord);
    Main().CreateObjektDataTree();
    close();
}

}  // namespace corvane
