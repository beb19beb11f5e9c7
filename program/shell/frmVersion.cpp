#include "frmVersion.h"

#include "FormTexts.h"
#include "Messages.h"
#include "Seams.h"
#include "SmallDialogs.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace corvane {

QString ProgramVersionText() {
    return QStringLiteral("%1.%2.%3")
        .arg(CORVANE_VERSION_MAJOR)
        .arg(CORVANE_VERSION_MINOR)
        .arg(CORVANE_VERSION_REVISION);
}

frmVersion::frmVersion(QWidget* parent) : QDialog(parent) {
    PrepareDialog(*this, "frmVersion");
    Label1[0] = NamedLabel(this, "Label1(0)", "1");
    Label1[1] = NamedLabel(this, "Label1(1)", "501");
    varVersion = NamedLabel(this, "varVersion", "461");
    COMOK = NamedButton(this, "COMOK", "502");
    COMOK->setDefault(true);
    QFont font("MS Sans Serif", 12);
    font.setBold(true);
    for (QLabel* l : {Label1[0], Label1[1], varVersion}) l->setFont(font);

    auto* grid = new QGridLayout(this);
    grid->addWidget(Label1[0], 0, 0, 1, 2, Qt::AlignHCenter);
    grid->addWidget(Label1[1], 1, 0, Qt::AlignRight);
    grid->addWidget(varVersion, 1, 1, Qt::AlignLeft);
    grid->setRowStretch(2, 1);
    grid->addWidget(COMOK, 3, 0, 1, 2, Qt::AlignHCenter);

    connect(COMOK, &QPushButton::clicked, this, &frmVersion::COMOK_Click);
    Form_Load();
}

void frmVersion::Form_Load() {
    Trap([this] {
        SetFormTexts(*this);
        SetWindowTwips(*this, -1, -1, 6820, 2500);
        varVersion->setText(ProgramVersionText());
    });
}

void frmVersion::COMOK_Click() { close(); }

}  // namespace corvane
