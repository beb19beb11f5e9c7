// The ballast assignment dialog: the project's 64 ballast slots as a tree; for the selected
// ballast blinking, its level, its name and its DALI group (programmed into the gateway and
// stored in the project once the gateway confirms it); the level of all ballasts at once.
#pragma once

#include "Ballasts.h"
#include "CommissioningDialog.h"
#include "KeyedTree.h"
#include "corlink/Records.h"

#include <optional>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QSlider;

namespace corvane {

class frmEVGAssign : public GatewayDialog {
    Q_OBJECT
public:
    explicit frmEVGAssign(MainWindowServices& main);

    // Controls.
    KeyedTree* TreeView1 = nullptr;
    QGroupBox* FrameEVGAll = nullptr;
    QSlider* SliderEVGAll = nullptr;
    QLabel* EVGInfoValueAll = nullptr;
    QPushButton* ComEVGAll = nullptr;
    QGroupBox* FrameEVG = nullptr;
    QLabel* EVGInfo[5] = {};         // name, long address, group, "%" (all), "%" (ballast)
    QLineEdit* EVGInfoText[2] = {};  // name, long address (display only)
    QComboBox* ComboGruppe = nullptr;
    QPushButton* InfoOK = nullptr;
    QLabel* LabelInfo = nullptr;
    QPushButton* ComBlink = nullptr;
    QPushButton* ComBlinkCancel = nullptr;
    QSlider* DimmValueSlider = nullptr;
    QLabel* EVGINfoValue = nullptr;
    QPushButton* ComEVGSet = nullptr;
    FormTimer* TimerEVGAssign = nullptr;
    QPushButton* ComClose = nullptr;
    FormTimer* TimerEVGBlink = nullptr;  // on from the start; toggles BlinkState, which nothing reads

    // Working copy of the project's ballasts, taken when the window loads.
    BallastTable BallastRecords{};
    // 1-based index of the node that the tree's rebuild selects.
    int SelectedBallastNode = 1;
    // 0 and 1 in turn, once a second.
    std::int16_t BlinkState = 0;

    void Form_Load();
    // The address check (message 910 and the dialog unloads), then the group list. Runs once,
    // after the window is first shown.
    void Form_Activate();
    // Root "EVGs", then for each slot its ballast node (coloured by its group byte) with the
    // long address below it: 129 nodes.
    void CreateEVGDataTree();
    void TreeView1_Click();
    void TreeView1_NodeClick(QTreeWidgetItem& node);
    void ComBlink_Click();
    void ComBlinkCancel_Click();
    void ComEVGSet_Click();
    void ComEVGAll_Click();
    // Command 5 for the selected ballast and group; the timer polls once, 1000 ms later.
    void InfoOK_Click();
    void TimerEVGAssign_Timer();
    void EVGInfoText_LostFocus(int index);
    void TimerEVGBlink_Timer();
    void ComClose_Click();

    // The ballast whose node is selected; none when the root or an address node is.
    std::optional<int> SelectedBallast() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The command of one button, sent with the guard; the result is not looked at.
    void sendOnly(const corlink::TypDaliCommand& command);
    // Before the window closes: a name still being typed is stored as the focus leaving the box
    // stores it, and an assignment awaiting its confirmation is polled now (stored if confirmed).
    void KeepWhatTheUserDid() override;

    // The assignment that waits for the gateway's confirmation.
    std::optional<corlink::TypDaliCommand> pending_;
};

}  // namespace corvane
