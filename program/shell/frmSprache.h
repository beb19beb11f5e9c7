// The language dialog of the menu: German or English by name, the language in force
// preselected; the choice takes effect at the next start (message 911) and is stored at once.
#pragma once

#include <QDialog>

class QComboBox;
class QPushButton;

namespace corvane {

class frmSprache : public QDialog {
    Q_OBJECT
public:
    explicit frmSprache(QWidget* parent = nullptr);

    QComboBox* ComboSprache = nullptr;  // item data: the language offset
    QPushButton* COMOK = nullptr;       // default button (Enter)
    QPushButton* COMAbbruch = nullptr;  // cancel button (Escape)

    void Form_Load();
    // Fills the list with the first two languages of LanguageTable and selects the one in force,
    // else "German". Runs once: the list never holds an entry twice.
    void Form_Activate();
    // Message 911, then LanguageOffset and the setting "Language" take the chosen offset.
    void COMOK_Click();
    void COMAbbruch_Click();
};

}  // namespace corvane
