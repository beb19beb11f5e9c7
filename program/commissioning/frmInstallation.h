// The new-installation and post-installation dialogs: one command to the gateway, a poll once
// a second until the gateway reports its search finished, the counts it reports, the end
// command, and the gateway's tables read into the project.
#pragma once

#include "CommissioningDialog.h"
#include "TransferSteps.h"
#include "corlink/Records.h"

#include <cstdint>

namespace corvane {

// What tells the two dialogs apart.
struct InstallationDesign {
    const char* name;
    int startTextId;  // the start button
    bool asksAssignmentsLost;
    bool captionPhysicalAddress;  // the physical-address dialog gets text 201 as its caption
    Reinit reinit;
    std::uint8_t command;  // 1 or 2
    int searchTextId;      // while the gateway searches
    int endingTextId;      // after the end command
    int endedTextId;       // after the read-back
    bool countsRemovedAndNew;
};

class InstallationDialog : public RunDialog {
    Q_OBJECT
public:
    QLabel* LabelInfo1 = nullptr;  // found (new installation) or removed ballasts
    QLabel* LabelInfo2 = nullptr;  // new ballasts (post-installation only)

    // Questions, address check, then the command; the timer polls from then on.
    void ComUpLoad_Click();
    // One poll; on the finished reply the counts, the end command, the read-back and the stamp.
    void TimerNeuinstallation_Timer();

protected:
    InstallationDialog(const InstallationDesign& design, MainWindowServices& main);

private:
    QLabel* countLabel(const char* name);
    void showCounts(const corlink::TypDaliCommand& reply);

    const InstallationDesign& design_;
    int ticks_ = 0;  // ticks of this run, held at the bar's maximum
};

class frmNeuinstallation : public InstallationDialog {
    Q_OBJECT
public:
    explicit frmNeuinstallation(MainWindowServices& main);
};

class frmNachinstallation : public InstallationDialog {
    Q_OBJECT
public:
    explicit frmNachinstallation(MainWindowServices& main);
};

}  // namespace corvane
