#include "frmTransfer.h"

#include "MainWindowServices.h"
#include "ModDefinition.h"
#include "TransferSteps.h"
#include "corlink/clsOrvekDali.h"

#include <QProgressBar>
#include <QPushButton>

namespace corvane {

TransferDialog::TransferDialog(const QString& name, MainWindowServices& main, corlink::TypLoadProc direction)
    // The dialogs carry the installation dialogs' timer (5000 ms); nothing switches it on.
    : RunDialog(name, main, direction == corlink::pdDownLoad ? 505 : 506, 5000), direction_(direction) {
    ConnectRun([this] { ComUpLoad_Click(); }, [] {});
    Form_Load();
}

void TransferDialog::ComUpLoad_Click() {
    if (!Main().AskToSave()) return;
    if (!CheckPhysicalAddress(Main(), false)) return;
    BeginRun();
    const bool download = direction_ == corlink::pdDownLoad;
    SetInfo(download ? 736 : 719);
    SetProgress(ProgressNeuinstallation->maximum() - 20);
    // An upload re-initialises the project only once the gateway's tables have been read.
    const std::int16_t result = Call([this, download] {
        return download ? Project().StartDownUpLoad(corlink::pdDownLoad, EDI, EDIPara, Main().LogFileFlag())
                        : ReadGatewayIntoProject(Main(), Reinit::KeepTexts);
    });
    if (result < 0) {
        ShowFailure();
        EndRun();
        return;
    }
    EndRun();
    StampHeader(Main());
    accept();
}

frmDownload::frmDownload(MainWindowServices& main) : TransferDialog("frmDownload", main, corlink::pdDownLoad) {}

frmUpload::frmUpload(MainWindowServices& main) : TransferDialog("frmUpload", main, corlink::pdupLoad) {}

}  // namespace corvane
