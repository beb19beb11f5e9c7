#include "frmPrint.h"

#include "ConnectTrapped.h"
#include "FormTexts.h"
#include "Forms.h"
#include "InputClasses.h"
#include "MainWindowServices.h"
#include "Messages.h"
#include "ModDefinition.h"
#include "ModPrinter.h"
#include "Seams.h"
#include "automation_error.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

#include <algorithm>

namespace corvane {

namespace {

constexpr int kFolderRole = Qt::UserRole;

void requireFolder(const QString& path) {
    if (path.isEmpty() || !QFileInfo(path).isDir()) automation::raiseRuntime(automation::errPathNotFound, "Corvane");
}

}  // namespace

// ---- folder and file lists ----------------------------------------------------------------

DirListBox::DirListBox(QWidget* parent) : QListWidget(parent) {
    connect(this, &QListWidget::itemClicked, this, &DirListBox::Click);
    connect(this, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { Trap([&] { SetPath(FolderOf(*item)); }); });
}

void DirListBox::keyPressEvent(QKeyEvent* event) {
    QListWidgetItem* before = currentItem();
    QListWidget::keyPressEvent(event);
    if (currentItem() && currentItem() != before) emit Click(currentItem());
}

QString DirListBox::FolderOf(const QListWidgetItem& item) { return item.data(kFolderRole).toString(); }

void DirListBox::SetPath(const QString& path) {
    requireFolder(path);
    path_ = QDir(path).absolutePath();
    Refresh();
}

void DirListBox::Refresh() {
    clear();
    QStringList chain;
    for (QDir d(path_);;) {
        chain.prepend(d.absolutePath());
        if (!d.cdUp()) break;
    }
    auto add = [this](const QString& folder, int level) {
        const QString name = QDir(folder).isRoot() ? QDir::toNativeSeparators(folder) : QDir(folder).dirName();
        auto* item = new QListWidgetItem(QString(level * 2, ' ') + name, this);
        item->setData(kFolderRole, folder);
        item->setIcon(style()->standardIcon(QStyle::SP_DirIcon));
        return item;
    };
    int level = 0;
    for (const QString& folder : chain) setCurrentItem(add(folder, level++));
    const QDir current(path_);
    for (const QFileInfo& sub :
         current.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)) {
        add(sub.absoluteFilePath(), level);
    }
}

FileListBox::FileListBox(QWidget* parent) : QListWidget(parent) {}

void FileListBox::Refresh() {
    clear();
    requireFolder(Path);
    QDir folder(Path);
    folder.setNameFilters({Pattern});
    folder.setFilter(QDir::Files);
    folder.setSorting(QDir::Name | QDir::IgnoreCase);
    addItems(folder.entryList());
}

// ---- the dialog ---------------------------------------------------------------------------

frmPrint::frmPrint(MainWindowServices& main, QWidget* parent) : QDialog(parent), main_(main) {
    setObjectName("frmPrint");
    setAttribute(Qt::WA_DeleteOnClose);

    auto place = [](QWidget* w, const char* name, int left, int top, int width, int height) {
        w->setObjectName(name);
        w->setGeometry(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height));
    };
    auto button = [this, &place](const char* name, const char* tag, int left, int top) {
        auto* b = new QPushButton(this);
        place(b, name, left, top, 1455, 375);
        SetTag(*b, tag);
        return b;
    };
    Label1 = new QLabel(this);
    place(Label1, "Label1", 720, 240, 2535, 255);
    SetTag(*Label1, "524");
    Text1 = new QLineEdit("*", this);
    place(Text1, "Text1", 3360, 240, 1455, 375);
    ComSelect = button("ComSelect", "521", 5040, 240);
    Dir1 = new DirListBox(this);
    place(Dir1, "Dir1", 240, 720, 2535, 3690);
    ListView1 = new QListWidget(this);
    place(ListView1, "ListView1", 2880, 720, 4815, 3735);
    ListView1->setViewMode(QListView::IconMode);
    ListView1->setResizeMode(QListView::Adjust);
    ListView1->setMovement(QListView::Static);
    ListView1->setWordWrap(true);
    ListView1->setIconSize(QSize(32, 32));
    ListView1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    Drive1 = new QComboBox(this);
    place(Drive1, "Drive1", 240, 4440, 2535, 315);
    for (const QFileInfo& drive : QDir::drives()) Drive1->addItem(QDir::toNativeSeparators(drive.absoluteFilePath()));
    COMAbbruch = button("COMAbbruch", "522", 4680, 4800);
    ComDrucken = button("ComDrucken", "523", 6240, 4800);
    File1 = new FileListBox(this);
    place(File1, "File1", 2880, 1560, 4215, 870);
    File1->setVisible(false);
    ImageList1 = style()->standardIcon(QStyle::SP_FileIcon);
    setTabOrder(Text1, ComSelect);
    Dir1->installEventFilter(this);
    ListView1->installEventFilter(this);

    ConnectTrapped(this, Drive1, &QComboBox::activated, &frmPrint::Drive1_Change);
    connect(Dir1, &DirListBox::Click, this, [this](QListWidgetItem* item) { Trap([&] { Dir1_Click(*item); }); });
    ConnectTrapped(this, ComSelect, &QPushButton::clicked, &frmPrint::ComSelect_Click);
    ConnectTrapped(this, ComDrucken, &QPushButton::clicked, &frmPrint::ComDrucken_Click);
    connect(COMAbbruch, &QPushButton::clicked, this, &frmPrint::COMAbbruch_Click);

    Form_Load();
}

void frmPrint::Form_Load() {
    Trap([this] {
        SetFormTexts(*this);
        // A caption longer than its place grows to the left, so it stays beside the pattern box.
        const QRect label = Label1->geometry();
        const int needed = Label1->sizeHint().width();
        if (needed > label.width()) {
            const int left = std::max(TwipsToPixels(60), label.right() + 1 - needed);
            Label1->setGeometry(left, label.y(), label.right() + 1 - left, label.height());
        }
        SetWindowTwips(*this, -1, -1, 8010, 5790);
        Dir1->SetPath(QString::fromStdString(DefaultPath));
        // The drive list shows the drive of the start folder.
        for (int i = 0; i < Drive1->count(); ++i) {
            if (Dir1->Path().startsWith(QDir::fromNativeSeparators(Drive1->itemText(i)))) Drive1->setCurrentIndex(i);
        }
        File1->Path = Dir1->Path();
        FillList(false);
    });
}

void frmPrint::FillList(bool clear) {
    File1->Refresh();
    if (clear) ListView1->clear();
    for (int i = 0; i < File1->count(); ++i) new QListWidgetItem(ImageList1, File1->item(i)->text(), ListView1);
}

void frmPrint::Drive1_Change() { Dir1->SetPath(QDir::fromNativeSeparators(Drive1->currentText())); }

void frmPrint::Dir1_Click(const QListWidgetItem& item) {
    File1->Path = DirListBox::FolderOf(item);
    FillList(true);
}

void frmPrint::ComSelect_Click() {
    // A typed extension ("*.dal") is kept; a bare name gets the default one.
    const QString typed = Text1->text();
    File1->Pattern = typed.contains('.') ? typed : typed + ".bts";
    FillList(true);
}

void frmPrint::ComDrucken_Click() {
    if (ListView1->selectedItems().isEmpty()) return;
    // The files replace the open project: its unsaved changes first.
    if (!main_.AskToSave()) return;
    const int count = ListView1->count();
    for (int i = 0; i < count; ++i) {
        const QListWidgetItem* item = ListView1->item(i);
        if (!item || !item->isSelected()) continue;
        const std::string name = QDir(File1->Path).filePath(item->text()).toStdString();
        using FileOpen = MainWindowServices::FileOpen;
        FileOpen opened = FileOpen::NotRead;
        // A file that cannot be opened is reported; the run goes on with the next one.
        Trap([&] { opened = main_.OpenProjectFile(name); });
        if (opened == FileOpen::ModelRefused) break;
        if (opened == FileOpen::Opened) PrintProject(main_, 0);
    }
}

void frmPrint::COMAbbruch_Click() { close(); }

bool frmPrint::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == Dir1 || watched == ListView1) && event->type() == QEvent::KeyPress &&
        IsEnterKey(static_cast<QKeyEvent*>(event)->key())) {
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void RegisterPrintout() {
    RegisterForm("frmPrint", [](MainWindowServices& main) { return new frmPrint(main); });
    SetPrintCommand([](MainWindowServices& main) { PrintProject(main, 0); });
}

}  // namespace corvane
