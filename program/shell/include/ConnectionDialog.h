// The bus driver's connection dialog, drawn by the program: it lists the interfaces the driver
// offers, lets the user edit the chosen interface's parameter string, and hands the choice back
// to the driver, which fills its connection record with it.
#pragma once

#include "connection_dialog.h"

#include <QDialog>

#include <optional>
#include <string>
#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace corvane {

class ConnectionDialog : public QDialog {
    Q_OBJECT
public:
    explicit ConnectionDialog(std::vector<busdriver::InterfaceChoice> offered, QWidget* parent = nullptr);

    QLabel* LabelInterfaces = nullptr;
    QListWidget* ListInterfaces = nullptr;  // one row per offered interface
    QLabel* LabelParameter = nullptr;
    QLineEdit* TextParameter = nullptr;  // the parameter string of the selected interface
    QPushButton* COMOK = nullptr;
    QPushButton* COMAbbruch = nullptr;

    // The selected interface with the parameter string as the box holds it; nothing while no
    // interface is selected.
    std::optional<busdriver::InterfaceChoice> Choice() const;

    // Takes the choice; parameters that the simulated line cannot take are refused with a
    // message naming the key and its range, and the dialog stays open.
    void COMOK_Click();

private:
    // A newly selected interface shows its parameters: the ones in use (EDIPara) for the
    // interface in use (EDI), the driver's defaults for any other.
    void ListInterfaces_Click();

    std::vector<busdriver::InterfaceChoice> offered_;
};

// Shows the dialog modally (ShowModal) with the caption, or text 474 when the caption is empty;
// returns the choice, or nothing when the user cancels.
std::optional<busdriver::InterfaceChoice> RunConnectionDialog(const std::string& caption,
                                                              const std::vector<busdriver::InterfaceChoice>& offered);

// Makes RunConnectionDialog the driver's connection dialog.
void InstallConnectionDialog();

}  // namespace corvane
