// New installation and post-installation against the simulated gateway, timers driven by the test.
#include "GatewayCommands.h"
#include "commissioning_fixture.h"
#include "frmGruppe.h"
#include "frmInstallation.h"
#include "frmScene.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTreeWidget>

using namespace corvane;
using corvane::test::Commissioning;

namespace {

// Ticks until the run is over (at most `limit` ticks); the number of ticks.
int runToEnd(InstallationDialog& d, int limit = 50) {
    int ticks = 0;
    while (d.Running() && ticks < limit) {
        d.TimerNeuinstallation->Fire();
        ++ticks;
    }
    return ticks;
}

}  // namespace

TEST_F(Commissioning, NewInstallationFindsTheBallastsAndReadsThemIntoTheProject) {
    useGatewayAddress();
    project().letDaliGruppeName(0, "alt");
    editGroup(2, [](corlink::TypDaliEinzelGruppe& g) { g.Name = "Flur"; });
    project().ClearChangeFlag();

    auto d = open<frmNeuinstallation>("frmNeuinstallation");
    answers = {msgYes};
    d->ComUpLoad->click();
    ASSERT_EQ(shown.size(), 1u);  // the loss question only: nothing unsaved, a valid address
    EXPECT_EQ(shown[0].style, styleYesNoExclamation);
    EXPECT_EQ(shown[0].text, Text(737));
    EXPECT_EQ(d->LabelInfo->text(), "Suche EVGs .....");
    EXPECT_EQ(d->ProgressNeuinstallation->value(), 4);
    EXPECT_FALSE(d->ComClose->isEnabled());
    EXPECT_EQ(operations(), 1);
    EXPECT_EQ(project().DaliGruppe(0).Name, "alt");  // untouched until the gateway's tables are read

    // The gateway still shows the command for three polls.
    for (int tick = 1; tick <= 3; ++tick) {
        d->TimerNeuinstallation->Fire();
        EXPECT_EQ(d->ProgressNeuinstallation->value(), tick);
        EXPECT_TRUE(d->Running());
    }
    d->TimerNeuinstallation->Fire();
    EXPECT_FALSE(d->Running());
    EXPECT_FALSE(d->TimerNeuinstallation->Enabled());
    EXPECT_EQ(d->LabelInfo1->text(), "Anzahl der gefundenen EVGs: 5");
    EXPECT_EQ(d->LabelInfo->text(), "Neuistallation beendet");
    EXPECT_EQ(d->ProgressNeuinstallation->value(), 24);
    EXPECT_TRUE(d->ComClose->isEnabled());
    EXPECT_EQ(operations(), 1 + 4 + 1 + 1);  // send, polls, end, read
    EXPECT_EQ(shown.size(), 1u);

    // Five ballasts, not assigned, with the gateway's long addresses; names and group texts gone.
    for (int i = 0; i < 64; ++i) {
        const corlink::TypDaliGruppe g = project().DaliGruppe(static_cast<std::int16_t>(i));
        const busdriver::BallastEntry& e = gateway().ballastTable[static_cast<std::size_t>(i)];
        EXPECT_EQ(g.Gruppe, i < 5 ? 16 : 255) << i;
        EXPECT_EQ((std::array{g.pAdrL, g.pAdrM, g.pAdrH}), (std::array{e.low, e.middle, e.high})) << i;
        EXPECT_EQ(g.Name, "") << i;
    }
    EXPECT_EQ(project().DaliEinzelgruppe(2).Name, "");
    const corlink::TypHeader h = project().Header();
    EXPECT_EQ(h.Bestellnummer, "4177");
    EXPECT_EQ(h.DateiName, "");
    EXPECT_GT(h.LetzterUpload, 0.0);
    EXPECT_TRUE(project().GetChangeFlag());
    EXPECT_EQ(main->TreeView1->NodeCount(), 40);  // no ballast in a group yet
    EXPECT_EQ(main->TreeView1->Node(10)->text(0), "Gruppe3 ()");
}

TEST_F(Commissioning, NewInstallationEndsWithoutAnyChangeOnNoCancelOrAnUnsavedYes) {
    useGatewayAddress();
    project().letDaliGruppeName(0, "alt");
    auto d = open<frmNeuinstallation>("frmNeuinstallation");

    answers = {msgNo};  // loss question
    d->ComUpLoad->click();
    answers = {msgYes, msgCancel};  // loss question, save question
    d->ComUpLoad->click();
    EXPECT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[2].style, styleYesNoCancelInformation);
    EXPECT_EQ(shown[2].text, Text(901));
    // Yes at the save question, then the save dialog is cancelled: nothing was saved.
    answers = {msgYes, msgYes};
    files = {""};
    d->ComUpLoad->click();
    EXPECT_EQ(shown.size(), 5u);
    EXPECT_EQ(operations(), 0);
    EXPECT_EQ(d->ProgressNeuinstallation->value(), 0);
    EXPECT_FALSE(d->Running());
    EXPECT_EQ(project().DaliGruppe(0).Name, "alt");
    EXPECT_TRUE(project().GetChangeFlag());
}

TEST_F(Commissioning, NewInstallationAsksForTheAddressUnderTheCaptionPhysicalAddress) {
    // A new project: address 0.
    QString caption;
    playAddressDialog([&](frmphyAdr& d) {
        caption = d.windowTitle();
        typeAddress(d, "1.1.1");
    });
    auto d = open<frmNeuinstallation>("frmNeuinstallation");
    answers = {msgYes, msgOK};
    d->ComUpLoad->click();
    EXPECT_EQ(texts(), (std::vector<std::string>{Text(737), Text(910)}));
    EXPECT_EQ(caption, "phys. Adresse");
    runToEnd(*d);
    EXPECT_EQ(d->LabelInfo1->text(), "Anzahl der gefundenen EVGs: 5");
}

TEST_F(Commissioning, PostInstallationCountsRemovedAndNewBallastsAndKeepsTheNames) {
    useGatewayAddress();
    installLine();  // the gateway knows the five ballasts of its line
    for (int slot = 0; slot < 5; ++slot) {
        editBallast(slot, [&](corlink::TypDaliGruppe& g) {
            g.Gruppe = 16;
            g.Name = "EVG-" + std::to_string(slot);
        });
    }
    gateway().ballastTable[4].group = 3;
    gateway().removeBallast(gateway().ballastTable[1].longAddress());
    gateway().removeBallast(gateway().ballastTable[3].longAddress());
    for (int i = 0; i < 3; ++i) gateway().addBallast();
    project().ClearChangeFlag();

    auto d = open<frmNachinstallation>("frmNachinstallation");
    d->ComUpLoad->click();
    EXPECT_TRUE(shown.empty());  // no loss question
    EXPECT_EQ(runToEnd(*d), 4);
    EXPECT_EQ(d->LabelInfo1->text(), QString::fromUtf8("Anzahl der gelöschten EVGs: 2"));
    EXPECT_EQ(d->LabelInfo2->text(), "Anzahl der neuen EVGs: 3");
    EXPECT_EQ(d->LabelInfo->text(), "Nachinstallation beendet");

    // Slots 1 and 3 take two of the new ballasts, slot 5 the third; names stay with the slots.
    EXPECT_EQ(project().DaliGruppe(0).Name, "EVG-0");
    EXPECT_EQ(project().DaliGruppe(4).Gruppe, 3);
    EXPECT_EQ(project().DaliGruppe(5).Gruppe, 16);
    EXPECT_EQ(project().DaliGruppe(6).Gruppe, 255);
    for (int slot = 0; slot < 6; ++slot) {
        EXPECT_EQ(project().DaliGruppe(static_cast<std::int16_t>(slot)).pAdrL,
                  gateway().ballastTable[static_cast<std::size_t>(slot)].low);
    }
    EXPECT_EQ(project().Header().Bestellnummer, "4177");
    ASSERT_EQ(main->TreeView1->NodeCount(), 41);
    EXPECT_EQ(main->TreeView1->Node(12)->text(0), "EVG 5");  // under group 4
}

TEST_F(Commissioning, FailedPollShowsTheFailureUntilTheSearchFinishes) {
    useGatewayAddress();
    auto d = open<frmNachinstallation>("frmNachinstallation");
    d->ComUpLoad->click();
    line().failOpen(busdriver::openNoDevice);
    d->TimerNeuinstallation->Fire();
    const std::vector<std::string> failure = {Text(881)};
    EXPECT_EQ(texts(), failure);  // the main window's messages of the failed transfer
    EXPECT_EQ(d->LabelInfo->text(), "Fehler in der Kommunikation");
    EXPECT_TRUE(d->ComClose->isEnabled());
    EXPECT_FALSE(d->ComUpLoad->isEnabled());  // the run goes on
    EXPECT_TRUE(d->TimerNeuinstallation->Enabled());

    line().clearFaults();
    runToEnd(*d);
    EXPECT_EQ(d->LabelInfo->text(), "Nachinstallation beendet");
    EXPECT_EQ(d->LabelInfo2->text(), "Anzahl der neuen EVGs: 5");
    EXPECT_EQ(texts(), failure);
}

TEST_F(Commissioning, InstallationProgressStaysInRangeAndCountsEachRunAnew) {
    useGatewayAddress();
    line().configure("polls=40");
    auto d = open<frmNachinstallation>("frmNachinstallation");
    d->ComUpLoad->click();
    int highest = 0;
    for (int tick = 0; tick < 40; ++tick) {
        d->TimerNeuinstallation->Fire();
        highest = std::max(highest, d->ProgressNeuinstallation->value());
    }
    EXPECT_EQ(highest, 24);
    runToEnd(*d);
    EXPECT_FALSE(d->Running());

    line().configure("polls=3");
    d->ComUpLoad->click();
    d->TimerNeuinstallation->Fire();
    EXPECT_EQ(d->ProgressNeuinstallation->value(), 1);
}

// What the bar and the progress line show while each gateway operation of a run goes on: the
// search command, four polls, the end command, the read-back.
TEST_F(Commissioning, InstallationShowsEachStepWhileTheGatewayWorks) {
    using Shown = std::vector<std::pair<int, QString>>;
    const QString searching = "Suche EVGs .....", found = "Suche nach EVGs beendet - bitte warten .....";
    const auto run = [&](const Shown::value_type& ending) {
        return Shown{{4, searching}, {9, searching}, {9, searching}, {9, searching},
                     {9, searching}, {19, found},    ending};
    };
    const std::pair<const char*, Shown> dialogs[] = {
        {"frmNeuinstallation", run({24, "Neuinstallation wird beendet ....."})},
        {"frmNachinstallation", run({24, "Nachinstallation wird beendet ....."})},
    };
    useGatewayAddress();
    for (const auto& [name, expected] : dialogs) {
        SCOPED_TRACE(name);
        line().clearTrace();
        project().ClearChangeFlag();
        QPointer<InstallationDialog> d = open<InstallationDialog>(name);
        Shown seen;
        corlink::setMessagePump([&] {
            if (static_cast<int>(seen.size()) < operations())
                seen.emplace_back(d->ProgressNeuinstallation->value(), d->LabelInfo->text());
        });
        if (d->objectName() == "frmNeuinstallation") answers = {msgYes};  // its loss question
        d->ComUpLoad->click();
        runToEnd(*d);
        corlink::setMessagePump({});
        EXPECT_EQ(seen, expected);
        closeNow(d);
    }
}

TEST_F(Commissioning, RunningInstallationStartsNoSecondGatewayOperation) {
    useGatewayAddress();
    auto d = open<frmNeuinstallation>("frmNeuinstallation");
    // While a gateway call runs, the windows work: ticks, clicks and a close arrive.
    int pumped = 0, openDuringCall = 0;
    corlink::setMessagePump([&] {
        ++pumped;
        openDuringCall = std::max(openDuringCall, line().openConnections());
        EXPECT_TRUE(d->InCall());
        const int ops = operations();
        const int progress = d->ProgressNeuinstallation->value();
        d->TimerNeuinstallation->Fire();
        d->ComUpLoad->click();
        d->close();
        EXPECT_EQ(operations(), ops);
        EXPECT_EQ(d->ProgressNeuinstallation->value(), progress);  // no tick ran
        EXPECT_TRUE(d->isVisible());
    });
    answers = {msgYes};
    d->ComUpLoad->click();
    EXPECT_FALSE(d->ComUpLoad->isEnabled());  // between the ticks as well
    runToEnd(*d);
    EXPECT_GT(pumped, 0);
    EXPECT_EQ(openDuringCall, 1);
    EXPECT_EQ(operations(), 7);
    EXPECT_EQ(d->LabelInfo->text(), "Neuistallation beendet");
    d->TimerNeuinstallation->Fire();  // a tick of the stopped timer does nothing
    EXPECT_EQ(operations(), 7);
}

// The tree's nodes and the menu's transfer items open the dialogs by name, modally, captioned
// with the node's text; the group and scene dialogs take their number from the node.
TEST_F(Commissioning, TreeAndMenuOpenTheDialogsByName) {
    editGroup(2, [](corlink::TypDaliEinzelGruppe& g) { g.Name = "Flur"; });
    main->CreateObjektDataTree();
    QStringList opened;
    SetModalRunner([&](QDialog& dlg) {
        QString entry = dlg.objectName() + ": " + dlg.windowTitle();
        if (auto* g = qobject_cast<frmGruppe*>(&dlg)) entry += QStringLiteral(" (group %1)").arg(g->Group.value_or(-1));
        if (auto* s = qobject_cast<frmScene*>(&dlg)) entry += QStringLiteral(" (scene %1)").arg(s->Scene.value_or(-1));
        opened << entry;
        dlg.close();
        return 0;
    });
    for (const char* key :
         {"Neuinstallation", "Nachinstallation", "EVGAssign", "GRPAssign", "-DALIGruppe2", "-DALISzene15"}) {
        selectNode(key);
        main->TreeView1_NodeClick(*main->SelectedNode());
    }
    main->mnuinZielGeraet->trigger();
    main->mnuausZielgeraet->trigger();
    EXPECT_EQ(opened,
              (QStringList{"frmNeuinstallation: Neuinstallation", "frmNachinstallation: Nachinstallation",
                           "frmEVGAssign: EVG Zuordnung", "frmGrpAssign: " + QString::fromStdString(Text(741)),
                           "frmGruppe: " + QString::fromStdString(Text(730)) + "3 (Flur) (group 2)",
                           "frmScene: Szene16 (scene 15)", QString::fromUtf8("frmDownload: Gerät programmieren"),
                           QString::fromUtf8("frmUpload: Gerät lesen")}));
}

// The group and scene dialogs work on the node they are given, whatever the tree holds; the group
// test given none reports error 91.
TEST_F(Commissioning, GroupAndSceneDialogsWorkOnTheNodeTheyAreGiven) {
    editGroup(2, [](corlink::TypDaliEinzelGruppe& g) { g.Name = "Flur"; });
    editScene(3, [](corlink::TypDaliScene& s) { s.Byte1 = 0x80; });
    main->TreeView1->clear();
    auto g = open<frmGruppe>("frmGruppe", FormSubject{"-DALIGruppe2", "2"});
    EXPECT_EQ(g->Group, 2);
    EXPECT_EQ(g->GrpName->text(), "Flur");
    auto s = open<frmScene>("frmScene", FormSubject{"-DALISzene3", "3"});
    EXPECT_EQ(s->Scene, 3);
    EXPECT_EQ(s->Row(1)->checkState(0), Qt::Checked);
    closeNow(g);
    EXPECT_TRUE(shown.empty());
    open<frmGruppe>("frmGruppe", std::nullopt);
    EXPECT_EQ(texts(), std::vector<std::string>{Text(907) + " 91"});
}

// After the search: a failed end command ends the run at once (no read-back), a failed read-back
// ends it too; either way text 880, no stamp and the project as it was, unchanged, but for the
// zero upload time of a read-back that the engine filed as failed.
TEST_F(Commissioning, InstallationFailingAfterTheSearchEndsTheRunWithoutStamp) {
    struct Case {
        const char* dialog;
        const char* failing;
        std::function<void()> inject;
        int operations;  // send and four polls, then the end command, then the read-back
        int progress;
        bool uploadZeroed;
    };
    const auto noConnectionAfter = [](int opens) {
        return [opens] { line().failOpen(busdriver::openNoDevice, opens); };
    };
    const auto readBackRefused = [] { line().failCall(1, busdriver::statusFailed, "Read 4/51 "); };
    const Case cases[] = {{"frmNeuinstallation", "read-back", noConnectionAfter(1 + 4 + 1), 7, 24, false},
                          {"frmNachinstallation", "end command", noConnectionAfter(1 + 4), 6, 19, false},
                          {"frmNachinstallation", "read-back", noConnectionAfter(1 + 4 + 1), 7, 24, false},
                          {"frmNeuinstallation", "read-back refused", readBackRefused, 7, 24, true},
                          {"frmNachinstallation", "read-back refused", readBackRefused, 7, 24, true}};
    useGatewayAddress();
    installLine();
    for (int slot = 0; slot < 3; ++slot) {
        editBallast(slot, [&](corlink::TypDaliGruppe& g) {
            g.Gruppe = static_cast<std::uint8_t>(slot);
            g.pAdrL = 0x10;
            g.Name = "EVG-" + std::to_string(slot);
        });
    }
    editHeader([](corlink::TypHeader& h) { h.DateiName = "/projects/hall.dal"; });
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.dialog) + ", failing " + c.failing);
        project().ClearChangeFlag();
        const corlink::TypHeader header = project().Header();
        const std::vector<corlink::TypDaliGruppe> before = ballasts();
        line().clearTrace();
        c.inject();
        auto d = open<InstallationDialog>(c.dialog);
        answers = {msgYes};  // the loss question of the new installation
        d->ComUpLoad->click();
        runToEnd(*d);
        EXPECT_FALSE(d->Running());
        EXPECT_FALSE(d->TimerNeuinstallation->Enabled());
        EXPECT_EQ(operations(), c.operations);
        EXPECT_EQ(d->LabelInfo->text(), "Fehler in der Kommunikation");
        EXPECT_EQ(d->ProgressNeuinstallation->value(), c.progress);
        EXPECT_TRUE(d->ComClose->isEnabled());
        EXPECT_TRUE(d->ComUpLoad->isEnabled());
        EXPECT_EQ(ballasts(), before);
        EXPECT_EQ(withoutTransferDates(project().Header()), withoutTransferDates(header));
        // Each poll of the search stamped its own upload time.
        EXPECT_EQ(project().Header().LetzterUpload == 0, c.uploadZeroed);
        EXPECT_FALSE(project().GetChangeFlag());
        line().clearFaults();
        closeNow(d);
    }
}

// A run abandoned during the search (the dialog closed by its close box) leaves the project's
// ballasts and its unsaved changes: the project is re-initialised only once the tables are read.
TEST_F(Commissioning, InstallationAbandonedDuringTheSearchLeavesTheProject) {
    useGatewayAddress();
    editBallast(1, [](corlink::TypDaliGruppe& g) {
        g.Gruppe = 3;
        g.Name = "alt";
    });
    const std::vector<corlink::TypDaliGruppe> before = ballasts();
    const std::pair<const char*, std::deque<int>> dialogs[] = {
        {"frmNeuinstallation", {msgYes, msgNo}},  // go on at the loss question, don't save
        {"frmNachinstallation", {msgNo}},
    };
    for (const auto& [name, answered] : dialogs) {
        SCOPED_TRACE(name);
        QPointer<InstallationDialog> d = open<InstallationDialog>(name);
        answers = answered;
        d->ComUpLoad->click();
        d->TimerNeuinstallation->Fire();
        ASSERT_TRUE(d->Running());
        closeNow(d);
        EXPECT_TRUE(d.isNull());
        EXPECT_TRUE(answers.empty());
        EXPECT_EQ(ballasts(), before);
        EXPECT_TRUE(project().GetChangeFlag());
    }
}

// Every dialog's timers as designed: the interval, and whether it runs from the start.
TEST_F(Commissioning, TimersOfTheDialogs) {
    useGatewayAddress();
    selectNode("-DALIGruppe0");
    struct Timer {
        const char* dialog;
        const char* timer;
        int interval;
        bool running;
    };
    const Timer timers[] = {
        {"frmNeuinstallation", "TimerNeuinstallation", 1000, false},
        {"frmNachinstallation", "TimerNeuinstallation", 1000, false},
        {"frmDownload", "TimerNeuinstallation", 5000, false},
        {"frmUpload", "TimerNeuinstallation", 5000, false},
        {"frmEVGAssign", "TimerEVGAssign", 1000, false},
        {"frmEVGAssign", "TimerEVGBlink", 1000, true},
        {"frmGrpAssign", "TimerEVGAssign", 1000, false},
        {"frmGruppe", "TimerWAIT1", 1000, false},
        {"frmScene", "TimerScene", 3000, false},
    };
    for (const Timer& t : timers) {
        SCOPED_TRACE(std::string(t.dialog) + " " + t.timer);
        QPointer<QDialog> d = openActivated<QDialog>(t.dialog);
        ASSERT_FALSE(d.isNull());
        const FormTimer* timer = d->findChild<FormTimer*>(t.timer);
        ASSERT_NE(timer, nullptr);
        EXPECT_EQ(timer->Interval(), t.interval);
        EXPECT_EQ(timer->Enabled(), t.running);
        closeNow(d);
    }
    EXPECT_TRUE(shown.empty());
}
