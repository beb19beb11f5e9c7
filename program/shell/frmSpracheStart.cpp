#include "frmSpracheStart.h"

#include "Languages.h"
#include "ModDefinition.h"
#include "Seams.h"

#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <iterator>

namespace corvane {

frmSpracheStart::frmSpracheStart(QWidget* parent) : QDialog(parent) {
    setObjectName("frmSpracheStart");
    setAttribute(Qt::WA_DeleteOnClose, false);
    auto* layout = new QVBoxLayout(this);
    for (int i = 0; i < std::ssize(OptionSprache); ++i) {
        OptionSprache[i] = new QRadioButton(QString::fromUtf8(LanguageOfStartOption(i).StartCaption), this);
        OptionSprache[i]->setObjectName(QStringLiteral("OptionSprache(%1)").arg(i));
        layout->addWidget(OptionSprache[i]);
    }
    layout->addStretch();
    COMOK = new QPushButton("&OK", this);
    COMOK->setObjectName("COMOK");
    COMOK->setDefault(true);
    layout->addWidget(COMOK, 0, Qt::AlignHCenter);
    connect(COMOK, &QPushButton::clicked, this, &frmSpracheStart::COMOK_Click);
    Form_Load();
}

void frmSpracheStart::Form_Load() {
    SetWindowTwips(*this, 1, 100, 2740, 3555);
    // Only English and German (options 0 and 1) are offered.
    for (int i = 2; i < std::ssize(OptionSprache); ++i) OptionSprache[i]->setVisible(false);
    OptionSprache[0]->setChecked(true);
}

void frmSpracheStart::COMOK_Click() {
    for (int i = 0; i < std::ssize(OptionSprache); ++i) {
        if (OptionSprache[i]->isChecked()) {
            LanguageOffset = LanguageOfStartOption(i).Offset;
            SaveSetting(kSettingsApp, kSettingsSection, "Language", std::to_string(LanguageOffset));
            break;
        }
    }
    accept();
}

}  // namespace corvane
