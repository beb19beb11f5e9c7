#include "Program.h"

#include "ConnectionDialog.h"
#include "Icons.h"
#include "QtMessageBox.h"
#include "frmStart.h"

#include <QApplication>

namespace corvane {

int RunCorvane(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Corvane");
    QApplication::setWindowIcon(ProgramIcon());
    InstallMessageBox();
    InstallConnectionDialog();
    auto* splash = new frmStart;
    splash->setAttribute(Qt::WA_DeleteOnClose);
    splash->show();
    return QApplication::exec();
}

}  // namespace corvane
