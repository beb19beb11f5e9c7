#include "frmProjektInfo.h"

#include "DateText.h"
#include "FormTexts.h"
#include "MainWindowServices.h"
#include "Messages.h"
#include "Seams.h"
#include "SmallDialogs.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace corvane {

frmProjektInfo::frmProjektInfo(MainWindowServices& main, QWidget* parent) : QDialog(parent), main_(main) {
    PrepareDialog(*this, "frmProjektInfo");
    struct Row {
        int label;
        const char* tag;
        const char* box;
        QLineEdit** field;
    };
    const Row rows[7] = {{2, "290", "TextBestell", &TextBestell}, {1, "291", "TextFirmware", &TextFirmware},
                         {0, "292", "TextphyAdr", &TextphyAdr},   {4, "293", "TextDownload", &TextDownload},
                         {5, "294", "TextUpload", &TextUpload},   {6, "295", "TextDateiZugriff", &TextDateiZugriff},
                         {3, "296", "TextProjekt", &TextProjekt}};
    auto* grid = new QGridLayout(this);
    for (int r = 0; r < 7; ++r) {
        const Row& row = rows[r];
        Label1[row.label] = NamedLabel(this, QStringLiteral("Label1(%1)").arg(row.label), row.tag);
        *row.field = new QLineEdit(this);
        (*row.field)->setObjectName(row.box);
        (*row.field)->setEnabled(false);  // display only
        grid->addWidget(Label1[row.label], r, 0);
        grid->addWidget(*row.field, r, 1);
    }
    grid->setColumnStretch(1, 1);
    COMOK = NamedButton(this, "COMOK", "297");
    COMOK->setDefault(true);
    grid->setRowStretch(7, 1);
    grid->addLayout(ButtonRow({COMOK}), 8, 0, 1, 2);

    connect(COMOK, &QPushButton::clicked, this, &frmProjektInfo::COMOK_Click);
    Form_Load();
}

void frmProjektInfo::Form_Load() {
    Trap([this] {
        SetFormTexts(*this);
        SetWindowTwips(*this, -1, -1, 6615, 4665);
        const corlink::TypHeader h = main_.mDali().Header();
        const auto text = [](QLineEdit* box, const std::string& value) { box->setText(QString::fromStdString(value)); };
        text(TextBestell, h.Bestellnummer);
        text(TextFirmware, h.Version);
        text(TextphyAdr, h.phyAdrString);
        text(TextDownload, GeneralDate(h.LetzterDownload));
        text(TextUpload, GeneralDate(h.LetzterUpload));
        text(TextDateiZugriff, GeneralDate(h.LetzterZugriff));
        text(TextProjekt, h.DateiName);
    });
}

void frmProjektInfo::COMOK_Click() { close(); }

}  // namespace corvane
