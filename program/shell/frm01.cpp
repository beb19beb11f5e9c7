#include "frm01.h"

#include "ConnectTrapped.h"
#include "DateText.h"
#include "DeviceSelection.h"
#include "FileDialog.h"
#include "FormTexts.h"
#include "FormTimer.h"
#include "Forms.h"
#include "Icons.h"
#include "Messages.h"
#include "ModDefinition.h"
#include "ProjectDocument.h"
#include "QtTranslations.h"
#include "Seams.h"
#include "StringTable.h"
#include "automation_error.h"
#include "frmSpracheStart.h"
#include "frmVersion.h"
#include "frmphyAdr.h"
#include "oledate.h"
#include "variant.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QStandardPaths>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeWidget>

namespace corvane {

namespace {

// Width of the project tree (twips); its height follows the window.
constexpr int kTreeWidthTwips = 4200;

// A stored number as a 16-bit integer; absent, not a number or out of range: the default.
std::int16_t numberSetting(const char* key, std::int16_t def) {
    const auto text = GetSetting(kSettingsApp, kSettingsSection, key);
    double value = 0;
    if (!text || !automation::parseNumber(*text, value) || value < -32768.5 || value >= 32767.5) return def;
    return automation::toInteger(value);
}

std::string textSetting(const char* key, const std::string& def) {
    return GetSetting(kSettingsApp, kSettingsSection, key).value_or(def);
}

std::string DefaultProjectFolder() {
    const QString folder = ProjectFolderFor(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    return QDir::toNativeSeparators(folder).toStdString();
}

// The window's inner area: the tree on the left, and beside it the room where the dialogs
// open, marked faintly with the program's picture.
class ClientArea : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const QColor base = palette().color(QPalette::Window);
        QLinearGradient bg(0, 0, 0, height());
        bg.setColorAt(0, base.lighter(104));
        bg.setColorAt(1, base.darker(103));
        p.fillRect(rect(), bg);
        const int side = std::min(width() / 4, height() / 3);
        if (side < 48) return;
        p.setOpacity(0.13);
        const QRect picture(width() - side - side / 3, height() - side - side / 3, side, side);
        ProgramIcon().paint(&p, picture);
    }
};

}  // namespace

QString ProjectFolderFor(const QString& documentsFolder) {
    // Never beside the program: that may be a build folder that a clean rebuild deletes, or a
    // folder other users may write in.
    const QString folder = (documentsFolder.isEmpty() ? QDir::homePath() : documentsFolder) + "/Projects";
    QDir().mkpath(folder);
    return folder;
}

frm01::frm01(QWidget* parent) : QMainWindow(parent) {
    setObjectName("frm01");
    setWindowIcon(ProgramIcon());
    // The main window's own dialogs (a test may have put a stand-in in place).
    if (!IsFormRegistered("frmphyAdr")) RegisterPhyAdrForm();
    createMenu();
    createToolbar();
    createStatusBar();

    auto* central = new ClientArea(this);
    central->setObjectName("ClientArea");
    setCentralWidget(central);
    TreeView1 = new KeyedTree("TreeView1", central);
    TreeView1->SetImageList(&TreeImage);
    TreeView1->setIconSize(QSize(16, 16));
    TreeView1->setGeometry(0, 0, TwipsToPixels(kTreeWidthTwips), TwipsToPixels(6000));
    TreeView1->hide();
    connect(TreeView1, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* node) { Trap([&] { TreeView1_NodeClick(*node); }); });
    connect(TreeView1, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* node) { TreeView1_Expand(*node); });
    connect(TreeView1, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem* node) { TreeView1_Collapse(*node); });
}

frm01::~frm01() {
    if (mDali_) mDali_->setEventSink(nullptr);
}

corlink::clsOrvekDali& frm01::mDali() {
    if (!mDali_) automation::raiseRuntime(automation::errObjectNotSet, "Corvane");
    return *mDali_;
}

corlink::clsOrvekDaliEvents& frm01::ProjectEvents() { return *this; }

// ---- controls ----------------------------------------------------------------------------

void frm01::createMenu() {
    // Captions are text ids until SetFormTexts replaces them.
    auto menu = [this](const char* name, int id) {
        QMenu* m = menuBar()->addMenu(QString::number(id));
        m->setObjectName(name);
        return m;
    };
    auto item = [this](QMenu* m, const char* name, int id, void (frm01::*command)()) {
        auto* a = new QAction(QString::number(id), this);
        a->setObjectName(name);
        m->addAction(a);
        if (command) ConnectTrapped(this, a, &QAction::triggered, command);
        return a;
    };
    mnuMenue = menu("mnuMenue", 10);
    mnuNeu = item(mnuMenue, "mnuNeu", 11, &frm01::mnuNeu_Click);
    mnuGeraetLaden = item(mnuMenue, "mnuGeraetLaden", 12, &frm01::mnuGeraetLaden_Click);
    mnuGeraetSpeichern = item(mnuMenue, "mnuGeraetSpeichern", 13, &frm01::SaveProjectProc);
    mnuGeraetSpeichernunter = item(mnuMenue, "mnuGeraetSpeichernunter", 14, &frm01::mnuGeraetSpeichernunter_Click);
    mnuDrucken = item(mnuMenue, "mnuDrucken", 15, &frm01::mnuDrucken_Click);
    mnuDruckenMehr = item(mnuMenue, "mnuDruckenMehr", 16, nullptr);
    mnuEnde = item(mnuMenue, "mnuEnde", 17, nullptr);
    mnuEIB = menu("mnuEIB", 30);
    mnuinZielGeraet = item(mnuEIB, "mnuinZielGeraet", 31, nullptr);
    mnuausZielgeraet = item(mnuEIB, "mnuausZielgeraet", 32, nullptr);
    mnuGeraeteStatus = item(mnuEIB, "mnuGeraeteStatus", 33, nullptr);
    mnuExtras = menu("mnuExtras", 40);
    mnuSchnittstelle = item(mnuExtras, "mnuSchnittstelle", 41, &frm01::mnuSchnittstelle_Click);
    mnuVersion = item(mnuExtras, "mnuVersion", 42, nullptr);
    mnuSprache = item(mnuExtras, "mnuSprache", 43, nullptr);
    mnuGrpDarstellung = item(mnuExtras, "mnuGrpDarstellung", 44, nullptr);
    mnuService = item(mnuExtras, "mnuService", 45, nullptr);
    mnuService->setCheckable(true);  // the download log flag; the item toggles its own check mark

    connect(mnuDruckenMehr, &QAction::triggered, this, [this] { Trap([&] { ShowFormModal("frmPrint", 520); }); });
    connect(mnuEnde, &QAction::triggered, this, &QWidget::close);
    connect(mnuinZielGeraet, &QAction::triggered, this,
            [this] { Trap([&] { ShowFormModal("frmDownload", 505, "1"); }); });
    connect(mnuausZielgeraet, &QAction::triggered, this,
            [this] { Trap([&] { ShowFormModal("frmUpload", 506, "1"); }); });
    connect(mnuVersion, &QAction::triggered, this, [this] { Trap([&] { ShowFormModal("frmVersion", 503); }); });
    connect(mnuSprache, &QAction::triggered, this, [this] { Trap([&] { ShowFormModal("frmSprache", 497); }); });
    connect(mnuGrpDarstellung, &QAction::triggered, this,
            [this] { Trap([&] { ShowFormModal("frmAdrDarstellung", 439); }); });

    // Switched off when the window is created; nothing switches them on.
    for (QAction* off : {mnuDrucken, mnuDruckenMehr, mnuGeraeteStatus, mnuGrpDarstellung, mnuService}) {
        off->setEnabled(false);
    }
}

void frm01::createToolbar() {
    Toolbar1 = new QToolBar(this);
    Toolbar1->setObjectName("Toolbar1");
    Toolbar1->setMovable(false);
    Toolbar1->setFloatable(false);
    Toolbar1->setContextMenuPolicy(Qt::PreventContextMenu);
    Toolbar1->setIconSize(QSize(24, 24));
    addToolBar(Qt::TopToolBarArea, Toolbar1);
    // Twelve entries; each button's tooltip holds its text id until SetFormTexts.
    const struct {
        const char* key;
        int tooltip;
    } entries[] = {{nullptr, 0}, {"New", 50},    {"Open", 51},     {"Save", 52}, {"SaveAs", 52}, {nullptr, 0},
                   {nullptr, 0}, {"Upload", 55}, {"Download", 54}, {nullptr, 0}, {"Info", 745},  {"Ausgang", 746}};
    for (const auto& e : entries) {
        if (!e.key) {
            Toolbar1->addSeparator();
            continue;
        }
        QAction* b = Toolbar1->addAction(ToolbarImage(e.key), QString());
        b->setObjectName(e.key);
        b->setProperty("Key", QString(e.key));
        b->setToolTip(QString::number(e.tooltip));
        const QString key = e.key;
        connect(b, &QAction::triggered, this, [this, key] { Toolbar1_ButtonClick(key); });
    }
}

void frm01::createStatusBar() {
    BrimcorStatusBar = new QStatusBar(this);
    BrimcorStatusBar->setObjectName("BrimcorStatusBar");
    BrimcorStatusBar->setSizeGripEnabled(true);
    setStatusBar(BrimcorStatusBar);
    const int stretch[6] = {0, 3, 0, 0, 0, 0};
    for (int i = 0; i < 6; ++i) {
        panels_[i] = new QLabel(BrimcorStatusBar);
        panels_[i]->setObjectName(QStringLiteral("Panels(%1)").arg(i + 1));
        panels_[i]->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        panels_[i]->setMinimumWidth(TwipsToPixels(i == 1 ? 2400 : 1100));
        panels_[i]->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        panels_[i]->setTextInteractionFlags(Qt::TextSelectableByMouse);
        BrimcorStatusBar->addPermanentWidget(panels_[i], stretch[i]);
    }
    dateTimer_ = new FormTimer("StatusDateTimer", 60000, this);
    connect(dateTimer_, &FormTimer::tick, this, &frm01::ShowToday);
}

void frm01::ShowToday() { panels_[0]->setText(QString::fromStdString(ShortDate(automation::now()))); }

QString frm01::StatusPanel(int panel) const {
    return panel >= 1 && panel <= 6 ? panels_[panel - 1]->text() : QString();
}

// ---- start-up -----------------------------------------------------------------------------

void frm01::Form_Load() {
    TreeView1->resize(TreeView1->width(), TwipsToPixels(ScreenHeightTwips() - ScreenHeightTwips() / 5));
    ReadSettings();
    if (!IsLanguageOffset(LanguageOffset)) {
        frmSpracheStart dialog(this);
        dialog.setWindowTitle("Select Language / Sprachauswahl");
        ShowModal(dialog);
        // Closed without a choice: English, so that every text can be fetched.
        if (!IsLanguageOffset(LanguageOffset)) LanguageOffset = kEnglish;
    }
    LoadQtTranslations(LanguageOffset);
    mDali_ = std::make_unique<corlink::clsOrvekDali>();
    mDali_->setEventSink(this);
    SetFormTexts(*this);
    setWindowTitle(QString::fromStdString(LoadResString(60)) + " " + ProgramVersionText());
    ListLanguageFiles();
    LoadMessageTexts();
    CreateDeviceTable();
    CreateLanguageTable();
    SetDefaultParameter();
    ShowToday();
    dateTimer_->setEnabled(true);
    LoadStartProject();
}

void frm01::ReadSettings() {
    COM = numberSetting("COM", 1);
    COMTyp = numberSetting("COMTyp", 1);
    EDI = textSetting("EDI", "1");
    EDIPara = textSetting("EDIPara", "1");
    ShowGrpAdr = numberSetting("ShowGrpAdr", 0);
    LanguageOffset = numberSetting("Language", kLanguageNotChosen);
    const auto folder = GetSetting(kSettingsApp, kSettingsSection, "DefaultPath");
    DefaultPath = folder ? *folder : DefaultProjectFolder();
}

void frm01::WriteSettings() {
    const auto save = [](const char* key, const std::string& value) {
        SaveSetting(kSettingsApp, kSettingsSection, key, value);
    };
    save("COM", std::to_string(COM));
    save("COMTyp", std::to_string(COMTyp));
    save("EDI", EDI);
    save("EDIPara", EDIPara);
    save("Language", std::to_string(LanguageOffset));
    save("ShowGrpAdr", std::to_string(ShowGrpAdr));
    save("DefaultPath", DefaultPath);
}

void frm01::ListLanguageFiles() {
    LanguageFileList.clear();
    // The pattern "*.m??" (any case, as the name filter takes it), matched by hand: a name
    // filter would have the start-up load and run a regular-expression compiler.
    const QStringList files = QDir(ProgramFolder()).entryList(QDir::Files, QDir::Name);
    for (const QString& file : files) {
        if (file.size() < 4 || file.mid(file.size() - 4, 2).compare(QLatin1String(".m"), Qt::CaseInsensitive) != 0) {
            continue;
        }
        const QString digits = file.right(2);
        // A file whose name does not end in two digits carries no number: it is skipped.
        if (digits.size() != 2 || !digits[0].isDigit() || !digits[1].isDigit()) continue;
        LanguageFileList.push_back({file.section('.', 0, 0).toStdString(), static_cast<std::int16_t>(digits.toInt())});
    }
}

void frm01::LoadStartProject() {
    corlink::TypHeader header;
    header.Bestellnummer = "305719";
    header.Version = "1.3";
    if (!StartAfresh(header, ProjectDocument::Sizing::IniInterface)) return;
    SetWindowTwips(*this, 1, 100, 15000, 10000);
}

void frm01::SetDefaultParameter() {
    Trap([this] { mDali().ClearChangeFlag(); });
}

// ---- resize and shutdown ------------------------------------------------------------------

void frm01::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

void frm01::Form_Resize() {
    // Inner height below the menu bar, less toolbar, status bar and a margin.
    const int inner = height() - (menuBar()->isVisible() ? menuBar()->height() : 0);
    const int h = inner - Toolbar1->height() - BrimcorStatusBar->height() - TwipsToPixels(100);
    if (h > 0) TreeView1->resize(TreeView1->width(), h);
}

void frm01::closeEvent(QCloseEvent* event) {
    if (unloaded_) {
        event->accept();
        return;
    }
    bool unload = false;
    Trap([&] { unload = Form_QueryUnload(); });
    if (!unload) {
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
}

bool frm01::Form_QueryUnload() { return !mDali_ || AskToSave(); }

bool frm01::AskToSave() {
    if (!mDali().GetChangeFlag()) return true;
    switch (ShowMessage(4, MessageText(MessageTexts.MsgSaveChanges, 901))) {
    case msgCancel: return false;
    case msgYes:
        // A save that was cancelled or failed leaves the changes unsaved: stop here.
        SaveProjectProc();
        return !mDali().GetChangeFlag();
    default: return true;
    }
}

void frm01::Form_Unload() {
    unloaded_ = true;
    if (mDali_) {
        mDali_->setEventSink(nullptr);
        mDali_.reset();
    }
    Trap([this] { WriteSettings(); });
    QCoreApplication::quit();
}

// ---- commands -----------------------------------------------------------------------------

void frm01::Toolbar1_ButtonClick(const QString& key) {
    Trap([&] {
        if (key == "New") {
            mnuNeu_Click();
        } else if (key == "Open") {
            mnuGeraetLaden_Click();
        } else if (key == "Save") {
            SaveProjectProc();
        } else if (key == "SaveAs") {
            mnuGeraetSpeichernunter_Click();
        } else if (key == "Print") {
            mnuDrucken_Click();
        } else if (key == "Download") {
            ShowFormModal("frmDownload", 505, "1");
        } else if (key == "Upload") {
            ShowFormModal("frmUpload", 506, "1");
        } else if (key == "Ausgang") {
            close();
        } else if (key == "Info") {
            ShowFormModal("frmVersion", 503);
        }
        // "DeviceInfo" and any other key: nothing.
    });
}

void frm01::SaveProjectProc() {
    Trap([this] {
        if (StatusPanel(4).isEmpty() || StatusPanel(5).isEmpty()) {
            ShowMessage(1, MessageTexts.MsgNoDataToSave);
            return;
        }
        const corlink::TypHeader h = mDali().Header();
        if (!StatusPanel(2).isEmpty()) {
            mDali().SaveProjektData(h.DateiName);
        } else {
            mnuGeraetSpeichernunter_Click();
        }
    });
}

bool frm01::LogFileFlag() const { return mnuService->isChecked(); }

void frm01::ShowFormModal(const QString& form, int captionId, const QString& tag) {
    auto* dialog = qobject_cast<QDialog*>(LoadForm(form, *this));
    if (!dialog) return;
    dialog->setWindowTitle(QText(captionId));
    if (!tag.isEmpty()) SetTag(*dialog, tag);
    ShowModal(*dialog);
}

// ---- project files ------------------------------------------------------------------------

QString frm01::ChooseProjectFile(bool save) {
    FileDialogRequest request;
    request.mode = save ? FileDialogRequest::SaveAs : FileDialogRequest::Open;
    request.filter = QText(99) + " |*.dal";
    request.initDir = QString::fromStdString(DefaultPath);
    request.fileName = "";
    request.defaultExt = save ? "*.dal" : "";
    request.mustExist = !save;
    request.confirmOverwrite = save;
    const QString name = ShowFileDialog(request);
    return name == "*.dal" ? QString() : name;
}

void frm01::UpdateDefaultPath(const QString& fileName) {
    if (IsNetworkPath(fileName)) return;
    DefaultPath = QDir::toNativeSeparators(QFileInfo(fileName).absolutePath()).toStdString();
}

corlink::TypHeader frm01::FreshHeader(const std::string& orderNo, const std::string& version) {
    return ProjectDocument(mDali()).FreshHeader(orderNo, version);
}

bool frm01::StartAfresh(const corlink::TypHeader& header, ProjectDocument::Sizing sizing) {
    if (!ProjectDocument(mDali()).StartAfresh(header, sizing)) return false;
    SelectedNodeIndex = 1;
    CreateObjektDataTree();
    return true;
}

void frm01::mnuNeu_Click() {
    if (!AskToSave()) return;
    StartAfresh(FreshHeader("0", "0"), ProjectDocument::Sizing::IniInterfaceStart);
}

void frm01::mnuGeraetLaden_Click() {
    if (!AskToSave()) return;
    const QString file = ChooseProjectFile(false);
    if (file.isEmpty()) return;
    if (OpenProjectFile(file.toStdString()) == FileOpen::Opened) UpdateDefaultPath(file);
}

frm01::FileOpen frm01::OpenProjectFile(const std::string& name) {
    const FileOpen result = ReadProjectFile(name);
    if (result == FileOpen::Opened) {
        SelectedNodeIndex = 1;
        CreateObjektDataTree();
    }
    return result;
}

frm01::FileOpen frm01::ReadProjectFile(const std::string& name) {
    // Read aside and taken over whole: a refused model (message 916) or a file that cannot be
    // read leaves the open project, its header and the model tables as they were, so no later
    // Save writes this project into that file.
    const ProjectDocument::OpenResult result = ProjectDocument(mDali()).Open(name);
    if (result.outcome == FileOpen::NotRead) mDali_InterfaceError(result.error);
    return result.outcome;
}

void frm01::mnuGeraetSpeichernunter_Click() {
    Trap(
        [this] {
            const QString file = ChooseProjectFile(true);
            if (file.isEmpty()) return;
            mDali().SaveProjektData(file.toStdString());
            UpdateDefaultPath(file);
        },
        MessageText(MessageTexts.MsgAccessDenied, 924));
}

namespace {
std::function<void(MainWindowServices&)>& printCommand() {
    static std::function<void(MainWindowServices&)> command;
    return command;
}
}  // namespace

void SetPrintCommand(std::function<void(MainWindowServices&)> command) { printCommand() = std::move(command); }

// Prints the open project to the printer through the printout module's command.
void frm01::mnuDrucken_Click() {
    if (printCommand()) printCommand()(*this);
}

// ---- bus interface ------------------------------------------------------------------------

void frm01::mnuSchnittstelle_Click() {
    ConnectionManager = std::make_unique<corshim::CWrapConnectionManager>();
    std::optional<std::string> edi;
    std::optional<std::string> parameters;
    bool chosen = false;
    const std::int32_t status = ConnectionManager->GetConnection(edi, parameters, chosen);
    if (status != corshim::kStatusOk) {
        automation::raise(status, "Corshim.CWrapConnectionManager", "The bus interface could not be chosen");
    }
    // Nothing chosen: the interface in use stays.
    if (!chosen) return;
    EDI = edi.value_or("");
    EDIPara = parameters.value_or("");
}

}  // namespace corvane
