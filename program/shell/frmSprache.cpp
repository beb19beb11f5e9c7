#include "frmSprache.h"

#include "ConnectTrapped.h"
#include "FormTexts.h"
#include "Messages.h"
#include "ModDefinition.h"
#include "Seams.h"
#include "SmallDialogs.h"

#include <QComboBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace corvane {

frmSprache::frmSprache(QWidget* parent) : QDialog(parent) {
    PrepareDialog(*this, "frmSprache");
    ComboSprache = new QComboBox(this);
    ComboSprache->setObjectName("ComboSprache");
    COMOK = NamedButton(this, "COMOK", "495");
    COMOK->setDefault(true);
    COMAbbruch = NamedButton(this, "COMAbbruch", "496");

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ComboSprache);
    layout->addStretch();
    layout->addLayout(ButtonRow({COMOK, COMAbbruch}));

    ConnectTrapped(this, COMOK, &QPushButton::clicked, &frmSprache::COMOK_Click);
    connect(COMAbbruch, &QPushButton::clicked, this, &frmSprache::COMAbbruch_Click);

    Form_Load();
    Trap([this] { Form_Activate(); });
}

void frmSprache::Form_Load() {
    SetFormTexts(*this);
    SetWindowTwips(*this, 1, 100, 3105, 2500);
}

void frmSprache::Form_Activate() {
    if (ComboSprache->count() > 0) return;
    int selected = 0;
    for (int i = 0; i < 2; ++i) {
        const LanguageRec& language = LanguageTable.at(static_cast<std::size_t>(i));
        ComboSprache->addItem(QString::fromStdString(language.Name), static_cast<int>(language.Offset));
        if (language.Offset == LanguageOffset) selected = i;
    }
    ComboSprache->setCurrentIndex(selected);
}

void frmSprache::COMOK_Click() {
    ShowMessage(1, MessageText(MessageTexts.MsgLanguageAtRestart, 911));
    if (ComboSprache->currentIndex() >= 0) {
        LanguageOffset = static_cast<std::int16_t>(ComboSprache->currentData().toInt());
        // Qt's texts and the locale stay in the start-up language, as the messages do.
        SaveSetting(kSettingsApp, kSettingsSection, "Language", std::to_string(LanguageOffset));
    }
    close();
}

void frmSprache::COMAbbruch_Click() { close(); }

}  // namespace corvane
