// The batch print dialog: a drive, a folder and a name pattern choose project files; each
// selected file is opened into the main window's project and printed on the printer.
// Registered as "frmPrint"; it unloads itself when it closes.
#pragma once

#include <QDialog>
#include <QIcon>
#include <QListWidget>
#include <QString>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace corvane {

// A folder list: the folders from the root down to Path, then Path's subfolders. A click or a
// move with the keys picks a folder (Click), a double click opens it as the new Path.
class DirListBox : public QListWidget {
    Q_OBJECT
public:
    explicit DirListBox(QWidget* parent = nullptr);
    QString Path() const { return path_; }
    // Shows folder path; a folder that does not exist raises error 76 and leaves the list.
    void SetPath(const QString& path);
    void Refresh();
    // The folder of a list entry.
    static QString FolderOf(const QListWidgetItem& item);

signals:
    void Click(QListWidgetItem* item);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QString path_;
};

// A file list (invisible in the dialog): the files of Path that match Pattern, by name; hidden
// files are not listed.
class FileListBox : public QListWidget {
    Q_OBJECT
public:
    explicit FileListBox(QWidget* parent = nullptr);
    QString Path;
    QString Pattern = "*.bts";
    // Searches Path with Pattern again; a folder that does not exist raises error 76.
    void Refresh();
};

class MainWindowServices;

class frmPrint : public QDialog {
    Q_OBJECT
public:
    explicit frmPrint(MainWindowServices& main, QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;
    QLineEdit* Text1 = nullptr;
    QPushButton* ComSelect = nullptr;
    DirListBox* Dir1 = nullptr;
    QListWidget* ListView1 = nullptr;
    QComboBox* Drive1 = nullptr;
    QPushButton* COMAbbruch = nullptr;
    QPushButton* ComDrucken = nullptr;
    FileListBox* File1 = nullptr;
    QIcon ImageList1;  // the one file image of the list entries

    // Texts, size, the folder list at DefaultPath and the files found there. An error is
    // reported and ends the loading; the lists then show what was filled.
    void Form_Load();
    // The folder list moves to the chosen drive; the files stay those of the folder shown before.
    void Drive1_Change();
    // The files of the clicked folder.
    void Dir1_Click(const QListWidgetItem& item);
    // The pattern in the folder searched so far: Text1 as typed when it has an extension,
    // otherwise followed by ".bts".
    void ComSelect_Click();
    // Opens and prints every selected file in list order, after the save question for the project
    // these files replace (Cancel ends the run). A file whose model is refused ends the run; a
    // file that cannot be read is reported and skipped.
    void ComDrucken_Click();
    void COMAbbruch_Click();

protected:
    // Enter in the folder or the file list does nothing (no button's click, which would
    // search again and lose the selection).
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // File1 searched again; its files become the entries of ListView1.
    void FillList(bool clear);

    MainWindowServices& main_;
};

// Registers frmPrint in the window registry and installs the main window's print command.
void RegisterPrintout();

}  // namespace corvane
