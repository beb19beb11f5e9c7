// The physical-address dialog, opened from the project tree and by name as the commissioning
// dialogs open it.
#include "Forms.h"
#include "frmphyAdr.h"
#include "gui_fixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

using namespace corvane;
using namespace corvane::test;

namespace {

// Opens the dialog through the tree's node "phyAdresse", with `user` playing the user; it
// unloads when it closes.
void openFromTree(frm01& w, const std::function<void(frmphyAdr&)>& user) {
    Play<frmphyAdr>([&] { w.TreeView1_NodeClick(*w.TreeView1->Node(2)); }, user);
}

void type(frmphyAdr& d, const QString& text) {
    d.TextphyAdr->setText(text);
    d.COMOK->click();
}

}  // namespace

TEST_F(Gui, PhysicalAddressDialogShowsTheHeaderAndStoresAValidAddress) {
    auto w = start(kGerman);
    openFromTree(*w, [&](frmphyAdr& d) {
        EXPECT_EQ(d.windowTitle(), "phys. Adresse");
        EXPECT_EQ(d.TextphyAdr->text(), "0.0.0");
        EXPECT_EQ(d.TextBestell->text(), "305719");
        EXPECT_EQ(d.TextFirmware->text(), "1.3");
        EXPECT_EQ(d.Label1[1]->text(), "Firmwareversion");
        EXPECT_EQ(d.COMAbbruch->text(), "Abbruch");
        type(d, "1.1.1");
    });
    corlink::TypHeader h = w->mDali().Header();
    EXPECT_EQ(h.phyAdr, 0x1101);
    EXPECT_EQ(h.phyAdrString, "1.1.1");
    EXPECT_EQ(h.Bestellnummer, "305719");  // the rest of the header as it was
    EXPECT_TRUE(w->mDali().GetChangeFlag());
    EXPECT_EQ(w->StatusPanel(6), "1.1.1");

    // Blanks and leading zeros: the number and its normalised text are stored.
    openFromTree(*w, [&](frmphyAdr& d) { type(d, " 01. 1 .005"); });
    EXPECT_EQ(w->mDali().Header().phyAdr, 0x1105);
    EXPECT_EQ(w->mDali().Header().phyAdrString, "1.1.5");

    // Cancel stores nothing, whatever the box holds.
    w->mDali().ClearChangeFlag();
    openFromTree(*w, [&](frmphyAdr& d) {
        d.TextphyAdr->setText("2.2.2");
        d.COMAbbruch->click();
    });
    EXPECT_EQ(w->mDali().Header().phyAdrString, "1.1.5");
    EXPECT_FALSE(w->mDali().GetChangeFlag());
    EXPECT_TRUE(shown.empty());
}

TEST_F(Gui, PhysicalAddressDialogRefusesZeroAndGarbageWithMessage914) {
    auto w = start(kEnglish);
    w->mnuNeu->trigger();  // a new project: address 0, text "0.0.0"
    const corlink::TypHeader before = w->mDali().Header();

    openFromTree(*w, [&](frmphyAdr& d) {
        d.show();
        QApplication::setActiveWindow(&d);
        for (const char* bad : {"0.0.00", "", "0.0.0x", "abc", "0.0.0", "16.0.1", "1.1"}) {
            shown.clear();
            type(d, bad);
            ASSERT_EQ(shown.size(), 1u) << bad;
            EXPECT_EQ(shown[0].style, kOkExclamation);
            EXPECT_EQ(shown[0].text, "Please enter a correct physical address!");
            EXPECT_EQ(shown[0].title, "advice");
            EXPECT_TRUE(d.isVisible()) << bad;  // the window stays open, the text selected
            EXPECT_TRUE(d.TextphyAdr->hasFocus()) << bad;
            EXPECT_EQ(d.TextphyAdr->selectedText(), d.TextphyAdr->text()) << bad;
        }
        // The window's copy now holds the text of the unreadable address, "": an empty box
        // closes the window without storing or asking.
        shown.clear();
        type(d, "");
        EXPECT_TRUE(shown.empty());
        EXPECT_FALSE(d.isVisible());
    });
    EXPECT_EQ(w->mDali().Header(), before);
    EXPECT_FALSE(w->mDali().GetChangeFlag());

    // OK on the untouched box of a new project closes without a change.
    openFromTree(*w, [&](frmphyAdr& d) { d.COMOK->click(); });
    EXPECT_TRUE(shown.empty());
    EXPECT_FALSE(w->mDali().GetChangeFlag());
}

TEST_F(Gui, PhysicalAddressDialogTakesEnterAsTab) {
    auto w = start(kEnglish);
    openFromTree(*w, [&](frmphyAdr& d) {
        d.show();
        QApplication::setActiveWindow(&d);
        d.TextphyAdr->setText("1.2.3");
        d.COMOK->setFocus();
        d.TextphyAdr->setFocus();
        EXPECT_EQ(d.TextphyAdr->selectedText(), "1.2.3");  // the whole text is selected on focus
        QTest::keyClick(d.TextphyAdr, Qt::Key_Return);
        EXPECT_TRUE(d.COMOK->hasFocus());
        EXPECT_TRUE(d.isVisible());                // Enter did not press OK
        QTest::keyClick(d.COMOK, Qt::Key_Return);  // Enter on the focused OK presses it
    });
    EXPECT_EQ(w->mDali().Header().phyAdrString, "1.2.3");
}

TEST_F(Gui, PhysicalAddressDialogOpenedByName) {
    // For a main window without its project object the header cannot be read: reported, the
    // design texts stay.
    RegisterPhyAdrForm();
    {
        frm01 bare;
        std::unique_ptr<frmphyAdr> d(qobject_cast<frmphyAdr*>(LoadForm("frmphyAdr", bare)));
        ASSERT_NE(d, nullptr);
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].text, "Please contact manufacturer: error code  91");
        EXPECT_EQ(d->TextBestell->text(), "571104");
        shown.clear();
    }
    // As the commissioning dialogs open it: the design caption, the single instance.
    auto w = start(kEnglish);
    auto* d = qobject_cast<QDialog*>(LoadForm("frmphyAdr", *w));
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(LoadForm("frmphyAdr", *w), d);
    EXPECT_EQ(d->windowTitle(), "Eingabe der physikalischen Adresse");
    SetModalRunner([](QDialog& dialog) {
        type(dynamic_cast<frmphyAdr&>(dialog), "15.15.255");
        return dialog.result();
    });
    EXPECT_EQ(ShowModal(*d), QDialog::Accepted);
    UnloadClosedWindows();
    EXPECT_EQ(FindForm("frmphyAdr", *w), nullptr);
    EXPECT_EQ(w->mDali().Header().phyAdr, 65535);
    EXPECT_EQ(w->mDali().Header().phyAdrString, "15.15.255");
}
