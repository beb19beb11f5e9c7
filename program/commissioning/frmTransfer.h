// The download and upload dialogs: the project's ballast and scene tables written into the
// gateway, or read from it into the project, in one blocking transfer.
#pragma once

#include "CommissioningDialog.h"
#include "corlink/Records.h"

namespace corvane {

class TransferDialog : public RunDialog {
    Q_OBJECT
public:
    // Save question and address check, then the transfer; on success the header stamp and the
    // dialog closes, on failure text 880 and the dialog stays for another attempt.
    void ComUpLoad_Click();

protected:
    TransferDialog(const QString& name, MainWindowServices& main, corlink::TypLoadProc direction);

private:
    corlink::TypLoadProc direction_;
};

class frmDownload : public TransferDialog {
    Q_OBJECT
public:
    explicit frmDownload(MainWindowServices& main);
};

class frmUpload : public TransferDialog {
    Q_OBJECT
public:
    explicit frmUpload(MainWindowServices& main);
};

}  // namespace corvane
