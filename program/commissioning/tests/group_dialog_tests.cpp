// The group assignment and group test dialogs against the simulated gateway.
#include "GatewayCommands.h"
#include "commissioning_fixture.h"
#include "frmEVGAssign.h"
#include "frmGrpAssign.h"
#include "frmGruppe.h"

#include <QComboBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QSlider>

using namespace corvane;
using corvane::test::Commissioning;

class GroupDialogs : public Commissioning {
protected:
    // The line's five ballasts in slots 0..4, in the gateway and in the project alike: slot 0
    // in group 1, slots 1 and 3 in group 3 ("Flur"), the others in none.
    void SetUp() override {
        Commissioning::SetUp();
        useGatewayAddress();
        installLine();
        mirrorLine({0, 2, 16, 2, 16});
        editGroup(2, [](corlink::TypDaliEinzelGruppe& g) {
            g.Name = "Flur";
            g.EinschaltZeit = 5;
        });
        project().ClearChangeFlag();
        main->CreateObjektDataTree();
    }

    // The list node of a slot in the group assignment dialog.
    static QTreeWidgetItem* nodeOf(const frmGrpAssign& d, int slot) {
        for (QTreeWidgetItem* n : test::Nodes(*d.TreeView1))
            if (KeyedTree::Tag(*n).toInt() == slot) return n;
        return nullptr;
    }
    static void tick(const frmGrpAssign& d, int slot, bool on) {
        nodeOf(d, slot)->setCheckState(0, on ? Qt::Checked : Qt::Unchecked);
    }
    static std::vector<int> ticked(const frmGrpAssign& d) {
        std::vector<int> out;
        for (const QTreeWidgetItem* n : test::Nodes(*d.TreeView1))
            if (n->checkState(0) == Qt::Checked) out.push_back(KeyedTree::Tag(*n).toInt());
        return out;
    }
};

TEST_F(GroupDialogs, AssignmentListShowsTheProjectsBallastsForTheChosenGroup) {
    // A ballast in slot 7 of the project only; slots 5 and 6 are empty.
    editBallast(7, [](corlink::TypDaliGruppe& g) { g.Gruppe = 16; });
    project().ClearChangeFlag();
    auto d = openActivated<frmGrpAssign>("frmGrpAssign");
    ASSERT_EQ(d->TreeView1->NodeCount(), 6);
    EXPECT_EQ(KeyedTree::Tag(*d->TreeView1->Node(6)).toInt(), 7);
    EXPECT_EQ(KeyedTree::Key(*d->TreeView1->Node(6)), "7N");
    EXPECT_EQ(d->TreeView1->Node(6)->text(0), "EVG8()");
    EXPECT_EQ(d->TreeView1->Node(1)->foreground(0).color(), kGreen);
    EXPECT_EQ(d->TreeView1->Node(3)->foreground(0).color(), kRed);

    // 16 groups, no "not assigned" entry; the first is chosen and its ballasts are ticked.
    ASSERT_EQ(d->ComboGruppe->count(), 16);
    EXPECT_EQ(d->ComboGruppe->itemText(2), "Gruppe3 (Flur)");
    EXPECT_EQ(ticked(*d), std::vector<int>{0});
    d->ComboGruppe->setCurrentIndex(2);
    EXPECT_EQ(ticked(*d), (std::vector<int>{1, 3}));

    // Unticking and ticking again marks the node but leaves the copy as the project has it.
    tick(*d, 1, false);
    EXPECT_EQ(d->BallastRecords[1].Gruppe, 16);
    tick(*d, 1, true);
    EXPECT_EQ(KeyedTree::Key(*nodeOf(*d, 1)), "1U");
    EXPECT_EQ(d->BallastRecords[1].Gruppe, 2);
    // A pending tick is not shown for another group: the boxes show the project.
    tick(*d, 4, true);
    d->ComboGruppe->setCurrentIndex(0);
    EXPECT_EQ(ticked(*d), std::vector<int>{0});
    EXPECT_EQ(d->BallastRecords[4].Gruppe, 2);
    EXPECT_EQ(operations(), 0);
    EXPECT_FALSE(project().GetChangeFlag());
}

TEST_F(GroupDialogs, BatchProgramsTheChangedBallastsAndStoresEachConfirmedOne) {
    // A record whose Index field strays from its slot still programs and stores its own slot.
    editBallast(4, [](corlink::TypDaliGruppe& g) {
        g.Index = 9;
        g.Name = "Büro";
    });
    project().ClearChangeFlag();
    auto d = openActivated<frmGrpAssign>("frmGrpAssign");
    tick(*d, 0, false);  // out of group 1 and back: nothing to send
    tick(*d, 0, true);
    d->ComboGruppe->setCurrentIndex(2);
    tick(*d, 4, true);   // into group 3
    tick(*d, 3, false);  // out of every group
    EXPECT_EQ(KeyedTree::Key(*nodeOf(*d, 4)), "4U");
    d->ComboGruppe->setCurrentIndex(1);  // the changes stay those made for group 3

    d->InfoOK->click();
    EXPECT_EQ(operations(), 4);  // one send and one poll per changed ballast
    EXPECT_EQ(gateway().ballastTable[4].group, 2);
    EXPECT_EQ(gateway().ballastTable[3].group, 16);
    EXPECT_EQ(project().DaliGruppe(4).Gruppe, 2);
    EXPECT_EQ(project().DaliGruppe(4).Name, "Büro");
    EXPECT_EQ(project().DaliGruppe(9).Gruppe, 255);
    EXPECT_EQ(project().DaliGruppe(3).Gruppe, 16);
    EXPECT_EQ(project().DaliGruppe(0).Gruppe, 0);
    EXPECT_TRUE(project().GetChangeFlag());
    EXPECT_TRUE(shown.empty());
    EXPECT_TRUE(d->LabelInfo->isHidden());
    EXPECT_TRUE(d->Label1->isHidden());
    EXPECT_FALSE(d->BatchRunning());
    EXPECT_TRUE(d->InfoOK->isEnabled());
    // Rebuilt: keys back to "N", the red and green of the project, boxes for the chosen group.
    EXPECT_EQ(KeyedTree::Key(*nodeOf(*d, 4)), "4N");
    EXPECT_EQ(nodeOf(*d, 3)->foreground(0).color(), kRed);
    EXPECT_EQ(nodeOf(*d, 4)->foreground(0).color(), kGreen);
    EXPECT_TRUE(ticked(*d).empty());
    d->InfoOK->click();
    EXPECT_EQ(operations(), 4);

    // Closing rebuilds the project tree: group 3 now lists ballasts 2 and 5.
    d->ComClose->click();
    EXPECT_TRUE(d.isNull() || !d->isVisible());
    const QList<QTreeWidgetItem*> nodes = test::Nodes(*main->TreeView1);
    EXPECT_TRUE(std::any_of(nodes.begin(), nodes.end(), [](auto* n) { return n->text(0) == "EVG 5"; }));
}

TEST_F(GroupDialogs, BatchStopsAtTheFirstUnconfirmedBallast) {
    gateway().ballastTable[3] = {};  // the gateway rejects slot 3
    auto d = openActivated<frmGrpAssign>("frmGrpAssign");
    for (int slot : {2, 3, 4}) tick(*d, slot, true);
    d->InfoOK->click();
    ASSERT_EQ(texts(), std::vector<std::string>{Text(885)});
    EXPECT_EQ(shown[0].style, styleOkExclamation);
    EXPECT_EQ(project().DaliGruppe(2).Gruppe, 0);
    EXPECT_EQ(project().DaliGruppe(3).Gruppe, 2);
    EXPECT_EQ(project().DaliGruppe(4).Gruppe, 16);
    EXPECT_EQ(gateway().ballastTable[4].group, 16);  // not sent
    EXPECT_EQ(operations(), 4);
    EXPECT_EQ(d->LabelInfo->text(), QString::fromStdString(Text(742)) + "1");
    EXPECT_FALSE(d->LabelInfo->isHidden());
    EXPECT_FALSE(d->Label1->isHidden());
    EXPECT_EQ(d->Label1->text(), "bitte warten ....");
    EXPECT_EQ(KeyedTree::Key(*nodeOf(*d, 4)), "4U");
    EXPECT_TRUE(d->TreeView1->isEnabled());

    // Once the gateway takes slot 3, a second run skips slot 2 and programs the rest.
    gateway().ballastTable[3] = busdriver::BallastEntry::installed(onLine(4).longAddress ^ 1u);
    shown.clear();
    d->InfoOK->click();
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(operations(), 8);
    EXPECT_EQ(project().DaliGruppe(3).Gruppe, 0);
    EXPECT_EQ(project().DaliGruppe(4).Gruppe, 0);

    // A failed send ends the batch without message 885; the main window reports the transfer.
    tick(*d, 2, false);
    line().failOpen(busdriver::openNoDevice);
    d->InfoOK->click();
    EXPECT_EQ(texts(), std::vector<std::string>{Text(881)});  // the main window's transfer message only
    EXPECT_EQ(project().DaliGruppe(2).Gruppe, 0);
}

// However an assignment dialog is closed after it stored an assignment, the main window's tree
// shows ballast 2 ("EVG 3") under its new group. Closed without a change, only the close button
// rebuilds the tree: otherwise the scenes node that the user opened stays open.
TEST_F(GroupDialogs, ProjectTreeFollowsEveryCloseOfTheAssignmentDialogsAfterAChange) {
    using Assign = std::function<void(QDialog&, int group)>;  // ballast 2 into `group`
    const std::pair<const char*, Assign> dialogs[] = {
        {"frmEVGAssign",
         [](QDialog& dialog, int group) {
             auto& d = dynamic_cast<frmEVGAssign&>(dialog);
             d.TreeView1->setCurrentItem(d.TreeView1->Node(6));  // ballast 2
             d.ComboGruppe->setCurrentIndex(group);
             d.InfoOK->click();
             d.TimerEVGAssign->Fire();
         }},
        {"frmGrpAssign",
         [](QDialog& dialog, int group) {
             auto& d = dynamic_cast<frmGrpAssign&>(dialog);
             d.ComboGruppe->setCurrentIndex(group);
             tick(d, 2, true);
             d.InfoOK->click();
         }},
    };
    const auto mainNode = [&](const QString& keyOrText) -> QTreeWidgetItem* {
        for (QTreeWidgetItem* n : test::Nodes(*main->TreeView1))
            if (KeyedTree::Key(*n) == keyOrText || n->text(0) == keyOrText) return n;
        return nullptr;
    };
    int group = 4;
    for (const auto& [dialog, assign] : dialogs) {
        for (const auto& [way, close] : closingWays()) {
            for (const bool change : {true, false}) {
                SCOPED_TRACE(std::string(dialog) + " by its " + way + (change ? " after an assignment" : " unchanged"));
                main->CreateObjektDataTree();
                mainNode("DALISzenen")->setExpanded(true);
                QPointer<QDialog> d = openActivated<QDialog>(dialog);
                ASSERT_FALSE(d.isNull());
                if (change) assign(*d, ++group);
                close(*d);
                test::UnloadClosedWindows();
                EXPECT_TRUE(d.isNull());
                EXPECT_EQ(project().DaliGruppe(2).Gruppe, group);
                const bool rebuilt = change || std::string(way) == "close button";
                EXPECT_EQ(mainNode("DALISzenen")->isExpanded(), !rebuilt);
                const QTreeWidgetItem* ballast = mainNode("EVG 3");
                ASSERT_NE(ballast, nullptr);
                EXPECT_EQ(KeyedTree::Key(*ballast->parent()), "-DALIGruppe" + QString::number(group));
            }
        }
    }
    EXPECT_TRUE(shown.empty());
}

TEST_F(GroupDialogs, BatchIgnoresTheUserWhileItRuns) {
    auto d = openActivated<frmGrpAssign>("frmGrpAssign");
    tick(*d, 2, true);
    tick(*d, 4, true);
    int pumps = 0;
    corlink::setMessagePump([&] {
        if (pumps++ > 0) return;
        EXPECT_TRUE(d->BatchRunning());
        EXPECT_FALSE(d->TreeView1->isEnabled());
        EXPECT_FALSE(d->ComboGruppe->isEnabled());
        EXPECT_FALSE(d->ComClose->isEnabled());
        d->InfoOK_Click();  // a second batch does not start
        d->close();         // nor does the window close
    });
    d->InfoOK->click();
    corlink::setMessagePump({});
    EXPECT_GT(pumps, 0);
    ASSERT_FALSE(d.isNull());
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(operations(), 4);
    EXPECT_EQ(project().DaliGruppe(4).Gruppe, 0);
    EXPECT_TRUE(d->TreeView1->isEnabled());
}

TEST_F(GroupDialogs, GroupTestSetsAndReadsTheGroupsLevel) {
    selectNode("-DALIGruppe2");
    auto d = openActivated<frmGruppe>("frmGruppe");
    EXPECT_EQ(d->Group, 2);
    EXPECT_EQ(d->GrpName->text(), "Flur");
    EXPECT_EQ(d->GroupValue->text(), "?");
    EXPECT_TRUE(d->LabelBitteWarten->isHidden());

    d->DimmValueSlider->setValue(50);
    EXPECT_EQ(d->GroupValue->text(), "50");
    d->ComBlink->click();
    EXPECT_EQ(onLine(1).level, 127);
    EXPECT_EQ(onLine(3).level, 127);
    EXPECT_EQ(onLine(0).level, 0);
    EXPECT_EQ(operations(), 1);  // no poll

    // Read back: the gateway answers with the command code and the level.
    onLine(1).level = 128;
    d->DimmValueSlider->setValue(0);
    d->Command1->click();
    EXPECT_FALSE(d->LabelBitteWarten->isHidden());
    EXPECT_EQ(d->LabelBitteWarten->text(), "bitte warten ....");
    EXPECT_TRUE(d->TimerWAIT1->Enabled());
    // A reply still marked 0xFF is passed over; so is a failed poll.
    gateway().writeCommand({3, 0, 0});
    d->TimerWAIT1->Fire();
    line().failOpen(busdriver::openNoDevice);
    d->TimerWAIT1->Fire();
    line().failOpen(0);
    EXPECT_EQ(d->DimmValueSlider->value(), 0);
    EXPECT_TRUE(d->TimerWAIT1->Enabled());
    gateway().writeCommand({12, 2, 0});
    d->TimerWAIT1->Fire();
    EXPECT_EQ(d->DimmValueSlider->value(), 50);
    EXPECT_EQ(d->GroupValue->text(), "50");
    EXPECT_FALSE(d->TimerWAIT1->Enabled());
    EXPECT_TRUE(d->LabelBitteWarten->isHidden());
    EXPECT_EQ(DaliCmd.Byte1, cmdReadGroupLevel);

    // A read whose send fails does not start the wait.
    line().failOpen(busdriver::openNoDevice);
    d->Command1->click();
    EXPECT_FALSE(d->TimerWAIT1->Enabled());
    EXPECT_TRUE(d->LabelBitteWarten->isHidden());
    EXPECT_FALSE(project().GetChangeFlag());
}

TEST_F(GroupDialogs, GroupTestStoresTheNameOnlyThroughItsCloseButton) {
    selectNode("-DALIGruppe2");
    auto d = openActivated<frmGruppe>("frmGruppe");
    d->GrpName->setText("Keller");
    d->close();  // the window's own close box
    EXPECT_EQ(project().DaliEinzelgruppe(2).Name, "Flur");
    EXPECT_FALSE(project().GetChangeFlag());

    d = openActivated<frmGruppe>("frmGruppe");
    d->GrpName->setText("Keller");
    QInputMethodEvent typed;  // a character the project file cannot hold is refused as typed
    typed.setCommitString(QString::fromUtf8("😀"));
    QCoreApplication::sendEvent(d->GrpName, &typed);
    EXPECT_EQ(texts(), std::vector<std::string>{Text(925) + " 😀"});
    corlink::TypDaliEinzelGruppe before = project().DaliEinzelgruppe(2);
    d->ComClose->click();
    corlink::TypDaliEinzelGruppe after = project().DaliEinzelgruppe(2);
    EXPECT_EQ(after.Name, "Keller");
    before.Name = "Keller";
    EXPECT_EQ(after, before);
    EXPECT_TRUE(project().GetChangeFlag());
    EXPECT_EQ(main->SelectedNode()->text(0), QString::fromStdString(Text(730)) + "3 (Keller)");

    // Unchanged, the name is still stored and the project counts as changed.
    project().ClearChangeFlag();
    d = openActivated<frmGruppe>("frmGruppe");
    d->ComClose->click();
    EXPECT_TRUE(project().GetChangeFlag());
    EXPECT_EQ(operations(), 0);
}

TEST_F(Commissioning, GroupDialogsWithoutBallastsOrWithoutAGroup) {
    // A project without ballasts: an empty list; the batch sends nothing and rebuilds it.
    useGatewayAddress();
    auto a = openActivated<frmGrpAssign>("frmGrpAssign");
    EXPECT_EQ(a->TreeView1->NodeCount(), 0);
    a->InfoOK->click();
    EXPECT_TRUE(a->LabelInfo->isHidden());
    EXPECT_EQ(operations(), 0);
    a->close();

    // The group test opened for a node that is no group reports error 13 and closes unused.
    main->TreeView1->setCurrentItem(main->TreeView1->Node(1));  // the root "DALI"
    auto g = openActivated<frmGruppe>("frmGruppe");
    EXPECT_EQ(texts(), std::vector<std::string>{Text(907) + " 13"});
    EXPECT_TRUE(g.isNull() || !g->isVisible());
    EXPECT_EQ(operations(), 0);
    EXPECT_FALSE(project().GetChangeFlag());
}
