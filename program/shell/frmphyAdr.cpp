#include "frmphyAdr.h"

#include "ConnectTrapped.h"
#include "FormTexts.h"
#include "Forms.h"
#include "MainWindowServices.h"
#include "Messages.h"
#include "ModDefinition.h"
#include "Seams.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace corvane {

frmphyAdr::frmphyAdr(MainWindowServices& main, QWidget* parent) : QDialog(parent), main_(main) {
    setObjectName("frmphyAdr");
    setAttribute(Qt::WA_DeleteOnClose);  // a dialog unloads itself when it closes
    setWindowTitle(QString::fromUtf8("Eingabe der physikalischen Adresse"));

    auto label = [this](int index, const char* tag) {
        Label1[index] = new QLabel(this);
        Label1[index]->setObjectName(QStringLiteral("Label1(%1)").arg(index));
        SetTag(*Label1[index], tag);
        return Label1[index];
    };
    auto infoBox = [this](const char* name, const char* design) {
        auto* box = new QLineEdit(design, this);
        box->setObjectName(name);
        box->setEnabled(false);
        return box;
    };
    TextphyAdr = new QLineEdit(this);
    TextphyAdr->setObjectName("TextphyAdr");
    TextphyAdr->installEventFilter(this);
    COMOK = new QPushButton(this);
    COMOK->setObjectName("COMOK");
    SetTag(*COMOK, "484");
    COMAbbruch = new QPushButton(this);
    COMAbbruch->setObjectName("COMAbbruch");
    SetTag(*COMAbbruch, "483");
    TextBestell = infoBox("TextBestell", "571104");
    TextFirmware = infoBox("TextFirmware", "1.0");

    auto* grid = new QGridLayout(this);
    grid->addWidget(label(0, "480"), 0, 0);
    grid->addWidget(TextphyAdr, 0, 1);
    grid->addWidget(label(2, "481"), 1, 0);
    grid->addWidget(TextBestell, 1, 1);
    grid->addWidget(label(1, "482"), 2, 0);
    grid->addWidget(TextFirmware, 2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(COMOK);
    buttons->addWidget(COMAbbruch);
    grid->addLayout(buttons, 3, 0, 1, 2);
    Label1[0]->setBuddy(TextphyAdr);
    setTabOrder(TextphyAdr, COMOK);
    setTabOrder(COMOK, COMAbbruch);
    TextphyAdr->setFocus();

    ConnectTrapped(this, COMOK, &QPushButton::clicked, &frmphyAdr::COMOK_Click);
    connect(COMAbbruch, &QPushButton::clicked, this, &frmphyAdr::COMAbbruch_Click);

    Form_Load();
    resize(TwipsToPixels(4300), sizeHint().height());
}

void frmphyAdr::Form_Load() {
    Trap([this] {
        SetFormTexts(*this);
        PhyConverter = std::make_unique<brimcorbin::Converter>();
        PhyHeader = main_.mDali().Header();
        TextBestell->setText(QString::fromStdString(PhyHeader.Bestellnummer));
        TextFirmware->setText(QString::fromStdString(PhyHeader.Version));
        TextphyAdr->setText(QString::fromStdString(PhyConverter->PhyAdrToText(PhyHeader.phyAdr)));
    });
}

void frmphyAdr::COMOK_Click() {
    const std::string text = TextphyAdr->text().toStdString();
    if (text == PhyHeader.phyAdrString) {
        close();
        return;
    }
    if (!PhyConverter) automation::raiseRuntime(automation::errObjectNotSet, "Corvane");
    PhyHeader.phyAdr = PhyConverter->TextToPhyAdr(text);
    PhyHeader.phyAdrString = PhyConverter->PhyAdrToText(PhyHeader.phyAdr);
    if (PhyHeader.phyAdr < 1) {
        if (ShowMessage(1, MessageText(MessageTexts.MsgEnterPhysAddress, 914)) == msgOK) {
            TextphyAdr->setFocus();
            TextphyAdr_GotFocus();
        }
        return;
    }
    main_.mDali().letHeader(PhyHeader);
    accept();
}

void frmphyAdr::COMAbbruch_Click() { close(); }

void frmphyAdr::TextphyAdr_GotFocus() { TextphyAdr->selectAll(); }

bool frmphyAdr::TextphyAdr_KeyPress(int key) {
    if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
    focusNextChild();
    return true;
}

bool frmphyAdr::eventFilter(QObject* watched, QEvent* event) {
    if (watched == TextphyAdr) {
        if (event->type() == QEvent::FocusIn) {
            TextphyAdr_GotFocus();
        } else if (event->type() == QEvent::KeyPress && TextphyAdr_KeyPress(static_cast<QKeyEvent*>(event)->key())) {
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void RegisterPhyAdrForm() {
    RegisterForm("frmphyAdr", [](MainWindowServices& main) { return new frmphyAdr(main); });
}

}  // namespace corvane
