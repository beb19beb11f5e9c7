// The group test dialog: the name of one DALI group, its ballasts set to a level, and the
// group's present level read back from the gateway. The group is the one of the tree node that
// the dialog is opened for.
#pragma once

#include "CommissioningDialog.h"
#include "Forms.h"
#include "corlink/Records.h"

#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;

namespace corvane {

class frmGruppe : public GatewayDialog {
    Q_OBJECT
public:
    frmGruppe(MainWindowServices& main, const std::optional<FormSubject>& node);

    // Controls.
    QLabel* LabelGrpDescription = nullptr;
    QLineEdit* GrpName = nullptr;
    QSlider* DimmValueSlider = nullptr;  // per cent, 0..100
    QLabel* GroupValue = nullptr;
    QLabel* EVGInfo[5] = {};  // only EVGInfo(4), the "%" beside GroupValue
    QPushButton* ComBlink = nullptr;
    QPushButton* Command1 = nullptr;
    QLabel* LabelBitteWarten = nullptr;
    QPushButton* ComClose = nullptr;
    FormTimer* TimerWAIT1 = nullptr;

    // The group the dialog works on: the Tag of the node it is opened for, read when the window
    // loads (0..15). The name is read from and stored into this group alone.
    std::optional<int> Group;
    // Working copy of the group's record; Close stores it with the name of the box.
    corlink::TypDaliEinzelGruppe GroupRecord;

    void Form_Load();
    // The address check (message 910 and the dialog unloads). Runs once, after the window is
    // first shown.
    void Form_Activate();
    // Command 8: the group's ballasts to the slider's level; the reply is not awaited.
    void ComBlink_Click();
    // Command 12; when it was sent, the timer polls for the level once a second.
    void Command1_Click();
    // A reply whose first byte is not 0xFF carries the level: slider and label take it and the
    // wait ends; a 0xFF reply or a failed poll waits for the next tick.
    void TimerWAIT1_Timer();
    void DimmValueSlider_Change();
    // Stores the name, rebuilds the project tree and unloads.
    void ComClose_Click();

private:
    int group() const;

    const std::optional<FormSubject> node_;
};

}  // namespace corvane
