#include "FormTexts.h"
#include "Forms.h"
#include "gui_fixture.h"
#include "oledate.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>

using namespace corvane;
using corvane::test::Gui;

namespace {

struct NodeRow {
    QString key, text, tag;
    int image;
    int parentIndex;
};

NodeRow row(const frm01& w, int index) {
    const QTreeWidgetItem* n = w.Node(index);
    return {frm01::NodeKey(*n), n->text(0), frm01::NodeTag(*n), frm01::NodeImage(*n),
            n->parent() ? frm01::NodeIndex(*n->parent()) : 0};
}

void assign(corlink::clsOrvekDali& dali, int ballast, int group) {
    corlink::TypDaliGruppe g = dali.DaliGruppe(static_cast<std::int16_t>(ballast));
    g.Gruppe = static_cast<std::uint8_t>(group);
    dali.letDaliGruppe(static_cast<std::int16_t>(ballast), g);
}

void nameGroup(corlink::clsOrvekDali& dali, int group, const std::string& name) {
    corlink::TypDaliEinzelGruppe g = dali.DaliEinzelgruppe(static_cast<std::int16_t>(group));
    g.Name = name;
    dali.letDaliEinzelgruppe(static_cast<std::int16_t>(group), g);
}

}  // namespace

TEST_F(Gui, TreeOfAProjectWithNamedGroupsAndAssignedBallasts) {
    auto w = start(kGerman);
    corlink::clsOrvekDali& dali = w->mDali();
    nameGroup(dali, 0, "Flur");
    nameGroup(dali, 2, "Büro 1");
    assign(dali, 5, 0);
    assign(dali, 2, 0);
    assign(dali, 63, 15);
    assign(dali, 7, 16);   // not assigned: under no group
    assign(dali, 8, 200);  // any value above 15: under no group
    w->CreateObjektDataTree();

    ASSERT_EQ(w->NodeCount(), 43);
    const NodeRow expectTop[] = {
        {"DALI", "DALI", "DALI", 1, 0},
        {"phyAdresse", "phys. Adresse", "phyAdresse", 3, 1},
        {"Neuinstallation", "Neuinstallation", "Neuinstallation", 4, 1},
        {"Nachinstallation", "Nachinstallation", "Nachinstallation", 5, 1},
        {"EVGAssign", "EVG Zuordnung", "EVGAssign", 8, 1},
        {"GRPAssign", "Gruppen Zuordnung", "GRPAssign", 1, 1},
        {"DALIGruppen", "Gruppen", "DALIGruppen", 7, 1},
        {"-DALIGruppe0", "Gruppe1 (Flur)", "0", 7, 7},
        {"DALIGruppe09", "EVG 3", "2", 4, 8},
        {"DALIGruppe010", "EVG 6", "5", 4, 8},
        {"-DALIGruppe1", "Gruppe2 ()", "1", 7, 7},
        {"-DALIGruppe2", "Gruppe3 (Büro 1)", "2", 7, 7},
    };
    for (int i = 0; i < 12; ++i) {
        const NodeRow got = row(*w, i + 1);
        EXPECT_EQ(got.key, expectTop[i].key) << i + 1;
        EXPECT_EQ(got.text, expectTop[i].text) << i + 1;
        EXPECT_EQ(got.tag, expectTop[i].tag) << i + 1;
        EXPECT_EQ(got.image, expectTop[i].image) << i + 1;
        EXPECT_EQ(got.parentIndex, expectTop[i].parentIndex) << i + 1;
    }
    // Group 16 holds ballast 64, then the scenes follow.
    const NodeRow g16 = row(*w, 25);
    EXPECT_EQ(g16.key, "-DALIGruppe15");
    EXPECT_EQ(g16.text, "Gruppe16 ()");
    const NodeRow last = row(*w, 26);
    EXPECT_EQ(last.key, "DALIGruppe1526");
    EXPECT_EQ(last.text, "EVG 64");
    EXPECT_EQ(last.tag, "63");
    EXPECT_EQ(row(*w, 27).key, "DALISzenen");
    EXPECT_EQ(row(*w, 27).text, "Szenen");
    EXPECT_EQ(row(*w, 27).image, 6);
    EXPECT_EQ(row(*w, 27).parentIndex, 1);
    const NodeRow scene4 = row(*w, 31);
    EXPECT_EQ(scene4.key, "-DALISzene3");
    EXPECT_EQ(scene4.text, "Szene4");
    EXPECT_EQ(scene4.tag, "3");
    EXPECT_EQ(scene4.image, 4);
    EXPECT_EQ(row(*w, 43).key, "-DALISzene15");

    // Only the root comes back expanded; nothing can be edited.
    EXPECT_TRUE(w->Node(1)->isExpanded());
    EXPECT_FALSE(w->Node(8)->isExpanded());
    for (int i = 1; i <= w->NodeCount(); ++i) EXPECT_FALSE(w->Node(i)->flags() & Qt::ItemIsEditable);
    int cancel = 0;
    w->TreeView1_BeforeLabelEdit(cancel);
    EXPECT_EQ(cancel, 1);

    // Expanding or collapsing nodes of this tree sets no flag.
    w->Node(8)->setExpanded(true);
    w->Node(27)->setExpanded(true);
    w->Node(27)->setExpanded(false);
    EXPECT_FALSE(w->ExpandAllgemeinObj);
    EXPECT_FALSE(w->ExpandSzenen);
    EXPECT_FALSE(w->ExpandBeleuchtungObj);
    // Keys of other trees: one flag per test, each test taking its first match.
    QTreeWidgetItem other;
    other.setData(0, Qt::UserRole, "Szenen");
    w->TreeView1_Expand(other);
    EXPECT_TRUE(w->ExpandSzenen);
    EXPECT_FALSE(w->ExpandSzenenObj);
    other.setData(0, Qt::UserRole, "3BGruppeAllgemein");
    w->TreeView1_Expand(other);
    EXPECT_TRUE(w->ExpandBeleuchtungObj);
    EXPECT_FALSE(w->ExpandAllgemeinObj);
    other.setData(0, Qt::UserRole, "Allgemein");
    w->TreeView1_Expand(other);
    EXPECT_TRUE(w->ExpandAllgemeinObj);
    w->TreeView1_Collapse(other);
    EXPECT_FALSE(w->ExpandAllgemeinObj);

    // English texts of the same nodes.
    LanguageOffset = kEnglish;
    w->CreateObjektDataTree();
    EXPECT_EQ(w->Node(11)->text(0), "Group2 ()");
    EXPECT_EQ(w->Node(31)->text(0), "Scene4");
}

TEST_F(Gui, RebuildSelectsTheRememberedNodeOrTheLastOne) {
    auto w = start(kEnglish);
    w->show();
    // With node 1 selected and 40 nodes, node 11 is brought into view (its group node opens).
    EXPECT_EQ(w->SelectedNode(), w->Node(1));
    EXPECT_TRUE(w->Node(7)->isExpanded());
    SelectedNodeIndex = 35;
    w->CreateObjektDataTree();
    EXPECT_EQ(w->SelectedNode(), w->Node(35));
    EXPECT_FALSE(w->Node(7)->isExpanded());  // 40 - 35 is not above 10: no scrolling
    // Ballasts left their groups since the click: the tree has shrunk below the index.
    assign(w->mDali(), 4, 3);
    SelectedNodeIndex = 41;
    w->CreateObjektDataTree();
    ASSERT_EQ(w->NodeCount(), 41);
    EXPECT_EQ(w->SelectedNode(), w->Node(41));
    assign(w->mDali(), 4, 255);
    w->CreateObjektDataTree();
    EXPECT_EQ(w->SelectedNode(), w->Node(40));
    EXPECT_EQ(SelectedNodeIndex, 41);
}

TEST_F(Gui, NodeKeysChooseTheirDialogs) {
    struct Case {
        const char* key;
        const char* form;
    };
    const Case cases[] = {{"Brimcor", "frmProjektInfo"},       {"Neuinstallation", "frmNeuinstallation"},
                          {"Nachinstallation", "frmNachinstallation"}, {"GRPAssign", "frmGrpAssign"},
                          {"EVGAssign", "frmEVGAssign"},       {"-DALIGruppe12", "frmGruppe"},
                          {"-DALISzene3", "frmScene"},         {"phyAdresse", "frmphyAdr"},
                          {"Allgemein", "frmAllgemein"},       {"0AObjekt:1", "frmGrpAdr"},
                          {"2BObjekt:3", "frmGrpAdr"}};
    for (const Case& c : cases) {
        const auto d = NodeDialogFor(c.key, "Text", "Parent", 4300, 700, 19200);
        ASSERT_TRUE(d) << c.key;
        EXPECT_EQ(d->form, c.form);
    }
    for (const char* none : {"DALI", "DALIGruppen", "DALISzenen", "DALIGruppe09", "DALIGruppe1526", "phyadresse"}) {
        EXPECT_FALSE(NodeDialogFor(none, "Text", "Parent", 4300, 700, 19200)) << none;
    }
    const auto scene = NodeDialogFor("-DALISzene3", "Szene4", "Szenen", 4300, 700, 19200);
    EXPECT_EQ(scene->caption, "Szene4");
    EXPECT_EQ(scene->left, 4300);
    EXPECT_EQ(scene->top, 700);
    EXPECT_FALSE(scene->newInstance);
    const auto page = NodeDialogFor("Allgemein", "Allgemeines", "DALI", 4300, 700, 12000);
    EXPECT_EQ(page->left, 500);  // a screen not wider than 12000 twips
    EXPECT_FALSE(page->top);
    EXPECT_EQ(NodeDialogFor("Allgemein", "A", "B", 4300, 700, 12001)->left, 4300);
    const auto editor = NodeDialogFor("1AObjekt:0", "Datum", "Allgemein", 4300, 700, 19200);
    EXPECT_EQ(editor->caption, "Allgemein: Datum");
    EXPECT_EQ(editor->tag, "1AObjekt:0");
    EXPECT_TRUE(editor->newInstance);
}

TEST_F(Gui, ClickOnASceneOpensItsDialogBesideTheTree) {
    auto w = start(kGerman);
    w->show();
    RegisterForm("frmScene", [] { return new QDialog; });
    QString caption;
    QPoint place;
    QString selectedTag;
    int opened = 0;
    SetModalRunner([&](QDialog& d) {
        ++opened;
        caption = d.windowTitle();
        place = d.pos();
        selectedTag = frm01::NodeTag(*w->SelectedNode());
        // The dialog may rebuild the tree while the click is handled.
        w->CreateObjektDataTree();
        return 0;
    });
    // The user opens the scenes and clicks scene 4 (node 28 of the 40).
    w->Node(24)->setExpanded(true);
    QTreeWidgetItem* scene4 = w->Node(28);
    w->TreeView1->scrollToItem(scene4);
    QTest::mouseClick(w->TreeView1->viewport(), Qt::LeftButton, {},
                      w->TreeView1->visualItemRect(scene4).center());
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(caption, "Szene4");
    EXPECT_EQ(selectedTag, "3");
    EXPECT_EQ(SelectedNodeIndex, 28);
    EXPECT_EQ(w->SelectedNode(), w->Node(28));  // selected again by the dialog's rebuild
    const QPoint origin = w->mapToGlobal(QPoint(0, w->menuBar()->height()));
    const QPoint treePos = w->TreeView1->mapTo(w.get(), QPoint(0, 0)) - QPoint(0, w->menuBar()->height());
    const int left = PixelsToTwips(treePos.x()) + PixelsToTwips(w->TreeView1->width()) + 100;
    const int top = PixelsToTwips(w->Toolbar1->height()) + PixelsToTwips(treePos.y());
    EXPECT_EQ(place, origin + QPoint(TwipsToPixels(left), TwipsToPixels(top)));

    // A ballast node opens nothing but is remembered; a dialog not built yet opens nothing.
    assign(w->mDali(), 1, 0);
    w->CreateObjektDataTree();
    w->TreeView1_NodeClick(*w->Node(9));
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(SelectedNodeIndex, 9);
    w->TreeView1_NodeClick(*w->Node(3));  // frmNeuinstallation: a later module
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(SelectedNodeIndex, 3);
    RegisterForm("frmScene", {});
    EXPECT_TRUE(shown.empty());
}

TEST_F(Gui, StatusBarFollowsTheHeader) {
    auto w = start(kEnglish);
    EXPECT_EQ(w->StatusPanel(1).size(), 10);  // the date
    EXPECT_EQ(w->StatusPanel(2), "");
    EXPECT_EQ(w->StatusPanel(4), "-");
    EXPECT_EQ(w->StatusPanel(6), "");
    corlink::TypHeader h = w->mDali().Header();
    h.DateiName = "/projects/hall.dal";
    h.phyAdrString = "1.1.5";
    h.phyAdr = 0x1105;
    h.LetzterZugriff = automation::toOleDate({2024, 5, 17, 9, 30, 0});
    w->mDali().letHeader(h);
    EXPECT_EQ(w->StatusPanel(2), "/projects/hall.dal");
    EXPECT_EQ(w->StatusPanel(3), "17.05.2024 09:30:00");
    EXPECT_EQ(w->StatusPanel(4), "-");
    EXPECT_EQ(w->StatusPanel(5), "-");
    EXPECT_EQ(w->StatusPanel(6), "1.1.5");
    EXPECT_TRUE(shown.empty());
}

TEST_F(Gui, TransferErrorsBecomeMessages) {
    auto w = start(kEnglish);
    const char* english[10] = {"",
                               "Error in communication",
                               "Connection was not possible. Please check the interface!",
                               "Connection was cut.",
                               "A wrong mask version has been recognized.",
                               "Property cannot be verified, please contact manufacturer.",
                               "Property cannot be written, please contact manufacturer.",
                               "Property cannot be read, please contact manufacturer.",
                               "cancel by user",
                               "Error in communication"};
    for (int code = 0; code <= 10; ++code) {
        shown.clear();
        w->mDali_LoadErrorEvent(static_cast<corlink::LoadError>(code));
        ASSERT_EQ(shown.size(), 1u) << code;
        EXPECT_EQ(shown[0].style, styleOkExclamation);
        EXPECT_EQ(shown[0].text, code <= 9 ? english[code] : "") << code;
        EXPECT_EQ(shown[0].title, "advice");
    }
    // German texts are fetched when the event comes, not at start-up.
    LanguageOffset = kGerman;
    shown.clear();
    w->mDali_LoadErrorEvent(corlink::ERR_PROPERTYWRITE);
    EXPECT_EQ(shown[0].text, "Property kann nicht geschrieben werden, kontakteiren Sie den Hersteller.");
    w->mDali_LoadErrorEvent(corlink::ERR_NOCONNECTION);
    EXPECT_EQ(shown[1].text, "Es konnte keine Verbindung hergestellt werden. Überprüfen Sie die Schnittstelle!");
    LanguageOffset = kEnglish;

    shown.clear();
    w->mDali_InterfaceError(9);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "Please contact manufacturer: error code Interface 9");

    shown.clear();
    for (auto t : {corlink::pdDownLoad, corlink::pdupLoad, corlink::pdDeviceInfo}) w->mDali_DownUpLoad(t);
    EXPECT_TRUE(shown.empty());
    w->mDali_DownUpLoad(corlink::pdError);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "communication failure");
}

namespace {

// The device-information dialog as the later module builds it: the controls the events fill.
QDialog* deviceInfoStandIn() {
    auto* d = new QDialog;
    for (const char* box : {"TextBestellnummer", "TextVersion", "TextAppLoadState", "TextAppRunState",
                            "TextLoadState", "TextRunState"}) {
        (new QLineEdit(d))->setObjectName(box);
    }
    auto* bar = new QProgressBar(d);
    bar->setObjectName("ProgressBar1");
    bar->setRange(0, 100);
    bar->setValue(0);
    (new QLabel("0", d))->setObjectName("PropNr");
    return d;
}

}  // namespace

TEST_F(Gui, DeviceInformationAndItsProgress) {
    auto w = start(kEnglish);
    // Without the dialog (not built yet) the events have nowhere to go and change nothing.
    corlink::TypDeviceInfo info;
    info.Bestellnummer = "517104";
    w->mDali_DeviceInfoEvent(info);
    w->mDali_LoadEvent(" Beginn Upload", 6);

    RegisterForm("frmDeviceInfo", deviceInfoStandIn);
    info.FirmwareVersion = "11";
    info.AppLoadState = 2;
    info.AppRunState = 1;
    info.LoadState = 3;
    info.RunState = 7;
    w->mDali_DeviceInfoEvent(info);
    QWidget* form = FindForm("frmDeviceInfo");
    ASSERT_NE(form, nullptr);
    EXPECT_FALSE(form->isVisible());  // loaded, not shown
    auto text = [form](const char* name) { return form->findChild<QLineEdit*>(name)->text(); };
    EXPECT_EQ(text("TextBestellnummer"), "517104");
    EXPECT_EQ(text("TextVersion"), "11");
    EXPECT_EQ(text("TextAppLoadState"), "loading");
    EXPECT_EQ(text("TextAppRunState"), "running");
    EXPECT_EQ(text("TextLoadState"), "error");
    EXPECT_EQ(text("TextRunState"), "");  // 7 has no text: the box stays as it was

    auto* bar = form->findChild<QProgressBar*>("ProgressBar1");
    auto* percent = form->findChild<QLabel*>("PropNr");
    // Not the active window: progress changes nothing.
    w->mDali_LoadEvent(" Beginn Upload", 6);
    EXPECT_EQ(bar->value(), 0);

    form->show();
    QApplication::setActiveWindow(form);
    ASSERT_EQ(QApplication::activeWindow(), form);
    w->mDali_LoadEvent(" Beginn Upload", 6);
    EXPECT_EQ(bar->maximum(), 6);
    EXPECT_EQ(bar->value(), 1);
    EXPECT_EQ(percent->text(), "17");
    for (int i = 0; i < 5; ++i) w->mDali_LoadEvent(" Property gelesen", 0);
    EXPECT_EQ(bar->value(), 6);
    EXPECT_EQ(percent->text(), "100");
    w->mDali_LoadEvent(" Property gelesen", 0);
    w->mDali_LoadEvent(" Ende Upload", 0);
    EXPECT_EQ(bar->value(), 6);
    EXPECT_EQ(percent->text(), "100");

    // A start with a count below 1 keeps a valid range (maximum 1 above the minimum 0).
    bar->setValue(0);
    w->mDali_LoadEvent(" Begin Download", 0);
    EXPECT_EQ(bar->minimum(), 0);
    EXPECT_EQ(bar->maximum(), 1);
    EXPECT_EQ(bar->value(), 1);
    EXPECT_EQ(percent->text(), "100");
    w->mDali_LoadEvent(" Begin Download", -5);
    EXPECT_EQ(bar->maximum(), 1);
    EXPECT_EQ(bar->value(), 1);

    delete form;
    RegisterForm("frmDeviceInfo", {});
    EXPECT_TRUE(shown.empty());
}

TEST_F(Gui, CommandsReportTheirErrorsAndTheProgramGoesOn) {
    auto w = start(kEnglish);
    corlink::TypHeader h = w->mDali().Header();
    h.DateiName = dir.filePath("missing/x.dal").toStdString();
    w->mDali().letHeader(h);
    w->Toolbar1_ButtonClick("Save");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_TRUE(QString::fromStdString(shown[0].text).startsWith("Please contact manufacturer: error code  "));
    // The toolbar keys without a command, and the menu's device information, do nothing.
    shown.clear();
    w->Toolbar1_ButtonClick("DeviceInfo");
    w->Toolbar1_ButtonClick("Nothing");
    EXPECT_TRUE(shown.empty());
    // Switched-off menu items.
    for (QAction* off : {w->mnuDrucken, w->mnuDruckenMehr, w->mnuGeraeteStatus, w->mnuGrpDarstellung, w->mnuService}) {
        EXPECT_FALSE(off->isEnabled()) << off->objectName().toStdString();
    }
    EXPECT_TRUE(w->mnuNeu->isEnabled());
    EXPECT_FALSE(w->mnuService->isChecked());
    // Toolbar: twelve entries in order.
    const QList<QAction*> entries = w->Toolbar1->actions();
    ASSERT_EQ(entries.size(), 12);
    QStringList keys;
    for (QAction* a : entries) keys << (a->isSeparator() ? QString("|") : a->property("Key").toString());
    EXPECT_EQ(keys.join(","), "|,New,Open,Save,SaveAs,|,|,Upload,Download,|,Info,Ausgang");
    // Save without any header (a new main window before its start-up): message 902.
    shown.clear();
    LoadMessageTexts();
    frm01 bare;
    bare.SaveProjectProc();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "No data to save!");
}
