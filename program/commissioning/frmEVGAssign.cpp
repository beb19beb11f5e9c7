#include "frmEVGAssign.h"

#include "ConnectTrapped.h"
#include "FormTexts.h"
#include "GatewayCommands.h"
#include "InputClasses.h"
#include "Messages.h"
#include "ModDefinition.h"
#include "Seams.h"
#include "SmallDialogs.h"
#include "corlink/clsOrvekDali.h"

#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

namespace corvane {

namespace {

QString longAddressText(const corlink::TypDaliGruppe& g) {
    return QStringLiteral("%1-%2-%3").arg(g.pAdrL).arg(g.pAdrM).arg(g.pAdrH);
}

QLabel* label(QWidget* parent, const QString& name, const char* tag, const QString& design = {}) {
    QLabel* l = NamedLabel(parent, name, tag);
    l->setText(design);
    return l;
}

}  // namespace

frmEVGAssign::frmEVGAssign(MainWindowServices& main) : GatewayDialog("frmEVGAssign", main) {
    TreeView1 = new KeyedTree("TreeView1", this);
    TreeView1->setMinimumWidth(TwipsToPixels(3000));

    FrameEVGAll = new QGroupBox(this);
    FrameEVGAll->setObjectName("FrameEVGAll");
    SetTag(*FrameEVGAll, "732");
    SliderEVGAll = PercentSlider(FrameEVGAll, "SliderEVGAll");
    EVGInfoValueAll = label(FrameEVGAll, "EVGInfoValueAll", nullptr, "0");
    EVGInfo[3] = label(FrameEVGAll, "EVGInfo(3)", nullptr, "%");
    ComEVGAll = CommandButton(FrameEVGAll, "ComEVGAll", "731");
    auto* all = new QHBoxLayout(FrameEVGAll);
    all->addWidget(SliderEVGAll, 1);
    all->addWidget(EVGInfoValueAll);
    all->addWidget(EVGInfo[3]);
    all->addWidget(ComEVGAll);

    FrameEVG = new QGroupBox(this);
    FrameEVG->setObjectName("FrameEVG");
    FrameEVG->hide();
    QSizePolicy keepPlace = FrameEVG->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);  // the tree keeps its width when the frame comes and goes
    FrameEVG->setSizePolicy(keepPlace);
    EVGInfo[0] = label(FrameEVG, "EVGInfo(0)", "725");
    EVGInfo[1] = label(FrameEVG, "EVGInfo(1)", "726");
    EVGInfo[2] = label(FrameEVG, "EVGInfo(2)", "727");
    EVGInfo[4] = label(FrameEVG, "EVGInfo(4)", nullptr, "%");
    for (int i = 0; i < 2; ++i) {
        EVGInfoText[i] = new QLineEdit(FrameEVG);
        EVGInfoText[i]->setObjectName(QStringLiteral("EVGInfoText(%1)").arg(i));
    }
    EVGInfoText[1]->setReadOnly(true);
    EVGInfoText[0]->installEventFilter(this);
    GuardProjectText(*EVGInfoText[0]);  // the ballast's name
    ComboGruppe = new QComboBox(FrameEVG);
    ComboGruppe->setObjectName("ComboGruppe");
    InfoOK = CommandButton(FrameEVG, "InfoOK", "729");
    LabelInfo = label(FrameEVG, "LabelInfo", nullptr);
    QFont bold = LabelInfo->font();
    bold.setBold(true);
    LabelInfo->setFont(bold);
    ComBlink = CommandButton(FrameEVG, "ComBlink", "720");
    ComBlinkCancel = CommandButton(FrameEVG, "ComBlinkCancel", "728");
    DimmValueSlider = PercentSlider(FrameEVG, "DimmValueSlider");
    EVGINfoValue = label(FrameEVG, "EVGINfoValue", nullptr, "0");
    ComEVGSet = CommandButton(FrameEVG, "ComEVGSet", "731");
    auto* grid = new QGridLayout(FrameEVG);
    grid->addWidget(EVGInfo[0], 0, 0);
    grid->addWidget(EVGInfoText[0], 0, 1, 1, 4);
    grid->addWidget(EVGInfo[1], 1, 0);
    grid->addWidget(EVGInfoText[1], 1, 1, 1, 4);
    grid->addWidget(EVGInfo[2], 2, 0);
    grid->addWidget(ComboGruppe, 2, 1, 1, 4);
    grid->addWidget(InfoOK, 3, 1, 1, 2);
    grid->addWidget(LabelInfo, 3, 3, 1, 2);
    grid->addWidget(ComBlink, 4, 1, 1, 2);
    grid->addWidget(ComBlinkCancel, 4, 3, 1, 2);
    grid->addWidget(DimmValueSlider, 5, 0, 1, 2);
    grid->addWidget(EVGINfoValue, 5, 2);
    grid->addWidget(EVGInfo[4], 5, 3);
    grid->addWidget(ComEVGSet, 5, 4);
    grid->setColumnStretch(1, 1);

    TimerEVGAssign = new FormTimer("TimerEVGAssign", 1000, this);
    ComClose = CommandButton(this, "ComClose", "723");
    TimerEVGBlink = new FormTimer("TimerEVGBlink", 1000, this);

    auto* side = new QVBoxLayout;
    side->addWidget(FrameEVGAll);
    side->addWidget(FrameEVG);
    side->addStretch();
    auto* closeRow = new QHBoxLayout;
    closeRow->addStretch();
    closeRow->addWidget(ComClose);
    side->addLayout(closeRow);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(TreeView1, 1);
    layout->addLayout(side, 1);

    ConnectTrapped(this, ComBlink, &QPushButton::clicked, &frmEVGAssign::ComBlink_Click);
    ConnectTrapped(this, ComBlinkCancel, &QPushButton::clicked, &frmEVGAssign::ComBlinkCancel_Click);
    ConnectTrapped(this, ComEVGSet, &QPushButton::clicked, &frmEVGAssign::ComEVGSet_Click);
    ConnectTrapped(this, ComEVGAll, &QPushButton::clicked, &frmEVGAssign::ComEVGAll_Click);
    ConnectTrapped(this, InfoOK, &QPushButton::clicked, &frmEVGAssign::InfoOK_Click);
    ConnectTrapped(this, ComClose, &QPushButton::clicked, &frmEVGAssign::ComClose_Click);
    ConnectTrapped(this, TimerEVGAssign, &FormTimer::tick, &frmEVGAssign::TimerEVGAssign_Timer);
    connect(TimerEVGBlink, &FormTimer::tick, this, &frmEVGAssign::TimerEVGBlink_Timer);
    TimerEVGBlink->setEnabled(true);
    // Mouse and keyboard alike: the selected node is the clicked one. A click on the node
    // already selected fills the frame again from the project; a click that moves the selection
    // brings both signals, and filling the frame twice does no harm.
    const auto nodeClicked = [this](QTreeWidgetItem* node) {
        if (!node) return;
        Trap([&] { TreeView1_NodeClick(*node); });
        TreeView1_Click();
    };
    connect(TreeView1, &QTreeWidget::currentItemChanged, this, nodeClicked);
    connect(TreeView1, &QTreeWidget::itemClicked, this, nodeClicked);
    connect(SliderEVGAll, &QSlider::valueChanged, EVGInfoValueAll, qOverload<int>(&QLabel::setNum));
    connect(DimmValueSlider, &QSlider::valueChanged, EVGINfoValue, qOverload<int>(&QLabel::setNum));

    ActivateWhenShown([this] { Form_Activate(); });

    resize(TwipsToPixels(9000), TwipsToPixels(6600));
    Trap([this] { Form_Load(); });
}

void frmEVGAssign::Form_Load() {
    SelectedBallastNode = 1;
    SetFormTexts(*this);
    ReadBallastRecords(Project(), BallastRecords);
    CreateEVGDataTree();
}

void frmEVGAssign::Form_Activate() {
    if (!AddressValidOrUnload()) return;
    AddGroupEntries(*ComboGruppe, Project());
    ComboGruppe->addItem(QText(724), kGroupNotAssigned);
    ComboGruppe->setCurrentIndex(kGroupNotAssigned);
}

void frmEVGAssign::CreateEVGDataTree() {
    corlink::clsOrvekDali& project = Project();
    const QSignalBlocker quiet(TreeView1);
    KeyedTree& tree = *TreeView1;
    tree.Rebuild([&] {
        QTreeWidgetItem* root = tree.Add(nullptr, "E-VG", "EVGs", "E-VG", 0, true);
        for (int i = 0; i < kBallasts; ++i) {
            const corlink::TypDaliGruppe g = project.DaliGruppe(static_cast<std::int16_t>(i));
            const QString number = QString::number(i + 1);
            QTreeWidgetItem* ballast = tree.Add(root, "EVG" + number, BallastNodeText(i, g), QString::number(i));
            ballast->setForeground(0, BallastColour(g.Gruppe));
            tree.Add(ballast, "LongAdr:" + QString::number(i), longAddressText(g), "adr" + QString::number(i));
        }
    });
    if (QTreeWidgetItem* selected = tree.Node(SelectedBallastNode)) tree.SelectNode(*selected);
}

void frmEVGAssign::TreeView1_Click() {
    const QTreeWidgetItem* current = TreeView1->currentItem();
    SelectedBallastNode = TreeView1->isVisible() && current ? KeyedTree::Index(*current) : 1;
}

void frmEVGAssign::TreeView1_NodeClick(QTreeWidgetItem& node) {
    const QString key = KeyedTree::Key(node);
    if (!key.contains("EVG")) return;
    const corlink::TypDaliGruppe g = Project().DaliGruppe(static_cast<std::int16_t>(KeyedTree::Tag(node).toInt()));
    if (g.Gruppe > kGroupNotAssigned) {
        FrameEVG->hide();
        return;
    }
    FrameEVG->setTitle(key);
    FrameEVG->show();
    EVGInfoText[0]->setText(QString::fromStdString(g.Name));
    EVGInfoText[1]->setText(longAddressText(g));
    ComboGruppe->setCurrentIndex(g.Gruppe < kGroupNotAssigned ? g.Gruppe : kGroupNotAssigned);
}

std::optional<int> frmEVGAssign::SelectedBallast() const {
    const QTreeWidgetItem* node = TreeView1->SelectedNode();
    if (!node || !KeyedTree::Key(*node).startsWith("EVG")) return std::nullopt;
    return KeyedTree::Tag(*node).toInt();
}

void frmEVGAssign::sendOnly(const corlink::TypDaliCommand& command) {
    if (InCall()) return;
    Call([&] { return SendDaliCmd(Main(), command); });
}

void frmEVGAssign::ComBlink_Click() {
    if (const auto ballast = SelectedBallast()) sendOnly(CmdBlink(*ballast));
}

void frmEVGAssign::ComBlinkCancel_Click() { sendOnly(CmdEnd()); }

void frmEVGAssign::ComEVGSet_Click() {
    if (const auto ballast = SelectedBallast()) {
        sendOnly(CmdBallastLevel(*ballast, LevelFromPercent(DimmValueSlider->value())));
    }
}

void frmEVGAssign::ComEVGAll_Click() { sendOnly(CmdBroadcastLevel(LevelFromPercent(SliderEVGAll->value()))); }

void frmEVGAssign::InfoOK_Click() {
    const auto ballast = SelectedBallast();
    if (!ballast || ComboGruppe->currentIndex() < 0 || InCall() || pending_) return;
    const corlink::TypDaliCommand command = CmdAssign(*ballast, ComboGruppe->currentData().toInt());
    LabelInfo->setText("Bitte warten ...");
    LabelInfo->show();
    if (Call([&] { return SendDaliCmd(Main(), command); }) < 0) return;
    // The confirmation is for this ballast and group, whatever is selected when it comes.
    pending_ = command;
    InfoOK->setEnabled(false);
    TimerEVGAssign->setEnabled(true);
}

void frmEVGAssign::TimerEVGAssign_Timer() {
    if (!TimerEVGAssign->Enabled() || !pending_ || InCall()) return;
    TimerEVGAssign->setEnabled(false);
    const corlink::TypDaliCommand sent = *pending_;
    pending_.reset();
    InfoOK->setEnabled(true);
    if (Call([&] { return PollDaliCmd(Main(), sent); }) < 0) return;
    LabelInfo->hide();
    if (!IsFinished(DaliReply(Main()))) {
        ShowMessage(1, MessageText(MessageTexts.MsgPropertyWriteFailed, 885));
        return;
    }
    const int t = sent.Byte2;
    corlink::TypDaliGruppe& record = BallastRecords.at(static_cast<std::size_t>(t));
    record = Project().DaliGruppe(static_cast<std::int16_t>(t));
    if (SelectedBallast() == t) record.Name = EVGInfoText[0]->text().toStdString();
    record.Gruppe = sent.Byte3;
    Project().letDaliGruppe(static_cast<std::int16_t>(t), record);
    ProjectChanged();
    CreateEVGDataTree();
}

void frmEVGAssign::EVGInfoText_LostFocus(int index) {
    const auto ballast = SelectedBallast();
    if (index != 0 || !ballast) return;
    const std::string name = EVGInfoText[0]->text().toStdString();
    BallastRecords.at(static_cast<std::size_t>(*ballast)).Name = name;
    Project().letDaliGruppeName(static_cast<std::int16_t>(*ballast), name);
    ProjectChanged();
}

bool frmEVGAssign::eventFilter(QObject* watched, QEvent* event) {
    // The name box loses the focus to another control of the window (not when the window
    // itself is left).
    if (watched == EVGInfoText[0] && event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            Trap([this] { EVGInfoText_LostFocus(0); });
        }
    }
    return GatewayDialog::eventFilter(watched, event);
}

void frmEVGAssign::TimerEVGBlink_Timer() { BlinkState = BlinkState == 1 ? 0 : 1; }

void frmEVGAssign::KeepWhatTheUserDid() {
    if (focusWidget() == EVGInfoText[0]) EVGInfoText_LostFocus(0);
    if (pending_) TimerEVGAssign_Timer();
}

void frmEVGAssign::ComClose_Click() { CloseAndRebuildProjectTree(); }

}  // namespace corvane
