// The group assignment dialog: the project's ballasts as a check-box list for one DALI group.
// Ticking and unticking changes a working copy only; the batch programs every changed ballast
// into the gateway and stores each one in the project as soon as the gateway confirms it.
#pragma once

#include "Ballasts.h"
#include "CommissioningDialog.h"
#include "KeyedTree.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace corvane {

class frmGrpAssign : public GatewayDialog {
    Q_OBJECT
public:
    explicit frmGrpAssign(MainWindowServices& main);

    // Controls.
    QComboBox* ComboGruppe = nullptr;  // groups 1..16, item data 0..15
    KeyedTree* TreeView1 = nullptr;    // nodes keyed "5N" / "5U", tagged with the ballast's slot
    QPushButton* InfoOK = nullptr;
    QPushButton* ComClose = nullptr;
    QLabel* LabelInfo = nullptr;
    QLabel* Label1 = nullptr;
    FormTimer* TimerEVGAssign = nullptr;  // never enabled: the batch polls right after each send

    // Working copy of the project's ballasts, taken when the window loads; ticks change it.
    BallastTable BallastRecords{};

    void Form_Load();
    // The address check (message 910 and the dialog unloads), then the 16 groups with the first
    // one chosen. Runs once, after the window is first shown.
    void Form_Activate();
    // One node per filled slot, ticked when the project has the ballast in the chosen group; all
    // keys back to "N".
    void CreateEVGDataTree();
    // The boxes show the project's assignment to the chosen group; pending changes stay.
    void ComboGruppe_Click();
    // A user's tick: the copy takes the chosen group (unticked: no group), the key turns "U".
    void TreeView1_NodeCheck(QTreeWidgetItem& node);
    // Programs every ballast marked "U" whose copy differs from the project, one after the other.
    void InfoOK_Click();
    void ComClose_Click();

    // True while the batch runs; the list, the group choice and the buttons are off meanwhile.
    bool BatchRunning() const { return batchRunning_; }

private:
    void setBatchRunning(bool running);

    bool batchRunning_ = false;
};

}  // namespace corvane
