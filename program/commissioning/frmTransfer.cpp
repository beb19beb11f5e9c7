#include "frmTransfer.h"

#include "GatewayCommands.h"
#include "ModDefinition.h"
#include "TransferSteps.h"
#include "corlink/clsOrvekDali.h"

#include <QProgressBar>
#include <QPushButton>

namespace corvane {

TransferDialog::TransferDialog(const QString& name, corlink::TypLoadProc direction)
    // The dialogs carry the installation dialogs' timer (5000 ms); nothing switches it on.
    : RunDialog(name, direction == corlink::pdDownLoad ? 505 : 506, 5000), direction_(direction) {
    ConnectRun([this] { ComUpLoad_Click(); }, [] {});
    Form_Load();
}

void TransferDialog::ComUpLoad_Click() {
    if (!AskToSaveChanges()) return;
    if (!CheckPhysicalAddress(false)) return;
    BeginRun();
    const bool download = direction_ == corlink::pdDownLoad;
    SetInfo(download ? 736 : 719);
    SetProgress(ProgressNeuinstallation->maximum() - 20);
    // An upload re-initialises the project only once the gateway's tables have been read.
    const std::int16_t result = Call([download] {
        return download ? Project().StartDownUpLoad(corlink::pdDownLoad, EDI, EDIPara, LogFlag())
                        : ReadGatewayIntoProject(Reinit::KeepTexts);
    });
    if (result < 0) {
        ShowFailure();
        EndRun();
        return;
    }
    EndRun();
    StampHeader();
    accept();
}

frmDownload::frmDownload() : TransferDialog("frmDownload", corlink::pdDownLoad) {}

frmUpload::frmUpload() : TransferDialog("frmUpload", corlink::pdupLoad) {}

}  // namespace corvane
