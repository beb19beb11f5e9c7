#include "frmScene.h"

#include "ConnectTrapped.h"
#include "FormTexts.h"
#include "GatewayCommands.h"
#include "MainWindowServices.h"
#include "Messages.h"
#include "ModDefinition.h"
#include "Seams.h"
#include "SmallDialogs.h"
#include "TransferSteps.h"
#include "corlink/clsOrvekDali.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace corvane {

namespace {

constexpr int kTagRole = Qt::UserRole;

// The scene number a tree node carries in its Tag, when it is one.
std::optional<int> sceneOf(MainWindowServices& main, const std::optional<FormSubject>& node) {
    main.mDali();  // error 91 while the main window has no project object
    if (!node) return std::nullopt;
    bool ok = false;
    const int scene = node->tag.toInt(&ok);
    if (!ok || scene < 0 || scene >= frmScene::kScenes) return std::nullopt;
    return scene;
}

}  // namespace

frmScene::frmScene(MainWindowServices& main, const std::optional<FormSubject>& node)
    : GatewayDialog("frmScene", main), node_(node) {
    ListView1 = new QTreeWidget(this);
    ListView1->setObjectName("ListView1");
    ListView1->setColumnCount(1);
    ListView1->setRootIsDecorated(false);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->header()->setSectionsMovable(false);
    ComSetScene = CommandButton(this, "ComSetScene", "735");
    ComRecallScene = CommandButton(this, "ComRecallScene", "744");
    LabelInfo = new QLabel(this);
    LabelInfo->setObjectName("LabelInfo");
    LabelInfo->setWordWrap(true);
    LabelInfo->hide();
    ComClose = CommandButton(this, "ComClose", "723");
    TimerScene = new FormTimer("TimerScene", 3000, this);
    // The gateway buttons wait for a scene.
    ComSetScene->setEnabled(false);
    ComRecallScene->setEnabled(false);

    auto* side = new QVBoxLayout;
    side->addWidget(ComSetScene);
    side->addWidget(ComRecallScene);
    side->addWidget(LabelInfo);
    side->addStretch();
    side->addWidget(ComClose);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(ListView1);
    layout->addLayout(side, 1);

    // A store that raised an error is over all the same: the close button comes back.
    connect(ComSetScene, &QPushButton::clicked, this, [this] {
        if (!Trap([this] { ComSetScene_Click(); })) endStore();
    });
    ConnectTrapped(this, ComRecallScene, &QPushButton::clicked, &frmScene::ComRecallScene_Click);
    connect(ComClose, &QPushButton::clicked, this, &frmScene::ComClose_Click);
    connect(TimerScene, &FormTimer::tick, this, [this] {
        if (TimerScene->Enabled()) TimerScene_Timer();
    });

    resize(TwipsToPixels(5200), TwipsToPixels(6300));
    Trap([this] { Form_Load(); });
}

QTreeWidgetItem* frmScene::Row(int row) const {
    return row >= 1 && row <= ListView1->topLevelItemCount() ? ListView1->topLevelItem(row - 1) : nullptr;
}

void frmScene::Form_Load() {
    SetFormTexts(*this);
    ListView1->setHeaderLabels({QText(733)});
    ListView1->setFixedSize(TwipsToPixels(2050), TwipsToPixels(5535));
    ListView1->clear();
    for (int i = 1; i <= kGroups; ++i) {
        auto* row = new QTreeWidgetItem(ListView1, {QText(734) + " " + QString::number(i)});
        row->setData(0, kTagRole, i);
        row->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        row->setCheckState(0, Qt::Unchecked);
    }
    Scene = sceneOf(Main(), node_);
    if (!Scene) return;
    Scenes[static_cast<std::size_t>(*Scene)] = Project().DaliScene(static_cast<std::int16_t>(*Scene));
    const corlink::TypDaliScene& entry = Scenes[static_cast<std::size_t>(*Scene)];
    const std::uint16_t mask = static_cast<std::uint16_t>(entry.Byte1 << 8 | entry.Byte2);
    for (int row = 1; row <= kGroups; ++row) {
        if (mask & MaskBit(row)) Row(row)->setCheckState(0, Qt::Checked);
    }
    ComSetScene->setEnabled(true);
    ComRecallScene->setEnabled(true);
}

void frmScene::ComSetScene_Click() {
    if (!Scene || InCall()) return;
    const int scene = *Scene;
    corlink::TypDaliScene& entry = Scenes[static_cast<std::size_t>(scene)];
    std::uint16_t mask = 0;
    for (int row = 1; row <= kGroups; ++row) {
        if (Row(row)->checkState(0) == Qt::Checked) mask |= MaskBit(row);
    }
    entry.Byte1 = static_cast<std::uint8_t>(mask >> 8);
    entry.Byte2 = static_cast<std::uint8_t>(mask & 0xFF);

    if (!Main().AskToSave() || !CheckPhysicalAddress(Main(), false)) return;
    LabelInfo->setText(QText(743));
    LabelInfo->show();
    ComClose->setEnabled(false);
    corlink::clsOrvekDali& project = Project();
    project.letDaliScene(static_cast<std::int16_t>(scene), entry);
    // The whole scene table of the project, then the command that makes the gateway store it.
    if (Call([&] {
            return project.StartSceneDownload(corlink::pdDownLoad, EDI, EDIPara, DaliCmd, Main().LogFileFlag());
        }) < 0) {
        endStore();
        ShowMessage(1, MessageText(MessageTexts.MsgPropertyWriteFailed, 885));
        return;
    }
    // A failed command is reported by the main window's event handlers.
    Call([&] { return SendDaliCmd(Main(), CmdStoreScene(scene)); });
    endStore();
}

void frmScene::ComRecallScene_Click() {
    if (!Scene || InCall()) return;
    Call([this] { return SendDaliCmd(Main(), CmdRecallScene(*Scene)); });
}

void frmScene::TimerScene_Timer() {
    if (!InCall()) endStore();
}

void frmScene::endStore() {
    LabelInfo->hide();
    ComClose->setEnabled(true);
    TimerScene->setEnabled(false);
}

void frmScene::ComClose_Click() { close(); }

}  // namespace corvane
