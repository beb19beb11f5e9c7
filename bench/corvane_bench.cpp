// Benchmark of the program's start-up and of its project tree. It prints three figures:
//  - the main window's first paint, as a ratio to a bare Qt main window of the same size with a
//    40-node tree (the splash's fixed 2000 ms left out: its timer fires at its first paint);
//  - the peak memory (resident set) of both, as a ratio;
//  - the tree rebuild of a full project (64 named ballasts in 16 named groups, 16 scenes in use).
// Each start-up runs in its own child process (this program again, with a child mode), both
// kinds alternating within one run; the figures are medians. Usage: corvane_bench [runs] (15)
#include "FormTimer.h"
#include "Program.h"
#include "Registration.h"
#include "Seams.h"
#include "frm01.h"
#include "frmStart.h"

#include <QApplication>
#include <QMainWindow>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QWindow>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

long long nowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch()).count();
}

// The settings and program folder of every window started here: a scratch folder, English, so
// that neither the user's settings nor the first-start language dialog take part.
void useScratchFolder(const QString& folder) {
    corvane::UseSettingsFile(folder + "/settings.ini");
    corvane::SetProgramFolder(folder);
}

// Calls `first` once, after the first paint of the top-level window with that object name.
class FirstPaint : public QObject {
public:
    FirstPaint(const char* window, std::function<void()> first) : window_(window), first_(std::move(first)) {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (first_ && e->type() == QEvent::Paint && o->isWidgetType() && static_cast<QWidget*>(o)->isWindow() &&
            o->objectName() == window_) {
            // Queued: the window's children are painted in the same pass, after their parent.
            QTimer::singleShot(0, std::exchange(first_, {}));
        }
        return false;
    }

private:
    QString window_;
    std::function<void()> first_;
};

[[noreturn]] void reportAndExit() {
    std::printf("%lld\n", nowNs());
    std::fflush(stdout);
    std::_Exit(0);
}

// A child that never paints (a dialog in the way) fails instead of hanging the benchmark.
void watchdog() {
    QTimer::singleShot(20000, [] { std::_Exit(2); });
}

// Child: a bare main window of the main window's size with a tree of 40 nodes shaped like the
// project tree of an empty project.
int childBare(int argc, char** argv) {
    QApplication app(argc, argv);
    watchdog();
    QMainWindow window;
    window.setObjectName("bare");
    auto* tree = new QTreeWidget;
    tree->setHeaderHidden(true);
    auto* root = new QTreeWidgetItem(tree, {"DALI"});
    QTreeWidgetItem* groups = nullptr;
    for (int i = 0; i < 7; ++i) {
        auto* child = new QTreeWidgetItem(root, {QString("Node %1").arg(i)});
        if (i == 5) groups = child;
        if (i == 6) {
            for (int n = 0; n < 16; ++n) new QTreeWidgetItem(child, {QString("Scene%1").arg(n + 1)});
        }
    }
    for (int n = 0; n < 16; ++n) new QTreeWidgetItem(groups, {QString("Group%1 ()").arg(n + 1)});
    root->setExpanded(true);
    window.setCentralWidget(tree);
    corvane::SetWindowTwips(window, 1, 100, 15000, 10000);
    FirstPaint painted("bare", reportAndExit);
    window.show();
    return QApplication::exec();
}

// Child: the program's start-up as main.cpp runs it, from the splash to the main window's first
// paint.
int childCorvane(int argc, char** argv, const QString& folder) {
    QApplication app(argc, argv);
    watchdog();
    useScratchFolder(folder);
    corvane::RegisterProgramModules();
    corvane::PrepareApplication();
    corvane::FormTimer::SetManual(true);
    corvane::frmStart* splash = corvane::ShowSplash();
    FirstPaint splashPainted("frmStart", [splash] { splash->Timer1->Fire(); });
    FirstPaint mainPainted("frm01", reportAndExit);
    return QApplication::exec();
}

struct ChildRun {
    double ms = 0;
    double peakMb = 0;
};

// Runs this program in a child mode; the time from the spawn to the child's first paint, and
// the child's peak resident set.
ChildRun runChild(const char* mode, const QString& folder) {
    int out[2];
    if (pipe(out) != 0) std::abort();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    const std::string self = "/proc/self/exe";
    const std::string folderText = folder.toStdString();
    std::vector<char*> args = {const_cast<char*>("corvane_bench"), const_cast<char*>(mode),
                               const_cast<char*>(folderText.c_str()), nullptr};
    const long long start = nowNs();
    pid_t pid = 0;
    if (posix_spawn(&pid, self.c_str(), &actions, nullptr, args.data(), environ) != 0) {
        std::perror("posix_spawn");
        std::exit(1);
    }
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    std::string text;
    char buffer[64];
    for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<std::size_t>(n));
    close(out[0]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || text.empty()) {
        std::fprintf(stderr, "child %s failed\n", mode);
        std::exit(1);
    }
    return {static_cast<double>(std::stoll(text) - start) / 1e6, static_cast<double>(usage.ru_maxrss) / 1024.0};
}

// The tree rebuild of a full project in a shown main window, with the repaint that follows it.
double rebuildMs(int argc, char** argv, const QString& folder, int runs) {
    QApplication app(argc, argv);
    useScratchFolder(folder);
    corvane::frm01 window;
    window.Form_Load();
    window.show();
    for (int i = 0; i < 50 && !(window.windowHandle() && window.windowHandle()->isExposed()); ++i) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    corlink::clsOrvekDali& dali = window.mDali();
    for (std::int16_t n = 0; n < 16; ++n) {
        corlink::TypDaliEinzelGruppe g = dali.DaliEinzelgruppe(n);
        g.Name = "Room " + std::to_string(n + 1);
        dali.letDaliEinzelgruppe(n, g);
        corlink::TypDaliScene s = dali.DaliScene(n);
        s.Byte1 = static_cast<std::uint8_t>(0x80 >> (n % 8));
        s.Byte2 = static_cast<std::uint8_t>(n + 1);
        dali.letDaliScene(n, s);
    }
    for (std::int16_t i = 0; i < 64; ++i) {
        corlink::TypDaliGruppe b = dali.DaliGruppe(i);
        b.Gruppe = static_cast<std::uint8_t>(i / 4);
        b.Name = "Luminaire " + std::to_string(i + 1);
        dali.letDaliGruppe(i, b);
    }
    std::vector<double> ms;
    for (int r = 0; r <= runs; ++r) {
        const auto t0 = Clock::now();
        window.CreateObjektDataTree();
        QApplication::processEvents();
        const double elapsed = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
        if (r > 0) ms.push_back(elapsed);  // the first one warms up
    }
    if (window.TreeView1->NodeCount() != 104) {
        std::fprintf(stderr, "unexpected tree of %d nodes\n", window.TreeView1->NodeCount());
        std::exit(1);
    }
    return median(ms);
}

}  // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Only the figures are printed; Qt's notes about the platform are not.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", qPrintable(text));
    });
    if (argc == 3 && std::strcmp(argv[1], "--child-bare") == 0) return childBare(1, argv);
    if (argc == 3 && std::strcmp(argv[1], "--child-corvane") == 0) return childCorvane(1, argv, argv[2]);

    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    QTemporaryDir folder;
    if (!folder.isValid()) return 1;
    // English, chosen before: no first-start dialog; a project folder stored, so that nothing is
    // made in the user's documents.
    useScratchFolder(folder.path());
    corvane::SaveSetting(corvane::kSettingsApp, corvane::kSettingsSection, "Language", "1000");
    corvane::SaveSetting(corvane::kSettingsApp, corvane::kSettingsSection, "DefaultPath", folder.path().toStdString());
    std::vector<double> bareMs, bareMb, mainMs, mainMb;
    for (int r = 0; r < runs; ++r) {
        // Alternating order, so that neither kind always runs on a warmer machine.
        for (int k = 0; k < 2; ++k) {
            const bool bare = (r + k) % 2 == 0;
            const ChildRun c = runChild(bare ? "--child-bare" : "--child-corvane", folder.path());
            (bare ? bareMs : mainMs).push_back(c.ms);
            (bare ? bareMb : mainMb).push_back(c.peakMb);
        }
    }
    const double rebuild = rebuildMs(1, argv, folder.path(), std::max(runs, 25));

    const double bt = median(bareMs), mt = median(mainMs), bm = median(bareMb), mm = median(mainMb);
    std::printf("Median of %d runs each, bare Qt main window and Corvane side by side (%s):\n", runs,
                qgetenv("QT_QPA_PLATFORM").constData());
    std::printf("start-up to first paint: bare %.1f ms, Corvane %.1f ms, ratio %.2f (goal <= 2.00)\n", bt, mt, mt / bt);
    std::printf("peak memory:             bare %.1f MB, Corvane %.1f MB, ratio %.2f (goal <= 1.25)\n", bm, mm, mm / bm);
    std::printf("tree rebuild, full project (104 nodes), with its repaint: %.2f ms (goal <= 10)\n", rebuild);
    return 0;
}
