// The project tree of the main window: its rebuild from the project object, and the dialogs
// that a click on a node opens.
#include "FormTexts.h"
#include "Forms.h"
#include "ModDefinition.h"
#include "Seams.h"
#include "frm01.h"

#include <QDialog>
#include <QMenuBar>
#include <QPointer>
#include <QToolBar>

#include <algorithm>

namespace corvane {

namespace {

std::optional<NodeDialog> standard(const QString& form, const QString& text, int left, int top) {
    return NodeDialog{form, text, left, top, false};
}

}  // namespace

std::optional<NodeDialog> NodeDialogFor(const QString& key, const QString& text, const QString& parentText, int left,
                                        int top, int screenWidthTwips) {
    if (key == "Brimcor") return standard("frmProjektInfo", text, left, top);
    if (key == "Neuinstallation") return standard("frmNeuinstallation", text, left, top);
    if (key == "Nachinstallation") return standard("frmNachinstallation", text, left, top);
    if (key == "GRPAssign") return standard("frmGrpAssign", text, left, top);
    if (key == "EVGAssign") return standard("frmEVGAssign", text, left, top);
    if (key.contains("-DALIGruppe")) return standard("frmGruppe", text, left, top);
    if (key.contains("-DALISzene")) return standard("frmScene", text, left, top);
    if (key == "Allgemein") {
        return NodeDialog{"frmAllgemein", text, screenWidthTwips > 12000 ? left : 500, std::nullopt, false};
    }
    if (key.contains("AObjekt") || key.contains("BObjekt")) {
        return NodeDialog{"frmGrpAdr", parentText + ": " + text, left, top, true};
    }
    if (key == "phyAdresse") return standard("frmphyAdr", text, left, top);
    return std::nullopt;
}

void frm01::CreateObjektDataTree() {
    TreeView1->Rebuild([this] { AddProjectNodes(); });
    SelectAfterRebuild();
}

void frm01::AddProjectNodes() {
    corlink::clsOrvekDali& dali = mDali();
    const bool ex = ExpandAllgemeinObj;
    KeyedTree& tree = *TreeView1;
    QTreeWidgetItem* root = tree.Add(nullptr, "DALI", "DALI", "DALI", 1, true);
    tree.Add(root, "phyAdresse", QText(201), "phyAdresse", 3, false);
    tree.Add(root, "Neuinstallation", QText(701), "Neuinstallation", 4, false);
    tree.Add(root, "Nachinstallation", QText(702), "Nachinstallation", 5, false);
    tree.Add(root, "EVGAssign", QText(710), "EVGAssign", 8, ex);
    tree.Add(root, "GRPAssign", QText(741), "GRPAssign", 1, ex);
    QTreeWidgetItem* groups = tree.Add(root, "DALIGruppen", QText(711), "DALIGruppen", 7, ex);
    const QString group = QText(730);
    for (int n = 0; n < 16; ++n) {
        const QString name = QString::fromStdString(dali.DaliEinzelgruppe(static_cast<std::int16_t>(n)).Name);
        const QString text = group + QString::number(n + 1) + " (" + name + ")";
        QTreeWidgetItem* groupNode =
            tree.Add(groups, "-DALIGruppe" + QString::number(n), text, QString::number(n), 7, ex);
        for (int i = 0; i < 64; ++i) {
            if (dali.DaliGruppe(static_cast<std::int16_t>(i)).Gruppe != n) continue;
            QTreeWidgetItem* ballast =
                tree.Add(groupNode, {}, "EVG " + QString::number(i + 1), QString::number(i), 4, ex);
            const QString index = QString::number(KeyedTree::Index(*ballast));
            KeyedTree::SetKey(*ballast, "DALIGruppe" + QString::number(n) + index);
        }
    }
    QTreeWidgetItem* scenes = tree.Add(root, "DALISzenen", QText(712), "DALISzenen", 6, ex);
    const QString scene = QText(713);
    for (int n = 0; n < 16; ++n) {
        tree.Add(scenes, "-DALISzene" + QString::number(n), scene + QString::number(n + 1), QString::number(n), 4, ex);
    }
}

void frm01::SelectAfterRebuild() {
    KeyedTree& tree = *TreeView1;
    // The node of the last click; the last node when the tree has shrunk below it since.
    const int selected = std::clamp<int>(SelectedNodeIndex, 1, tree.NodeCount());
    // Selected and shown as a click would leave it; with more than ten nodes after it, the
    // tenth of them is shown too. Nothing else is opened.
    tree.SelectNode(*tree.Node(selected));
    if (tree.NodeCount() - selected > 10) tree.EnsureVisible(*tree.Node(selected + 10));
}

void frm01::TreeView1_BeforeLabelEdit(int& Cancel) { Cancel = 1; }

void frm01::TreeView1_Expand(QTreeWidgetItem& node) { SetExpandFlag(node, true); }

void frm01::TreeView1_Collapse(QTreeWidgetItem& node) { SetExpandFlag(node, false); }

void frm01::SetExpandFlag(const QTreeWidgetItem& node, bool expanded) {
    const QString key = KeyedTree::Key(node);
    struct Flag {
        const char* text;
        bool frm01::*flag;
    };
    static const Flag equalTests[] = {{"Beleuchtungsgruppe", &frm01::ExpandBeleuchtung},
                                      {"Belueftungsgruppe", &frm01::ExpandBelueftung},
                                      {"Jalousiegruppe", &frm01::ExpandJalousie},
                                      {"Temperaturgruppe", &frm01::ExpandTemperatur},
                                      {"Szenen", &frm01::ExpandSzenen},
                                      {"Meldegruppe", &frm01::ExpandMeldungen}};
    static const Flag containTests[] = {
        {"BGruppe", &frm01::ExpandBeleuchtungObj}, {"LGruppe", &frm01::ExpandBelueftungObj},
        {"JGruppe", &frm01::ExpandJalousieObj},    {"TGruppe", &frm01::ExpandTemperaturObj},
        {"SGruppe", &frm01::ExpandSzenenObj},      {"MGruppe", &frm01::ExpandMeldungenObj},
        {"Allgemein", &frm01::ExpandAllgemeinObj}};
    for (const Flag& t : equalTests) {
        if (key == t.text) {
            this->*t.flag = expanded;
            break;
        }
    }
    for (const Flag& t : containTests) {
        if (key.contains(t.text)) {
            this->*t.flag = expanded;
            break;
        }
    }
}

void frm01::TreeView1_NodeClick(QTreeWidgetItem& node) {
    // The dialog's place beside the tree, in twips of the window's inner area.
    const QPoint treePos = TreeView1->mapTo(this, QPoint(0, 0)) - QPoint(0, menuBar()->height());
    const int left = PixelsToTwips(treePos.x()) + PixelsToTwips(TreeView1->width()) + 100;
    const int top = PixelsToTwips(Toolbar1->height()) + PixelsToTwips(treePos.y());
    SelectedNodeIndex = TreeView1->isVisible() ? static_cast<std::int16_t>(KeyedTree::Index(node)) : 1;
    const QString parentText = node.parent() ? node.parent()->text(0) : QString();
    const QString key = KeyedTree::Key(node);
    if (const auto dialog = NodeDialogFor(key, node.text(0), parentText, left, top, ScreenWidthTwips())) {
        OpenNodeDialog(*dialog, FormSubject{key, KeyedTree::Tag(node)});
    }
}

void frm01::OpenNodeDialog(const NodeDialog& d, const FormSubject& node) {
    // The dialog works on the clicked node: a group's or a scene's number, an object's key.
    QPointer<QDialog> dialog =
        qobject_cast<QDialog*>(d.newInstance ? NewForm(d.form, *this, node) : LoadForm(d.form, *this, node));
    if (!dialog) return;  // an unknown name is reported by the registry
    dialog->setWindowTitle(d.caption);
    // Left and Top count from the window's inner area (below the menu bar).
    const QPoint origin = mapToGlobal(QPoint(0, menuBar()->height()));
    dialog->move(origin.x() + TwipsToPixels(d.left), d.top ? origin.y() + TwipsToPixels(*d.top) : dialog->y());
    ShowModal(*dialog);
    if (d.newInstance && dialog) dialog->deleteLater();
}

}  // namespace corvane
