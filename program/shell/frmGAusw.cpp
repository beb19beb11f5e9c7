#include "frmGAusw.h"

#include "ConnectTrapped.h"
#include "DeviceSelection.h"
#include "FormTexts.h"
#include "MainWindowServices.h"
#include "Messages.h"
#include "Seams.h"
#include "SmallDialogs.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace corvane {

frmGAusw::frmGAusw(MainWindowServices& main, QWidget* parent) : QDialog(parent), main_(main) {
    PrepareDialog(*this, "frmGAusw");
    setWindowTitle(QString::fromUtf8("Gerät auswählen"));
    Label1[0] = NamedLabel(this, "Label1(0)", "430");
    Label1[1] = NamedLabel(this, "Label1(1)", "431");
    ComboBestellnummer = new QComboBox(this);
    ComboBestellnummer->setObjectName("ComboBestellnummer");
    ComboFirmware = new QComboBox(this);
    ComboFirmware->setObjectName("ComboFirmware");
    COMOK = NamedButton(this, "COMOK", "433");
    COMOK->setDefault(true);
    ComZurueck = NamedButton(this, "ComZurueck", "432");

    auto* grid = new QGridLayout(this);
    grid->addWidget(Label1[0], 0, 0);
    grid->addWidget(ComboBestellnummer, 0, 1);
    grid->addWidget(Label1[1], 1, 0);
    grid->addWidget(ComboFirmware, 1, 1);
    grid->setRowStretch(2, 1);
    grid->addLayout(ButtonRow({COMOK, ComZurueck}), 3, 0, 1, 2);
    grid->setColumnStretch(1, 1);

    ConnectTrapped(this, ComboBestellnummer, &QComboBox::currentIndexChanged, &frmGAusw::ComboBestellnummer_Click);
    ConnectTrapped(this, COMOK, &QPushButton::clicked, &frmGAusw::COMOK_Click);
    connect(ComZurueck, &QPushButton::clicked, this, &frmGAusw::ComZurueck_Click);
    Form_Load();
}

void frmGAusw::Form_Load() {
    Trap([this] {
        SetFormTexts(*this);
        SetWindowTwips(*this, -1, -1, 4700, 2700);
        // The table's last entry is an empty end entry.
        const QSignalBlocker quiet(ComboBestellnummer);
        for (std::int32_t i = DeviceTable.lbound(); i <= DeviceTable.ubound() - 1; ++i) {
            ComboBestellnummer->addItem(QString::fromStdString(DeviceTable(i).OrderNo), static_cast<int>(i));
        }
        ComboBestellnummer->setCurrentIndex(0);
    });
    Trap([this] { ComboBestellnummer_Click(); });
}

void frmGAusw::ComboBestellnummer_Click() {
    ComboFirmware->clear();
    if (ComboBestellnummer->currentIndex() < 0) return;
    // The firmware list's last slot is never filled.
    const DeviceRec& model = DeviceTable(ComboBestellnummer->currentData().toInt());
    for (std::int32_t i = model.Firmware.lbound(); i <= model.Firmware.ubound() - 1; ++i) {
        ComboFirmware->addItem(QString::fromStdString(model.Firmware(i)));
    }
    ComboFirmware->setCurrentIndex(0);
}

void frmGAusw::COMOK_Click() {
    // Starting afresh discards the open project: unsaved changes are offered for saving first.
    if (!main_.AskToSave()) return;
    const corlink::TypHeader header =
        main_.FreshHeader(ComboBestellnummer->currentText().toStdString(), ComboFirmware->currentText().toStdString());
    if (!main_.StartAfresh(header, ProjectDocument::Sizing::IniInterface)) return;
    close();
}

void frmGAusw::ComZurueck_Click() { close(); }

}  // namespace corvane
