// The main window's menu and toolbar: New, Open, Save, Save As with the save question and the
// file dialogs, the bus interface choice, and the openers of the other dialogs.
#include "DeviceSelection.h"
#include "ErrorLog.h"
#include "FormTexts.h"
#include "Forms.h"
#include "ModelTables.h"
#include "gui_fixture.h"
#include "oledate.h"
#include "simulated_line.h"

#include <QAction>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QLoggingCategory>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QToolBar>
#include <QTreeWidget>

#include <sys/stat.h>

using namespace corvane;
using namespace corvane::test;

namespace {

// The lines logged under "corvane.errors" while this lives; the log, its rules and the message
// handler are put back afterwards, however the test ends.
class ErrorLines {
public:
    ErrorLines() : previous_(qInstallMessageHandler(collect)) {
        InstallErrorLog();
        current_ = &lines;
    }
    ~ErrorLines() {
        QLoggingCategory::setFilterRules({});
        qInstallMessageHandler(previous_);
        current_ = nullptr;
        SetErrorLog({});
    }
    ErrorLines(const ErrorLines&) = delete;
    ErrorLines& operator=(const ErrorLines&) = delete;
    QStringList lines;

private:
    static void collect(QtMsgType, const QMessageLogContext& context, const QString& message) {
        if (current_ && QLatin1String(context.category) == QLatin1String("corvane.errors")) *current_ << message;
    }
    static inline QStringList* current_ = nullptr;
    QtMessageHandler previous_;
};

corlink::TypHeader describedHeader() {
    return {.ProjektBeschreibung = "Hall 3",
            .ProjektKennung = "P-17",
            .DateiName = "/somewhere/hall.dal",
            .phyAdr = 0x1105,
            .phyAdrString = "1.1.5",
            .Bestellnummer = "517104",
            .Version = "11",
            .LetzterZugriff = automation::toOleDate({2024, 5, 17, 9, 30, 0}),
            .LetzterDownload = automation::toOleDate({2024, 5, 18, 10, 0, 0}),
            .LetzterUpload = automation::toOleDate({2024, 5, 19, 11, 0, 0}),
            .Bemerkung1 = "north wing",
            .Bemerkung1ID = 4,
            .Bemerkung2 = "second floor",
            .Bemerkung2ID = "7"};
}

// A project file written by a project of its own, for the given model.
void writeProject(const QString& path, const std::string& order, const std::string& version, int ballastGroup) {
    corlink::clsOrvekDali other;
    other.IniInterface(MaxLimits, FunctionGroupList, PropertyObjectIds);
    corlink::TypHeader h = describedHeader();
    h.Bestellnummer = order;
    h.Version = version;
    other.letHeader(h);
    SetBallast(other, 9, ballastGroup, "file ballast");
    other.SaveProjektData(path.toStdString());
}

QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString nativeFolderOf(const QString& file) { return QDir::toNativeSeparators(QFileInfo(file).absolutePath()); }

}  // namespace

TEST_F(Gui, NewKeepsDescriptionAndRemarksAndResetsTheRest) {
    auto w = start(kEnglish);
    ASSERT_TRUE(SelectDeviceDefinition("517204", "11"));
    w->mDali().IniInterface(MaxLimits, FunctionGroupList, PropertyObjectIds);
    w->mDali().letHeader(describedHeader());
    SetBallast(w->mDali(), 3, 2, "Desk");

    answers = {msgCancel};  // at the save question: nothing happens
    w->mnuNeu->trigger();
    EXPECT_EQ(w->mDali().Header(), describedHeader());

    answers = {msgNo};
    w->Toolbar1_ButtonClick("New");
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(w->mDali().Header(), Afresh(describedHeader(), "0", "0"));
    // An empty project of model 517104, unchanged, with its tree.
    EXPECT_EQ(MaxLimits.MaxTasten, 8);
    EXPECT_EQ(w->mDali().DaliGruppe(3).Name, "");
    EXPECT_EQ(w->mDali().DaliGruppe(3).Gruppe, 255);
    EXPECT_FALSE(w->mDali().GetChangeFlag());
    EXPECT_EQ(w->TreeView1->NodeCount(), 40);
    EXPECT_EQ(w->StatusPanel(6), "0.0.0");
    shown.clear();
    w->mnuNeu->trigger();  // unchanged: no question
    EXPECT_TRUE(shown.empty());
}

TEST_F(Gui, SaveOfAnUnnamedProjectAsksForANameThenSavesThere) {
    auto w = start(kEnglish);
    SetBallast(w->mDali(), 0, 1, "Door");
    QDir(dir.path()).mkdir("projects");
    const QString path = dir.filePath("projects/first.dal");
    const std::string startFolder = DefaultPath;

    files = {path};
    w->Toolbar1_ButtonClick("Save");
    ASSERT_EQ(fileRequests.size(), 1u);
    const FileDialogRequest& r = fileRequests[0];
    EXPECT_EQ(r.mode, FileDialogRequest::SaveAs);
    EXPECT_EQ(r.filter, "DALI Files |*.dal");
    EXPECT_EQ(r.initDir.toStdString(), startFolder);
    EXPECT_EQ(r.defaultExt, "*.dal");
    EXPECT_TRUE(r.confirmOverwrite);
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(w->mDali().Header().DateiName, path.toStdString());
    EXPECT_EQ(w->StatusPanel(2), path);
    EXPECT_FALSE(w->mDali().GetChangeFlag());
    EXPECT_EQ(QString::fromStdString(DefaultPath), nativeFolderOf(path));

    // Named now: Save writes the same file without a dialog.
    SetBallast(w->mDali(), 1, 1, "Window");
    const QByteArray before = contents(path);
    w->mnuGeraetSpeichern->trigger();
    EXPECT_EQ(fileRequests.size(), 1u);
    EXPECT_NE(contents(path), before);
    EXPECT_FALSE(w->mDali().GetChangeFlag());

    // Save As always asks; the filter text comes from the language in force.
    LanguageOffset = kGerman;
    const QString second = dir.filePath("second.dal");
    files = {second};
    w->mnuGeraetSpeichernunter->trigger();
    EXPECT_EQ(fileRequests.back().filter, "DALI Dateien |*.dal");
    EXPECT_EQ(w->mDali().Header().DateiName, second.toStdString());
    EXPECT_EQ(QString::fromStdString(DefaultPath), nativeFolderOf(second));
    EXPECT_TRUE(shown.empty());
}

TEST_F(Gui, CancelledFileDialogsChangeNothing) {
    auto w = start(kEnglish);
    w->mDali().letHeader(describedHeader());
    const std::string folder = DefaultPath;
    // A cancelled dialog, and the bare pattern that some dialogs hand back.
    files = {"", "*.dal", "", "*.dal"};
    w->mnuGeraetSpeichernunter->trigger();
    w->Toolbar1_ButtonClick("SaveAs");
    answers = {msgNo, msgNo};
    w->mnuGeraetLaden->trigger();
    w->Toolbar1_ButtonClick("Open");
    EXPECT_EQ(fileRequests.size(), 4u);
    EXPECT_EQ(w->mDali().Header(), describedHeader());
    EXPECT_TRUE(w->mDali().GetChangeFlag());
    EXPECT_EQ(DefaultPath, folder);
    EXPECT_TRUE(QDir(dir.path()).entryList({"*.dal"}, QDir::Files).isEmpty());
    EXPECT_EQ(shown.size(), 2u);  // the two save questions
}

TEST_F(Gui, OpenRestoresASavedProjectAndFollowsItsFolder) {
    auto w = start(kEnglish);
    corlink::clsOrvekDali& dali = w->mDali();
    corlink::TypHeader h = describedHeader();
    h.DateiName.clear();
    dali.letHeader(h);
    SetBallast(dali, 5, 0, "Lamp 6");
    SetGroupName(dali, 0, "Hallway");
    corlink::TypDaliScene s = dali.DaliScene(4);
    s.Byte1 = 0x81;
    dali.letDaliScene(4, s);
    QDir(dir.path()).mkpath("site/a");
    const QString path = dir.filePath("site/a/hall.dal");
    files = {path};
    w->mnuGeraetSpeichernunter->trigger();
    ASSERT_TRUE(QFile::exists(path));

    // Something else in the window (saved: New asks nothing), then the file again.
    w->mnuNeu->trigger();
    SetBallast(dali, 7, 3, "stray");
    DefaultPath = dir.path().toStdString();
    SelectedNodeIndex = 12;
    answers = {msgNo};
    files = {path};
    w->Toolbar1_ButtonClick("Open");
    ASSERT_EQ(fileRequests.size(), 2u);
    EXPECT_EQ(fileRequests[1].mode, FileDialogRequest::Open);
    EXPECT_TRUE(fileRequests[1].mustExist);  // only existing files can be opened
    EXPECT_EQ(fileRequests[1].initDir, dir.path());
    EXPECT_EQ(shown.size(), 1u);  // the save question alone

    EXPECT_EQ(dali.Header().ProjektBeschreibung, "Hall 3");
    EXPECT_EQ(dali.Header().DateiName, path.toStdString());
    EXPECT_EQ(dali.DaliGruppe(5).Name, "Lamp 6");
    EXPECT_EQ(dali.DaliGruppe(7).Gruppe, 255);
    EXPECT_EQ(dali.DaliScene(4).Byte1, 0x81);
    EXPECT_FALSE(dali.GetChangeFlag());
    EXPECT_EQ(QString::fromStdString(DefaultPath), nativeFolderOf(path));
    EXPECT_EQ(SelectedNodeIndex, 1);
    EXPECT_EQ(w->TreeView1->NodeCount(), 41);
    EXPECT_EQ(w->TreeView1->Node(8)->text(0), "Group1 (Hallway)");
    EXPECT_EQ(w->StatusPanel(6), "1.1.5");

    // A file of model 517204 sizes the project for that model.
    const QString other = dir.filePath("other.dal");
    writeProject(other, "517204", "11", 4);
    files = {other};
    w->mnuGeraetLaden->trigger();
    EXPECT_EQ(MaxLimits.MaxTasten, 18);
    EXPECT_NO_THROW(dali.Tasten(17));
    EXPECT_EQ(dali.DaliGruppe(9).Gruppe, 4);
    EXPECT_EQ(shown.size(), 1u);
}

TEST_F(Gui, OpenOfARefusedModelOrAnUnreadableFileLeavesTheProjectAsItWas) {
    automation::ScopedClock clock([] { return automation::toOleDate({2024, 6, 3, 14, 5, 9}); });
    auto w = start(kEnglish);
    corlink::clsOrvekDali& dali = w->mDali();
    ASSERT_TRUE(SelectDeviceDefinition("517204", "11"));
    dali.IniInterface(MaxLimits, FunctionGroupList, PropertyObjectIds);
    const QString mine = dir.filePath("mine.dal");
    corlink::TypHeader h = describedHeader();
    h.Bestellnummer = "517204";
    dali.letHeader(h);
    for (int b = 0; b < 20; ++b) SetBallast(dali, b, b % 16, "grouped " + std::to_string(b));
    w->CreateObjektDataTree();
    w->TreeView1->setCurrentItem(w->TreeView1->Node(8));
    files = {mine};
    w->mnuGeraetSpeichernunter->trigger();
    const QByteArray mineBytes = contents(mine);
    ASSERT_FALSE(mineBytes.isEmpty());

    const corlink::TypHeader before = dali.Header();
    const ModelTables model = Model;
    const std::string folder = DefaultPath;
    const auto window = [&] {
        QStringList seen;
        for (const QTreeWidgetItem* n : Nodes(*w->TreeView1)) seen << n->text(0);
        seen << "selected " + QString::number(w->SelectedNode() ? KeyedTree::Index(*w->SelectedNode()) : 0);
        for (int panel = 2; panel <= 6; ++panel) seen << w->StatusPanel(panel);
        return seen;
    };
    const QStringList shownBefore = window();
    ASSERT_TRUE(shownBefore.contains("selected 8"));

    const QString refused = dir.filePath("refused.dal");
    writeProject(refused, "517204", "12", 6);
    const QByteArray refusedBytes = contents(refused);
    const QString cut = dir.filePath("cut.dal");
    writeProject(cut, "517104", "11", 6);
    ASSERT_TRUE(QFile(cut).resize(QFile(cut).size() / 2));
    const QString tiny = dir.filePath("tiny.dal");
    touch("tiny.dal", "DAL");
    const QString fifo = dir.filePath("fifo.dal");
    ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0666), 0);

    // The message each file gives: refused firmware (916), a DALI part cut short (the interface
    // error), no header at all, a file that is gone, a FIFO (opened at once, never waited on) and a
    // file whose reading fails (the error convention).
    const std::pair<QString, const char*> cases[] = {
        {refused, "Device with this version of firmware is unknown,  please contact manufacturer!"},
        {cut, "Please contact manufacturer: error code Interface 62"},
        {tiny, "Please contact manufacturer: error code  62"},
        {dir.filePath("gone.dal"), "Please contact manufacturer: error code  53"},
        {fifo, "Please contact manufacturer: error code  75"},
        {"/proc/self/mem", "Please contact manufacturer: error code  75"},  // reading it fails at once
    };
    for (const auto& [file, message] : cases) {
        SCOPED_TRACE(file.toStdString());
        shown.clear();
        files = {file};
        w->mnuGeraetLaden->trigger();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].text, message);
        EXPECT_EQ(dali.Header(), before);
        EXPECT_FALSE(dali.GetChangeFlag());
        EXPECT_EQ(dali.DaliGruppe(19).Name, "grouped 19");
        EXPECT_EQ(dali.DaliGruppe(9).Gruppe, 9);
        EXPECT_TRUE(Model == model);
        EXPECT_NO_THROW(dali.Tasten(17));
        EXPECT_EQ(window(), shownBefore);
        EXPECT_EQ(DefaultPath, folder);
    }

    // Saving now writes this project into its own file, byte for byte as before, never into the
    // one that was refused.
    shown.clear();
    w->Toolbar1_ButtonClick("Save");
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(contents(mine), mineBytes);
    EXPECT_EQ(contents(refused), refusedBytes);
}

TEST_F(Gui, SaveQuestionYesWithoutASaveEndsTheCommand) {
    auto w = start(kEnglish);
    corlink::clsOrvekDali& dali = w->mDali();
    SetBallast(dali, 4, 1, "unsaved");
    const QString existing = dir.filePath("existing.dal");
    writeProject(existing, "517104", "11", 3);

    // Yes, then the save dialog is cancelled: New and Open end, the work stays.
    answers = {msgYes, msgYes};
    files = {"", ""};
    w->mnuNeu->trigger();
    w->mnuGeraetLaden->trigger();
    EXPECT_EQ(fileRequests.size(), 2u);  // the save dialogs only, no open dialog
    EXPECT_EQ(fileRequests[1].mode, FileDialogRequest::SaveAs);
    EXPECT_EQ(dali.DaliGruppe(4).Name, "unsaved");
    EXPECT_TRUE(dali.GetChangeFlag());

    // Yes, and the save fails: reported with text 924, the command ends.
    shown.clear();
    answers = {msgYes};
    files = {dir.filePath("no/such/folder/x.dal")};
    w->mnuGeraetLaden->trigger();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_TRUE(QString::fromStdString(shown[1].text).startsWith("Access denied, please check the storage medium! "))
        << shown[1].text;
    EXPECT_EQ(dali.DaliGruppe(4).Name, "unsaved");
    EXPECT_EQ(dali.Header().DateiName, "");
    EXPECT_TRUE(dali.GetChangeFlag());

    // Yes with a save that succeeds goes on with the command.
    const QString saved = dir.filePath("saved.dal");
    answers = {msgYes};
    files = {saved, existing};
    w->mnuGeraetLaden->trigger();
    EXPECT_TRUE(QFile::exists(saved));
    EXPECT_EQ(dali.Header().DateiName, existing.toStdString());
    EXPECT_EQ(dali.DaliGruppe(9).Gruppe, 3);
}

TEST_F(Gui, FolderOfNetworkPathsIsNotKept) {
    EXPECT_TRUE(IsNetworkPath("\\\\server\\share\\hall.dal"));
    EXPECT_FALSE(IsNetworkPath("C:\\projects\\hall.dal"));

    auto w = start(kEnglish);
    const std::string folder = DefaultPath;
    // "//" + a local folder names the same folder here, so the file is written.
    const QString network = "/" + dir.filePath("net.dal");
    files = {network, network};
    w->mnuGeraetSpeichernunter->trigger();
    EXPECT_TRUE(QFile::exists(dir.filePath("net.dal")));
    EXPECT_EQ(DefaultPath, folder);
    w->mnuGeraetLaden->trigger();
    EXPECT_EQ(w->mDali().Header().DateiName, network.toStdString());
    EXPECT_EQ(DefaultPath, folder);
    EXPECT_TRUE(shown.empty());
}

TEST_F(Gui, TheProgramsFileDialogFollowsTheRequest) {
    SetFileDialog({});
    QDir(dir.path()).mkdir("p");
    FileDialogRequest open;
    open.mode = FileDialogRequest::Open;
    open.filter = "DALI Files |*.dal";
    open.initDir = dir.filePath("p");
    open.mustExist = true;
    SetModalRunner([&](QDialog& d) {
        auto& f = dynamic_cast<QFileDialog&>(d);
        EXPECT_EQ(f.acceptMode(), QFileDialog::AcceptOpen);
        EXPECT_EQ(f.fileMode(), QFileDialog::ExistingFile);  // must exist
        EXPECT_EQ(f.nameFilters(), QStringList{"DALI Files (*.dal)"});
        EXPECT_EQ(f.directory().absolutePath(), QDir(dir.filePath("p")).absolutePath());
        return QDialog::Rejected;
    });
    EXPECT_EQ(ShowFileDialog(open), "");  // cancelled

    FileDialogRequest save = open;
    save.mode = FileDialogRequest::SaveAs;
    save.mustExist = false;
    save.confirmOverwrite = true;
    save.defaultExt = "*.dal";
    SetModalRunner([&](QDialog& d) {
        auto& f = dynamic_cast<QFileDialog&>(d);
        EXPECT_EQ(f.fileMode(), QFileDialog::AnyFile);
        EXPECT_EQ(f.defaultSuffix(), "dal");
        EXPECT_FALSE(f.testOption(QFileDialog::DontConfirmOverwrite));
        f.selectFile(dir.filePath("p/new.dal"));
        return QDialog::Accepted;
    });
    EXPECT_EQ(ShowFileDialog(save), dir.filePath("p/new.dal"));

    // A start folder that does not exist (a stored project folder that was removed since):
    // the nearest folder above it, and no file name proposed.
    save.initDir = QDir::toNativeSeparators(dir.filePath("p/Projects/more"));
    SetModalRunner([&](QDialog& d) {
        auto& f = dynamic_cast<QFileDialog&>(d);
        EXPECT_EQ(f.directory().absolutePath(), QDir(dir.filePath("p")).absolutePath());
        EXPECT_EQ(f.selectedFiles().value(0), QDir(dir.filePath("p")).absolutePath());
        return QDialog::Rejected;
    });
    EXPECT_EQ(ShowFileDialog(save), "");
}

TEST_F(Gui, InterfaceChoiceTakesTheSimulatedLineAndCancelKeepsThePreviousChoice) {
    auto w = start(kEnglish);
    ASSERT_EQ(EDI, "1");
    int dialogs = 0;
    SetModalRunner([&](QDialog& d) {
        auto& c = dynamic_cast<ConnectionDialog&>(d);
        EXPECT_EQ(c.windowTitle(), "select bus interface");
        EXPECT_EQ(c.ListInterfaces->count(), 1);
        EXPECT_EQ(c.ListInterfaces->item(0)->text(), "Simulated KNX line (DALI gateway)");
        if (++dialogs == 1) {
            EXPECT_EQ(c.TextParameter->text(), "address=1.1.1;model=517104;ballasts=5;seed=7;polls=3");
            c.TextParameter->setText("address=1.1.7;ballasts=3");
            c.COMOK->click();
        } else {
            EXPECT_EQ(c.TextParameter->text(), "address=1.1.7;ballasts=3");  // the parameters in use
            c.TextParameter->setText("address=2.2.2");
            c.COMAbbruch->click();
        }
        return c.result();
    });
    const std::string simulatedLine = "{6D1C4A3E-52B7-4F0D-9A8E-3C7B15D2E940}";
    w->mnuSchnittstelle->trigger();
    EXPECT_EQ(EDI, simulatedLine);
    EXPECT_EQ(EDIPara, "address=1.1.7;ballasts=3");

    // Cancelled: the interface chosen before stays.
    w->mnuSchnittstelle->trigger();
    EXPECT_EQ(dialogs, 2);
    EXPECT_EQ(EDI, simulatedLine);
    EXPECT_EQ(EDIPara, "address=1.1.7;ballasts=3");

    // The driver's dialog fails: reported with the error convention, the choice stays.
    busdriver::simulatedLine().failCall(1, busdriver::statusFailed, "SelectConnection");
    w->mnuSchnittstelle->trigger();
    busdriver::simulatedLine().clearFaults();
    EXPECT_EQ(dialogs, 2);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "Please contact manufacturer: error code  " + std::to_string(busdriver::statusFailed));
    EXPECT_EQ(EDIPara, "address=1.1.7;ballasts=3");

    EXPECT_TRUE(w->close());  // stored with the settings at the end of the run
    EXPECT_EQ(stored("EDI"), simulatedLine);
    EXPECT_EQ(stored("EDIPara"), "address=1.1.7;ballasts=3");
}

// A reported error keeps its message and also goes to the error log with its number, source and
// description (the project's interface error has its number only); the log is silent until its
// category's info level is enabled.
TEST_F(Gui, AReportedErrorIsLoggedWithItsSourceAndDescriptionWhenTheLogIsEnabled) {
    auto w = start(kEnglish);
    const QString cut = dir.filePath("cut.dal");
    writeProject(cut, "517104", "11", 6);
    ASSERT_TRUE(QFile(cut).resize(QFile(cut).size() / 2));
    const struct {
        const char* what;
        std::function<void()> report;
        std::string message;
        std::string logged;
    } cases[] = {
        {"the driver's dialog fails",
         [&] {
             busdriver::simulatedLine().failCall(1, busdriver::statusFailed, "SelectConnection");
             w->mnuSchnittstelle->trigger();
             busdriver::simulatedLine().clearFaults();
         },
         "Please contact manufacturer: error code  -2147467259",
         "error -2147467259, source \"Corshim.CWrapConnectionManager\": The bus interface could not be chosen"},
        {"a file cut short is opened",
         [&] {
             files = {cut};
             w->mnuGeraetLaden->trigger();
         },
         "Please contact manufacturer: error code Interface 62", "error 62, source \"\": "},
    };
    ErrorLines log;
    QStringList& lines = log.lines;
    for (const auto& c : cases) {
        for (const bool enabled : {false, true}) {
            SCOPED_TRACE(std::string(c.what) + (enabled ? ", log enabled" : ""));
            QLoggingCategory::setFilterRules(enabled ? "corvane.errors.info=true" : "");
            shown.clear();
            lines.clear();
            c.report();
            ASSERT_EQ(shown.size(), 1u);
            EXPECT_EQ(shown[0].text, c.message);
            EXPECT_EQ(shown[0].style, kOkExclamation);
            EXPECT_EQ(shown[0].title, "advice");
            EXPECT_EQ(lines.join('\n').toStdString(), enabled ? c.logged : "");
        }
    }
}

TEST_F(Gui, InterfaceParametersTheSimulatedLineCannotTakeAreRefusedAndTheDialogStaysOpen) {
    auto w = start(kEnglish);
    const std::string refused = "Please enter values within correct range. ";
    const std::string offered = "address=1.1.1;model=517104;ballasts=5;seed=7;polls=3";
    const struct {
        std::string parameters;
        std::string message;  // "": taken
    } cases[] = {
        {"ballasts=99", refused + "(ballasts: 0-64)"},
        {"polls=abc", refused + "(polls: 0-10000)"},
        {"address=0", refused + "(address: 0.0.1-15.15.255)"},
        {"ballasts=3;speed=2", refused + "(speed)"},
        {offered, ""},
        {"1", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.parameters);
        shown.clear();
        EDI = EDIPara = "1";
        SetModalRunner([&](QDialog& d) {
            auto& dialog = dynamic_cast<ConnectionDialog&>(d);
            dialog.show();
            dialog.TextParameter->setText(QString::fromStdString(c.parameters));
            dialog.COMOK->click();
            EXPECT_EQ(dialog.isVisible(), !c.message.empty());
            if (dialog.isVisible()) dialog.COMAbbruch->click();
            return dialog.result();
        });
        w->mnuSchnittstelle->trigger();
        if (c.message.empty()) {
            EXPECT_TRUE(shown.empty());
            EXPECT_EQ(EDI, busdriver::kSimulatedLineGuid);
            EXPECT_EQ(EDIPara, c.parameters);
        } else {
            ASSERT_EQ(shown.size(), 1u);
            EXPECT_EQ(shown[0].style, kOkExclamation);
            EXPECT_EQ(shown[0].text, c.message);
            EXPECT_EQ(shown[0].title, "advice");
            EXPECT_EQ(EDI + "|" + EDIPara, "1|1");  // nothing taken
        }
    }

    // A double click on the interface checks as OK does; another interface's parameters are not
    // the simulated line's to check.
    ConnectionDialog dialog({{busdriver::kSimulatedLineName, busdriver::kSimulatedLineGuid, offered},
                             {"Other interface", "{0826FFAB-FF34-11D3-B34B-009027434FFA}", "ballasts=99"}});
    shown.clear();
    dialog.TextParameter->setText("ballasts=99");
    emit dialog.ListInterfaces->itemDoubleClicked(dialog.ListInterfaces->item(0));
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(shown.size(), 1u);
    dialog.ListInterfaces->setCurrentRow(1);
    EXPECT_EQ(dialog.TextParameter->text(), "ballasts=99");
    dialog.COMOK->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(shown.size(), 1u);
}

TEST_F(Gui, MenuStatesAndTheOpenersOfOtherDialogs) {
    auto w = start(kEnglish);
    // The three menus, each followed by its items, with their caption ids; "off": switched off.
    const struct {
        const char* name;
        int caption;
        const char* state;
    } menu[] = {{"mnuMenue", 10, ""},
                {"mnuNeu", 11, ""},
                {"mnuGeraetLaden", 12, ""},
                {"mnuGeraetSpeichern", 13, ""},
                {"mnuGeraetSpeichernunter", 14, ""},
                {"mnuDrucken", 15, "off"},
                {"mnuDruckenMehr", 16, "off"},
                {"mnuEnde", 17, ""},
                {"mnuEIB", 30, ""},
                {"mnuinZielGeraet", 31, ""},
                {"mnuausZielgeraet", 32, ""},
                {"mnuGeraeteStatus", 33, "off"},
                {"mnuExtras", 40, ""},
                {"mnuSchnittstelle", 41, ""},
                {"mnuVersion", 42, ""},
                {"mnuSprache", 43, ""},
                {"mnuGrpDarstellung", 44, "off"},
                {"mnuService", 45, "off"}};
    QStringList expected, shownMenu;
    for (const auto& m : menu) expected << QString("%1|%2|%3").arg(m.name, QText(m.caption), m.state);
    const auto entry = [](const QObject& o, const QString& text, bool on) {
        return o.objectName() + "|" + text + "|" + (on ? "" : "off");
    };
    for (QAction* bar : w->menuBar()->actions()) {
        shownMenu << entry(*bar->menu(), bar->text(), bar->isEnabled());
        for (QAction* a : bar->menu()->actions()) shownMenu << entry(*a, a->text(), a->isEnabled());
    }
    EXPECT_EQ(shownMenu, expected);
    // The download log: a check mark that the item toggles, read as the log flag.
    w->mnuService->setEnabled(true);
    w->mnuService->trigger();
    EXPECT_TRUE(w->LogFileFlag());
    w->mnuService->trigger();
    EXPECT_FALSE(w->LogFileFlag());

    // The toolbar: twelve entries, each button with its key and the text of its tooltip id.
    QStringList bar;
    for (QAction* b : w->Toolbar1->actions()) {
        bar << (b->isSeparator() ? QString("-") : b->property("Key").toString() + " " + b->toolTip());
    }
    const auto button = [](const char* key, int tooltip) { return QString(key) + " " + QText(tooltip); };
    EXPECT_EQ(bar, (QStringList{"-", button("New", 50), button("Open", 51), button("Save", 52), button("SaveAs", 52),
                                "-", "-", button("Upload", 55), button("Download", 54), "-", button("Info", 745),
                                button("Ausgang", 746)}));
    const auto click = [&](const char* key) { w->Toolbar1->findChild<QAction*>(key)->trigger(); };

    QStringList opened;
    const QStringList forms = {"frmDownload", "frmUpload", "frmVersion", "frmSprache"};
    for (const QString& f : forms) RegisterForm(f, [](MainWindowServices&) { return new QDialog; });
    SetModalRunner([&](QDialog& d) {
        opened << d.objectName() + "|" + d.windowTitle() + "|" + Tag(d);
        return 0;
    });
    w->mnuinZielGeraet->trigger();
    click("Download");
    w->mnuausZielgeraet->trigger();
    click("Upload");
    w->mnuVersion->trigger();
    click("Info");
    w->mnuSprache->trigger();
    EXPECT_EQ(opened, (QStringList{"frmDownload|program device|1", "frmDownload|program device|1",
                                   "frmUpload|read device|1", "frmUpload|read device|1", "frmVersion|version|",
                                   "frmVersion|version|", "frmSprache|language selection|"}));
    for (const QString& f : forms) {
        delete FindForm(f, *w);
        RegisterForm(f, {});
    }
    // "Ausgang" runs the shutdown with its save question.
    w->mDali().letDaliGruppeName(0, "x");
    answers = {msgCancel};
    click("Ausgang");
    EXPECT_TRUE(w->HasProject());
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].style, kYesNoCancelInformation);
}
