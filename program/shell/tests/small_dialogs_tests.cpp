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

namespace {

class Dialogs : public corvane::test::Gui {
protected:
    void SetUp() override {
        Gui::SetUp();
        RegisterSmallDialogs();
    }

    // Runs `opener`, which must show dialog D once, with `user` playing the user; afterwards the
    // dialog must have unloaded itself.
    template <class D>
    void play(const std::function<void()>& opener, const std::function<void(D&)>& user) {
        int runs = 0;
        SetModalRunner([&](QDialog& d) {
            ++runs;
            user(dynamic_cast<D&>(d));
            return d.result();
        });
        opener();
        EXPECT_EQ(runs, 1);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (QWidget* top : QApplication::topLevelWidgets()) EXPECT_EQ(qobject_cast<D*>(top), nullptr);
    }

    // Opens a dialog by name, as an opener without a menu path would.
    template <class D>
    void open(const char* name, const std::function<void(D&)>& user) {
        play<D>([name] { ShowModal(*qobject_cast<QDialog*>(LoadForm(name))); }, user);
    }
};

}  // namespace

TEST_F(Dialogs, LanguageDialogStoresTheChoiceForTheNextStart) {
    auto w = start(kGerman);
    for (const char* name : {"frmSprache", "frmVersion", "frmAdrDarstellung", "frmProjektInfo"}) {
        EXPECT_FALSE(PendingWindows().join(',').contains(name)) << name;
    }
    play<frmSprache>([&] { w->mnuSprache->trigger(); }, [&](frmSprache& d) {
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
    EXPECT_EQ(shown[0].style, styleOkExclamation);
    EXPECT_EQ(LanguageOffset, kEnglish);
    EXPECT_EQ(stored("Language"), "1000");

    // The next dialog comes up in English with English selected; OK unchanged stores it again.
    seed("Language", "0");
    play<frmSprache>([&] { w->mnuSprache->trigger(); }, [&](frmSprache& d) {
        EXPECT_EQ(d.COMAbbruch->text(), "cancel");
        EXPECT_EQ(d.ComboSprache->currentText(), "English");
        d.COMOK->click();
    });
    EXPECT_EQ(stored("Language"), "1000");
}

TEST_F(Dialogs, LanguageDialogPreselectsGermanForOtherLanguagesAndCancelKeepsAll) {
    auto w = start(4000);
    play<frmSprache>([&] { w->mnuSprache->trigger(); }, [&](frmSprache& d) {
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
    play<frmVersion>([&] { w->Toolbar1_ButtonClick("Info"); }, [&](frmVersion& d) {
        EXPECT_EQ(d.windowTitle(), "version");
        EXPECT_EQ(d.Label1[0]->text(), "Lumivar Service and Comissioning Wizard");
        EXPECT_EQ(d.Label1[1]->text(), "version");
        EXPECT_TRUE(w->windowTitle().endsWith(" " + d.varVersion->text())) << w->windowTitle().toStdString();
        EXPECT_EQ(d.varVersion->text().count('.'), 2);
        EXPECT_TRUE(d.varVersion->font().bold());
        EXPECT_EQ(d.COMOK->text(), "ok");
        d.COMOK->click();
    });
}

TEST_F(Dialogs, AddressDisplayDialogSetsShowGrpAdr) {
    auto w = start(kGerman);
    ShowGrpAdr = 1;
    open<frmAdrDarstellung>("frmAdrDarstellung", [](frmAdrDarstellung& d) {
        EXPECT_EQ(d.GrpSelection[0]->text(), "2-stellige Darstellung");
        EXPECT_TRUE(d.GrpSelection[1]->isChecked());
        d.COMOK->click();
    });
    EXPECT_EQ(ShowGrpAdr, 1);
    open<frmAdrDarstellung>("frmAdrDarstellung", [](frmAdrDarstellung& d) {
        d.GrpSelection[0]->setChecked(true);
        d.COMAbbruch->click();
    });
    EXPECT_EQ(ShowGrpAdr, 1);
    open<frmAdrDarstellung>("frmAdrDarstellung", [](frmAdrDarstellung& d) {
        d.GrpSelection[0]->setChecked(true);
        d.COMOK->click();
    });
    EXPECT_EQ(ShowGrpAdr, 0);

    // A stored value of 2 selects neither option, and OK without a choice keeps it.
    ShowGrpAdr = 2;
    open<frmAdrDarstellung>("frmAdrDarstellung", [](frmAdrDarstellung& d) {
        EXPECT_FALSE(d.GrpSelection[0]->isChecked());
        EXPECT_FALSE(d.GrpSelection[1]->isChecked());
        d.COMOK->click();
    });
    EXPECT_EQ(ShowGrpAdr, 2);
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
    h.Bemerkung1 = "kept";
    w->mDali().letHeader(h);  // unsaved changes
    w->TreeView1->setCurrentItem(w->Node(3));

    // Cancel at the save question: the dialog stays, the project is untouched.
    answers = {msgCancel};
    open<frmGAusw>("frmGAusw", [&](frmGAusw& d) {
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
        EXPECT_EQ(shown[0].style, styleYesNoCancelInformation);
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
    const corlink::TypHeader after = w->mDali().Header();
    EXPECT_EQ(after.Bestellnummer, "517204");
    EXPECT_EQ(after.Version, "11");
    EXPECT_EQ(after.DateiName, "");
    EXPECT_EQ(after.phyAdr, 0);
    EXPECT_EQ(after.phyAdrString, "0.0.0");
    EXPECT_EQ(after.LetzterDownload, 0);
    EXPECT_EQ(after.Bemerkung1, "kept");
    EXPECT_EQ(MaxLimits.MaxTasten, 18);
    EXPECT_FALSE(w->mDali().GetChangeFlag());
    EXPECT_EQ(w->SelectedNode(), w->Node(1));
    EXPECT_EQ(w->StatusPanel(6), "0.0.0");

    // Unchanged project: no question, ComZurueck changes nothing.
    shown.clear();
    open<frmGAusw>("frmGAusw", [](frmGAusw& d) { d.ComZurueck->click(); });
    open<frmGAusw>("frmGAusw", [](frmGAusw& d) { d.COMOK->click(); });
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(w->mDali().Header().Bestellnummer, "517104");
}

TEST_F(Dialogs, InterfaceDialogEditsComAndComTyp) {
    auto w = start(kEnglish);
    COM = 2;
    COMTyp = 1;
    open<frmSchnittstelle>("frmSchnittstelle", [](frmSchnittstelle& d) {
        EXPECT_EQ(d.windowTitle(), "Schnittstellenparameter");
        EXPECT_EQ(d.TypeSelection[0]->text(), "serial interface 1.0");
        EXPECT_EQ(d.TypeSelection[2]->text(), "USB");
        EXPECT_EQ(d.Selection[3]->text(), "COM 4");
        EXPECT_EQ(d.COMSchnittOK->text(), "ok");
        EXPECT_TRUE(d.Selection[1]->isChecked());
        EXPECT_TRUE(d.TypeSelection[0]->isChecked());
        d.TypeSelection[1]->setChecked(true);
        d.Selection[3]->setChecked(true);
        d.COMAbbruch->click();
    });
    EXPECT_EQ(COM, 2);
    EXPECT_EQ(COMTyp, 1);
    open<frmSchnittstelle>("frmSchnittstelle", [](frmSchnittstelle& d) {
        d.TypeSelection[1]->setChecked(true);
        d.Selection[3]->setChecked(true);
        d.COMSchnittOK->click();
    });
    EXPECT_EQ(COM, 4);
    EXPECT_EQ(COMTyp, 2);
    // USB with a port: no port.
    open<frmSchnittstelle>("frmSchnittstelle", [](frmSchnittstelle& d) {
        d.TypeSelection[2]->setChecked(true);
        d.Selection[2]->setChecked(true);
        d.COMSchnittOK->click();
    });
    EXPECT_EQ(COM, 0);
    EXPECT_EQ(COMTyp, 3);
    // Opened with USB: no option chosen, OK keeps both.
    open<frmSchnittstelle>("frmSchnittstelle", [](frmSchnittstelle& d) {
        for (QRadioButton* o : d.findChildren<QRadioButton*>()) EXPECT_FALSE(o->isChecked()) << o->objectName().toStdString();
        d.COMSchnittOK->click();
    });
    EXPECT_EQ(COM, 0);
    EXPECT_EQ(COMTyp, 3);
}

TEST_F(Dialogs, ProjectInformationShowsTheHeaderReadOnly) {
    auto w = start(kGerman);
    w->mnuNeu->trigger();
    open<frmProjektInfo>("frmProjektInfo", [](frmProjektInfo& d) {
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
    open<frmProjektInfo>("frmProjektInfo", [](frmProjektInfo& d) {
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
