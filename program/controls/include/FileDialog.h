// The project file dialogs (open and save as) behind a seam: the program shows a QFileDialog,
// tests install a runner that plays the user and returns the chosen name or a cancel.
#pragma once

#include <QString>

#include <functional>

namespace corvane {

struct FileDialogRequest {
    enum Mode { Open, SaveAs };
    Mode mode = Open;
    QString filter;                 // "description |pattern" pairs separated by "|"
    QString initDir;                // start folder
    QString fileName;               // proposed name ("" for none)
    QString defaultExt;             // "*.dal": added to a typed name without extension (save)
    bool mustExist = false;         // only existing files can be chosen (open)
    bool confirmOverwrite = false;  // an existing file is replaced only after a question (save)
};

// Shows the dialog and returns the chosen file name, "" when the user cancels.
using FileDialogRunner = std::function<QString(const FileDialogRequest&)>;
void SetFileDialog(FileDialogRunner runner);  // an empty runner restores the QFileDialog
QString ShowFileDialog(const FileDialogRequest& request);

// The QFileDialog for a request, run through the modal seam (ShowModal).
QString RunQtFileDialog(const FileDialogRequest& request);

// "DALI Files |*.dal" as QFileDialog's name filters ("DALI Files (*.dal)").
QString QtNameFilter(const QString& filter);

// A network path ("\\server\share\..." or "//server/share/..."): the project folder setting
// does not follow files chosen there.
bool IsNetworkPath(const QString& fileName);

}  // namespace corvane
