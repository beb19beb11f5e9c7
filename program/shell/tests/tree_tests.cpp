#include "DeviceInfoView.h"
#include "FormTexts.h"
#include "Forms.h"
#include "Icons.h"
#include "frmStart.h"
#include "gui_fixture.h"
#include "oledate.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QScrollBar>
#include <QTest>
#include <QTreeWidget>

#include <functional>

using namespace corvane;
using namespace corvane::test;

namespace {

// Key, text, tag, image and parent index of a node, as one line.
QString row(const frm01& w, int index) {
    const QTreeWidgetItem* n = w.TreeView1->Node(index);
    return QStringList{KeyedTree::Key(*n), n->text(0), KeyedTree::Tag(*n), QString::number(KeyedTree::Image(*n)),
                       QString::number(n->parent() ? KeyedTree::Index(*n->parent()) : 0)}
        .join('|');
}

// Rebuilds the tree with node `selected` remembered, and lets the view settle.
void rebuildAt(frm01& w, int selected) {
    SelectedNodeIndex = static_cast<std::int16_t>(selected);
    w.CreateObjektDataTree();
    QApplication::processEvents();
}

// Whether a node lies within the tree's view.
bool Shows(const frm01& w, int index) {
    const QRect r = w.TreeView1->visualItemRect(w.TreeView1->Node(index));
    return !r.isEmpty() && w.TreeView1->viewport()->rect().contains(r);
}

QImage drawing(const QIcon& icon, int size) { return icon.pixmap(QSize(size, size)).toImage(); }

}  // namespace

TEST_F(Gui, TreeOfAProjectWithNamedGroupsAndAssignedBallasts) {
    auto w = start(kGerman);
    corlink::clsOrvekDali& dali = w->mDali();
    SetGroupName(dali, 0, "Flur");
    SetGroupName(dali, 2, "Büro 1");
    SetBallast(dali, 5, 0);
    SetBallast(dali, 2, 0);
    SetBallast(dali, 63, 15);
    SetBallast(dali, 7, 16);   // not assigned: under no group
    SetBallast(dali, 8, 200);  // any value above 15: under no group
    w->CreateObjektDataTree();

    ASSERT_EQ(w->TreeView1->NodeCount(), 43);
    const std::pair<int, const char*> expected[] = {
        {1, "DALI|DALI|DALI|1|0"},
        {2, "phyAdresse|phys. Adresse|phyAdresse|3|1"},
        {3, "Neuinstallation|Neuinstallation|Neuinstallation|4|1"},
        {4, "Nachinstallation|Nachinstallation|Nachinstallation|5|1"},
        {5, "EVGAssign|EVG Zuordnung|EVGAssign|8|1"},
        {6, "GRPAssign|Gruppen Zuordnung|GRPAssign|1|1"},
        {7, "DALIGruppen|Gruppen|DALIGruppen|7|1"},
        {8, "-DALIGruppe0|Gruppe1 (Flur)|0|7|7"},
        {9, "DALIGruppe09|EVG 3|2|4|8"},
        {10, "DALIGruppe010|EVG 6|5|4|8"},
        {11, "-DALIGruppe1|Gruppe2 ()|1|7|7"},
        {12, "-DALIGruppe2|Gruppe3 (Büro 1)|2|7|7"},
        {25, "-DALIGruppe15|Gruppe16 ()|15|7|7"},
        {26, "DALIGruppe1526|EVG 64|63|4|25"},
        {27, "DALISzenen|Szenen|DALISzenen|6|1"},
        {31, "-DALISzene3|Szene4|3|4|27"},
        {43, "-DALISzene15|Szene16|15|4|27"},
    };
    for (const auto& [index, line] : expected) EXPECT_EQ(row(*w, index), QString::fromUtf8(line)) << index;

    // Opened: the root, and the groups node, which holds node 11 (ten after the root); nothing
    // can be edited.
    EXPECT_EQ(ExpandedNodes(*w), (QList<int>{1, 7}));
    for (const QTreeWidgetItem* n : Nodes(*w->TreeView1)) EXPECT_FALSE(n->flags() & Qt::ItemIsEditable);

    // Expansion flags follow the keys of the object trees: a whole key, or a part of one.
    QTreeWidgetItem other;
    KeyedTree::SetKey(other, "Szenen");
    w->TreeView1_Expand(other);
    EXPECT_TRUE(w->ExpandSzenen);
    EXPECT_FALSE(w->ExpandSzenenObj);
    KeyedTree::SetKey(other, "3BGruppeAllgemein");
    w->TreeView1_Expand(other);
    EXPECT_TRUE(w->ExpandBeleuchtungObj);
    EXPECT_FALSE(w->ExpandAllgemeinObj);  // the first match only

    LanguageOffset = kEnglish;
    w->CreateObjektDataTree();
    EXPECT_EQ(w->TreeView1->Node(11)->text(0), "Group2 ()");
    EXPECT_EQ(w->TreeView1->Node(31)->text(0), "Scene4");
}

TEST_F(Gui, RebuildSelectsTheRememberedNodeOrTheLastOne) {
    auto w = start(kEnglish);
    SelectedNodeIndex = 35;
    w->CreateObjektDataTree();
    EXPECT_EQ(w->SelectedNode(), w->TreeView1->Node(35));
    // Ballasts left their groups since the click: the tree has shrunk below the index.
    SetBallast(w->mDali(), 4, 3);
    SelectedNodeIndex = 41;
    w->CreateObjektDataTree();
    ASSERT_EQ(w->TreeView1->NodeCount(), 41);
    EXPECT_EQ(w->SelectedNode(), w->TreeView1->Node(41));
    SetBallast(w->mDali(), 4, 255);
    w->CreateObjektDataTree();
    EXPECT_EQ(w->SelectedNode(), w->TreeView1->Node(40));
    EXPECT_EQ(SelectedNodeIndex, 41);
}

// Every rebuild opens the parents of the selected node and of the tenth node after it (when
// more than ten follow), and closes whatever the user had opened besides. Of the 40 nodes,
// 8..23 are groups 0..15 in the groups node 7, 25..40 scenes 0..15 in the scenes node 24.
TEST_F(Gui, RebuildOpensWhatTheSelectionAndTheNodeTenAfterItNeed) {
    const QString project = dir.filePath("hall.dal");
    struct Step {
        const char* what;
        std::function<void(frm01&)> run;
        QList<int> expanded;
    };
    const auto rebuild = [](int selected) {
        return [selected](frm01& w) {
            SelectedNodeIndex = static_cast<std::int16_t>(selected);
            w.CreateObjektDataTree();
        };
    };
    const Step steps[] = {
        {"New (node 11: group 3)", [](frm01& w) { w.Toolbar1_ButtonClick("New"); }, {1, 7}},
        {"Open",
         [&](frm01& w) {
             files = {project};
             w.Toolbar1_ButtonClick("Open");
         },
         {1, 7}},
        {"scene 3, scene 13 ten after it", rebuild(28), {1, 24}},
        {"group 8, scene 1 ten after it", rebuild(16), {1, 7, 24}},
        {"the groups node, group 9 ten after it", rebuild(7), {1, 7}},
        {"scene 10, five nodes after it",
         [](frm01& w) {
             w.hide();  // hidden meanwhile
             SelectedNodeIndex = 35;
             w.CreateObjektDataTree();
             w.show();
         },
         {1, 24}},
    };
    auto w = start(kGerman);
    w->mDali().SaveProjektData(project.toStdString());
    w->show();
    QApplication::processEvents();
    EXPECT_EQ(ExpandedNodes(*w), (QList<int>{1, 7})) << "start-up";
    for (const Step& step : steps) {
        // The user has opened groups and scenes before.
        w->TreeView1->Node(7)->setExpanded(true);
        w->TreeView1->Node(24)->setExpanded(true);
        step.run(*w);
        QApplication::processEvents();
        ASSERT_EQ(w->TreeView1->NodeCount(), 40) << step.what;
        EXPECT_EQ(ExpandedNodes(*w), step.expanded) << step.what;
        EXPECT_EQ(w->SelectedNode(), w->TreeView1->Node(SelectedNodeIndex)) << step.what;
    }
    EXPECT_TRUE(shown.empty());
}

// A full project: four ballasts in each of the 16 groups, 104 nodes. Group n has Index 8 + 5n,
// its ballasts the four after it; the scenes node has Index 88, scene n 89 + n.
TEST_F(Gui, RebuildOfAFullProjectShowsTheSelectedNodeAndTheTenthAfterIt) {
    struct Case {
        int selected;
        int tenthAfter;  // 0: fewer than eleven nodes follow
        QList<int> expanded;
    };
    const Case cases[] = {
        {1, 11, {1, 7, 8}},        // the root; group 0's third ballast
        {70, 80, {1, 7, 68, 78}},  // group 12's second ballast; group 14's second
        {85, 95, {1, 7, 83, 88}},  // group 15's second ballast; scene 6
        {88, 98, {1, 88}},         // the scenes node; scene 9
        {100, 0, {1, 88}},         // scene 11, four nodes after it
    };
    auto w = start(kEnglish);
    for (int i = 0; i < 64; ++i) SetBallast(w->mDali(), i, i / 4);
    w->show();
    for (const Case& c : cases) {
        rebuildAt(*w, c.selected);
        ASSERT_EQ(w->TreeView1->NodeCount(), 104);
        EXPECT_EQ(ExpandedNodes(*w), c.expanded) << c.selected;
        EXPECT_EQ(w->SelectedNode(), w->TreeView1->Node(c.selected)) << c.selected;
        EXPECT_TRUE(Shows(*w, c.selected)) << c.selected;
        if (c.tenthAfter) {
            EXPECT_TRUE(Shows(*w, c.tenthAfter)) << c.selected;
        }
    }
}

// In a tree with room for three rows: the view scrolls to the tenth node after the selected
// one when more than ten follow, to no further one, and not at all when ten follow.
TEST_F(Gui, RebuildScrollsToTheTenthNodeAfterTheSelectedOne) {
    struct Case {
        int selected;
        int shows, hidden;
    };
    const Case cases[] = {
        {1, 11, 1},    // group 3 scrolled into view, the root out of it
        {30, 30, 40},  // 40 - 30 = 10: scene 5 shown, not the last scene
        {29, 39, 40},  // 11 follow: scene 14 shown, not the one after it
    };
    auto w = start(kEnglish);
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));  // placed in its frame by then
    w->TreeView1->resize(w->TreeView1->width(), w->TreeView1->visualItemRect(w->TreeView1->Node(1)).height() * 3 + 4);
    QApplication::processEvents();
    for (const Case& c : cases) {
        rebuildAt(*w, c.selected);
        EXPECT_TRUE(Shows(*w, c.shows)) << c.selected;
        EXPECT_FALSE(Shows(*w, c.hidden)) << c.selected;
    }
}

TEST_F(Gui, IconsAreDrawnOncePerImageAndSizeAndEachImageIsItsOwn) {
    std::vector<std::pair<QString, std::function<QIcon()>>> icons;
    for (int i = 1; i <= 8; ++i) icons.emplace_back("tree " + QString::number(i), [i] { return TreeImage(i); });
    for (const char* key : {"New", "Open", "Save", "SaveAs", "Upload", "Download", "Info", "Ausgang"}) {
        icons.emplace_back(key, [key] { return ToolbarImage(key); });
    }
    icons.emplace_back("program", &ProgramIcon);
    for (std::size_t a = 0; a < icons.size(); ++a) {
        const auto& [name, icon] = icons[a];
        const qint64 small = icon().pixmap(QSize(16, 16)).cacheKey();
        const qint64 large = icon().pixmap(QSize(48, 48)).cacheKey();
        EXPECT_NE(small, large) << name.toStdString();  // drawn for each size
        // Asked for again: the same pixmaps, nothing drawn anew.
        EXPECT_EQ(icon().pixmap(QSize(16, 16)).cacheKey(), small) << name.toStdString();
        EXPECT_EQ(icon().pixmap(QSize(48, 48)).cacheKey(), large) << name.toStdString();
        EXPECT_EQ(drawing(icon(), 48).size(), QSize(48, 48));
        for (std::size_t b = 0; b < a; ++b) {
            EXPECT_NE(drawing(icon(), 24), drawing(icons[b].second(), 24))
                << name.toStdString() << " " << icons[b].first.toStdString();
        }
    }
    for (int none : {0, 9}) EXPECT_TRUE(TreeImage(none).isNull()) << none;
    EXPECT_TRUE(ToolbarImage("Print").isNull());

    // A rebuild draws nothing: every node shows the pixmap its image had before.
    auto w = start(kEnglish);
    SetBallast(w->mDali(), 3, 2);
    w->CreateObjektDataTree();
    for (const QTreeWidgetItem* n : Nodes(*w->TreeView1)) {
        EXPECT_EQ(n->icon(0).pixmap(QSize(16, 16)).cacheKey(),
                  TreeImage(KeyedTree::Image(*n)).pixmap(QSize(16, 16)).cacheKey())
            << KeyedTree::Index(*n);
    }
}

TEST_F(Gui, NodeKeysChooseTheirDialogs) {
    const std::pair<const char*, const char*> cases[] = {
        {"Brimcor", "frmProjektInfo"}, {"Neuinstallation", "frmNeuinstallation"},
        {"GRPAssign", "frmGrpAssign"}, {"Nachinstallation", "frmNachinstallation"},
        {"EVGAssign", "frmEVGAssign"}, {"-DALIGruppe12", "frmGruppe"},
        {"-DALISzene3", "frmScene"},   {"phyAdresse", "frmphyAdr"},
        {"Allgemein", "frmAllgemein"}, {"0AObjekt:1", "frmGrpAdr"},
        {"2BObjekt:3", "frmGrpAdr"},
    };
    for (const auto& [key, form] : cases) EXPECT_EQ(NodeDialogFor(key, "T", "P", 4300, 700, 19200)->form, form) << key;
    for (const char* none : {"DALI", "DALIGruppen", "DALISzenen", "DALIGruppe09", "phyadresse"}) {
        EXPECT_FALSE(NodeDialogFor(none, "T", "P", 4300, 700, 19200)) << none;
    }
    EXPECT_EQ(NodeDialogFor("Allgemein", "A", "B", 4300, 700, 12000)->left, 500);  // a narrow screen
    const auto editor = NodeDialogFor("1AObjekt:0", "Datum", "Allgemein", 4300, 700, 19200);
    EXPECT_EQ(editor->caption, "Allgemein: Datum");
    EXPECT_TRUE(editor->newInstance);
}

TEST_F(Gui, ClickOnASceneOpensItsDialog) {
    auto w = start(kGerman);
    w->show();
    QString given;  // the Tag of the node the dialog is given
    RegisterSubjectForm("frmScene", [&](MainWindowServices&, const std::optional<FormSubject>& node) {
        given = node ? node->tag : "none";
        return new QDialog;
    });
    QStringList opened;
    SetModalRunner([&](QDialog& d) {
        opened << d.windowTitle() + "|" + given;
        w->CreateObjektDataTree();  // the dialog may rebuild the tree while the click is handled
        return 0;
    });
    // The user opens the scenes and clicks scene 4 (node 28 of the 40).
    w->TreeView1->Node(24)->setExpanded(true);
    QTreeWidgetItem* scene4 = w->TreeView1->Node(28);
    w->TreeView1->scrollToItem(scene4);
    QTest::mouseClick(w->TreeView1->viewport(), Qt::LeftButton, {}, w->TreeView1->visualItemRect(scene4).center());
    EXPECT_EQ(opened, QStringList{"Szene4|3"});
    EXPECT_EQ(SelectedNodeIndex, 28);
    EXPECT_EQ(w->SelectedNode(), w->TreeView1->Node(28));  // selected again by the dialog's rebuild,
    EXPECT_EQ(ExpandedNodes(*w), (QList<int>{1, 24}));     // inside the scenes node it opened

    // A ballast node opens nothing but is remembered.
    SetBallast(w->mDali(), 1, 0);
    w->CreateObjektDataTree();
    w->TreeView1_NodeClick(*w->TreeView1->Node(9));
    EXPECT_EQ(SelectedNodeIndex, 9);
    EXPECT_EQ(opened.size(), 1);
    RegisterForm("frmScene", {});
    EXPECT_TRUE(shown.empty());
}

TEST_F(Gui, TransferErrorsBecomeMessages) {
    auto w = start(kEnglish);
    const char* english[11] = {"",
                               "Error in communication",
                               "Connection was not possible. Please check the interface!",
                               "Connection was cut.",
                               "A wrong mask version has been recognized.",
                               "Property cannot be verified, please contact manufacturer.",
                               "Property cannot be written, please contact manufacturer.",
                               "Property cannot be read, please contact manufacturer.",
                               "cancel by user",
                               "Error in communication",
                               ""};
    for (int code = 0; code <= 10; ++code) {
        shown.clear();
        w->mDali_LoadErrorEvent(static_cast<corlink::LoadError>(code));
        ASSERT_EQ(shown.size(), 1u) << code;
        EXPECT_EQ(shown[0].style, kOkExclamation);
        EXPECT_EQ(shown[0].text, english[code]) << code;
        EXPECT_EQ(shown[0].title, "advice");
    }
    // The texts are fetched when the event comes, in the language then in force.
    LanguageOffset = kGerman;
    w->mDali_LoadErrorEvent(corlink::ERR_NOCONNECTION);
    EXPECT_EQ(shown.back().text, "Es konnte keine Verbindung hergestellt werden. Überprüfen Sie die Schnittstelle!");
    LanguageOffset = kEnglish;

    w->mDali_InterfaceError(9);
    EXPECT_EQ(shown.back().text, "Please contact manufacturer: error code Interface 9");

    shown.clear();
    for (auto t : {corlink::pdDownLoad, corlink::pdupLoad, corlink::pdDeviceInfo}) w->mDali_DownUpLoad(t);
    EXPECT_TRUE(shown.empty());
    w->mDali_DownUpLoad(corlink::pdError);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "communication failure");
}

TEST_F(Gui, DeviceInformationAndItsProgress) {
    auto w = start(kEnglish);
    corlink::TypDeviceInfo info;
    info.Bestellnummer = "517104";
    w->mDali_LoadEvent(" Beginn Upload", 6);

    // A stand-in of the device-information dialog with the controls the events fill.
    static const char* const names[] = {"TextBestellnummer", "TextVersion",   "TextAppLoadState",
                                        "TextAppRunState",   "TextLoadState", "TextRunState"};
    class StandIn : public QDialog, public DeviceInfoView {
    public:
        StandIn() {
            for (const char* box : names) (new QLineEdit(this))->setObjectName(box);
            (new QProgressBar(this))->setObjectName("ProgressBar1");
            (new QLabel("0", this))->setObjectName("PropNr");
        }
        void SetValueText(Value value, const QString& text) override {
            findChild<QLineEdit*>(names[value])->setText(text);
        }
        QProgressBar& Progress() override { return *findChild<QProgressBar*>("ProgressBar1"); }
        QLabel& ProgressPercent() override { return *findChild<QLabel*>("PropNr"); }
    };
    RegisterForm("frmDeviceInfo", [](MainWindowServices&) { return static_cast<QWidget*>(new StandIn); });
    info.FirmwareVersion = "11";
    info.AppLoadState = 2;
    info.AppRunState = 1;
    info.LoadState = 3;
    info.RunState = 7;
    w->mDali_DeviceInfoEvent(info);
    QWidget* form = FindForm("frmDeviceInfo", *w);
    ASSERT_NE(form, nullptr);
    EXPECT_FALSE(form->isVisible());  // loaded, not shown
    QStringList boxes;
    for (const char* name : names) boxes << form->findChild<QLineEdit*>(name)->text();
    EXPECT_EQ(boxes, (QStringList{"517104", "11", "loading", "running", "error", ""}));  // 7 has no text

    auto* bar = form->findChild<QProgressBar*>("ProgressBar1");
    auto* percent = form->findChild<QLabel*>("PropNr");
    bar->setRange(0, 100);
    bar->setValue(0);
    w->mDali_LoadEvent(" Beginn Upload", 6);  // not the active window: nothing changes
    EXPECT_EQ(bar->value(), 0);

    form->show();
    QApplication::setActiveWindow(form);
    ASSERT_EQ(QApplication::activeWindow(), form);
    w->mDali_LoadEvent(" Beginn Upload", 6);
    EXPECT_EQ(bar->maximum(), 6);
    EXPECT_EQ(bar->value(), 1);
    EXPECT_EQ(percent->text(), "17");
    for (int i = 0; i < 6; ++i) w->mDali_LoadEvent(" Property gelesen", 0);
    w->mDali_LoadEvent(" Ende Upload", 0);
    EXPECT_EQ(bar->value(), 6);
    EXPECT_EQ(percent->text(), "100");

    // A start with a count below 1 keeps a valid range (maximum 1 above the minimum 0).
    for (int count : {0, -5}) {
        bar->setValue(0);
        w->mDali_LoadEvent(" Begin Download", count);
        EXPECT_EQ(bar->minimum(), 0);
        EXPECT_EQ(bar->maximum(), 1) << count;
        EXPECT_EQ(bar->value(), 1) << count;
    }

    delete form;
    RegisterForm("frmDeviceInfo", {});
    EXPECT_TRUE(shown.empty());
}

TEST_F(Gui, CommandsReportTheirErrorsAndTheProgramGoesOn) {
    auto w = start(kEnglish);
    EditHeader(w->mDali(), [&](corlink::TypHeader& h) { h.DateiName = dir.filePath("missing/x.dal").toStdString(); });
    w->Toolbar1_ButtonClick("Save");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_TRUE(QString::fromStdString(shown[0].text).startsWith("Please contact manufacturer: error code  "));
    // Toolbar keys without a command do nothing.
    shown.clear();
    w->Toolbar1_ButtonClick("DeviceInfo");
    w->Toolbar1_ButtonClick("Nothing");
    EXPECT_TRUE(shown.empty());
    // Save without any header (a main window before its start-up): message 902.
    frm01 bare;
    bare.SaveProjectProc();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "No data to save!");
}
