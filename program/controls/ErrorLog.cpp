#include "ErrorLog.h"

#include "Messages.h"

namespace corvane {

// Warnings and above are on by default; the errors go out at the info level below them, so a
// normal run prints nothing.
Q_LOGGING_CATEGORY(lcErrors, "corvane.errors", QtWarningMsg)

void InstallErrorLog() {
    SetErrorLog([](const ErrorRecord& error) {
        qCInfo(lcErrors).noquote() << QStringLiteral("error %1, source \"%2\": %3")
                                          .arg(error.number)
                                          .arg(QString::fromStdString(error.source),
                                               QString::fromStdString(error.description));
    });
}

}  // namespace corvane
