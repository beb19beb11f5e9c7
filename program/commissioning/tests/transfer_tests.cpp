// Download and upload of the project's ballast and scene tables.
#include "commissioning_fixture.h"
#include "frmTransfer.h"

#include <QLabel>
#include <QProgressBar>

using namespace corvane;
using corvane::test::Commissioning;

namespace {

void fillProject(corlink::clsOrvekDali& p) {
    for (std::int16_t i = 0; i < 4; ++i) {
        corlink::TypDaliGruppe g = p.DaliGruppe(i);
        g.Gruppe = static_cast<std::uint8_t>(i == 3 ? 16 : i % 2);
        g.pAdrL = static_cast<std::uint8_t>(0x10 + i);
        g.pAdrM = 0x22;
        g.pAdrH = 0x03;
        g.Name = "Leuchte " + std::to_string(i + 1);
        p.letDaliGruppe(i, g);
    }
    corlink::TypDaliScene s = p.DaliScene(2);
    s.Byte1 = 0x03;
    p.letDaliScene(2, s);
}

}  // namespace

TEST_F(Commissioning, DownloadWritesTheTablesStampsTheHeaderAndCloses) {
    useGatewayAddress();
    fillProject(project());
    answers = {msgNo};  // the save question: go on without saving

    auto d = open<frmDownload>("frmDownload");
    d->ComUpLoad->click();
    EXPECT_EQ(texts(), std::vector<std::string>{Text(901)});
    ASSERT_FALSE(d.isNull());
    EXPECT_FALSE(d->isVisible());  // closed (and unloading)
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_EQ(d->LabelInfo->text(), QString::fromUtf8("Gerätedaten werden programmiert ....."));
    EXPECT_EQ(d->ProgressNeuinstallation->value(), 4);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(d.isNull());

    EXPECT_EQ(gateway().ballastTable[1], (busdriver::BallastEntry{1, 0x11, 0x22, 0x03}));
    EXPECT_EQ(gateway().ballastTable[3].group, 16);
    EXPECT_EQ(gateway().sceneTable[2].byte1, 0x03);
    const corlink::TypHeader h = project().Header();
    EXPECT_EQ(h.Bestellnummer, "4177");
    EXPECT_EQ(h.Version, "1.3");
    EXPECT_EQ(h.DateiName, "");
    EXPECT_EQ(h.LetzterZugriff, 0.0);
    EXPECT_GT(h.LetzterDownload, 0.0);
    EXPECT_TRUE(project().GetChangeFlag());
    EXPECT_EQ(main->TreeView1->NodeCount(), 43);  // the rebuilt tree
    EXPECT_EQ(main->TreeView1->Node(9)->text(0), "EVG 1");
}

TEST_F(Commissioning, UploadReadsTheGatewayIntoTheProjectAndKeepsTheNames) {
    useGatewayAddress();
    fillProject(project());
    project().ClearChangeFlag();
    gateway().ballastTable[0] = busdriver::BallastEntry{5, 1, 2, 3};
    gateway().ballastTable[2] = busdriver::BallastEntry{16, 4, 5, 6};
    gateway().sceneTable[1] = busdriver::SceneEntry{0x20, 0x01};

    auto d = open<frmUpload>("frmUpload");
    d->ComUpLoad->click();
    EXPECT_TRUE(shown.empty());  // nothing unsaved, a valid address: straight to the transfer
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(d->LabelInfo->text(), "Gerätedaten werden ausgelesen .....");

    const corlink::TypDaliGruppe g0 = project().DaliGruppe(0);
    EXPECT_EQ((std::array{g0.Gruppe, g0.pAdrL, g0.pAdrM, g0.pAdrH}), (std::array<std::uint8_t, 4>{5, 1, 2, 3}));
    EXPECT_EQ(g0.Name, "Leuchte 1");
    EXPECT_EQ(project().DaliGruppe(1).Gruppe, 255);  // an empty slot of the gateway
    EXPECT_EQ(project().DaliGruppe(1).Name, "Leuchte 2");
    EXPECT_EQ(project().DaliScene(1).Byte1, 0x20);
    EXPECT_EQ(project().DaliScene(1).Byte2, 0x01);
    EXPECT_EQ(project().DaliScene(2).Byte1, 0);
    const corlink::TypHeader h = project().Header();
    EXPECT_EQ(h.Bestellnummer, "4177");
    EXPECT_EQ(h.phyAdrString, "1.1.1");
    EXPECT_GT(h.LetzterUpload, 0.0);
    EXPECT_TRUE(project().GetChangeFlag());
    EXPECT_EQ(main->TreeView1->Node(14)->text(0), "EVG 1");  // under group 6
}

TEST_F(Commissioning, TransferRunsOnceWhatEverArrivesDuringIt) {
    useGatewayAddress();
    auto d = open<frmDownload>("frmDownload");
    corlink::setMessagePump([&] {
        EXPECT_FALSE(d->ComUpLoad->isEnabled());
        EXPECT_FALSE(d->ComClose->isEnabled());
        d->ComUpLoad->click();
        d->close();
        EXPECT_TRUE(d->isVisible());
    });
    d->ComUpLoad->click();
    EXPECT_EQ(operations(), 1);
    EXPECT_FALSE(d->isVisible());
}

// A failed transfer shows text 880 and leaves the dialog open, ready for another attempt; the
// project is as it was (tables, header unstamped, change flag), and a read is not half taken over.
// Only a job that the engine filed as failed zeroes the date of its direction; a connection that
// never opened files none. The main window shows the transfer's messages, those of a read into a
// scratch project as well: the error code's text (a driver call refused is a trapped error, code
// 1), then 920 for a job that ended in error.
TEST_F(Commissioning, FailedTransferKeepsTheDialogOpenAndTheProjectAsItWas) {
    struct Case {
        const char* dialog;
        const char* fault;
        std::function<void()> inject;
        bool unsaved;               // the save question comes first, answered No
        double upload, download;    // the header's dates afterwards
        std::vector<int> messages;  // after the save question
    };
    constexpr double kUpload = 45001.25, kDownload = 45002.5;
    const auto readRefused = [] { line().failCall(1, busdriver::statusFailed, "Read "); };
    const auto writeRefused = [] { line().failCall(1, busdriver::statusFailed, "Write "); };
    const auto noConnection = [] { line().failOpen(busdriver::openNoDevice); };
    const Case cases[] = {
        {"frmUpload", "no connection", noConnection, true, kUpload, kDownload, {881}},
        {"frmUpload", "read refused", readRefused, false, 0, kDownload, {880, 920}},
        {"frmUpload", "read refused", readRefused, true, 0, kDownload, {880, 920}},
        {"frmDownload", "no connection", noConnection, false, kUpload, kDownload, {881}},
        {"frmDownload", "write refused", writeRefused, true, kUpload, 0, {880, 920}},
        {"frmDownload", "write refused", writeRefused, false, kUpload, 0, {880, 920}},
    };
    useGatewayAddress();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.dialog) + ": " + c.fault + (c.unsaved ? ", unsaved" : ", saved"));
        fillProject(project());
        editHeader([&](corlink::TypHeader& h) {
            h.DateiName = "/projects/hall.dal";
            h.LetzterZugriff = 45000.5;
            h.LetzterUpload = kUpload;
            h.LetzterDownload = kDownload;
        });
        if (!c.unsaved) project().ClearChangeFlag();
        corlink::TypHeader header = project().Header();
        const std::vector<corlink::TypDaliGruppe> before = ballasts();
        const corlink::TypDaliScene scene = project().DaliScene(2);
        shown.clear();
        answers = {msgNo, msgNo};
        c.inject();
        QPointer<RunDialog> d = open<RunDialog>(c.dialog);
        d->ComUpLoad->click();
        EXPECT_EQ(!shown.empty() && shown[0].text == Text(901), c.unsaved);
        std::vector<std::string> messages;
        if (c.unsaved) messages.push_back(Text(901));
        for (const int id : c.messages) messages.push_back(Text(id));
        EXPECT_EQ(texts(), messages);
        EXPECT_TRUE(d->isVisible());
        EXPECT_EQ(d->LabelInfo->text(), "Fehler in der Kommunikation");
        EXPECT_TRUE(d->ComUpLoad->isEnabled());
        EXPECT_TRUE(d->ComClose->isEnabled());
        EXPECT_EQ(ballasts(), before);
        EXPECT_EQ(project().DaliScene(2), scene);
        header.LetzterUpload = c.upload;
        header.LetzterDownload = c.download;
        EXPECT_EQ(project().Header(), header);
        EXPECT_EQ(project().GetChangeFlag(), c.unsaved);

        // Another attempt once the gateway answers: the project and the gateway then agree.
        line().clearFaults();
        d->ComUpLoad->click();
        EXPECT_FALSE(d->isVisible());
        EXPECT_EQ(project().DaliGruppe(1).Gruppe, gateway().ballastTable[1].group);
        EXPECT_EQ(project().DaliGruppe(1).pAdrL, gateway().ballastTable[1].low);
        closeNow(d);
    }
}
