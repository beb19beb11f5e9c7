// The error log of the program: every error a window reports (Messages.h) is also logged with
// its number, source and description through the Qt logging category "corvane.errors", at the
// info level, which is off unless enabled: QT_LOGGING_RULES="corvane.errors.info=true".
#pragma once

#include <QLoggingCategory>

namespace corvane {

Q_DECLARE_LOGGING_CATEGORY(lcErrors)

// Sends the reported errors to lcErrors (SetErrorLog).
void InstallErrorLog();

}  // namespace corvane
