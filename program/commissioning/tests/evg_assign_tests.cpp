// The ballast assignment dialog against the simulated gateway: tree, blinking, levels, names
// and the assignment with its delayed confirmation.
#include "GatewayCommands.h"
#include "commissioning_fixture.h"
#include "frmEVGAssign.h"

#include <QComboBox>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QSlider>
#include <QTreeWidget>

using namespace corvane;
using corvane::test::Commissioning;

class EVGAssign : public Commissioning {
protected:
    // The gateway and the project both know the five ballasts of the line, not assigned.
    void SetUp() override {
        Commissioning::SetUp();
        useGatewayAddress();
        installLine();
        mirrorLine();
        editGroup(2, [](corlink::TypDaliEinzelGruppe& g) { g.Name = "Flur"; });
        project().ClearChangeFlag();
        d = openActivated<frmEVGAssign>("frmEVGAssign");
    }

    // A ballast's node (the one of its long address follows it).
    void select(int ballast) { d->TreeView1->setCurrentItem(d->TreeView1->Node(2 + 2 * ballast)); }
    QColor colour(int ballast) const { return d->TreeView1->Node(2 + 2 * ballast)->foreground(0).color(); }

    QPointer<frmEVGAssign> d;
};

TEST_F(EVGAssign, TreeListsEverySlotColouredByItsGroup) {
    ASSERT_EQ(d->TreeView1->NodeCount(), 129);
    const busdriver::BallastEntry& e = gateway().ballastTable[1];
    EXPECT_EQ(d->TreeView1->Node(4)->text(0), "EVG2()");
    EXPECT_EQ(d->TreeView1->Node(5)->text(0), QStringLiteral("%1-%2-%3").arg(e.low).arg(e.middle).arg(e.high));
    EXPECT_EQ(colour(4), kRed);
    EXPECT_EQ(colour(5), kGrey);

    // The group list after the activation: 16 groups, then "not assigned", which is chosen.
    ASSERT_EQ(d->ComboGruppe->count(), 17);
    EXPECT_EQ(d->ComboGruppe->itemText(2), "Gruppe3 (Flur)");
    EXPECT_EQ(d->ComboGruppe->currentIndex(), 16);

    // A ballast shows its frame; an empty slot hides it; an address node leaves it.
    EXPECT_FALSE(d->FrameEVG->isVisible());
    select(1);
    EXPECT_TRUE(d->FrameEVG->isVisible());
    EXPECT_EQ(d->EVGInfoText[1]->text(), d->TreeView1->Node(5)->text(0));
    d->TreeView1->setCurrentItem(d->TreeView1->Node(5));
    EXPECT_TRUE(d->FrameEVG->isVisible());
    EXPECT_EQ(d->SelectedBallast(), std::nullopt);
    select(7);
    EXPECT_FALSE(d->FrameEVG->isVisible());

    // A click on the ballast already selected shows the project's group again.
    select(2);
    d->ComboGruppe->setCurrentIndex(5);
    QTest::mouseClick(d->TreeView1->viewport(), Qt::LeftButton, {},
                      d->TreeView1->visualItemRect(d->TreeView1->Node(6)).center());
    EXPECT_EQ(d->ComboGruppe->currentIndex(), 16);
}

TEST_F(EVGAssign, BlinkAndLevelsReachTheBallasts) {
    select(2);
    d->ComBlink->click();
    EXPECT_TRUE(onLine(2).blinking);
    d->ComBlinkCancel->click();
    EXPECT_FALSE(onLine(2).blinking);

    d->DimmValueSlider->setValue(50);
    d->ComEVGSet->click();
    EXPECT_EQ(onLine(2).level, 127);
    EXPECT_EQ(onLine(3).level, 0);

    d->SliderEVGAll->setValue(10);
    d->ComEVGAll->click();
    for (int slot = 0; slot < 5; ++slot) EXPECT_EQ(onLine(slot).level, 26) << slot;

    // With the root selected, the ballast buttons do nothing.
    d->TreeView1->setCurrentItem(d->TreeView1->Node(1));
    const int before = operations();
    d->ComBlink->click();
    d->ComEVGSet->click();
    d->InfoOK->click();
    EXPECT_EQ(operations(), before);
    EXPECT_FALSE(d->TimerEVGAssign->Enabled());
    EXPECT_FALSE(project().GetChangeFlag());
}

TEST_F(EVGAssign, AssignmentIsStoredWhenTheGatewayConfirmsIt) {
    select(0);
    d->ComboGruppe->setCurrentIndex(2);
    d->InfoOK->click();
    EXPECT_EQ(gateway().ballastTable[0].group, 2);
    EXPECT_EQ(d->LabelInfo->text(), "Bitte warten ...");
    EXPECT_TRUE(d->TimerEVGAssign->Enabled());
    EXPECT_EQ(project().DaliGruppe(0).Gruppe, 16);  // not yet

    // Meanwhile the user moves on to another ballast and another group.
    select(3);
    d->ComboGruppe->setCurrentIndex(5);
    d->TimerEVGAssign->Fire();
    EXPECT_FALSE(d->TimerEVGAssign->Enabled());
    EXPECT_TRUE(d->LabelInfo->isHidden());
    EXPECT_EQ(project().DaliGruppe(0).Gruppe, 2);
    EXPECT_EQ(project().DaliGruppe(3).Gruppe, 16);
    EXPECT_TRUE(project().GetChangeFlag());
    EXPECT_EQ(colour(0), kGreen);
    EXPECT_EQ(d->TreeView1->currentItem(), d->TreeView1->Node(8));  // still ballast 3
    d->TimerEVGAssign->Fire();                                      // one poll per assignment
    EXPECT_EQ(operations(), 2);

    // Back to not assigned: the node turns red.
    select(0);
    EXPECT_EQ(d->ComboGruppe->currentIndex(), 2);
    d->ComboGruppe->setCurrentIndex(16);
    d->InfoOK->click();
    d->TimerEVGAssign->Fire();
    EXPECT_EQ(gateway().ballastTable[0].group, 16);
    EXPECT_EQ(project().DaliGruppe(0).Gruppe, 16);
    EXPECT_EQ(colour(0), kRed);
    EXPECT_TRUE(shown.empty());

    // Closing rebuilds the project tree.
    select(1);
    d->ComboGruppe->setCurrentIndex(0);
    d->InfoOK->click();
    d->TimerEVGAssign->Fire();
    d->ComClose->click();
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(main->TreeView1->Node(9)->text(0), "EVG 2");
}

TEST_F(EVGAssign, UnconfirmedAssignmentShowsMessage885AndStoresNothing) {
    // The project knows a ballast in slot 6 that the gateway does not: it never confirms.
    editBallast(6, [](corlink::TypDaliGruppe& g) { g.Gruppe = 16; });
    project().ClearChangeFlag();
    d->CreateEVGDataTree();
    select(6);
    d->ComboGruppe->setCurrentIndex(1);
    d->InfoOK->click();
    d->TimerEVGAssign->Fire();
    ASSERT_EQ(texts(), std::vector<std::string>{Text(885)});
    EXPECT_EQ(shown[0].style, styleOkExclamation);
    EXPECT_EQ(project().DaliGruppe(6).Gruppe, 16);
    EXPECT_FALSE(project().GetChangeFlag());

    // A failed poll: no message of its own, the wait text stays, the button can be used again.
    shown.clear();
    select(1);
    d->ComboGruppe->setCurrentIndex(1);
    d->InfoOK->click();
    line().failOpen(busdriver::openNoDevice);
    d->TimerEVGAssign->Fire();
    EXPECT_EQ(texts(), std::vector<std::string>{Text(881)});  // the main window's transfer message only
    EXPECT_FALSE(d->LabelInfo->isHidden());
    EXPECT_TRUE(d->InfoOK->isEnabled());
    EXPECT_EQ(project().DaliGruppe(1).Gruppe, 16);
}

// However the window is closed, a name still being typed is stored as the focus leaving the box
// stores it, and an assignment awaiting its confirmation is polled first: stored, and shown in the
// main window's tree, when the gateway confirms it; else the group stays as it was.
TEST_F(EVGAssign, ClosingKeepsTheTypedNameAndAConfirmedAssignment) {
    editBallast(6, [](corlink::TypDaliGruppe& g) { g.Gruppe = 16; });  // unknown to the gateway
    project().ClearChangeFlag();
    d->CreateEVGDataTree();
    struct Poll {
        const char* outcome;
        int ballast;
        bool fails;
        std::vector<std::string> messages;
    };
    const Poll polls[] = {{"confirmed", 1, false, {}},
                          {"not confirmed", 6, false, {Text(885)}},
                          {"failed", 2, true, {Text(881)}}};  // the main window's transfer message
    // The group of a ballast's node in the main window's tree ("" when it is in none).
    const auto groupNode = [&](int ballast) {
        for (QTreeWidgetItem* n : test::Nodes(*main->TreeView1))
            if (n->text(0) == "EVG " + QString::number(ballast + 1)) return KeyedTree::Key(*n->parent());
        return QString();
    };
    int group = 0;
    for (const auto& [way, close] : closingWays()) {
        for (const Poll& p : polls) {
            SCOPED_TRACE(std::string("by its ") + way + ", poll " + p.outcome);
            ++group;
            shown.clear();
            if (!d) d = openActivated<frmEVGAssign>("frmEVGAssign");
            const std::uint8_t before = project().DaliGruppe(static_cast<std::int16_t>(p.ballast)).Gruppe;
            select(p.ballast);
            d->ComboGruppe->setCurrentIndex(group);
            d->InfoOK->click();
            if (p.fails) line().failOpen(busdriver::openNoDevice);
            const QString name = "Raum" + QString::number(group);
            d->EVGInfoText[0]->setFocus();
            d->EVGInfoText[0]->setText(name);
            close(*d);
            line().clearFaults();
            test::UnloadClosedWindows();
            EXPECT_TRUE(d.isNull());
            EXPECT_EQ(texts(), p.messages);
            const corlink::TypDaliGruppe r = project().DaliGruppe(static_cast<std::int16_t>(p.ballast));
            EXPECT_EQ(r.Name, name.toStdString());
            EXPECT_EQ(r.Gruppe, p.messages.empty() ? group : before);
            if (p.messages.empty()) {
                EXPECT_EQ(groupNode(p.ballast), "-DALIGruppe" + QString::number(group));
            }
        }
    }
}

TEST_F(EVGAssign, NameBoxStoresTheNameOfTheSelectedBallast) {
    select(4);
    // Typed through an input method: what the project file cannot hold is refused at once.
    d->EVGInfoText[0]->clear();
    QInputMethodEvent typed;
    typed.setCommitString(QString::fromUtf8("Bü語ro"));
    QCoreApplication::sendEvent(d->EVGInfoText[0], &typed);
    EXPECT_EQ(d->EVGInfoText[0]->text(), QString::fromUtf8("Büro"));
    EXPECT_EQ(texts(), std::vector<std::string>{Text(925) + " 語"});
    d->EVGInfoText_LostFocus(0);
    EXPECT_EQ(project().DaliGruppe(4).Name, "Büro");
    EXPECT_EQ(d->BallastRecords[4].Name, "Büro");
    EXPECT_TRUE(project().GetChangeFlag());
    d->CreateEVGDataTree();
    EXPECT_EQ(d->TreeView1->Node(10)->text(0), QString::fromUtf8("EVG5(Büro)"));
}

// Without a valid address the dialogs that talk to the gateway unload after message 910, with
// nothing filled in.
TEST_F(Commissioning, GatewayDialogsWithoutValidAddressUnloadAfterMessage910) {
    selectNode("-DALIGruppe0");
    for (const char* name : {"frmEVGAssign", "frmGrpAssign", "frmGruppe"}) {
        SCOPED_TRACE(name);
        shown.clear();
        QPointer<QDialog> d = openActivated<QDialog>(name);
        EXPECT_EQ(texts(), std::vector<std::string>{Text(910)});
        ASSERT_FALSE(d.isNull());
        EXPECT_FALSE(d->isVisible());
        if (auto* groups = d->findChild<QComboBox*>("ComboGruppe")) {
            EXPECT_EQ(groups->count(), 0);
        }
    }
}

// A failed send of command 5: the wait text stays, no poll follows, nothing is stored.
TEST_F(EVGAssign, FailedAssignmentSendStartsNoPollAndStoresNothing) {
    select(0);
    d->ComboGruppe->setCurrentIndex(2);
    line().failOpen(busdriver::openNoDevice);
    d->InfoOK->click();
    EXPECT_FALSE(d->TimerEVGAssign->Enabled());
    EXPECT_FALSE(d->LabelInfo->isHidden());
    EXPECT_EQ(d->LabelInfo->text(), "Bitte warten ...");
    EXPECT_TRUE(d->InfoOK->isEnabled());
    EXPECT_EQ(texts(), std::vector<std::string>{Text(881)});  // the main window's transfer message only

    line().clearFaults();
    const int before = operations();
    d->TimerEVGAssign->Fire();
    EXPECT_EQ(operations(), before);
    EXPECT_EQ(gateway().ballastTable[0].group, 16);
    EXPECT_EQ(project().DaliGruppe(0).Gruppe, 16);
    EXPECT_FALSE(project().GetChangeFlag());
}
