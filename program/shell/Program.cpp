#include "Program.h"

#include "ConnectionDialog.h"
#include "ErrorLog.h"
#include "Icons.h"
#include "QtMessageBox.h"
#include "frmStart.h"

#include <QApplication>

namespace corvane {

void PrepareApplication() {
    QApplication::setApplicationName("Corvane");
    QApplication::setWindowIcon(ProgramIcon());
    InstallMessageBox();
    InstallErrorLog();
    InstallConnectionDialog();
}

frmStart* ShowSplash() {
    auto* splash = new frmStart;
    splash->setAttribute(Qt::WA_DeleteOnClose);
    splash->show();
    return splash;
}

int RunCorvane(int argc, char** argv) {
    QApplication app(argc, argv);
    PrepareApplication();
    ShowSplash();
    return QApplication::exec();
}

}  // namespace corvane
