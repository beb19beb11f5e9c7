// The group-address editor and the general settings page on the main window's project.
#include "EditorForms.h"
#include "FormTexts.h"
#include "Forms.h"
#include "InputClasses.h"
#include "ModelTables.h"
#include "frmAllgemein.h"
#include "frmGrpAdr.h"
#include "gui_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>

using namespace corvane;
using namespace corvane::test;

namespace {

corlink::TypObjectZuordnung Bound(std::vector<std::int32_t> addresses, std::uint8_t flags) {
    corlink::TypObjectZuordnung o;
    o.Active1 = true;
    o.GrpAdr.redim(0, static_cast<std::int32_t>(addresses.size()) - 1);
    for (std::size_t i = 0; i < addresses.size(); ++i) o.GrpAdr(static_cast<std::int32_t>(i)) = addresses[i];
    o.GrpAdrActive = true;
    o.GrpString = " stale text";
    o.Flags = flags;
    return o;
}

std::vector<std::int32_t> AddressesOf(const corlink::TypObjectZuordnung& o) {
    return {o.GrpAdr.begin(), o.GrpAdr.end()};
}

class Editors : public Gui {
protected:
    void SetUp() override {
        Gui::SetUp();
        RegisterEditorForms();
        ShowGrpAdr = 0;
        w = start(kGerman);
    }
    void TearDown() override {
        if (editor) delete editor.data();
        ShowGrpAdr = 0;
        LanguageFileList.clear();
        Gui::TearDown();
    }

    // A new editor of the object that a node's key names, shown (which activates it).
    frmGrpAdr& Open(const QString& key) {
        if (editor) delete editor.data();
        editor = qobject_cast<frmGrpAdr*>(NewForm("frmGrpAdr", *w, FormSubject{key, {}}));
        editor->show();
        return *editor;
    }
    bool EditorUnloaded() {
        UnloadClosedWindows();
        return editor.isNull();
    }
    QStringList Column(int column) const {
        QStringList texts;
        for (int i = 0; i < editor->ListAdresse->topLevelItemCount(); ++i)
            texts << editor->ListAdresse->topLevelItem(i)->text(column);
        return texts;
    }
    void Type(const QString& a, const QString& b, const QString& c = {}) {
        editor->GrpAdr_1->setText(a);
        editor->GrpAdr_2->setText(b);
        editor->GrpAdr_3->setText(c);
        editor->ComAdd->click();
    }
    void Select(int row) { editor->ListAdresse->setCurrentItem(editor->ListAdresse->topLevelItem(row)); }

    std::unique_ptr<frm01> w;
    QPointer<frmGrpAdr> editor;
};

}  // namespace

TEST_F(Editors, GroupAddressEditorShowsAndStoresALightingObject) {
    corlink::TypBeleuchtungsGruppe g = w->mDali().BeleuchtungsGruppe(3);
    g.Objekte[0] = Bound({0x0801, 0x1203}, 0xB7);
    w->mDali().letBeleuchtungsGruppe(3, g);
    w->mDali().ClearChangeFlag();

    frmGrpAdr& d = Open("0BObjekt:3");
    EXPECT_EQ(d.ObjectIndex, 0);
    EXPECT_EQ(d.GroupKindKey, "BObjekt");
    EXPECT_EQ(d.GroupIndex, 3);
    EXPECT_EQ(Column(0), QStringList({"1/1", "2/515"}));
    EXPECT_EQ(Column(1), QStringList({"S", ""}));
    EXPECT_FALSE(d.FrameFlags->isHidden());
    EXPECT_TRUE(d.GrpAdr_3->isHidden());  // two levels
    EXPECT_FALSE(d.COMOK->isEnabled());
    EXPECT_EQ(d.CheckFlags[4]->text(), "SchrKNXen");
    // 0xB7: communication, write and update on, read and transmit off, priority low.
    for (int bit : {2, 4, 7}) EXPECT_TRUE(d.CheckFlags[bit]->isChecked()) << bit;
    for (int bit : {3, 6}) EXPECT_FALSE(d.CheckFlags[bit]->isChecked()) << bit;
    EXPECT_EQ(d.ComboPrio->currentText(), "Niedrig");
    EXPECT_TRUE(d.CheckFlags[5]->isHidden());

    d.ComboPrio->setCurrentIndex(2);  // alarm
    EXPECT_FALSE(d.CheckFlags[0]->isChecked());
    EXPECT_TRUE(d.CheckFlags[1]->isChecked());
    Type("3", "5");
    EXPECT_TRUE(d.COMOK->isEnabled());
    EXPECT_TRUE(d.GrpAdr_1->text().isEmpty());
    d.COMOK->click();
    EXPECT_TRUE(EditorUnloaded());

    const corlink::TypObjectZuordnung o = w->mDali().BeleuchtungsGruppe(3).Objekte[0];
    EXPECT_EQ(AddressesOf(o), (std::vector<std::int32_t>{0x0801, 0x1203, 0x1805}));
    EXPECT_TRUE(o.GrpAdrActive);
    EXPECT_EQ(o.GrpString, " 1/1 2/515 3/5");
    EXPECT_EQ(o.Flags, 0xB6);  // alarm; hidden bit 5 carried through
    EXPECT_EQ(o.ObjNo, LightingObjectList(3).Objects(0).ObjectNumber);
    EXPECT_TRUE(w->mDali().GetChangeFlag());

    // Three levels: the list and the typed text use three levels, the stored text two.
    ShowGrpAdr = 1;
    Open("0BObjekt:3");
    EXPECT_FALSE(editor->GrpAdr_3->isHidden());
    EXPECT_EQ(Column(0), QStringList({"1/0/1", "2/2/3", "3/0/5"}));
    Type("1", "2", "3");
    EXPECT_EQ(Column(0).last(), "1/2/3");
    editor->COMOK->click();
    const corlink::TypObjectZuordnung three = w->mDali().BeleuchtungsGruppe(3).Objekte[0];
    EXPECT_EQ(three.GrpString, " 1/1 2/515 3/5 1/515");
    EXPECT_EQ(three.Flags, 0xB6);  // unchanged flags are stored as they were
    EXPECT_TRUE(shown.empty());
}

TEST_F(Editors, GroupAddressEditorReachesEveryObjectKind) {
    // The date object of the general settings, without addresses: the catalogue's defaults.
    corlink::TypZeiten z = w->mDali().Zeiten();
    z.ObjekteDatumZeitLCD[1].Flags = 0x12;
    w->mDali().letZeiten(z);
    frmGrpAdr& d = Open("1AObjekt:0");
    EXPECT_EQ(d.ListAdresse->topLevelItemCount(), 0);
    EXPECT_TRUE(d.FrameFlags->isHidden());
    std::uint8_t shownFlags = 0;
    EXPECT_EQ(d.SaveFlags(shownFlags), DeviceObjectList(1).Flags);
    Type("1", "1");
    Select(0);
    d.ComClear->click();
    EXPECT_TRUE(d.FrameFlags->isHidden());
    d.COMOK->click();
    const corlink::TypObjectZuordnung date = w->mDali().Zeiten().ObjekteDatumZeitLCD[1];
    EXPECT_EQ(AddressesOf(date), std::vector<std::int32_t>{0});
    EXPECT_FALSE(date.GrpAdrActive);
    EXPECT_EQ(date.GrpString, "");
    EXPECT_EQ(date.Flags, 0x12);  // an empty list stores no flags

    // Every kind stores into its own record and object, with the object number and the default
    // flags of its catalogue entry.
    using Dali = corlink::clsOrvekDali;
    const struct {
        const char* tag;
        std::function<corlink::TypObjectZuordnung(Dali&)> object;
        int number, flags;
    } kinds[] = {
        {"2BObjekt:1", [](Dali& d) { return d.BeleuchtungsGruppe(1).Objekte[2]; }, 6, 0xD7},
        {"3LObjekt:1", [](Dali& d) { return d.BelueftungsGruppe(1).Objekte[3]; }, 47, 0x97},
        {"4JObjekt:2", [](Dali& d) { return d.JalousieGruppe(2).Objekte[4]; }, 0, 0},
        {"6TObjekt:1", [](Dali& d) { return d.TemperaturGruppe(1).Objekte[6]; }, 65, 0xD7},
        {"0SObjekt:2", [](Dali& d) { return d.Szene(2).ObjNebenstelle; }, 92, 0xFF},
        {"0MObjekt:3", [](Dali& d) { return d.MeldeGruppe(3).Objekte[0]; }, 101, 0xB7},
        {"2AObjekt:0", [](Dali& d) { return d.Zeiten().ObjekteDatumZeitLCD[2]; }, 110, 0x9F},
    };
    for (const auto& kind : kinds) {
        SCOPED_TRACE(kind.tag);
        Open(kind.tag);
        Type("4", "7");
        editor->COMOK->click();
        const corlink::TypObjectZuordnung o = kind.object(w->mDali());
        EXPECT_EQ(AddressesOf(o), std::vector<std::int32_t>{(4 << 11) | 7});
        EXPECT_EQ(o.GrpString, " 4/7");
        EXPECT_EQ(o.ObjNo, kind.number);
        EXPECT_EQ(o.Flags, kind.flags);
    }
    EXPECT_EQ(w->mDali().Szene(2).ObjNebenstelle.ObjNo, SceneObjectList(2).Objects(0).ObjectNumber);
    // The fifth blind object has no catalogue entry: object number 0 and no default flags.
    EXPECT_EQ(w->mDali().JalousieGruppe(2).Objekte[4].ObjNo, 0);
    Open("4JObjekt:1");
    EXPECT_FALSE(editor->CheckFlags[2]->isChecked());
    EXPECT_TRUE(shown.empty());
}

TEST_F(Editors, GroupAddressEditorNeverWritesARecordItCouldNotRead) {
    // The scene catalogue holds one object per scene: object 1 is an error at activation.
    corlink::TypSzene s = w->mDali().Szene(2);
    s.ObjNebenstelle = Bound({0x0801}, 0xFF);
    w->mDali().letSzene(2, s);
    w->mDali().ClearChangeFlag();
    Open("1SObjekt:2");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "Bitte wenden Sie sich an den Hersteller, Fehlercode 9");
    // Adding and removing an address, then OK: the scene's addresses stay, the window stays.
    Type("1", "2");
    Select(0);
    editor->ComClear->click();
    editor->COMOK->click();
    EXPECT_EQ(shown.size(), 2u);
    EXPECT_FALSE(EditorUnloaded());
    EXPECT_EQ(w->mDali().Szene(2).ObjNebenstelle, s.ObjNebenstelle);
    EXPECT_FALSE(w->mDali().GetChangeFlag());

    // A group index beyond the model's groups.
    Open("0BObjekt:99");
    EXPECT_EQ(shown.back().text, "Bitte wenden Sie sich an den Hersteller, Fehlercode 9");
    // An unknown kind loads and stores nothing.
    shown.clear();
    Open("0XObjekt:1");
    EXPECT_TRUE(shown.empty());
    editor->COMOK->setEnabled(true);
    editor->COMOK->click();
    EXPECT_TRUE(EditorUnloaded());
    EXPECT_FALSE(w->mDali().GetChangeFlag());
}

TEST_F(Editors, GroupAddressEditorAddsEachAddressOnceWithinTheLimit) {
    corlink::TypTemperaturGruppe t = w->mDali().TemperaturGruppe(1);
    t.Objekte[2] = Bound({0x0801}, 0xD7);
    w->mDali().letTemperaturGruppe(1, t);
    frmGrpAdr& d = Open("2TObjekt:1");
    const std::int16_t start = d.AssocCount;
    EXPECT_EQ(start, automation::toInteger(w->mDali().GetAssozLen()));

    Type("1", "1");    // the same text
    Type("01", " 1");  // the same address in another spelling
    EXPECT_EQ(d.ListAdresse->topLevelItemCount(), 1);
    EXPECT_EQ(d.AssocCount, start);
    EXPECT_TRUE(shown.empty());

    Type("32", "0");  // no group address
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "Geben Sie eine korrekte Gruppenadresse ein!");
    EXPECT_EQ(shown[0].style, kOkExclamation);
    EXPECT_EQ(d.GrpAdr_1->text(), "32");  // the boxes keep their text
    EXPECT_EQ(d.AssocCount, start);

    const std::uint8_t limit = MaxLimits.MaxAssoziation;
    MaxLimits.MaxAssoziation = static_cast<std::uint8_t>(start + 1);
    Type("2", "2");
    Type("2", "3");
    EXPECT_EQ(shown.back().text, "Die maximal möglichen Verbindungen wurden erreicht!");
    EXPECT_EQ(d.AssocCount, start + 1);
    d.ListAdresse->clearSelection();
    d.ComClear->click();  // nothing selected: nothing removed
    EXPECT_EQ(d.AssocCount, start + 1);
    Select(0);
    d.ComClear->click();
    EXPECT_EQ(d.AssocCount, start);
    EXPECT_EQ(Column(1), QStringList({""}));  // the sending address is gone: none marked
    Type("2", "3");
    EXPECT_EQ(Column(0), QStringList({"2/2", "2/3"}));
    MaxLimits.MaxAssoziation = limit;
    d.COMOK->click();
    EXPECT_EQ(AddressesOf(w->mDali().TemperaturGruppe(1).Objekte[2]), (std::vector<std::int32_t>{0x1002, 0x1003}));
}

TEST_F(Editors, GroupAddressEditorLeavesOutAddressesNoGroupAddressCanBe) {
    // A damaged file: addresses below 0 and above 65535 between valid ones.
    const struct {
        std::vector<std::int32_t> stored;
        QStringList listed;
        std::vector<std::int32_t> kept;
        const char* text;
    } cases[] = {{{0x0801, -1, 0x10000, 0x1203, 70000}, {"1/1", "2/515"}, {0x0801, 0x1203}, " 1/1 2/515"},
                 {{-5, 0xFFFF, 0}, {"31/2047", "0/0"}, {0xFFFF, 0}, " 31/2047 0/0"},
                 {{-1, 65536}, {}, {0}, ""}};
    for (const auto& c : cases) {
        corlink::TypBeleuchtungsGruppe g = w->mDali().BeleuchtungsGruppe(2);
        g.Name = "Flur";
        g.Objekte[1] = Bound(c.stored, 0xB7);
        g.Objekte[2] = Bound({0x0805}, 0x13);
        w->mDali().letBeleuchtungsGruppe(2, g);
        frmGrpAdr& d = Open("1BObjekt:2");
        EXPECT_EQ(Column(0), c.listed);
        if (!c.listed.isEmpty()) {
            EXPECT_EQ(Column(1).front(), "S");
        }
        d.COMOK->setEnabled(true);
        d.COMOK->click();
        const corlink::TypBeleuchtungsGruppe after = w->mDali().BeleuchtungsGruppe(2);
        EXPECT_EQ(AddressesOf(after.Objekte[1]), c.kept);
        EXPECT_EQ(after.Objekte[1].GrpString, c.text);
        EXPECT_EQ(after.Objekte[1].GrpAdrActive, !c.listed.isEmpty());
        EXPECT_EQ(after.Name, "Flur");  // the rest of the record stays
        EXPECT_EQ(after.Objekte[2], g.Objekte[2]);
    }
    EXPECT_TRUE(shown.empty());
}

TEST_F(Editors, GroupAddressEditorCancelAndCloseBoxStoreNothing) {
    corlink::TypJalousieGruppe j = w->mDali().JalousieGruppe(0);
    j.Objekte[3] = Bound({0x0801}, 0xB7);
    w->mDali().letJalousieGruppe(0, j);
    w->mDali().ClearChangeFlag();
    const std::function<void(frmGrpAdr&)> leave[] = {
        [](frmGrpAdr& d) { QTest::mouseClick(d.ComZurueck, Qt::LeftButton); },
        [](frmGrpAdr& d) { d.close(); }};  // the window's close box
    for (const auto& how : leave) {
        frmGrpAdr& d = Open("3JObjekt:0");
        Type("4", "4");
        d.ComboPrio->setCurrentIndex(3);
        d.CheckFlags[3]->setChecked(true);
        how(d);
        EXPECT_TRUE(EditorUnloaded());
        EXPECT_EQ(w->mDali().JalousieGruppe(0).Objekte[3], j.Objekte[3]);
        EXPECT_FALSE(w->mDali().GetChangeFlag());
    }
    EXPECT_TRUE(shown.empty());
}

TEST_F(Editors, GroupAddressEditorPriorityBitsAndListEntries) {
    // Bits 1 and 0 of the flag byte and the ComboPrio entry: 11 low, 01 high, 10 alarm, 00 system.
    const struct {
        std::uint8_t bits;
        int index;
        const char* text;
    } priorities[] = {{0b11, 0, "Niedrig"}, {0b01, 1, "Hoch"}, {0b10, 2, "Alarm"}, {0b00, 3, "System"}};
    for (const auto& shownAs : priorities) {
        corlink::TypMeldeGruppe m = w->mDali().MeldeGruppe(4);
        m.Objekte[0] = Bound({0x0801}, static_cast<std::uint8_t>(0xB4 | shownAs.bits));
        w->mDali().letMeldeGruppe(4, m);
        for (const auto& chosen : priorities) {
            frmGrpAdr& d = Open("0MObjekt:4");
            EXPECT_EQ(d.ComboPrio->currentIndex(), shownAs.index) << int(shownAs.bits);
            EXPECT_EQ(d.ComboPrio->currentText(), shownAs.text);
            EXPECT_EQ(d.CheckFlags[0]->isChecked(), (shownAs.bits & 1) != 0);
            EXPECT_EQ(d.CheckFlags[1]->isChecked(), (shownAs.bits & 2) != 0);
            d.ComboPrio->setCurrentIndex(chosen.index);
            emit d.ComboPrio->activated(chosen.index);
            d.COMOK->click();
            EXPECT_EQ(w->mDali().MeldeGruppe(4).Objekte[0].Flags, 0xB4 | chosen.bits)
                << int(shownAs.bits) << " " << chosen.text;
            w->mDali().letMeldeGruppe(4, m);
        }
    }
}

TEST_F(Editors, GroupAddressEditorStoresTheMarkedAddressFirst) {
    frmGrpAdr& d = Open("0MObjekt:0");
    Type("1", "1");
    Type("1", "2");
    Type("1", "3");
    d.ListAdresse->clearSelection();
    d.ComSendend->click();  // nothing selected: the marks stay
    EXPECT_EQ(Column(1), QStringList({"S", "", ""}));
    EXPECT_TRUE(shown.empty());
    Select(2);
    d.ComSendend->click();
    EXPECT_EQ(Column(0), QStringList({"1/3", "1/1", "1/2"}));
    EXPECT_EQ(Column(1), QStringList({"S", "", ""}));
    d.COMOK->click();
    EXPECT_EQ(w->mDali().MeldeGruppe(0).Objekte[0].GrpString, " 1/3 1/1 1/2");
}

TEST_F(Editors, GroupAddressEditorArrowKeysSkipTheHiddenThirdBox) {
    for (int style : {0, 1}) {
        ShowGrpAdr = static_cast<std::int16_t>(style);
        frmGrpAdr& d = Open("0BObjekt:0");
        ASSERT_TRUE(Activate(d));
        const auto press = [&](QLineEdit* from, Qt::Key key) {
            from->setFocus();
            QTest::keyClick(from, key);
            return QApplication::focusWidget();
        };
        QWidget* third = style ? static_cast<QWidget*>(d.GrpAdr_3) : d.GrpAdr_1;
        EXPECT_EQ(press(d.GrpAdr_1, Qt::Key_Right), d.GrpAdr_2);
        EXPECT_EQ(press(d.GrpAdr_1, Qt::Key_Left), third);
        EXPECT_EQ(press(d.GrpAdr_2, Qt::Key_Right), style ? third : d.GrpAdr_2);
        EXPECT_EQ(press(d.GrpAdr_2, Qt::Key_Left), d.GrpAdr_1);
        // A flag box taking the focus enables OK.
        d.CheckFlags[3]->setFocus();
        EXPECT_TRUE(d.COMOK->isEnabled());
    }
}

namespace {

class Settings : public Editors {
protected:
    void SetUp() override {
        Editors::SetUp();
        LanguageFileList = {{"Deutsch", 0}, {"English", 1}, {"Italiano", 12}};
        z = w->mDali().Zeiten();
        z.LangeTastZeit = 50;
        z.SLangeTastZeit = 25;
        z.LCDOnZeit = 10;
        z.ZeitDatumKonfig = 3;
        z.ZeitDatumFormat = 1;
        z.MenuSprache = "English";
        z.MenuSpracheID = 1;
        for (auto& o : z.ObjekteDatumZeitLCD) o = Bound({0x0801, 0x0802}, 0xB7);
        w->mDali().letZeiten(z);
        w->mDali().ClearChangeFlag();
    }
    frmAllgemein& Page() {
        page = std::make_unique<frmAllgemein>(*w);
        page->show();
        return *page;
    }
    // The page shown and active, so that clicks and keys move the focus as the user's do.
    frmAllgemein& ActivePage() {
        Page();
        EXPECT_TRUE(Activate(*page));
        return *page;
    }
    // A mouse click into a box, then the text typed over what it holds.
    void ClickAndType(QLineEdit* box, const QString& text) {
        QTest::mouseClick(box, Qt::LeftButton);
        ASSERT_EQ(QApplication::focusWidget(), box);
        box->selectAll();
        QTest::keyClicks(box, text);
    }
    // Types into a box as the user does and leaves it, as the focus leaving it checks it.
    bool Leave(int box, const QString& text) {
        clsTextBox& t = *page->TextBoxes[box];
        t.GotFocus();
        t.Box()->selectAll();
        QTest::keyClicks(t.Box(), text);
        return t.Validate();
    }

    corlink::TypZeiten z;
    std::unique_ptr<frmAllgemein> page;
};

}  // namespace

TEST_F(Settings, GeneralSettingsShowAndStoreTheProjectRecord) {
    frmAllgemein& p = Page();
    const auto shownValues = [&p] {
        return QStringList{p.ComboDatumAllg->currentText(), p.ComboZeitDatumFormat->currentText(),
                           p.varLTastZeit->text(), p.varSLTastZeit->text(), p.varDispEIN->text()};
    };
    EXPECT_EQ(p.FrameLeseZeit->title(), "Einstellung der Zeiten");
    EXPECT_EQ(p.ComboDatumAllg->itemText(0), "keine Anzeige");
    EXPECT_EQ(shownValues(), (QStringList{"Datum und Uhrzeit", "12h - MM.TT.JJ", "50", "25", "10"}));
    EXPECT_EQ(p.ComboSprache->currentText(), "English");
    EXPECT_TRUE(p.OptionBeleuchtung[0]->isChecked());

    // Default, then Cancel: the project stays as it was.
    p.ComDefault->click();
    EXPECT_EQ(shownValues(), (QStringList{"keine Anzeige", "24h - TT.MM.JJ", "60", "20", "30"}));
    EXPECT_TRUE(p.ComboZeitDatumFormat->isHidden());
    EXPECT_TRUE(p.OptionBeleuchtung[1]->isChecked());
    p.COMAbbruch->click();
    EXPECT_TRUE(p.isHidden());
    EXPECT_EQ(w->mDali().Zeiten(), z);
    EXPECT_FALSE(w->mDali().GetChangeFlag());

    // The next showing starts from the project again. "Datum" and another language.
    p.show();
    EXPECT_EQ(shownValues(), (QStringList{"Datum und Uhrzeit", "12h - MM.TT.JJ", "50", "25", "10"}));
    p.ComboDatumAllg->setCurrentIndex(2);
    EXPECT_FALSE(p.ComboZeitDatumFormat->isHidden());
    p.ComboSprache->setCurrentIndex(2);
    p.varDispEIN->setText("254");
    p.COMOK->click();
    EXPECT_TRUE(p.isHidden());
    const corlink::TypZeiten stored = w->mDali().Zeiten();
    EXPECT_EQ(stored.ZeitDatumKonfig, 2);
    EXPECT_EQ(stored.ZeitDatumFormat, 1);
    EXPECT_EQ(stored.LCDOnZeit, 254);
    EXPECT_EQ(stored.MenuSprache, "Italiano");
    EXPECT_EQ(stored.MenuSpracheID, 12);
    EXPECT_TRUE(w->mDali().GetChangeFlag());

    // The display choice and the lighting option make the time, date and lighting objects active
    // with their addresses untouched, or inactive with the single address 0 (the rest kept).
    corlink::TypObjectZuordnung off = Bound({0}, 0xB7);
    off.Active1 = off.GrpAdrActive = false;
    const struct {
        int konfig;
        bool time, date, lighting;
    } display[] = {{0, false, false, true}, {1, true, false, false}, {2, false, true, false}, {3, true, true, true}};
    for (const auto& d : display) {
        SCOPED_TRACE(d.konfig);
        w->mDali().letZeiten(z);
        p.show();
        p.ComboDatumAllg->setCurrentIndex(d.konfig);
        EXPECT_EQ(p.ComboZeitDatumFormat->isHidden(), d.konfig == 0);
        p.OptionBeleuchtung[d.lighting ? 0 : 1]->setChecked(true);
        p.COMOK->click();
        const corlink::TypZeiten after = w->mDali().Zeiten();
        EXPECT_EQ(after.ZeitDatumKonfig, d.konfig);
        const bool active[3] = {d.time, d.date, d.lighting};
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(after.ObjekteDatumZeitLCD[i], active[i] ? z.ObjekteDatumZeitLCD[i] : off) << i;
    }
    EXPECT_TRUE(shown.empty());
}

TEST_F(Settings, GeneralSettingsNumberBoxesKeepToTheirRanges) {
    frmAllgemein& p = Page();
    // Box 0 the long push time (40-100), box 1 the very long one (15-50), box 2 the display
    // on-time (0-254); a range names the message of a refusal, none an accepted text.
    const struct {
        int box;
        const char* text;
        const char* range;
    } cases[] = {
        {0, "100", nullptr},   {0, "101", "(40-100)"}, {0, "40", nullptr},     {0, "39", "(40-100)"},
        {1, "50", nullptr},    {1, "51", "(15-50)"},   {1, "15", nullptr},     {1, "14", "(15-50)"},
        {1, "abc", "(15-50)"}, {2, "0", nullptr},      {2, "255", "(0-254)"},  {2, "254", nullptr},
        {2, "-1", "(0-254)"},  {0, "2,5", "(40-100)"}, {0, "2.5", "(40-100)"}, {1, "2,5", "(15-50)"},
        {1, "2.5", "(15-50)"}, {2, "2,5", "(0-254)"},  {2, "2.5", "(0-254)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.box << " " << c.text);
        QLineEdit* box = p.TextBoxes[c.box]->Box();
        const QString before = box->text();
        shown.clear();
        EXPECT_EQ(Leave(c.box, c.text), c.range == nullptr);
        if (!c.range) {
            EXPECT_TRUE(shown.empty());
            EXPECT_EQ(box->text(), c.text);
            continue;
        }
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].text, std::string("Bitte geben Sie Werte im korrekten Wertebereich ein! ") + c.range);
        EXPECT_EQ(shown[0].title, "Hinweis");
        EXPECT_EQ(box->text(), before);  // the text it had when it got the focus
    }

    // A box typed into and not left is checked by OK: nothing is stored, the page stays.
    p.COMAbbruch->click();
    p.show();  // the project's values again
    shown.clear();
    p.TextBoxes[1]->GotFocus();
    QTest::keyClicks(p.varSLTastZeit, "9");  // "259"
    p.COMOK->click();
    EXPECT_EQ(shown.size(), 1u);
    EXPECT_FALSE(p.isHidden());
    EXPECT_EQ(w->mDali().Zeiten(), z);
    p.COMOK->click();  // restored to the valid text: stored
    EXPECT_TRUE(p.isHidden());
    EXPECT_EQ(w->mDali().Zeiten().SLangeTastZeit, 25);
}

TEST_F(Settings, GeneralSettingsRefusalKeepsTheFocusAndCancelsTheClickThatLeftTheBox) {
    frmAllgemein& p = ActivePage();
    const std::string range = "Bitte geben Sie Werte im korrekten Wertebereich ein! (40-100)";
    // Out of range, then a mouse click elsewhere: one message, the box gets its text and the
    // focus back, and the clicked control does nothing (no storing, no defaults).
    for (QWidget* target : std::initializer_list<QWidget*>{p.COMOK, p.ComDefault, p.varDispEIN, p.ComboDatumAllg}) {
        const std::string name = target->objectName().toStdString();
        shown.clear();
        ClickAndType(p.varLTastZeit, "101");
        QTest::mouseClick(target, Qt::LeftButton);
        ASSERT_EQ(shown.size(), 1u) << name;
        EXPECT_EQ(shown[0].text, range);
        EXPECT_EQ(QApplication::focusWidget(), p.varLTastZeit) << name;
        EXPECT_EQ(p.varLTastZeit->text(), "50") << name;
        EXPECT_FALSE(p.isHidden()) << name;
        EXPECT_EQ(p.varSLTastZeit->text(), "25") << name;  // no defaults
        EXPECT_EQ(p.ComboDatumAllg->currentIndex(), 3) << name;
        EXPECT_EQ(w->mDali().Zeiten(), z) << name;
        EXPECT_FALSE(w->mDali().GetChangeFlag()) << name;
    }
    // Tab and Enter (which sends a Tab) are refused alike.
    for (Qt::Key key : {Qt::Key_Tab, Qt::Key_Return}) {
        shown.clear();
        ClickAndType(p.varLTastZeit, "7");
        QTest::keyClick(p.varLTastZeit, key);
        EXPECT_EQ(shown.size(), 1u) << key;
        EXPECT_EQ(QApplication::focusWidget(), p.varLTastZeit) << key;
    }
    // A valid value lets the focus and the click go on; Cancel never checks.
    shown.clear();
    QTest::keyClick(p.varLTastZeit, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), p.varSLTastZeit);
    ClickAndType(p.varSLTastZeit, "99");
    QTest::mouseClick(p.COMAbbruch, Qt::LeftButton);
    EXPECT_TRUE(shown.empty());
    EXPECT_TRUE(p.isHidden());
    p.show();
    ASSERT_TRUE(Activate(p));
    ClickAndType(p.varLTastZeit, "70");
    QTest::mouseClick(p.COMOK, Qt::LeftButton);
    EXPECT_TRUE(shown.empty());
    EXPECT_TRUE(p.isHidden());
    EXPECT_EQ(w->mDali().Zeiten().LangeTastZeit, 70);
}

TEST_F(Settings, GeneralSettingsTwoBoxesOutOfRangeRefuseOnceAndKeepTheFocus) {
    // A new project's times are 0: both push-time boxes lie below their ranges.
    z.LangeTastZeit = 0;
    z.SLangeTastZeit = 0;
    w->mDali().letZeiten(z);
    frmAllgemein& p = ActivePage();
    QTest::mouseClick(p.varLTastZeit, Qt::LeftButton);
    ASSERT_EQ(QApplication::focusWidget(), p.varLTastZeit);
    QTest::keyClick(p.varLTastZeit, Qt::Key_Tab);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "Bitte geben Sie Werte im korrekten Wertebereich ein! (40-100)");
    EXPECT_EQ(QApplication::focusWidget(), p.varLTastZeit);
    QTest::mouseClick(p.varSLTastZeit, Qt::LeftButton);
    EXPECT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown.back().text, shown[0].text);  // the box left refuses, not the one clicked
    EXPECT_EQ(QApplication::focusWidget(), p.varLTastZeit);
}

TEST_F(Settings, GeneralSettingsListPositionsOutsideTheListsSelectTheFirstEntries) {
    frmAllgemein& p = Page();  // a showing with the project's valid record first
    p.COMAbbruch->click();
    const struct { std::uint8_t konfig, format; } damaged[] = {{4, 2}, {7, 1}, {1, 9}, {255, 255}};
    for (const auto& d : damaged) {
        corlink::TypZeiten bad = z;
        bad.ZeitDatumKonfig = d.konfig;
        bad.ZeitDatumFormat = d.format;
        bad.LangeTastZeit = static_cast<std::uint8_t>(60 + d.konfig % 40);
        w->mDali().letZeiten(bad);
        p.show();
        EXPECT_TRUE(shown.empty()) << int(d.konfig);  // no error 380
        EXPECT_EQ(p.ComboDatumAllg->currentIndex(), d.konfig < 4 ? d.konfig : 0) << int(d.konfig);
        EXPECT_EQ(p.ComboZeitDatumFormat->currentIndex(), d.format < 2 ? d.format : 0) << int(d.format);
        EXPECT_EQ(p.varLTastZeit->text(), QString::number(bad.LangeTastZeit))
            << int(d.konfig);  // not the last showing's
        EXPECT_EQ(p.varSLTastZeit->text(), "25");
        p.COMAbbruch->click();
    }
}

TEST_F(Settings, GeneralSettingsKeepAMenuLanguageTheUserDidNotChoose) {
    z.MenuSprache = "Klingon";  // a file of another computer
    z.MenuSpracheID = 7;
    w->mDali().letZeiten(z);
    frmAllgemein& p = Page();
    p.varLTastZeit->setText("70");
    p.COMOK->click();
    EXPECT_EQ(w->mDali().Zeiten().MenuSprache, "Klingon");
    EXPECT_EQ(w->mDali().Zeiten().MenuSpracheID, 7);
    EXPECT_EQ(w->mDali().Zeiten().LangeTastZeit, 70);
    // Chosen by the user: taken.
    p.show();
    p.ComboSprache->setCurrentIndex(0);
    emit p.ComboSprache->activated(0);
    p.COMOK->click();
    EXPECT_EQ(w->mDali().Zeiten().MenuSprache, "Deutsch");
    EXPECT_EQ(w->mDali().Zeiten().MenuSpracheID, 0);

    // Without any language file the page still stores, keeping the language.
    LanguageFileList.clear();
    frmAllgemein& bare = Page();
    EXPECT_EQ(bare.ComboSprache->count(), 0);
    bare.varDispEIN->setText("5");
    bare.COMOK->click();
    EXPECT_EQ(w->mDali().Zeiten().LCDOnZeit, 5);
    EXPECT_EQ(w->mDali().Zeiten().MenuSprache, "Deutsch");
    EXPECT_TRUE(shown.empty());
}

TEST_F(Editors, EditorsOpenByNameAndComboGuardColours) {
    EXPECT_TRUE(IsFormRegistered("frmGrpAdr"));
    EXPECT_TRUE(IsFormRegistered("frmAllgemein"));
    QComboBox box;
    clsCombo guard;
    guard.theCombo(&box);
    guard.AddText("eins");
    EXPECT_EQ(box.count(), 1);
    guard.GotFocus();
    EXPECT_EQ(box.palette().color(QPalette::Base), QColor(0, 255, 0));
    guard.LostFocus();
    EXPECT_EQ(box.palette().color(QPalette::Base), QColor(0, 255, 255));
    EXPECT_TRUE(guard.KeyPress(Qt::Key_Enter));
}
TEST_F(Editors, ProjectTextBoxesRefuseWhatTheProjectFileCannotHold) {
    // Typed key by key, or committed at once (an input method, a paste) at the cursor.
    const struct {
        QString before;
        int cursor;
        QString typed;
        bool atOnce;
        QString after;
        QString refused;
    } cases[] = {
        {"", 0, "Büro €5 ŠŽœŸ ?", false, "Büro €5 ŠŽœŸ ?", ""},  // all in Windows-1252
        {"", 0, "語", false, "", "語"},
        {"Flur", 4, " Ā2", false, "Flur 2", "Ā"},
        {"AB", 1, "語x😀語", true, "AxB", "語 😀"},
        {"", 0, "\u0081\u009D", true, "\u0081\u009D", ""},  // unassigned bytes the file keeps
    };
    for (const auto& c : cases) {
        QLineEdit box;
        GuardProjectText(box);
        box.setText(c.before);
        box.setCursorPosition(c.cursor);
        shown.clear();
        if (c.atOnce) {
            QInputMethodEvent commit;
            commit.setCommitString(c.typed);
            QCoreApplication::sendEvent(&box, &commit);
        } else {
            for (const uint code : c.typed.toUcs4()) {
                const auto ch = static_cast<char32_t>(code);
                QTest::sendKeyEvent(QTest::Click, &box, Qt::Key_unknown, QString::fromUcs4(&ch, 1), Qt::NoModifier);
            }
        }
        EXPECT_EQ(box.text(), c.after) << c.typed.toStdString();
        if (c.refused.isEmpty()) {
            EXPECT_TRUE(shown.empty()) << c.typed.toStdString();
            continue;
        }
        ASSERT_EQ(shown.size(), 1u) << c.typed.toStdString();
        EXPECT_EQ(shown[0].text,
                  "Die Projektdatei kann nur Zeichen des westeuropäischen Zeichensatzes (Windows-1252) "
                  "speichern. Nicht übernommen: " +
                      c.refused.toStdString());
        EXPECT_EQ(shown[0].style, kOkExclamation);
        EXPECT_EQ(shown[0].title, "Hinweis");
        if (c.atOnce) {
            EXPECT_EQ(box.cursorPosition(), c.cursor + 1);  // behind the kept "x"
        }
    }
}

TEST_F(Settings, EditorsSpeakTheLanguageInForce) {
    LanguageOffset = kEnglish;
    frmGrpAdr& d = Open("0BObjekt:0");
    EXPECT_EQ(d.ComboPrio->itemText(2), "alarm");
    EXPECT_EQ(d.ComSendend->text(), "sending");
    frmAllgemein& p = Page();
    EXPECT_EQ(p.ComboDatumAllg->itemText(0), "no display indication");
    EXPECT_EQ(p.ComboZeitDatumFormat->itemText(0), "24h - DD.MM.YY");
    EXPECT_EQ(p.Label1[5]->text(), "very long operation of push-button ( base 100ms )");
}
