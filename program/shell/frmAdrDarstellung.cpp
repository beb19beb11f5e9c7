#include "frmAdrDarstellung.h"

#include "ConnectTrapped.h"
#include "FormTexts.h"
#include "Messages.h"
#include "ModDefinition.h"
#include "Seams.h"
#include "SmallDialogs.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace corvane {

frmAdrDarstellung::frmAdrDarstellung(QWidget* parent) : QDialog(parent) {
    PrepareDialog(*this, "frmAdrDarstellung");
    Frame2 = new QGroupBox(this);
    Frame2->setObjectName("Frame2");
    auto* options = new QVBoxLayout(Frame2);
    const char* const tags[2] = {"435", "436"};
    for (int i = 0; i < 2; ++i) {
        GrpSelection[i] = NamedOption(Frame2, QStringLiteral("GrpSelection(%1)").arg(i), tags[i]);
        options->addWidget(GrpSelection[i]);
    }
    COMOK = NamedButton(this, "COMOK", "437");
    COMOK->setDefault(true);
    COMAbbruch = NamedButton(this, "COMAbbruch", "438");

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Frame2);
    layout->addStretch();
    layout->addLayout(ButtonRow({COMOK, COMAbbruch}));

    ConnectTrapped(this, COMOK, &QPushButton::clicked, &frmAdrDarstellung::COMOK_Click);
    connect(COMAbbruch, &QPushButton::clicked, this, &frmAdrDarstellung::COMAbbruch_Click);
    Form_Load();
}

void frmAdrDarstellung::Form_Load() {
    Trap([this] {
        SetFormTexts(*this);
        SetWindowTwips(*this, -1, -1, 3450, 2730);
        if (ShowGrpAdr == 0 || ShowGrpAdr == 1) GrpSelection[ShowGrpAdr]->setChecked(true);
    });
}

void frmAdrDarstellung::COMOK_Click() {
    if (GrpSelection[0]->isChecked()) {
        ShowGrpAdr = 0;
    } else if (GrpSelection[1]->isChecked()) {
        ShowGrpAdr = 1;
    }
    close();
}

void frmAdrDarstellung::COMAbbruch_Click() { close(); }

}  // namespace corvane
