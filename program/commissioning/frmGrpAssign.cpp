#include "frmGrpAssign.h"

#include "FormTexts.h"
#include "GatewayCommands.h"
#include "Messages.h"
#include "ModDefinition.h"
#include "Seams.h"
#include "corlink/clsOrvekDali.h"
#include "SmallDialogs.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace corvane {

namespace {

enum NodeRole { KeyRole = Qt::UserRole, TagRole };

constexpr int kBallasts = 64;

void setKey(QTreeWidgetItem& node, int ballast, const char* mark) {
    node.setData(0, KeyRole, QString::number(ballast) + mark);
}

}  // namespace

frmGrpAssign::frmGrpAssign(MainWindowServices& main) : GatewayDialog("frmGrpAssign", main) {
    ComboGruppe = new QComboBox(this);
    ComboGruppe->setObjectName("ComboGruppe");
    TreeView1 = new QTreeWidget(this);
    TreeView1->setObjectName("TreeView1");
    TreeView1->setHeaderHidden(true);
    TreeView1->setRootIsDecorated(false);  // a flat list
    TreeView1->setSelectionMode(QAbstractItemView::NoSelection);
    TreeView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
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

    connect(InfoOK, &QPushButton::clicked, this, [this] { Trap([this] { InfoOK_Click(); }); });
    connect(ComClose, &QPushButton::clicked, this, [this] { Trap([this] { ComClose_Click(); }); });
    connect(ComboGruppe, &QComboBox::currentIndexChanged, this, [this] { Trap([this] { ComboGruppe_Click(); }); });
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
    corlink::clsOrvekDali& project = Project();
    for (int i = 0; i < kBallasts; ++i) BallastRecords[i] = project.DaliGruppe(static_cast<std::int16_t>(i));
    CreateEVGDataTree();
}

void frmGrpAssign::Form_Activate() {
    if (!AddressValidOrUnload()) return;
    corlink::clsOrvekDali& project = Project();
    const QSignalBlocker quiet(ComboGruppe);
    for (int i = 0; i < 16; ++i) {
        const QString name = QString::fromStdString(project.DaliEinzelgruppe(static_cast<std::int16_t>(i)).Name);
        ComboGruppe->addItem(QStringLiteral("Gruppe%1 (%2)").arg(i + 1).arg(name), i);
    }
    ComboGruppe->setCurrentIndex(0);
    ComboGruppe_Click();
}

QTreeWidgetItem* frmGrpAssign::Node(int index) const {
    return index >= 1 && index <= NodeCount() ? nodes_[static_cast<std::size_t>(index - 1)] : nullptr;
}

QString frmGrpAssign::NodeKey(const QTreeWidgetItem& node) { return node.data(0, KeyRole).toString(); }
int frmGrpAssign::NodeTag(const QTreeWidgetItem& node) { return node.data(0, TagRole).toInt(); }

void frmGrpAssign::CreateEVGDataTree() {
    corlink::clsOrvekDali& project = Project();
    const QSignalBlocker quiet(TreeView1);
    TreeView1->setVisible(true);
    TreeView1->clear();
    nodes_.clear();
    const int chosen = ComboGruppe->currentIndex();
    for (int i = 0; i < kBallasts; ++i) {
        const corlink::TypDaliGruppe g = project.DaliGruppe(static_cast<std::int16_t>(i));
        if (g.Gruppe > kGroupNotAssigned) continue;  // empty slot
        auto* node = new QTreeWidgetItem(TreeView1);
        nodes_.push_back(node);
        node->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        node->setText(0, "EVG" + QString::number(i + 1) + "(" + QString::fromStdString(g.Name) + ")");
        // Key and tag name the slot itself, so a record's stray Index field cannot point the
        // command or the store at another ballast.
        setKey(*node, i, "N");
        node->setData(0, TagRole, i);
        node->setForeground(0, g.Gruppe == kGroupNotAssigned ? QColor(200, 0, 0) : QColor(0, 200, 0));
        node->setCheckState(0, g.Gruppe == chosen ? Qt::Checked : Qt::Unchecked);
    }
}

void frmGrpAssign::ComboGruppe_Click() {
    corlink::clsOrvekDali& project = Project();
    const QSignalBlocker quiet(TreeView1);
    const int chosen = ComboGruppe->currentIndex();
    for (QTreeWidgetItem* node : nodes_) {
        const bool inGroup = project.DaliGruppe(static_cast<std::int16_t>(NodeTag(*node))).Gruppe == chosen;
        node->setCheckState(0, inGroup ? Qt::Checked : Qt::Unchecked);
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
    const int t = NodeTag(node);
    BallastRecords.at(static_cast<std::size_t>(t)).Gruppe = static_cast<std::uint8_t>(ticked ? chosen : kGroupNotAssigned);
    setKey(node, t, "U");
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
    for (QTreeWidgetItem* node : std::vector<QTreeWidgetItem*>(nodes_)) {
        const int t = NodeTag(*node);
        corlink::TypDaliGruppe record = project.DaliGruppe(static_cast<std::int16_t>(t));
        const std::uint8_t group = BallastRecords.at(static_cast<std::size_t>(t)).Gruppe;
        if (!NodeKey(*node).contains("U") || group == record.Gruppe) continue;
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

void frmGrpAssign::ComClose_Click() {
    RebuildProjectTree();
    close();
}

}  // namespace corvane
