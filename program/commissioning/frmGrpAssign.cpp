#include "frmGrpAssign.h"

#include "ConnectTrapped.h"
#include "FormTexts.h"
#include "GatewayCommands.h"
#include "Messages.h"
#include "ModDefinition.h"
#include "Seams.h"
#include "SmallDialogs.h"
#include "corlink/clsOrvekDali.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace corvane {

namespace {

// The slot of the ballast that a node shows.
int slotOf(const QTreeWidgetItem& node) { return KeyedTree::Tag(node).toInt(); }

}  // namespace

frmGrpAssign::frmGrpAssign(MainWindowServices& main) : GatewayDialog("frmGrpAssign", main) {
    ComboGruppe = new QComboBox(this);
    ComboGruppe->setObjectName("ComboGruppe");
    TreeView1 = new KeyedTree("TreeView1", this);
    TreeView1->SetCheckboxes(true);
    TreeView1->setRootIsDecorated(false);  // a flat list
    TreeView1->setSelectionMode(QAbstractItemView::NoSelection);
    InfoOK = CommandButton(this, "InfoOK", "729");
    ComClose = CommandButton(this, "ComClose", "723");
    LabelInfo = new QLabel(this);
    LabelInfo->setObjectName("LabelInfo");
    QFont bold = LabelInfo->font();
    bold.setBold(true);
    LabelInfo->setFont(bold);
    Label1 = new QLabel(this);
    Label1->setObjectName("Label1");
    SetTag(*Label1, "739");
    Label1->hide();
    TimerEVGAssign = new FormTimer("TimerEVGAssign", 1000, this);

    auto* side = new QVBoxLayout;
    side->addWidget(ComboGruppe);
    side->addWidget(InfoOK);
    side->addWidget(LabelInfo);
    side->addWidget(Label1);
    side->addStretch();
    side->addWidget(ComClose);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(TreeView1, 1);
    layout->addLayout(side);

    ConnectTrapped(this, InfoOK, &QPushButton::clicked, &frmGrpAssign::InfoOK_Click);
    ConnectTrapped(this, ComClose, &QPushButton::clicked, &frmGrpAssign::ComClose_Click);
    ConnectTrapped(this, ComboGruppe, &QComboBox::currentIndexChanged, &frmGrpAssign::ComboGruppe_Click);
    // Only the user's ticks arrive here: the dialog's own changes to the list are made quietly.
    connect(TreeView1, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* node) {
        if (node) Trap([&] { TreeView1_NodeCheck(*node); });
    });

    ActivateWhenShown([this] { Form_Activate(); });

    resize(TwipsToPixels(6000), TwipsToPixels(6000));
    Trap([this] { Form_Load(); });
}

void frmGrpAssign::Form_Load() {
    SetFormTexts(*this);
    ReadBallastRecords(Project(), BallastRecords);
    CreateEVGDataTree();
}

void frmGrpAssign::Form_Activate() {
    if (!AddressValidOrUnload()) return;
    const QSignalBlocker quiet(ComboGruppe);
    AddGroupEntries(*ComboGruppe, Project());
    ComboGruppe->setCurrentIndex(0);
    ComboGruppe_Click();
}

void frmGrpAssign::CreateEVGDataTree() {
    corlink::clsOrvekDali& project = Project();
    const QSignalBlocker quiet(TreeView1);
    const int chosen = ComboGruppe->currentIndex();
    TreeView1->Rebuild([&] {
        for (int i = 0; i < kBallasts; ++i) {
            const corlink::TypDaliGruppe g = project.DaliGruppe(static_cast<std::int16_t>(i));
            if (g.Gruppe > kGroupNotAssigned) continue;  // empty slot
            // Key and tag name the slot itself, so a record's stray Index field cannot point the
            // command or the store at another ballast.
            const QString slot = QString::number(i);
            QTreeWidgetItem* node = TreeView1->Add(nullptr, slot + "N", BallastNodeText(i, g), slot);
            node->setForeground(0, BallastColour(g.Gruppe));  // a filled slot: in a group or in none
            node->setCheckState(0, g.Gruppe == chosen ? Qt::Checked : Qt::Unchecked);
        }
    });
}

void frmGrpAssign::ComboGruppe_Click() {
    corlink::clsOrvekDali& project = Project();
    const QSignalBlocker quiet(TreeView1);
    const int chosen = ComboGruppe->currentIndex();
    for (int i = 1; i <= TreeView1->NodeCount(); ++i) {
        QTreeWidgetItem& node = *TreeView1->Node(i);
        const bool inGroup = project.DaliGruppe(static_cast<std::int16_t>(slotOf(node))).Gruppe == chosen;
        node.setCheckState(0, inGroup ? Qt::Checked : Qt::Unchecked);
    }
}

void frmGrpAssign::TreeView1_NodeCheck(QTreeWidgetItem& node) {
    const QSignalBlocker quiet(TreeView1);
    const bool ticked = node.checkState(0) == Qt::Checked;
    const int chosen = ComboGruppe->currentIndex();
    if (ticked && chosen < 0) {  // no group to tick it for
        node.setCheckState(0, Qt::Unchecked);
        return;
    }
    const int t = slotOf(node);
    BallastRecords.at(static_cast<std::size_t>(t)).Gruppe =
        static_cast<std::uint8_t>(ticked ? chosen : kGroupNotAssigned);
    KeyedTree::SetKey(node, QString::number(t) + "U");
}

void frmGrpAssign::setBatchRunning(bool running) {
    batchRunning_ = running;
    for (QWidget* w : {static_cast<QWidget*>(TreeView1), static_cast<QWidget*>(ComboGruppe),
                       static_cast<QWidget*>(InfoOK), static_cast<QWidget*>(ComClose)}) {
        w->setEnabled(!running);
    }
}

void frmGrpAssign::InfoOK_Click() {
    if (batchRunning_ || InCall()) return;
    // The windows keep working during each call: nothing may change the list under the batch.
    setBatchRunning(true);
    struct End {
        frmGrpAssign* d;
        ~End() { d->setBatchRunning(false); }
    } end{this};
    corlink::clsOrvekDali& project = Project();
    int count = 0;
    for (int i = 1; i <= TreeView1->NodeCount(); ++i) {
        const QTreeWidgetItem& node = *TreeView1->Node(i);
        const int t = slotOf(node);
        corlink::TypDaliGruppe record = project.DaliGruppe(static_cast<std::int16_t>(t));
        const std::uint8_t group = BallastRecords.at(static_cast<std::size_t>(t)).Gruppe;
        if (!KeyedTree::Key(node).contains("U") || group == record.Gruppe) continue;
        LabelInfo->setText(QText(742) + QString::number(count));
        ++count;
        LabelInfo->show();
        Label1->show();
        const corlink::TypDaliCommand command = CmdAssign(t, group);
        if (Call([&] { return SendDaliCmd(Main(), command); }) < 0) return;
        if (Call([&] { return PollDaliCmd(Main(), command); }) < 0 || !IsFinished(DaliReply(Main()))) {
            ShowMessage(1, MessageText(MessageTexts.MsgPropertyWriteFailed, 885));
            return;
        }
        record.Gruppe = group;
        project.letDaliGruppe(static_cast<std::int16_t>(t), record);
        ProjectChanged();
    }
    LabelInfo->hide();
    Label1->hide();
    CreateEVGDataTree();
}

void frmGrpAssign::ComClose_Click() { CloseAndRebuildProjectTree(); }

}  // namespace corvane
