#include "frmInstallation.h"

#include "FormTexts.h"
#include "GatewayCommands.h"
#include "MainWindowServices.h"

#include <QFont>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace corvane {

namespace {

const InstallationDesign kNew{"frmNeuinstallation", 703, true, true, Reinit::NewProject,
                              cmdNewInstallation,   705, 708,  709,  false};
const InstallationDesign kPost{"frmNachinstallation", 704, false, false, Reinit::KeepTexts,
                               cmdPostInstallation,   714, 715,   716,   true};

corlink::TypDaliCommand searchCommand(const InstallationDesign& d) { return {d.command, 0, 0}; }

}  // namespace

InstallationDialog::InstallationDialog(const InstallationDesign& design, MainWindowServices& main)
    : RunDialog(design.name, main, design.startTextId, 1000), design_(design) {
    LabelInfo1 = countLabel("LabelInfo1");
    if (design.countsRemovedAndNew) LabelInfo2 = countLabel("LabelInfo2");
    ConnectRun([this] { ComUpLoad_Click(); }, [this] { TimerNeuinstallation_Timer(); });
    Form_Load();
}

QLabel* InstallationDialog::countLabel(const char* name) {
    auto* label = new QLabel(this);
    label->setObjectName(name);
    QFont bold("Arial", 9);
    bold.setBold(true);
    label->setFont(bold);
    Lines()->addWidget(label);
    return label;
}

void InstallationDialog::ComUpLoad_Click() {
    if (design_.asksAssignmentsLost && !AskAssignmentsLost()) return;
    if (!Main().AskToSave()) return;
    if (!CheckPhysicalAddress(Main(), design_.captionPhysicalAddress)) return;
    // The project is re-initialised only when the gateway's tables have been read (the end of
    // the run), so an abandoned or failed run leaves it as it was.
    BeginRun();
    ticks_ = 0;
    SetInfo(design_.searchTextId);
    SetProgress(ProgressNeuinstallation->maximum() - 20);
    if (Call([this] { return SendDaliCmd(Main(), searchCommand(design_)); }) < 0) {
        ShowFailure();
        EndRun();
        return;
    }
    TimerNeuinstallation->setEnabled(true);
}

void InstallationDialog::TimerNeuinstallation_Timer() {
    const int max = ProgressNeuinstallation->maximum();
    ticks_ = std::min(ticks_ + 1, max);
    SetProgress(max - 15);
    if (Call([this] { return PollDaliCmd(Main(), searchCommand(design_)); }) < 0) {
        // The timer goes on: the next tick polls again.
        ShowFailure();
        return;
    }
    SetProgress(ticks_);
    const corlink::TypDaliCommand reply = DaliReply(Main());
    if (!IsFinished(reply)) return;

    SetProgress(max - 5);
    SetInfo(706);
    showCounts(reply);
    TimerNeuinstallation->setEnabled(false);
    if (Call([this] { return SendDaliCmd(Main(), CmdEnd()); }) < 0) {
        ShowFailure();
        EndRun();
        return;
    }
    SetProgress(max);
    SetInfo(design_.endingTextId);
    if (Call([this] { return ReadGatewayIntoProject(Main(), design_.reinit); }) < 0) {
        ShowFailure();
        EndRun();
        return;
    }
    SetInfo(design_.endedTextId);
    StampHeader(Main());
    EndRun();
}

void InstallationDialog::showCounts(const corlink::TypDaliCommand& reply) {
    if (design_.countsRemovedAndNew) {
        LabelInfo1->setText(QText(717) + ": " + QString::number(reply.Byte2));
        LabelInfo2->setText(QText(718) + ": " + QString::number(reply.Byte3));
    } else {
        LabelInfo1->setText(QText(707) + ": " + QString::number(reply.Byte2));
    }
}

frmNeuinstallation::frmNeuinstallation(MainWindowServices& main) : InstallationDialog(kNew, main) {}

frmNachinstallation::frmNachinstallation(MainWindowServices& main) : InstallationDialog(kPost, main) {}

}  // namespace corvane
