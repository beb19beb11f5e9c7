#include "frmAllgemein.h"

#include "ConnectTrapped.h"
#include "FormTexts.h"
#include "InputClasses.h"
#include "MainWindowServices.h"
#include "Messages.h"
#include "ModDefinition.h"
#include "Seams.h"
#include "SmallDialogs.h"
#include "variant.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace corvane {

namespace {

// Selects a stored list position; a position the list does not have selects the first entry.
// The project file does not keep the times, so only a caller of the project library that set
// them (letZeiten) can bring one.
void SetListIndex(QComboBox& combo, int index) {
    combo.setCurrentIndex(index >= 0 && index < combo.count() ? index : 0);
}

std::uint8_t ByteOf(const QString& text) { return automation::toByte(automation::Variant(text.toStdString())); }

// An object the gateway does not use loses its group addresses.
void SetObjectActive(corlink::TypObjectZuordnung& object, bool active) {
    object.Active1 = active;
    if (active) return;
    object.GrpAdrActive = false;
    object.GrpAdr.redim(0, 0);
}

}  // namespace

frmAllgemein::frmAllgemein(MainWindowServices& main, QWidget* parent) : QDialog(parent), main_(main) {
    setObjectName("frmAllgemein");

    auto frame = [this](const char* name, const char* tag) {
        auto* f = new QGroupBox(this);
        f->setObjectName(name);
        SetTag(*f, tag);
        return f;
    };
    auto label1 = [](QWidget* parent, int index, const char* tag) {
        return NamedLabel(parent, QStringLiteral("Label1(%1)").arg(index), tag);
    };
    auto label2 = [this](QWidget* parent, int index, const char* tag) {
        return Label2[index] = NamedLabel(parent, QStringLiteral("Label2(%1)").arg(index), tag);
    };
    auto numberBox = [](QWidget* parent, const char* name) {
        auto* e = new QLineEdit(parent);
        e->setObjectName(name);
        e->setFixedWidth(TwipsToPixels(700));
        return e;
    };
    auto combo = [](QWidget* parent, const char* name) {
        auto* c = new QComboBox(parent);
        c->setObjectName(name);
        c->setMinimumWidth(TwipsToPixels(2400));
        return c;
    };
    auto button = [this](const char* name, const char* tag) { return CommandButton(this, name, tag); };

    FrameLeseZeit = frame("FrameLeseZeit", "441");
    Label1[1] = label1(FrameLeseZeit, 1, "449");
    Label1[4] = label1(FrameLeseZeit, 4, "447");
    Label1[5] = label1(FrameLeseZeit, 5, "448");
    varLTastZeit = numberBox(FrameLeseZeit, "varLTastZeit");
    varSLTastZeit = numberBox(FrameLeseZeit, "varSLTastZeit");
    auto* times = new QGridLayout(FrameLeseZeit);
    times->addWidget(Label1[1], 0, 1);
    times->addWidget(Label1[4], 1, 0);
    times->addWidget(varLTastZeit, 1, 1);
    times->addWidget(Label1[5], 2, 0);
    times->addWidget(varSLTastZeit, 2, 1);
    times->setColumnStretch(0, 1);

    FrameDisplay = frame("FrameDisplay", "442");
    Label1[2] = label1(FrameDisplay, 2, "449");
    Label1[6] = label1(FrameDisplay, 6, "453");
    Label1[0] = label1(FrameDisplay, 0, "454");
    varDispEIN = numberBox(FrameDisplay, "varDispEIN");
    auto* display = new QGridLayout(FrameDisplay);
    display->addWidget(Label1[2], 0, 1);
    display->addWidget(Label1[6], 1, 0);
    display->addWidget(varDispEIN, 1, 1);
    display->addWidget(Label1[0], 2, 0);
    auto* options = new QHBoxLayout;
    for (int i = 0; i < 2; ++i) {
        OptionBeleuchtung[i] =
            NamedOption(FrameDisplay, QStringLiteral("OptionBeleuchtung(%1)").arg(i), i == 0 ? "455" : "456");
        options->addWidget(OptionBeleuchtung[i]);
    }
    display->addLayout(options, 2, 1);
    display->setColumnStretch(0, 1);

    FrameDatum = frame("FrameDatum", "440");
    ComboDatumAllg = combo(FrameDatum, "ComboDatumAllg");
    ComboZeitDatumFormat = combo(FrameDatum, "ComboZeitDatumFormat");
    auto* date = new QGridLayout(FrameDatum);
    date->addWidget(label2(FrameDatum, 0, "444"), 0, 0);
    date->addWidget(ComboDatumAllg, 0, 1);
    date->addWidget(label2(FrameDatum, 1, "445"), 1, 0);
    date->addWidget(ComboZeitDatumFormat, 1, 1);
    date->setColumnStretch(0, 1);

    Frame1 = frame("Frame1", "443");
    ComboSprache = combo(Frame1, "ComboSprache");
    auto* language = new QGridLayout(Frame1);
    language->addWidget(label2(Frame1, 3, "457"), 0, 0);
    language->addWidget(ComboSprache, 0, 1);
    language->setColumnStretch(0, 1);

    ComDefault = button("ComDefault", "452");
    COMAbbruch = button("COMAbbruch", "450");
    COMOK = button("COMOK", "451");
    SetCausesValidation(*COMAbbruch, false);

    auto* page = new QVBoxLayout(this);
    for (QGroupBox* f : {FrameLeseZeit, FrameDisplay, FrameDatum, Frame1}) page->addWidget(f);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ComDefault);
    buttons->addStretch();
    buttons->addWidget(COMOK);
    buttons->addWidget(COMAbbruch);
    page->addStretch();
    page->addLayout(buttons);

    ConnectTrapped(this, ComboDatumAllg, &QComboBox::currentIndexChanged, &frmAllgemein::ComboDatumAllg_Click);
    // The user's choice of a menu language replaces the project's.
    connect(ComboSprache, &QComboBox::activated, this, [this] { keepLanguage_ = false; });
    ConnectTrapped(this, ComDefault, &QPushButton::clicked, &frmAllgemein::ComDefault_Click);
    ConnectTrapped(this, COMOK, &QPushButton::clicked, &frmAllgemein::COMOK_Click);
    connect(COMAbbruch, &QPushButton::clicked, this, &frmAllgemein::COMAbbruch_Click);

    Trap([this] { Form_Load(); });
}

void frmAllgemein::Form_Load() {
    SetFormTexts(*this);
    resize(std::max(TwipsToPixels(8535), sizeHint().width()), std::max(TwipsToPixels(5535), sizeHint().height()));
    const struct {
        std::int16_t low, high;
        QLineEdit* box;
    } ranges[3] = {{40, 100, varLTastZeit}, {15, 50, varSLTastZeit}, {0, 254, varDispEIN}};
    for (int i = 0; i < 3; ++i) {
        if (!TextBoxes[i]) TextBoxes[i] = new clsTextBox(this);
        TextBoxes[i]->theTextBox(ranges[i].low, ranges[i].high, ranges[i].box);
    }
    ComboDatumAllg->clear();
    for (int i = 0; i < 4; ++i) ComboDatumAllg->addItem(QText(459 + i), i);
    ComboZeitDatumFormat->clear();
    for (int i = 0; i < 2; ++i) ComboZeitDatumFormat->addItem(QText(463 + i), i);
    ComboSprache->clear();
    for (const LanguageFileRec& file : LanguageFileList) {
        ComboSprache->addItem(QString::fromStdString(file.Name), static_cast<int>(file.Number));
    }
    // Without any language file there is nothing to select; OK then keeps the project's language.
    if (ComboSprache->count() > 0) ComboSprache->setCurrentIndex(0);
}

void frmAllgemein::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) Trap([this] { Form_Activate(); });
}

void frmAllgemein::Form_Activate() {
    Zeiten = main_.mDali().Zeiten();
    SetListIndex(*ComboDatumAllg, Zeiten.ZeitDatumKonfig);
    SetListIndex(*ComboZeitDatumFormat, Zeiten.ZeitDatumFormat);
    varLTastZeit->setText(QString::number(Zeiten.LangeTastZeit));
    varSLTastZeit->setText(QString::number(Zeiten.SLangeTastZeit));
    varDispEIN->setText(QString::number(Zeiten.LCDOnZeit));
    const int language = ComboSprache->findText(QString::fromStdString(Zeiten.MenuSprache), Qt::MatchExactly);
    if (language >= 0) ComboSprache->setCurrentIndex(language);
    keepLanguage_ = language < 0 && !Zeiten.MenuSprache.empty();
    OptionBeleuchtung[Zeiten.ObjekteDatumZeitLCD[2].Active1 ? 0 : 1]->setChecked(true);
}

void frmAllgemein::ComboDatumAllg_Click() {
    const bool shown = ComboDatumAllg->currentIndex() != 0;
    ComboZeitDatumFormat->setVisible(shown);
    Label2[1]->setVisible(shown);
}

void frmAllgemein::ComDefault_Click() {
    ComboDatumAllg->setCurrentIndex(0);
    ComboZeitDatumFormat->setCurrentIndex(0);
    varLTastZeit->setText("60");
    varSLTastZeit->setText("20");
    varDispEIN->setText("30");
    OptionBeleuchtung[1]->setChecked(true);
}

void frmAllgemein::COMOK_Click() {
    // A box the user typed into and did not leave is checked as leaving it would.
    for (clsTextBox* t : TextBoxes) {
        if (t->Edited() && !t->ValidateLeaving()) return;
    }
    corlink::TypZeiten copy = Zeiten;
    copy.ZeitDatumKonfig = automation::toByte(static_cast<double>(ComboDatumAllg->currentIndex()));
    copy.ZeitDatumFormat = automation::toByte(static_cast<double>(ComboZeitDatumFormat->currentIndex()));
    copy.LangeTastZeit = ByteOf(varLTastZeit->text());
    copy.SLangeTastZeit = ByteOf(varSLTastZeit->text());
    copy.LCDOnZeit = ByteOf(varDispEIN->text());
    if (!keepLanguage_ && ComboSprache->currentIndex() >= 0) {
        copy.MenuSprache = ComboSprache->currentText().toStdString();
        copy.MenuSpracheID = automation::toByte(static_cast<double>(ComboSprache->currentData().toInt()));
    }
    const int konfig = copy.ZeitDatumKonfig;
    SetObjectActive(copy.ObjekteDatumZeitLCD[0], konfig == 1 || konfig == 3);
    SetObjectActive(copy.ObjekteDatumZeitLCD[1], konfig == 2 || konfig == 3);
    SetObjectActive(copy.ObjekteDatumZeitLCD[2], OptionBeleuchtung[0]->isChecked());
    main_.mDali().letZeiten(copy);
    Zeiten = copy;
    accept();
    main_.CreateObjektDataTree();
}

void frmAllgemein::COMAbbruch_Click() { reject(); }

}  // namespace corvane
