#include "SmallDialogs.h"

#include "FormTexts.h"
#include "Forms.h"
#include "frmAdrDarstellung.h"
#include "frmGAusw.h"
#include "frmProjektInfo.h"
#include "frmSchnittstelle.h"
#include "frmSprache.h"
#include "frmVersion.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace corvane {

void RegisterSmallDialogs() {
    RegisterForm("frmSprache", [](MainWindowServices&) { return new frmSprache; });
    RegisterForm("frmVersion", [](MainWindowServices&) { return new frmVersion; });
    RegisterForm("frmAdrDarstellung", [](MainWindowServices&) { return new frmAdrDarstellung; });
    RegisterForm("frmGAusw", [](MainWindowServices& main) { return new frmGAusw(main); });
    RegisterForm("frmSchnittstelle", [](MainWindowServices&) { return new frmSchnittstelle; });
    RegisterForm("frmProjektInfo", [](MainWindowServices& main) { return new frmProjektInfo(main); });
}

void PrepareDialog(QDialog& dialog, const char* name) {
    dialog.setObjectName(name);
    dialog.setAttribute(Qt::WA_DeleteOnClose);
}

namespace {
template <class Control>
Control* named(Control* c, const QString& name, const char* tag) {
    c->setObjectName(name);
    if (tag) SetTag(*c, tag);
    return c;
}
}  // namespace

QPushButton* NamedButton(QWidget* parent, const QString& name, const char* tag) {
    return named(new QPushButton(parent), name, tag);
}

QPushButton* CommandButton(QWidget* parent, const QString& name, const QString& tag) {
    QPushButton* b = NamedButton(parent, name, nullptr);
    SetTag(*b, tag);
    b->setAutoDefault(false);
    return b;
}

QLabel* NamedLabel(QWidget* parent, const QString& name, const char* tag) {
    return named(new QLabel(parent), name, tag);
}

QRadioButton* NamedOption(QWidget* parent, const QString& name, const char* tag) {
    return named(new QRadioButton(parent), name, tag);
}

QHBoxLayout* ButtonRow(std::initializer_list<QWidget*> buttons) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (QWidget* b : buttons) row->addWidget(b);
    return row;
}

}  // namespace corvane
