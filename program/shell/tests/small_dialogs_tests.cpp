// The small dialogs of the main window: language, version, address display, gateway model,
// PC interface and project information, each played through the modal runner.
#include "Forms.h"
#include "ModelTables.h"
#include "SmallDialogs.h"
#include "frmAdrDarstellung.h"
#include "frmGAusw.h"
#include "frmProjektInfo.h"
#include "frmSchnittstelle.h"
#include "frmSprache.h"
#include "frmVersion.h"
#include "gui_fixture.h"
#include "oledate.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

using namespace corvane;
using namespace corvane::test;

namespace {

class Dialogs : public Gui {
protected:
    void SetUp() override {
        Gui::SetUp();
        RegisterSmallDialogs();
    }

    // Opens a dialog by name for the main window, as an opener without a menu path would.
    template <class D>
    void open(frm01& main, const char* name, const std::function<void(D&)>& user) {
        Play<D>([&main, name] { ShowModal(*qobject_cast<QDialog*>(LoadForm(name, main))); }, user);
    }
};

}  // namespace

TEST_F(Dialogs, LanguageDialogStoresTheChoiceForTheNextStart) {
    auto w = start(kGerman);
    for (const char* name : {"frmSprache", "frmVersion", "frmAdrDarstellung", "frmProjektInfo"}) {
        EXPECT_TRUE(IsFormRegistered(name)) << name;
    }
    Play<frmSprache>([&] { w->mnuSprache->trigger(); },
                     [&](frmSprache& d) {
                         EXPECT_EQ(d.windowTitle(), "Sprachauswahl");
                         EXPECT_EQ(d.COMOK->text(), "Ok");
                         EXPECT_EQ(d.COMAbbruch->text(), "Abbruch");
                         d.Form_Activate();  // a second activation adds nothing
                         ASSERT_EQ(d.ComboSprache->count(), 2);
                         EXPECT_EQ(d.ComboSprache->itemText(0), "German");
                         EXPECT_EQ(d.ComboSprache->itemText(1), "English");
                         EXPECT_EQ(d.ComboSprache->currentIndex(), 0);
                         d.ComboSprache->setCurrentIndex(1);
                         d.COMOK->click();
                     });
    ASSERT_EQ(shown.size(), 1u);  // in the start-up language
    EXPECT_EQ(shown[0].text, "Die Sprache wird beim nächsten Programmstart aktiviert.");
    EXPECT_EQ(shown[0].style, kOkExclamation);
    EXPECT_EQ(LanguageOffset, kEnglish);
    EXPECT_EQ(stored("Language"), "1000");

    // The next dialog comes up in English with English selected; OK unchanged stores it again.
    seed("Language", "0");
    Play<frmSprache>([&] { w->mnuSprache->trigger(); },
                     [&](frmSprache& d) {
                         EXPECT_EQ(d.COMAbbruch->text(), "cancel");
                         EXPECT_EQ(d.ComboSprache->currentText(), "English");
                         d.COMOK->click();
                     });
    EXPECT_EQ(stored("Language"), "1000");
}

TEST_F(Dialogs, LanguageDialogPreselectsGermanForOtherLanguagesAndCancelKeepsAll) {
    auto w = start(4000);
    Play<frmSprache>([&] { w->mnuSprache->trigger(); },
                     [&](frmSprache& d) {
                         EXPECT_EQ(d.ComboSprache->currentText(), "German");
                         d.ComboSprache->setCurrentIndex(1);
                         d.COMAbbruch->click();
                     });
    EXPECT_EQ(LanguageOffset, 4000);
    EXPECT_EQ(stored("Language"), "4000");
    EXPECT_TRUE(shown.empty());
}

TEST_F(Dialogs, VersionBoxShowsNameAndTheCaptionsVersion) {
    auto w = start(kEnglish);
    Play<frmVersion>([&] { w->Toolbar1_ButtonClick("Info"); },
                     [&](frmVersion& d) {
                         EXPECT_EQ(d.windowTitle(), "version");
                         EXPECT_EQ(d.Label1[0]->text(), "Lumivar Service and Comissioning Wizard");
                         EXPECT_EQ(d.Label1[1]->text(), "version");
                         EXPECT_TRUE(w->windowTitle().endsWith(" " + d.varVersion->text()))
                             << w->windowTitle().toStdString();
                         EXPECT_EQ(d.varVersion->text(), "1.2.2");
                         EXPECT_TRUE(d.varVersion->font().bold());
                         EXPECT_EQ(d.COMOK->text(), "ok");
                         d.COMOK->click();
                     });
}

TEST_F(Dialogs, AddressDisplayDialogSetsShowGrpAdr) {
    auto w = start(kGerman);
    const struct {
        std::int16_t before;
        int selected;  // the option selected when the dialog opens (-1: none)
        int chosen;    // the option the user selects (-1: none)
        bool ok;
        std::int16_t after;
    } cases[] = {
        // A stored 2 selects neither option, and OK without a choice keeps it.
        {1, 1, -1, true, 1}, {1, 1, 0, false, 1}, {1, 1, 0, true, 0}, {0, 0, 1, true, 1}, {2, -1, -1, true, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.before << " " << c.chosen << " " << c.ok);
        ShowGrpAdr = c.before;
        open<frmAdrDarstellung>(*w, "frmAdrDarstellung", [&](frmAdrDarstellung& d) {
            EXPECT_EQ(d.GrpSelection[0]->text(), "2-stellige Darstellung");
            for (int i : {0, 1}) EXPECT_EQ(d.GrpSelection[i]->isChecked(), i == c.selected) << i;
            if (c.chosen >= 0) d.GrpSelection[c.chosen]->setChecked(true);
            (c.ok ? d.COMOK : d.COMAbbruch)->click();
        });
        EXPECT_EQ(ShowGrpAdr, c.after);
    }
    w->close();  // the setting takes the value when the main window unloads
    EXPECT_EQ(stored("ShowGrpAdr"), "2");
}

TEST_F(Dialogs, GatewayModelDialogStartsTheProjectAfreshForTheChosenModel) {
    auto w = start(kEnglish);
    corlink::TypHeader h = w->mDali().Header();
    h.DateiName = "/tmp/old.dal";
    h.phyAdr = 0x1101;
    h.phyAdrString = "1.1.1";
    h.LetzterDownload = 40000.5;
    h.LetzterUpload = h.LetzterZugriff = 40001.25;
    h.Bemerkung1 = "kept";
    w->mDali().letHeader(h);  // unsaved changes
    w->TreeView1->setCurrentItem(w->TreeView1->Node(3));

    // Cancel at the save question: the dialog stays, the project is untouched.
    answers = {msgCancel};
    open<frmGAusw>(*w, "frmGAusw", [&](frmGAusw& d) {
        d.show();
        EXPECT_EQ(d.windowTitle(), QString::fromUtf8("Gerät auswählen"));
        EXPECT_EQ(d.Label1[0]->text(), "order number");
        ASSERT_EQ(d.ComboBestellnummer->count(), 2);
        EXPECT_EQ(d.ComboBestellnummer->itemText(1), "517204");
        ASSERT_EQ(d.ComboFirmware->count(), 1);
        EXPECT_EQ(d.ComboFirmware->currentText(), "11");
        d.ComboBestellnummer->setCurrentIndex(1);
        d.ComboFirmware->addItem("12");
        d.ComboFirmware->setCurrentIndex(1);
        d.ComboBestellnummer->setCurrentIndex(0);  // a new order number resets the firmware choice
        EXPECT_EQ(d.ComboFirmware->count(), 1);
        EXPECT_EQ(d.ComboFirmware->currentIndex(), 0);
        d.ComboBestellnummer->setCurrentIndex(1);
        d.COMOK->click();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].style, kYesNoCancelInformation);
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(w->mDali().Header(), h);

        // A firmware the table does not list is refused with message 916.
        shown.clear();
        answers = {msgNo};
        d.ComboFirmware->addItem("12");
        d.ComboFirmware->setCurrentIndex(1);
        d.COMOK->click();
        ASSERT_EQ(shown.size(), 2u);
        EXPECT_EQ(shown[1].text, "Device with this version of firmware is unknown,  please contact manufacturer!");
        EXPECT_EQ(w->mDali().Header(), h);
        EXPECT_EQ(MaxLimits.MaxTasten, 8);  // still model 517104
        EXPECT_TRUE(d.isVisible());

        // No at the save question goes on without saving.
        shown.clear();
        answers = {msgNo};
        d.ComboFirmware->setCurrentIndex(0);
        d.COMOK->click();
        EXPECT_EQ(shown.size(), 1u);
        EXPECT_FALSE(d.isVisible());
    });
    EXPECT_EQ(w->mDali().Header(), Afresh(h, "517204", "11"));
    EXPECT_EQ(MaxLimits.MaxTasten, 18);
    EXPECT_FALSE(w->mDali().GetChangeFlag());
    EXPECT_EQ(w->SelectedNode(), w->TreeView1->Node(1));
    EXPECT_EQ(w->StatusPanel(6), "0.0.0");

    // Unchanged project: no question, ComZurueck changes nothing.
    shown.clear();
    open<frmGAusw>(*w, "frmGAusw", [](frmGAusw& d) { d.ComZurueck->click(); });
    open<frmGAusw>(*w, "frmGAusw", [](frmGAusw& d) { d.COMOK->click(); });
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(w->mDali().Header().Bestellnummer, "517104");
}

TEST_F(Dialogs, InterfaceDialogEditsComAndComTyp) {
    auto w = start(kEnglish);
    const struct {
        std::int16_t com, comTyp;
        int type, port;              // the options selected when the dialog opens (-1: none)
        int chosenType, chosenPort;  // the options the user selects (-1: none)
        bool ok;
        std::int16_t comAfter, comTypAfter;
    } cases[] = {
        {2, 1, 0, 1, 1, 3, false, 2, 1},    {2, 1, 0, 1, 1, 3, true, 4, 2},
        {4, 2, 1, 3, 2, 2, true, 0, 3},      // USB with a port: no port
        {0, 3, -1, -1, -1, -1, true, 0, 3},  // opened with USB: no option chosen, OK keeps both
        {3, 3, -1, 2, -1, -1, true, 0, 3},   // a port stored with USB: OK without a choice drops it
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.com << " " << c.comTyp << " " << c.chosenType << " " << c.chosenPort);
        COM = c.com;
        COMTyp = c.comTyp;
        open<frmSchnittstelle>(*w, "frmSchnittstelle", [&](frmSchnittstelle& d) {
            EXPECT_EQ(d.windowTitle(), "Schnittstellenparameter");
            EXPECT_EQ(d.TypeSelection[0]->text(), "serial interface 1.0");
            EXPECT_EQ(d.TypeSelection[2]->text(), "USB");
            EXPECT_EQ(d.Selection[3]->text(), "COM 4");
            EXPECT_EQ(d.COMSchnittOK->text(), "ok");
            for (int i = 0; i < 3; ++i) EXPECT_EQ(d.TypeSelection[i]->isChecked(), i == c.type) << i;
            for (int i = 0; i < 4; ++i) EXPECT_EQ(d.Selection[i]->isChecked(), i == c.port) << i;
            if (c.chosenType >= 0) d.TypeSelection[c.chosenType]->setChecked(true);
            if (c.chosenPort >= 0) d.Selection[c.chosenPort]->setChecked(true);
            (c.ok ? d.COMSchnittOK : d.COMAbbruch)->click();
        });
        EXPECT_EQ(COM, c.comAfter);
        EXPECT_EQ(COMTyp, c.comTypAfter);
    }
}

TEST_F(Dialogs, ProjectInformationShowsTheHeaderReadOnly) {
    auto w = start(kGerman);
    w->mnuNeu->trigger();
    open<frmProjektInfo>(*w, "frmProjektInfo", [](frmProjektInfo& d) {
        EXPECT_EQ(d.Label1[2]->text(), "Bestellnummer");
        EXPECT_EQ(d.Label1[3]->text(), "Projektierung");
        EXPECT_EQ(d.TextBestell->text(), "0");
        EXPECT_EQ(d.TextFirmware->text(), "0");
        EXPECT_EQ(d.TextphyAdr->text(), "0.0.0");
        EXPECT_EQ(d.TextProjekt->text(), "");
        for (QLineEdit* box : {d.TextDownload, d.TextUpload, d.TextDateiZugriff}) EXPECT_EQ(box->text(), "00:00:00");
        for (QLineEdit* box : d.findChildren<QLineEdit*>()) EXPECT_FALSE(box->isEnabled());
        d.COMOK->click();
    });

    corlink::TypHeader h = w->mDali().Header();
    h.DateiName = "/p/a.dal";
    h.phyAdrString = "1.2.3";
    h.LetzterDownload = automation::toOleDate({2024, 3, 5, 14, 7, 9});
    h.LetzterUpload = automation::toOleDate({2024, 3, 6, 0, 0, 0});
    w->mDali().letHeader(h);
    w->mDali().ClearChangeFlag();
    open<frmProjektInfo>(*w, "frmProjektInfo", [](frmProjektInfo& d) {
        EXPECT_EQ(d.TextProjekt->text(), "/p/a.dal");
        EXPECT_EQ(d.TextphyAdr->text(), "1.2.3");
        EXPECT_EQ(d.TextDownload->text(), "05.03.2024 14:07:09");
        EXPECT_EQ(d.TextUpload->text(), "06.03.2024");
        d.TextProjekt->setText("changed");
        d.COMOK->click();
    });
    EXPECT_EQ(w->mDali().Header(), h);  // nothing written back
    EXPECT_FALSE(w->mDali().GetChangeFlag());
}
