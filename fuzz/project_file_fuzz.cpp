// Fuzz target: any bytes as a project file. The library reads it through both open operations;
// then the program reads it as its open command does (once, parsed aside under the model its
// header names, then taken over whole) and shows what it read: the status bar, the project
// information, the project tree's list and the printout to a recording printer and to the print
// file. A refused file leaves the project, the program's model tables and the status bar as they
// were. (The tree window is not rebuilt for every input: it takes far longer than everything else
// together.)
#include "DateText.h"
#include "FileDialog.h"
#include "FormTimer.h"
#include "Messages.h"
#include "ModDefinition.h"
#include "ModPrinter.h"
#include "ModelTables.h"
#include "PrinterObject.h"
#include "Seams.h"
#include "automation_error.h"
#include "frm01.h"
#include "frmProjektInfo.h"
#include "fuzz_support.h"
#include "oledate.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>

#include <vector>

using namespace corlink;

namespace {

// The stored part of a project; dates by their bits (a NaN equals itself).
struct Snapshot {
    TypHeader header;  // its dates 0
    std::array<std::uint64_t, 3> dates;
    std::vector<TypDaliGruppe> ballasts;
    std::vector<TypDaliScene> scenes;
    std::vector<TypDaliEinzelGruppe> groups;
    bool changed = false;
    bool operator==(const Snapshot&) const = default;

    void takeHeader(const TypHeader& h) {
        header = h;
        dates = corvane_fuzz::dateBits(h);
        header.LetzterZugriff = header.LetzterDownload = header.LetzterUpload = 0;
    }
};

Snapshot snapshotOf(const clsOrvekDali& p) {
    Snapshot s;
    s.takeHeader(p.Header());
    for (std::int16_t i = 0; i <= 64; ++i) s.ballasts.push_back(p.DaliGruppe(i));
    for (std::int16_t i = 0; i <= 16; ++i) {
        s.scenes.push_back(p.DaliScene(i));
        s.groups.push_back(p.DaliEinzelgruppe(i));
    }
    s.changed = p.GetChangeFlag();
    return s;
}

// Keeps what a printer run printed, one row per text.
class RecordingPrinter : public corvane::PrinterObject {
public:
    explicit RecordingPrinter(std::vector<std::string>& texts) : texts_(texts) { texts_.clear(); }
    void Print(const std::string& text) override {
        texts_.push_back(text);
        CurrentY += 1;
    }
    void Line(double, double, double x2, double y2) override {
        CurrentX = x2;
        CurrentY = y2;
    }
    void NewPage() override {}
    void EndDoc() override {}
    void KillDoc() override {}

private:
    std::vector<std::string>& texts_;
};

std::vector<std::string> printed;
std::unique_ptr<corvane::frm01> mainWindow;
int interfaceErrors = 0;

struct Events : clsOrvekDaliEvents {
    void InterfaceError(std::int16_t) override { ++interfaceErrors; }
};

// The library alone, on one project for the whole run: sized for the gateway models, its stored
// fields at first set to values of their own, later holding the last file read. It reads the
// header, then the whole file; what it refuses leaves it as it was.
struct LibraryProject {
    clsOrvekDali p;
    LibraryProject() {
        corlink::test::size(p);  // the gateway models' limits
        TypHeader h;
        h.ProjektBeschreibung = "mine";
        h.LetzterDownload = 1.5;
        p.letHeader(h);
        for (std::int16_t i = 0; i < 64; ++i) p.letDaliGruppeName(i, "ballast");
        p.letDaliScene(3, {1, 2, 3});
        p.letDaliEinzelgruppe(4, {"group", 1, 2, 3, "", 4});
    }
};

void openInTheLibrary(const std::string& file) {
    static LibraryProject library;
    clsOrvekDali& p = library.p;
    Snapshot before = snapshotOf(p);
    try {
        p.OpenProjektMaxData(file);
        before.takeHeader(p.Header());
    } catch (const automation::AutomationError&) {
        FUZZ_CHECK(snapshotOf(p) == before);
    }
    Events events;
    p.setEventSink(&events);
    interfaceErrors = 0;
    p.OpenProjektData(file);
    p.setEventSink(nullptr);
    if (interfaceErrors > 0) FUZZ_CHECK(snapshotOf(p) == before);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    using namespace corvane;
    const QString folder = QString::fromStdString(corvane_fuzz::scratchFolder().string());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("XDG_RUNTIME_DIR", folder.toUtf8());
    static int argc = 1;
    static char name[] = "project_file_fuzz";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    // The window and the application end before the leak check at exit.
    std::atexit([] {
        mainWindow.reset();
        delete app;
    });

    UseSettingsFile(folder + "/settings.ini");
    SetProgramFolder(folder);
    SaveSetting(kSettingsApp, kSettingsSection, "Language", "1000");
    SaveSetting(kSettingsApp, kSettingsSection, "DefaultPath", folder.toStdString());  // nothing made in the documents
    SetMessageBox([](std::int32_t, const std::string&, const std::string&) { return 1; });
    SetModalRunner([](QDialog&) { return 0; });
    SetFileDialog([](const FileDialogRequest&) { return QString(); });
    FormTimer::SetManual(true);
    SetPrinterFactory([] { return std::make_unique<RecordingPrinter>(printed); });
    automation::setClock([] { return automation::toOleDate({2024, 6, 3, 14, 5, 9}); });
    mainWindow = std::make_unique<frm01>();
    mainWindow->Form_Load();
    // The first texts shown load the fonts, whose library keeps a few allocations of its own
    // for ever: that happens here, before the leak checks of the inputs.
    TypHeader h = mainWindow->mDali().Header();
    h.DateiName = "warm-up.dal";
    mainWindow->mDali().letHeader(h);
    frmProjektInfo(*mainWindow).show();
    PrintProject(*mainWindow, 0);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace corvane;
    const std::filesystem::path file = corvane_fuzz::scratchFolder() / "input.dal";
    corvane_fuzz::writeBytes(file, data, size);
    openInTheLibrary(file.string());

    clsOrvekDali& project = mainWindow->mDali();
    const Snapshot before = snapshotOf(project);
    const ModelTables model = Model;
    const auto statusBar = [] {
        std::vector<QString> panels;
        for (int panel = 2; panel <= 6; ++panel) panels.push_back(mainWindow->StatusPanel(panel));
        return panels;
    };
    const std::vector<QString> shownBefore = statusBar();
    frm01::FileOpen opened = frm01::FileOpen::NotRead;
    try {
        opened = mainWindow->ReadProjectFile(file.string());
    } catch (const automation::AutomationError&) {
        // The open command reports it.
    }
    if (opened != frm01::FileOpen::Opened) {
        FUZZ_CHECK(snapshotOf(project) == before);
        FUZZ_CHECK(Model == model);
        FUZZ_CHECK(statusBar() == shownBefore);
        return 0;
    }

    // What the program shows of the project: the status bar took the header already.
    const TypHeader h = project.Header();
    FUZZ_CHECK(mainWindow->StatusPanel(3).toStdString() == GeneralDate(h.LetzterZugriff));
    frmProjektInfo info(*mainWindow);
    FUZZ_CHECK(info.TextDownload->text().toStdString() == GeneralDate(h.LetzterDownload));
    SafeArray<TypDynamicTasten> tree;
    project.GetDataTree(tree);
    FUZZ_CHECK(tree.allocated() && tree.size() >= 1);
    PrintProject(*mainWindow, 0);
    PrintProject(*mainWindow, 1);
    QFile::remove(QString::fromStdString((corvane_fuzz::scratchFolder() / "Print.txt").string()));
    return 0;
}
