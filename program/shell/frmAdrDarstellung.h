// The group-address display style: two levels (ShowGrpAdr 0) or three (1).
#pragma once

#include <QDialog>

class QGroupBox;
class QPushButton;
class QRadioButton;

namespace corvane {

class frmAdrDarstellung : public QDialog {
    Q_OBJECT
public:
    explicit frmAdrDarstellung(QWidget* parent = nullptr);

    QGroupBox* Frame2 = nullptr;
    QRadioButton* GrpSelection[2] = {};  // two levels, three levels
    QPushButton* COMOK = nullptr;
    QPushButton* COMAbbruch = nullptr;

    // Selects the option of ShowGrpAdr; any other value selects neither.
    void Form_Load();
    // The selected option sets ShowGrpAdr; with none selected it stays.
    void COMOK_Click();
    void COMAbbruch_Click();
};

}  // namespace corvane
