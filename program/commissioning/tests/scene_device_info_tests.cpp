// The scene programming and device information dialogs against the simulated gateway.
#include "GatewayCommands.h"
#include "commissioning_fixture.h"
#include "frmDeviceInfo.h"
#include "frmScene.h"

#include <QLabel>
#include <QProgressBar>

using namespace corvane;
using corvane::test::Commissioning;

class SceneAndDeviceInfo : public Commissioning {
protected:
    QPointer<frmScene> openScene(int scene) {
        selectNode("-DALISzene" + QString::number(scene));
        return open<frmScene>("frmScene");
    }

    static void check(frmScene& d, const std::vector<int>& rows) {
        for (int r = 1; r <= 16; ++r) d.Row(r)->setCheckState(0, Qt::Unchecked);
        for (int r : rows) d.Row(r)->setCheckState(0, Qt::Checked);
    }

    static std::vector<int> checkedRows(const frmScene& d) {
        std::vector<int> rows;
        for (int r = 1; r <= 16; ++r) {
            if (d.Row(r)->checkState(0) == Qt::Checked) rows.push_back(r);
        }
        return rows;
    }

    // The properties written on the line so far, a table written in pieces once ("4/56" scene
    // table, "4/59" command).
    static std::vector<std::string> writes() {
        std::vector<std::string> out;
        for (const std::string& e : line().trace()) {
            if (e.rfind("Write ", 0) != 0) continue;
            const std::string property = e.substr(6, 4);
            if (out.empty() || out.back() != property) out.push_back(property);
        }
        return out;
    }

    static std::pair<int, int> sceneBytes(const corlink::TypDaliScene& s) { return {s.Byte1, s.Byte2}; }
};

TEST_F(SceneAndDeviceInfo, SceneLoadsItsMaskAndStoresTheTableThenTheCommand) {
    editScene(3, [](corlink::TypDaliScene& s) {
        s.Byte1 = 0x01;
        s.Byte2 = 0x80;
    });
    useGatewayAddress();

    installLine();  // ballasts of groups 0 and 1 at levels 40 and 70
    for (int slot : {0, 1}) {
        gateway().ballastTable[static_cast<std::size_t>(slot)].group = static_cast<std::uint8_t>(slot);
        onLine(slot).level = static_cast<std::uint8_t>(40 + 30 * slot);
    }

    auto d = openScene(3);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->Scene, 3);
    EXPECT_EQ(d->ListView1->headerItem()->text(0), "Zuordung");
    EXPECT_EQ(d->Row(1)->text(0), "Gruppe 1");
    EXPECT_EQ(d->Row(16)->text(0), "Gruppe 16");
    EXPECT_EQ(checkedRows(*d), (std::vector<int>{8, 9}));
    EXPECT_EQ(d->ComSetScene->text(), "Szene programmieren");

    QString during;  // the progress note while the gateway works
    corlink::setMessagePump([&] { during = d->LabelInfo->isVisible() ? d->LabelInfo->text() : "hidden"; });
    // Row 1 is the highest bit of Byte1, row 16 the lowest of Byte2.
    const std::pair<std::vector<int>, std::pair<int, int>> cases[] = {
        {{1}, {0x80, 0x00}},
        {{16}, {0x00, 0x01}},
        {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}, {0xFF, 0xFF}},
        {{}, {0x00, 0x00}},
        {{2, 10}, {0x40, 0x40}},
    };
    for (const auto& [rows, bytes] : cases) {
        line().clearTrace();
        check(*d, rows);
        d->ComSetScene->click();
        EXPECT_EQ(sceneBytes(project().DaliScene(3)), bytes);
        EXPECT_EQ((std::pair<int, int>{gateway().sceneTable[3].byte1, gateway().sceneTable[3].byte2}), bytes);
        EXPECT_EQ(writes(), (std::vector<std::string>{"4/56", "4/59"}));
        EXPECT_EQ(during, "bitte warten ......");
    }
    corlink::setMessagePump({});
    EXPECT_EQ(gateway().peekReply(), (busdriver::CommandBytes{0xFF, 3, 0}));  // command 6 for scene 3 ran
    // The gateway takes the rows as the dialog means them: rows 2 and 10 are groups 1 and 9.
    EXPECT_EQ(onLine(1).sceneLevels[3], 70);
    EXPECT_EQ(onLine(0).sceneLevels[3], busdriver::kNotInScene);
    EXPECT_EQ(DaliCmd, CmdStoreScene(3));
    EXPECT_TRUE(project().GetChangeFlag());  // the project holds the stored mask
    EXPECT_FALSE(d->LabelInfo->isVisible());
    EXPECT_TRUE(d->ComClose->isEnabled());
    // Only the save question of the second store (the first one marked the project changed).
    EXPECT_EQ(texts(), std::vector<std::string>(4, Text(901)));

    d->ComClose->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(d.isNull());
}

TEST_F(SceneAndDeviceInfo, SceneStoreStopsAtTheSaveQuestionAndTheAddressCheck) {
    useGatewayAddress();
    editScene(0, [](corlink::TypDaliScene& s) { s.Byte1 = 0x11; });  // unsaved

    auto d = openScene(0);
    check(*d, {1});
    answers = {msgCancel};
    d->ComSetScene->click();
    EXPECT_EQ(texts(), std::vector<std::string>{Text(901)});
    EXPECT_EQ(operations(), 0);
    EXPECT_EQ(project().DaliScene(0).Byte1, 0x11);  // the mask stays in the dialog only
    EXPECT_TRUE(d->ComClose->isEnabled());
    EXPECT_FALSE(d->LabelInfo->isVisible());

    // No address: message 910, the address dialog left without storing ends the store.
    editHeader([](corlink::TypHeader& h) {
        h.phyAdr = 0;
        h.phyAdrString.clear();
    });
    project().ClearChangeFlag();
    shown.clear();
    playAddressDialog([](frmphyAdr& a) { a.COMAbbruch->click(); });
    d->ComSetScene->click();
    EXPECT_EQ(texts(), std::vector<std::string>{Text(910)});
    EXPECT_EQ(modalRuns, 1);
    EXPECT_EQ(operations(), 0);
    EXPECT_FALSE(project().GetChangeFlag());

    // An address entered there: the store goes on to the gateway at that address.
    playAddressDialog([](frmphyAdr& a) { typeAddress(a, "1.1.1"); });
    d->ComSetScene->click();
    EXPECT_EQ(project().Header().phyAdr, kGateway);
    EXPECT_EQ(writes(), (std::vector<std::string>{"4/56", "4/59"}));
    EXPECT_EQ(gateway().sceneTable[0].byte1, 0x80);
}

TEST_F(SceneAndDeviceInfo, FailedSceneTableWriteSendsNoCommandAndFreesTheDialog) {
    useGatewayAddress();
    auto d = openScene(5);
    check(*d, {9});
    line().failOpen(busdriver::openNoDevice);
    d->ComSetScene->click();
    EXPECT_EQ(operations(), 1);  // the table write only
    // The main window's transfer message, then the dialog's own.
    ASSERT_EQ(texts(), (std::vector<std::string>{Text(881), Text(885)}));
    EXPECT_EQ(shown.back().title, Text(990));
    EXPECT_EQ(sceneBytes(project().DaliScene(5)), (std::pair<int, int>{0x00, 0x80}));
    EXPECT_TRUE(d->ComClose->isEnabled());
    EXPECT_FALSE(d->LabelInfo->isVisible());  // no "please wait" left once nothing runs

    // The store command failing after a good table write: no message of the dialog's own.
    line().clearFaults();
    line().failOpen(busdriver::openNoDevice, 1);
    shown.clear();
    d->ComSetScene->click();
    EXPECT_EQ(gateway().sceneTable[5].byte2, 0x80);
    // The save question (the first store changed the project), then the main window's message only.
    EXPECT_EQ(texts(), (std::vector<std::string>{Text(901), Text(881)}));
    EXPECT_TRUE(d->ComClose->isEnabled());
    EXPECT_FALSE(d->LabelInfo->isVisible());
}

TEST_F(SceneAndDeviceInfo, RecallSendsCommandSevenWithoutChecksAndIgnoresClicksDuringACall) {
    useGatewayAddress();
    editScene(2, [](corlink::TypDaliScene& s) { s.Byte1 = 0x42; });  // unsaved: recall asks nothing
    installLine();                                                   // the gateway knows the five ballasts of its line
    busdriver::Ballast& ballast = onLine(0);
    ballast.sceneLevels[2] = 40;
    ballast.level = 0;

    auto d = openScene(2);
    // During the call the user clicks everything: nothing starts, the window stays.
    int pumped = 0;
    corlink::setMessagePump([&] {
        if (pumped++) return;
        d->ComRecallScene->click();
        d->ComSetScene->click();
        d->close();
    });
    d->ComRecallScene->click();
    EXPECT_GT(pumped, 0);
    EXPECT_TRUE(d->isVisible());
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(writes(), std::vector<std::string>{"4/59"});
    EXPECT_EQ(DaliCmd, CmdRecallScene(2));
    EXPECT_EQ(ballast.level, 40);
    EXPECT_EQ(project().DaliScene(2).Byte1, 0x42);
}

TEST_F(SceneAndDeviceInfo, SceneForAnotherNodeTalksToNoGateway) {
    useGatewayAddress();
    selectNode("DALISzenen");
    auto d = open<frmScene>("frmScene");
    EXPECT_EQ(d->Scene, std::nullopt);
    EXPECT_FALSE(d->ComSetScene->isEnabled());
    EXPECT_FALSE(d->ComRecallScene->isEnabled());
    d->ComSetScene_Click();
    d->ComRecallScene_Click();
    EXPECT_EQ(operations(), 0);
}

TEST_F(SceneAndDeviceInfo, DeviceInfoReadsTheGatewayAfterTheAddressDialog) {
    useGatewayAddress();
    gateway().states = busdriver::DeviceStates{2, 1, 3, 2};
    auto d = open<frmDeviceInfo>("frmDeviceInfo");
    ASSERT_TRUE(d);
    EXPECT_EQ(d->windowTitle(), "Geräteinformation");
    EXPECT_EQ(d->Label1[0]->text(), "Artikelnummer");
    EXPECT_EQ(d->Label1[5]->text(), "Run Status der BCU");
    EXPECT_EQ(d->ComDownLoad->text(), "Lese Geräteinformation");
    // The frame at left 1, top 100, 6315 wide and 3100 high (twips).
    ASSERT_TRUE(QTest::qWaitForWindowExposed(d));
    EXPECT_EQ(d->frameGeometry(),
              QRect(TwipsToPixels(1), TwipsToPixels(100), TwipsToPixels(6315), TwipsToPixels(3100)));
    QApplication::setActiveWindow(d);
    ASSERT_EQ(QApplication::activeWindow(), d.data());

    playAddressDialog([](frmphyAdr& a) { a.COMOK->click(); });  // confirmed unchanged
    d->ComDownLoad->click();
    EXPECT_EQ(modalRuns, 1);
    EXPECT_TRUE(shown.empty());
    QStringList boxes;
    for (QLineEdit* b : {d->TextBestellnummer, d->TextVersion, d->TextAppLoadState, d->TextAppRunState,
                         d->TextLoadState, d->TextRunState}) {
        boxes << b->text();
    }
    EXPECT_EQ(boxes, (QStringList{"517104", "11", "loading", "running", "error", "halted"}));
    EXPECT_EQ(d->ProgressBar1->value(), d->ProgressBar1->maximum());
    EXPECT_EQ(d->PropNr->text(), "100");
    EXPECT_FALSE(project().GetChangeFlag());

    // Every read shows the address dialog again; a state without a text leaves its box empty.
    gateway().states.run = 9;
    d->ComDownLoad->click();
    EXPECT_EQ(modalRuns, 2);
    EXPECT_EQ(d->TextRunState->text(), "");
    EXPECT_EQ(d->TextLoadState->text(), "error");

    d->Command1->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(d.isNull());
}

TEST_F(SceneAndDeviceInfo, DeviceInfoKeepsUnsavedChangesAndNeedsAnAddress) {
    // No address, none entered: message 910, nothing read, the boxes as they were.
    auto d = open<frmDeviceInfo>("frmDeviceInfo");
    d->TextBestellnummer->setText("alt");
    playAddressDialog([](frmphyAdr& a) { a.COMAbbruch->click(); });
    d->ComDownLoad->click();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, Text(910));
    EXPECT_EQ(shown[0].title, Text(990));
    EXPECT_EQ(operations(), 0);
    EXPECT_EQ(d->TextBestellnummer->text(), "alt");

    // An address stored there does not count as a change of a saved project...
    project().ClearChangeFlag();
    playAddressDialog([](frmphyAdr& a) { typeAddress(a, "1.1.1"); });
    d->ComDownLoad->click();
    EXPECT_EQ(project().Header().phyAdr, kGateway);
    EXPECT_FALSE(project().GetChangeFlag());
    EXPECT_EQ(d->TextBestellnummer->text(), "517104");

    // ...but earlier unsaved changes stay unsaved.
    editScene(1, [](corlink::TypDaliScene& s) { s.Byte2 = 0x04; });
    playAddressDialog([](frmphyAdr& a) { a.COMOK->click(); });
    d->ComDownLoad->click();
    EXPECT_TRUE(project().GetChangeFlag());

    // A failed read: the main window reports it, the boxes stay empty.
    line().failOpen(busdriver::openNoDevice);
    shown.clear();
    d->ComDownLoad->click();
    EXPECT_EQ(texts(), std::vector<std::string>{Text(881)});  // the main window's transfer message
    EXPECT_EQ(d->TextBestellnummer->text(), "");
    EXPECT_TRUE(d->ComDownLoad->isEnabled());
}
