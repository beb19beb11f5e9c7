// The scene programming dialog: which of the 16 DALI groups take part in one DALI scene of the
// gateway. Storing writes the project's whole scene table to the gateway and then tells the
// gateway to store the scene; recalling plays the scene the gateway holds on the line. The scene
// is the one of the tree node that the dialog is opened for.
#pragma once

#include "CommissioningDialog.h"
#include "Forms.h"
#include "corlink/Records.h"

#include <array>
#include <cstdint>
#include <optional>

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace corvane {

class frmScene : public GatewayDialog {
    Q_OBJECT
public:
    frmScene(MainWindowServices& main, const std::optional<FormSubject>& node);

    static constexpr int kGroups = 16;
    static constexpr int kScenes = 16;

    // Controls.
    QTreeWidget* ListView1 = nullptr;  // one checkable row per group, Tag 1..16
    QPushButton* ComSetScene = nullptr;
    QPushButton* ComRecallScene = nullptr;
    QLabel* LabelInfo = nullptr;
    QPushButton* ComClose = nullptr;
    FormTimer* TimerScene = nullptr;  // 3000 ms, nothing switches it on

    // The scene of the node the dialog is opened for (0..15), read when the window loads; none
    // when that node is not a scene, and the buttons that talk to the gateway stay off.
    std::optional<int> Scene;
    // The dialog's copies of the scenes; only the entry of Scene is used.
    std::array<corlink::TypDaliScene, kScenes> Scenes{};

    // Row 1..16 of the list.
    QTreeWidgetItem* Row(int row) const;

    // Group mask of the scene table, row 1 (DALI group 0) in the highest bit of Byte1, row 16
    // (group 15) in the lowest bit of Byte2.
    static std::uint16_t MaskBit(int row) { return static_cast<std::uint16_t>(0x8000u >> (row - 1)); }

    void Form_Load();
    // Mask from the rows, save question, address check, scene table to the gateway, command 6.
    void ComSetScene_Click();
    // Command 7: the gateway recalls the scene it holds.
    void ComRecallScene_Click();
    void TimerScene_Timer();
    void ComClose_Click();

private:
    // Waiting note off, close button on, timer off: the store is over.
    void endStore();

    const std::optional<FormSubject> node_;
};

}  // namespace corvane
