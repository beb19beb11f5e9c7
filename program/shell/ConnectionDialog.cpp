#include "ConnectionDialog.h"

#include "FormTexts.h"
#include "Messages.h"
#include "ModDefinition.h"
#include "Seams.h"
#include "simulated_line.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace corvane {

namespace {

// The connection record holds at most 511 characters of parameters.
constexpr int kMaxParameterLength = 511;

bool sameInterface(const std::string& a, const std::string& b) {
    return QString::fromStdString(a).compare(QString::fromStdString(b), Qt::CaseInsensitive) == 0;
}

}  // namespace

ConnectionDialog::ConnectionDialog(std::vector<busdriver::InterfaceChoice> offered, QWidget* parent)
    : QDialog(parent), offered_(std::move(offered)) {
    setObjectName("ConnectionDialog");
    auto* layout = new QGridLayout(this);
    LabelInterfaces = new QLabel(this);
    LabelInterfaces->setObjectName("LabelInterfaces");
    SetTag(*LabelInterfaces, "475");
    ListInterfaces = new QListWidget(this);
    ListInterfaces->setObjectName("ListInterfaces");
    LabelParameter = new QLabel(this);
    LabelParameter->setObjectName("LabelParameter");
    SetTag(*LabelParameter, "476");
    TextParameter = new QLineEdit(this);
    TextParameter->setObjectName("TextParameter");
    TextParameter->setMaxLength(kMaxParameterLength);
    COMOK = new QPushButton(this);
    COMOK->setObjectName("COMOK");
    SetTag(*COMOK, "477");
    COMOK->setDefault(true);
    COMAbbruch = new QPushButton(this);
    COMAbbruch->setObjectName("COMAbbruch");
    SetTag(*COMAbbruch, "478");
    LabelInterfaces->setBuddy(ListInterfaces);
    LabelParameter->setBuddy(TextParameter);

    layout->addWidget(LabelInterfaces, 0, 0);
    layout->addWidget(ListInterfaces, 1, 0);
    layout->addWidget(LabelParameter, 2, 0);
    layout->addWidget(TextParameter, 3, 0);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(COMOK);
    buttons->addWidget(COMAbbruch);
    layout->addLayout(buttons, 4, 0);
    setTabOrder(ListInterfaces, TextParameter);
    setTabOrder(TextParameter, COMOK);
    setTabOrder(COMOK, COMAbbruch);

    SetFormTexts(*this);
    resize(TwipsToPixels(6000), TwipsToPixels(3600));

    int current = offered_.empty() ? -1 : 0;
    for (std::size_t i = 0; i < offered_.size(); ++i) {
        ListInterfaces->addItem(QString::fromStdString(offered_[i].name));
        if (sameInterface(offered_[i].interfaceId, EDI)) current = static_cast<int>(i);
    }
    connect(ListInterfaces, &QListWidget::currentRowChanged, this, [this] { ListInterfaces_Click(); });
    connect(ListInterfaces, &QListWidget::itemDoubleClicked, this, &ConnectionDialog::COMOK_Click);
    connect(COMOK, &QPushButton::clicked, this, &ConnectionDialog::COMOK_Click);
    connect(COMAbbruch, &QPushButton::clicked, this, &QDialog::reject);
    ListInterfaces->setCurrentRow(current);
    ListInterfaces_Click();
}

void ConnectionDialog::ListInterfaces_Click() {
    const int row = ListInterfaces->currentRow();
    COMOK->setEnabled(row >= 0);
    TextParameter->setEnabled(row >= 0);
    if (row < 0) {
        TextParameter->clear();
        return;
    }
    const busdriver::InterfaceChoice& choice = offered_[static_cast<std::size_t>(row)];
    TextParameter->setText(
        QString::fromStdString(sameInterface(choice.interfaceId, EDI) ? EDIPara : choice.parameters));
}

void ConnectionDialog::COMOK_Click() {
    const std::optional<busdriver::InterfaceChoice> choice = Choice();
    if (!choice) return;
    if (busdriver::selectsSimulatedLine(choice->interfaceId)) {
        if (const auto fault = busdriver::checkLineParameters(choice->parameters)) {
            const std::string range = fault->low.empty() ? "" : ": " + fault->low + "-" + fault->high;
            ShowMessage(1, MessageText(MessageTexts.MsgValueOutOfRange, 906) + " (" + fault->key + range + ")");
            TextParameter->setFocus();
            return;
        }
    }
    accept();
}

std::optional<busdriver::InterfaceChoice> ConnectionDialog::Choice() const {
    const int row = ListInterfaces->currentRow();
    if (row < 0 || row >= static_cast<int>(offered_.size())) return std::nullopt;
    busdriver::InterfaceChoice choice = offered_[static_cast<std::size_t>(row)];
    choice.parameters = TextParameter->text().toStdString();
    return choice;
}

std::optional<busdriver::InterfaceChoice> RunConnectionDialog(const std::string& caption,
                                                              const std::vector<busdriver::InterfaceChoice>& offered) {
    ConnectionDialog dialog(offered, QApplication::activeWindow());
    dialog.setWindowTitle(caption.empty() ? QText(474) : QString::fromStdString(caption));
    if (ShowModal(dialog) != QDialog::Accepted) return std::nullopt;
    return dialog.Choice();
}

void InstallConnectionDialog() { busdriver::setConnectionDialog(RunConnectionDialog); }

}  // namespace corvane
