#include "FileDialog.h"

#include "Seams.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QLocale>
#include <QStringList>

namespace corvane {

namespace {

FileDialogRunner& runner() {
    static FileDialogRunner r;
    return r;
}

}  // namespace

void SetFileDialog(FileDialogRunner r) { runner() = std::move(r); }

QString ShowFileDialog(const FileDialogRequest& request) {
    return runner() ? runner()(request) : RunQtFileDialog(request);
}

QString QtNameFilter(const QString& filter) {
    const QStringList parts = filter.split('|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        filters << parts[i].trimmed() + " (" + parts[i + 1].trimmed() + ")";
    }
    return filters.join(";;");
}

namespace {

// The start folder, or, when it does not exist (yet), the nearest folder above it that does:
// QFileDialog would take a missing folder's name for the proposed file name.
QString existingFolder(const QString& folder) {
    if (folder.isEmpty()) return QDir::currentPath();
    QString path = QFileInfo(QDir::fromNativeSeparators(folder)).absoluteFilePath();
    while (!QFileInfo(path).isDir()) {
        const QString parent = QFileInfo(path).path();
        if (parent == path) return QDir::currentPath();
        path = parent;
    }
    return path;
}

// The file list's sizes and dates in the program's locale (the default QLocale, which the
// start-up sets to its language); the list itself writes them in the system's.
class ProgramLocaleColumns : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override {
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (role == Qt::DisplayRole && files && index.isValid()) {
            const QModelIndex source = mapToSource(index);
            if (index.column() == kSize && !files->isDir(source))
                return QLocale().formattedDataSize(files->size(source));
            if (index.column() == kDate) return QLocale().toString(files->lastModified(source), QLocale::ShortFormat);
        }
        return QIdentityProxyModel::data(index, role);
    }

private:
    static constexpr int kSize = 1;  // QFileSystemModel's columns: name, size, type, date
    static constexpr int kDate = 3;
};

}  // namespace

QString RunQtFileDialog(const FileDialogRequest& r) {
    QFileDialog dialog(QApplication::activeWindow(), QString(), existingFolder(r.initDir), QtNameFilter(r.filter));
    dialog.setObjectName("BrimcorDialog1");
    dialog.setProxyModel(new ProgramLocaleColumns(&dialog));
    dialog.setDirectory(existingFolder(r.initDir));
    dialog.setAcceptMode(r.mode == FileDialogRequest::SaveAs ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(r.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !r.confirmOverwrite);
    if (r.defaultExt.startsWith("*.")) dialog.setDefaultSuffix(r.defaultExt.mid(2));
    if (!r.fileName.isEmpty()) dialog.selectFile(r.fileName);
    if (ShowModal(dialog) != QDialog::Accepted) return {};
    const QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? QString() : chosen.front();
}

bool IsNetworkPath(const QString& fileName) {
    return fileName.contains(QLatin1String("\\\\")) || fileName.startsWith(QLatin1String("//"));
}

}  // namespace corvane
