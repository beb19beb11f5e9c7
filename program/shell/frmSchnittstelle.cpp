#include "frmSchnittstelle.h"

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

namespace {

// The first checked option's number (0-based), or -1.
template <std::size_t N>
int chosen(QRadioButton* const (&options)[N]) {
    for (std::size_t i = 0; i < N; ++i) {
        if (options[i]->isChecked()) return static_cast<int>(i);
    }
    return -1;
}

}  // namespace

frmSchnittstelle::frmSchnittstelle(QWidget* parent) : QDialog(parent) {
    PrepareDialog(*this, "frmSchnittstelle");
    setWindowTitle("Schnittstellenparameter");
    Frame2 = new QGroupBox(this);
    Frame2->setObjectName("Frame2");
    auto* types = new QVBoxLayout(Frame2);
    const char* const typeTags[3] = {"466", "467", nullptr};
    for (int i = 0; i < 3; ++i) {
        TypeSelection[i] = NamedOption(Frame2, QStringLiteral("TypeSelection(%1)").arg(i), typeTags[i]);
        types->addWidget(TypeSelection[i]);
    }
    TypeSelection[2]->setText("USB");
    Frame1 = new QGroupBox(this);
    Frame1->setObjectName("Frame1");
    auto* ports = new QVBoxLayout(Frame1);
    const char* const portTags[4] = {"468", "469", "470", "471"};
    for (int i = 0; i < 4; ++i) {
        Selection[i] = NamedOption(Frame1, QStringLiteral("Selection(%1)").arg(i), portTags[i]);
        ports->addWidget(Selection[i]);
    }
    COMSchnittOK = NamedButton(this, "COMSchnittOK", "473");
    COMSchnittOK->setDefault(true);
    COMAbbruch = NamedButton(this, "COMAbbruch", "472");

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Frame2);
    layout->addWidget(Frame1);
    layout->addStretch();
    layout->addLayout(ButtonRow({COMSchnittOK, COMAbbruch}));

    connect(COMSchnittOK, &QPushButton::clicked, this, &frmSchnittstelle::COMSchnittOK_Click);
    connect(COMAbbruch, &QPushButton::clicked, this, &frmSchnittstelle::COMAbbruch_Click);
    Form_Load();
}

void frmSchnittstelle::Form_Load() {
    Trap([this] {
        SetFormTexts(*this);
        SetWindowTwips(*this, -1, -1, 3090, 4515);
        if (COM >= 1 && COM <= 4) Selection[COM - 1]->setChecked(true);
        if (COMTyp == 1 || COMTyp == 2) TypeSelection[COMTyp - 1]->setChecked(true);
    });
}

void frmSchnittstelle::COMSchnittOK_Click() {
    if (const int port = chosen(Selection); port >= 0) COM = static_cast<std::int16_t>(port + 1);
    if (const int type = chosen(TypeSelection); type >= 0) COMTyp = static_cast<std::int16_t>(type + 1);
    if (COMTyp == 3) COM = 0;
    close();
}

void frmSchnittstelle::COMAbbruch_Click() { close(); }

}  // namespace corvane
