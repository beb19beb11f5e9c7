#include "FileDialog.h"
#include "FormTexts.h"
#include "QtMessageBox.h"
#include "StringTable.h"
#include "frmSprache.h"
#include "frmSpracheStart.h"
#include "frmStart.h"
#include "gui_fixture.h"
#include "oledate.h"
#include "testing/as_user.h"
#include "variant.h"

#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>
#include <QTreeWidget>

#include <algorithm>

#include <sys/stat.h>

using namespace corvane;
using namespace corvane::test;

namespace {

bool isId(const QString& text) { return automation::isNumeric(automation::Variant(text.toStdString())); }

// Qt's own texts as the user sees them: the buttons of the save question and, in the program's
// Open dialog, the folder label, the accept button, the locale and the size and date of a file
// of 1536 bytes last changed on 17 May 2024 at 9:30.
QStringList QtOwnTexts(const QString& folder) {
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    QStringList texts;
    for (auto b : {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel}) texts << box.button(b)->text();
    QFile file(QDir(folder).filePath("hall.dal"));
    if (!file.open(QIODevice::WriteOnly) || file.write(QByteArray(1536, 'x')) != 1536 || !file.flush() ||
        !file.setFileTime(QDateTime(QDate(2024, 5, 17), QTime(9, 30)), QFileDevice::FileModificationTime)) {
        ADD_FAILURE() << "cannot write " << file.fileName().toStdString();
    }
    file.close();
    SetFileDialog({});
    SetModalRunner([&](QDialog& d) {
        const auto* lookIn = d.findChild<QLabel*>("lookInLabel");
        const auto* buttons = d.findChild<QDialogButtonBox*>("buttonBox");
        texts << (lookIn ? lookIn->text() : "?") << (buttons ? buttons->buttons().front()->text() : "?")
              << d.locale().name();
        const auto* list = d.findChild<QTreeView*>("treeView");
        QModelIndex row;
        const bool listed = QTest::qWaitFor([&] {
            const QAbstractItemModel* m = list->model();
            for (int i = 0; i < m->rowCount(list->rootIndex()) && !row.isValid(); ++i) {
                const QModelIndex name = m->index(i, 0, list->rootIndex());
                if (name.data().toString() == "hall.dal" && !name.siblingAtColumn(3).data().toString().isEmpty())
                    row = name;
            }
            return row.isValid();
        });
        EXPECT_TRUE(listed);
        texts << row.siblingAtColumn(1).data().toString() << row.siblingAtColumn(3).data().toString();
        return QDialog::Rejected;
    });
    FileDialogRequest open;
    open.mode = FileDialogRequest::Open;
    open.mustExist = true;
    open.initDir = folder;
    ShowFileDialog(open);
    ExpectNoModalDialog();
    return texts;
}

}  // namespace

TEST_F(Gui, SetFormTextsPutsTextsOnEveryKindOfControlAndSkipsWhatFails) {
    QWidget w;
    const auto tagged = []<typename T>(T* c, const char* tag) {
        SetTag(*c, tag);
        return c;
    };
    auto* label = tagged(new QLabel(&w), "496");
    auto* notNumber = tagged(new QLabel("keeps", &w), "abc");
    auto* noText = tagged(new QLabel("no text", &w), "999");  // the table has no text 1999
    auto* option = tagged(new QRadioButton(&w), "455");
    auto* frame = tagged(new QGroupBox(&w), "441");
    QMenu* menu = (new QMenuBar(&w))->addMenu("10");
    QAction* item = menu->addAction("11");
    QAction* wordItem = menu->addAction("Open");
    QAction* withTip = (new QToolBar(&w))->addAction(QString());
    withTip->setToolTip("52");
    const auto texts = [&] {
        return QStringList{label->text(), notNumber->text(), noText->text(),   option->text(),    frame->title(),
                           menu->title(), item->text(),      wordItem->text(), withTip->toolTip()};
    };

    LanguageOffset = 1000;
    SetFormTexts(w);
    EXPECT_EQ(texts(), (QStringList{"cancel", "keeps", "no text", "yes", "adjust times", "File", "New", "Open",
                                    "save project"}));
    // A second call: menus and tooltips have lost their ids and stay; tags give texts anew.
    LanguageOffset = 0;
    SetFormTexts(w);
    EXPECT_EQ(texts(), (QStringList{"Abbruch", "keeps", "no text", "Ja", "Einstellung der Zeiten", "File", "New",
                                    "Open", "save project"}));
}

TEST_F(Gui, MainWindowAndQtsOwnTextsSpeakTheLanguageOfTheStart) {
    const QStringList english = {"&Yes", "&No", "Cancel", "Look in:", "&Open", "en_US", "1.50 KiB", "5/17/24 9:30 AM"};
    const QStringList german = {
        "&Ja", "&Nein", "Abbrechen", "Suchen in:", "&Öffnen", "de_DE", "1,50 KiB", "17.05.24 09:30"};
    const struct {
        std::int16_t language;
        // File menu, download item, exit button, nodes 2 and 8, message title (none: not checked).
        QStringList own;
        QStringList qt;
    } cases[] = {
        {kGerman,
         {"Datei", "Gerät programmieren PC-->KNX", "Programm beenden", "phys. Adresse", "Gruppe1 ()", "Hinweis"},
         german},
        {kEnglish,
         {"File", "program device PC-->KNX", "exit program", "physical address", "Group1 ()", "advice"},
         english},
        {2000, {}, {"&Sì", "&No", "Annulla", "Cerca in:", "&Apri", "it_IT", "1,50 KiB", "17/05/24 09:30"}},
        {3000, {}, {"&Sí", "&No", "Cancelar", "Ver en:", "&Abrir", "es_ES", "1,50 KiB", "17/5/24 9:30"}},
        {4000, {}, {"&Oui", "&Non", "Annuler", "Voir dans :", "&Ouvrir", "fr_FR", "1,50 Kio", "17/05/2024 09:30"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.language);
        auto w = start(c.language);  // a stored language: no dialog (the fixture fails on one)
        // No menu item, button or node is left without a text or with its id.
        for (QMenu* m : w->menuBar()->findChildren<QMenu*>()) {
            EXPECT_FALSE(isId(m->title()));
            for (QAction* a : m->actions()) EXPECT_FALSE(isId(a->text())) << a->objectName().toStdString();
        }
        for (QAction* b : w->Toolbar1->actions()) {
            EXPECT_TRUE(b->isSeparator() || !(b->toolTip().isEmpty() || isId(b->toolTip())));
        }
        for (const QTreeWidgetItem* n : Nodes(*w->TreeView1)) EXPECT_FALSE(n->text(0).isEmpty());
        if (!c.own.isEmpty()) {
            EXPECT_EQ(
                (QStringList{w->mnuMenue->title(), w->mnuinZielGeraet->text(),
                             w->Toolbar1->findChild<QAction*>("Ausgang")->toolTip(), w->TreeView1->Node(2)->text(0),
                             w->TreeView1->Node(8)->text(0), QString::fromStdString(MessageTexts.MsgTitle)}),
                c.own);
        }
        // The title is text 60 (taken without the language offset) and the version 1.2.0.2 as
        // major.minor.revision.
        EXPECT_EQ(w->windowTitle(), QString::fromStdString(LoadResString(60)) + " 1.2.2");
        EXPECT_EQ(QtOwnTexts(dir.path()).join('|').toStdString(), c.qt.join('|').toStdString());
    }
    // A language chosen in the language dialog waits for the next start for Qt's texts and the
    // locale, as for the messages, so a box never mixes two languages; the file filter (text 99)
    // takes it at once.
    const struct {
        std::int16_t language;
        const char* chosen;
        const QStringList& qt;
        const char* filter;
    } switches[] = {{kGerman, "English", german, "DALI Files |*.dal"},
                    {kEnglish, "German", english, "DALI Dateien |*.dal"}};
    for (const auto& s : switches) {
        SCOPED_TRACE(s.chosen);
        auto w = start(s.language);
        auto* d = new frmSprache;  // unloads itself
        d->ComboSprache->setCurrentIndex(d->ComboSprache->findText(s.chosen));
        d->COMOK->click();
        UnloadClosedWindows();
        EXPECT_EQ(QtOwnTexts(dir.path()).join('|').toStdString(), s.qt.join('|').toStdString());
        QString filter;
        SetFileDialog([&](const FileDialogRequest& request) { return filter = request.filter, QString(); });
        w->mnuGeraetLaden->trigger();
        EXPECT_EQ(filter, s.filter);
    }
}

TEST_F(Gui, StatusBarShowsTodaysDateAlsoAfterMidnightAndFollowsTheHeader) {
    double clock = automation::toOleDate({2024, 12, 31, 23, 59, 30});
    const automation::ScopedClock fixed([&] { return clock; });
    auto w = start(kEnglish);
    EXPECT_EQ(w->StatusPanel(1), "31.12.2024");
    auto* timer = w->findChild<FormTimer*>("StatusDateTimer");
    ASSERT_NE(timer, nullptr);
    EXPECT_TRUE(timer->Enabled());
    EXPECT_GT(timer->Interval(), 0);
    EXPECT_LE(timer->Interval(), 60000);  // the new date shows within a minute
    clock = automation::toOleDate({2025, 1, 1, 0, 0, 15});
    timer->Fire();
    EXPECT_EQ(w->StatusPanel(1), "01.01.2025");

    EditHeader(w->mDali(), [](corlink::TypHeader& h) {
        h.DateiName = "/projects/hall.dal";
        h.phyAdrString = "1.1.5";
        h.phyAdr = 0x1105;
        h.LetzterZugriff = automation::toOleDate({2024, 5, 17, 9, 30, 0});
    });
    const QStringList panels = {w->StatusPanel(2), w->StatusPanel(3), w->StatusPanel(4), w->StatusPanel(5),
                                w->StatusPanel(6)};
    EXPECT_EQ(panels, (QStringList{"/projects/hall.dal", "17.05.2024 09:30:00", "-", "-", "1.1.5"}));
    EXPECT_TRUE(shown.empty());
}

TEST_F(Gui, MessageBoxKindsShowTheirButtonsAndReturnTheirCodes) {
    InstallMessageBox();
    using B = QMessageBox;
    const B::StandardButtons okCancel = B::Ok | B::Cancel, yesNo = B::Yes | B::No, all = B::Yes | B::No | B::Cancel;
    const struct {
        int kind;
        B::StandardButtons buttons;
        B::Icon icon;
        B::StandardButton press;
        int result;
    } cases[] = {
        {0, okCancel, B::Warning, B::Ok, 1},    {0, okCancel, B::Warning, B::Cancel, 2},
        {1, B::Ok, B::Warning, B::Ok, 1},       {2, yesNo, B::Warning, B::Yes, 6},
        {2, yesNo, B::Warning, B::No, 7},       {3, B::Ok, B::Information, B::Ok, 1},
        {4, all, B::Information, B::Yes, 6},    {4, all, B::Information, B::No, 7},
        {4, all, B::Information, B::Cancel, 2},
    };
    for (const auto& c : cases) {
        B::StandardButtons seenButtons;
        B::Icon seenIcon = B::NoIcon;
        QString seen;
        // Plays the user: finds the open box and presses the button.
        std::function<void(int)> press = [&](int attempt) {
            for (QWidget* top : QApplication::topLevelWidgets()) {
                auto* box = qobject_cast<B*>(top);
                if (!box || !box->isVisible()) continue;
                seenButtons = box->standardButtons();
                seenIcon = box->icon();
                seen = box->windowTitle() + "|" + box->text();
                box->button(c.press)->click();
                return;
            }
            if (attempt < 500) QTimer::singleShot(10, [&, attempt] { press(attempt + 1); });
        };
        QTimer::singleShot(0, [&] { press(0); });
        EXPECT_EQ(ShowMessage(c.kind, "Text", "advice"), c.result) << c.kind;
        EXPECT_EQ(seenButtons, c.buttons) << c.kind;
        EXPECT_EQ(seenIcon, c.icon) << c.kind;
        EXPECT_EQ(seen, "advice|Text");
    }
    EXPECT_EQ(ShowMessage(5, "Text", "advice"), 0);  // other kinds show no box
    EXPECT_EQ(ShowMessage(-1, "Text", "advice"), 0);
}

TEST_F(Gui, FirstStartAsksForTheLanguageAndOpensAnEmptyProjectInEnglish) {
    for (const char* file : {"MenuSprache.m00", "Italiano.m12", "Notes.mxy", "Readme.txt", "Plan.d12", "Menu.M07",
                             "a.b.m03", "Short.m1", "Deutsch.m00", "Long.m123"}) {
        touch(file);
    }
    // English taken with OK is stored at once, before the main window goes on; a dialog closed
    // without any option selected sets and stores nothing, and English is taken.
    for (const bool choose : {true, false}) {
        SCOPED_TRACE(choose);
        QFile::remove(dir.filePath("settings.ini"));
        int dialogs = 0;
        SetModalRunner([&](QDialog& d) {
            ++dialogs;
            auto& lang = dynamic_cast<frmSpracheStart&>(d);
            EXPECT_EQ(lang.windowTitle(), "Select Language / Sprachauswahl");
            EXPECT_EQ(lang.OptionSprache[0]->text(), "english");
            EXPECT_EQ(lang.OptionSprache[1]->text(), "deutsch");
            EXPECT_TRUE(lang.OptionSprache[0]->isChecked());
            for (int i = 2; i < 5; ++i) EXPECT_TRUE(lang.OptionSprache[i]->isHidden());
            if (!choose) {
                for (auto* o : lang.OptionSprache) o->setAutoExclusive(false), o->setChecked(false);
            }
            lang.COMOK->click();
            EXPECT_EQ(stored("Language"), choose ? std::optional<std::string>("1000") : std::nullopt);
            return choose ? QDialog::Accepted : QDialog::Rejected;
        });
        frm01 w;
        w.Form_Load();
        EXPECT_EQ(dialogs, 1);
        EXPECT_EQ(LanguageOffset, 1000);
        EXPECT_EQ(w.mnuMenue->title(), "File");
        EXPECT_EQ(stored("Language").has_value(), choose);  // otherwise stored when the window unloads

        // Defaults of the other settings.
        EXPECT_EQ(COM, 1);
        EXPECT_EQ(COMTyp, 1);
        EXPECT_EQ(EDI, "1");
        EXPECT_EQ(EDIPara, "1");
        EXPECT_EQ(ShowGrpAdr, 0);
        EXPECT_EQ(QString::fromStdString(DefaultPath),
                  QDir::toNativeSeparators(dir.filePath("home/Documents/Projects")));

        // The menu-language files "*.m??" (any case): names up to the first dot and the last two
        // digits; a name without two final digits is skipped.
        QStringList listed;
        for (const auto& [name, number] : LanguageFileList) {
            listed << QString::fromStdString(name) + "|" + QString::number(number);
        }
        EXPECT_EQ(listed, (QStringList{"Deutsch|0", "Italiano|12", "Menu|7", "MenuSprache|0", "a|3"}));

        // An empty project of model 517104: 40 nodes, nothing changed, header set.
        EXPECT_TRUE(w.TreeView1->isVisibleTo(&w));
        EXPECT_EQ(w.TreeView1->NodeCount(), 40);
        EXPECT_EQ(w.mDali().Header().Bestellnummer, "305719");
        EXPECT_EQ(w.mDali().Header().Version, "1.3");
        EXPECT_FALSE(w.mDali().GetChangeFlag());
        EXPECT_EQ(w.StatusPanel(3), "00:00:00");
        EXPECT_EQ(w.SelectedNode(), w.TreeView1->Node(1));

        // The frame at top 100, left 1, width 15000, height 10000 twips after the first show, as
        // far as the screen's available area holds it (the test screen is narrower).
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
        const QRect area = w.screen()->availableGeometry();
        const QRect frame = w.frameGeometry();
        EXPECT_TRUE(area.contains(frame));
        EXPECT_EQ(frame.size(), QSize(TwipsToPixels(15000), TwipsToPixels(10000)).boundedTo(area.size()));
        if (frame.width() < area.width()) {
            EXPECT_EQ(frame.left(), TwipsToPixels(1));
        }
        if (frame.height() < area.height()) {
            EXPECT_EQ(frame.top(), TwipsToPixels(100));
        }
        EXPECT_TRUE(shown.empty());
    }
}

TEST_F(Gui, WindowsPlacedInTwipsGetThatFrameWithinTheScreen) {
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const auto px = [](int twips) { return TwipsToPixels(twips); };
    const int areaWidth = PixelsToTwips(area.width()), areaHeight = PixelsToTwips(area.height());
    const int right = PixelsToTwips(area.right()), bottom = PixelsToTwips(area.bottom());
    // The window when it is placed; Replaced: hidden, and placed elsewhere before (the last
    // placement holds).
    enum Before { Hidden, Created, Shown, Replaced };
    const struct {
        int left, top, width, height;  // twips; -1 leaves it
        Before before;
        QRect frame;  // pixels; a negative position: not checked
    } cases[] = {
        {1, 100, 3105, 2500, Hidden, QRect(px(1), px(100), px(3105), px(2500))},
        {1, 100, 3105, 2500, Created, QRect(px(1), px(100), px(3105), px(2500))},
        {1, 100, 3105, 2500, Shown, QRect(px(1), px(100), px(3105), px(2500))},
        {1, 100, 3105, 2500, Replaced, QRect(px(1), px(100), px(3105), px(2500))},
        {-1, -1, 5325, 7200, Hidden, QRect(-1, -1, px(5325), px(7200))},
        // Larger than the screen: shrunk to the available area and moved into it.
        {1, 100, areaWidth + 1500, areaHeight + 1500, Hidden, area},
        {1, 100, areaWidth + 1500, 2000, Created, QRect(area.left(), px(100), area.width(), px(2000))},
        // Beyond the right and the bottom edge: moved back in, the size kept.
        {right - 1500, bottom - 1500, 3000, 3000, Hidden,
         QRect(area.right() + 1 - px(3000), area.bottom() + 1 - px(3000), px(3000), px(3000))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.left << "," << c.top << " " << c.width << "x" << c.height << " "
                                        << c.before);
        QWidget window;
        window.setWindowTitle("placed");
        if (c.before == Created) window.winId();
        if (c.before == Replaced) SetWindowTwips(window, 2000, 1500, 4000, 3000);
        if (c.before == Shown) {
            window.show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        }
        SetWindowTwips(window, c.left, c.top, c.width, c.height);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        QApplication::processEvents();
        EXPECT_GT(window.frameGeometry().width(), window.width());  // the frame is counted
        if (c.frame.x() >= 0) {
            EXPECT_EQ(window.frameGeometry(), c.frame);
        } else {
            EXPECT_EQ(window.frameGeometry().size(), c.frame.size());
        }
    }
}

// The tree takes the inner height below the menu bar less the toolbar, the status bar and 100
// twips; a window leaving it no height keeps the tree as it was.
TEST_F(Gui, ResizeGivesTheTreeTheHeightBetweenToolbarAndStatusBar) {
    auto w = start(kEnglish);
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    const int fixed = w->menuBar()->height() + w->Toolbar1->height() + w->BrimcorStatusBar->height();
    const struct {
        int spare;  // window height beyond the bars and the 100 twips, pixels
        int tree;
    } cases[] = {{300, 300}, {1, 1}, {0, 1}, {-3, 1}, {57, 57}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.spare);
        w->resize(w->width(), fixed + TwipsToPixels(100) + c.spare);
        QApplication::processEvents();
        ASSERT_EQ(w->height(), fixed + TwipsToPixels(100) + c.spare);
        EXPECT_EQ(w->TreeView1->height(), c.tree);
    }
}

TEST_F(Gui, SettingsRoundTrip) {
    const std::pair<const char*, const char*> seeded[] = {
        {"COM", "3"},         {"COMTyp", "2"},     {"EDI", "{0A1B2C3D-0000-1111-2222-333344445555}"},
        {"EDIPara", "USB:1"}, {"ShowGrpAdr", "1"}, {"DefaultPath", "/data/projects"}};
    for (const auto& [key, value] : seeded) seed(key, value);
    const auto settings = [] {
        return std::vector<std::string>{std::to_string(COM),        std::to_string(COMTyp),         EDI,        EDIPara,
                                        std::to_string(ShowGrpAdr), std::to_string(LanguageOffset), DefaultPath};
    };
    auto w = start(3000);
    EXPECT_EQ(settings(), (std::vector<std::string>{"3", "2", "{0A1B2C3D-0000-1111-2222-333344445555}", "USB:1", "1",
                                                    "3000", "/data/projects"}));

    COM = 4;
    COMTyp = 3;
    EDI = "";
    EDIPara = "";
    ShowGrpAdr = 0;
    LanguageOffset = 4000;
    DefaultPath = "/other";
    EXPECT_TRUE(w->close());
    EXPECT_FALSE(w->HasProject());
    const std::pair<const char*, const char*> written[] = {
        {"COM", "4"},         {"COMTyp", "3"},          {"EDI", ""}, {"EDIPara", ""}, {"ShowGrpAdr", "0"},
        {"Language", "4000"}, {"DefaultPath", "/other"}};
    for (const auto& [key, value] : written) EXPECT_EQ(stored(key), value) << key;
    auto again = start(4000);  // the next start reads what was written
    EXPECT_EQ(settings(), (std::vector<std::string>{"4", "3", "", "", "0", "4000", "/other"}));
    EXPECT_EQ(again->mnuMenue->title(), "Fichier");

    // A stored number that is no number, or too large, counts as absent.
    seed("COM", "zwei");
    seed("ShowGrpAdr", "70000");
    auto third = start(0);
    EXPECT_EQ(COM, 1);
    EXPECT_EQ(ShowGrpAdr, 0);
}

TEST_F(Gui, ProjectFolderIsMadeInTheUsersDocumentsUnlessOneIsStored) {
    const QString program = dir.filePath("program"), documents = dir.filePath("home/Documents/Projects");
    const QString stored = dir.filePath("elsewhere/Projects");
    const struct {
        bool beside;  // "Projects" beside the program before the start
        const QString* setting;
        const QString& folder;  // DefaultPath
    } cases[] = {
        {false, nullptr, documents},
        {true, nullptr, documents},
        {false, &stored, stored},  // kept as it is, and not made
    };
    SetProgramFolder(program);
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.beside << (c.setting ? " stored" : ""));
        QDir(program).removeRecursively();
        QDir(dir.filePath("home")).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(c.beside ? program + "/Projects" : program));
        const QStringList listed = QDir(program).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        QFile::remove(dir.filePath("settings.ini"));
        if (c.setting) seed("DefaultPath", QDir::toNativeSeparators(*c.setting).toStdString());
        auto w = start(kEnglish);
        EXPECT_EQ(QString::fromStdString(DefaultPath), QDir::toNativeSeparators(c.folder));
        EXPECT_EQ(QFileInfo(c.folder).isDir(), c.setting == nullptr);
        EXPECT_EQ(QFileInfo::exists(documents), c.setting == nullptr);
        EXPECT_EQ(QDir(program).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), listed);
        EXPECT_TRUE(shown.empty());
    }
}

TEST_F(Gui, ProjectFolderIsTheUsersOwnWhateverLiesBesideTheProgram) {
    const auto user = unprivileged::testUser();
    if (!user) GTEST_SKIP() << "no user nobody to run the permission cases as";
    // Another user's folders: root's (0755) where the tests run as root, else the tests' own made read-only.
    const mode_t others = user->other ? 0755 : 0555;
    const auto mode = [](const QString& folder, mode_t m) { ASSERT_EQ(::chmod(folder.toLocal8Bit().data(), m), 0); };
    const auto listing = [](const QString& folder) {
        return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    };
    mode(dir.path(), 0755);
    const QString program = dir.filePath("program"), beside = program + "/Projects", home = dir.filePath("home");
    SetProgramFolder(program);
    const struct {
        mode_t programMode;
        std::optional<mode_t> besideMode;  // another user's "Projects" beside the program; none: missing
        bool documents;                    // a documents folder, else none (the home folder is taken)
    } cases[] = {
        {0777, std::nullopt, true},    // the user may create files beside the program
        {others, std::nullopt, true},  // may not
        {others, 0777, true},          // another user's, world-writable
        {others, others, true},        // another user's
        {0777, std::nullopt, false},   // no documents folder: the home folder's
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::oct << c.programMode << " " << c.besideMode.value_or(0) << " "
                                        << c.documents);
        ASSERT_TRUE(QDir().mkpath(program) && QDir().mkpath(home));
        mode(home, 0777);
        if (c.besideMode) {
            ASSERT_TRUE(QDir().mkpath(beside));
            mode(beside, *c.besideMode);
        }
        mode(program, c.programMode);
        const QStringList listed = listing(program);
        const QString documents = c.documents ? home + "/Documents" : QString();
        const QString chosen = (c.documents ? documents : home) + "/Projects";
        EXPECT_EQ(unprivileged::runAs(*user, [&] { return ProjectFolderFor(documents) == chosen ? 0 : 1; }), 0);
        EXPECT_TRUE(QFileInfo(chosen).isDir());
        EXPECT_EQ(QFileInfo(chosen).ownerId(), user->uid);  // made by the user
        EXPECT_EQ(listing(program), listed);
        mode(program, 0755);
        if (c.besideMode) mode(beside, 0755);
        QDir(program).removeRecursively();
        QDir(home).removeRecursively();
    }
}

TEST_F(Gui, SplashStartsTheMainWindowOnceAtItsFirstTickAndReleasesItsPicture) {
    seed("Language", "1000");
    auto splash = std::make_unique<frmStart>();
    EXPECT_FALSE(splash->Timer1->Enabled());
    EXPECT_EQ(splash->Timer1->Interval(), 2000);
    splash->show();
    EXPECT_TRUE(splash->Timer1->Enabled());
    EXPECT_FALSE(splash->Image1->pixmap().isNull());
    splash->Timer1->Fire();
    std::unique_ptr<frm01> main(splash->MainWindow());
    ASSERT_NE(main, nullptr);
    EXPECT_FALSE(splash->isVisible());
    EXPECT_TRUE(splash->Image1->pixmap().isNull());  // unloaded
    splash->Timer1->Fire();                          // a late tick starts nothing
    EXPECT_EQ(splash->MainWindow(), main.get());
    const QWidgetList windows = QApplication::topLevelWidgets();
    EXPECT_EQ(std::count_if(windows.begin(), windows.end(), [](QWidget* t) { return qobject_cast<frm01*>(t); }), 1);
    QApplication::processEvents();
    EXPECT_TRUE(main->isVisible());
    EXPECT_EQ(ExpandedNodes(*main), (QList<int>{1, 7}));  // node 11 lies in the groups node
    EXPECT_EQ(main->SelectedNode(), main->TreeView1->Node(1));
}

TEST_F(Gui, ShutdownAsksToSaveUnsavedChanges) {
    // Unchanged: no question.
    {
        auto w = start(kEnglish);
        EXPECT_TRUE(w->close());
        EXPECT_TRUE(shown.empty());
    }
    // Cancel keeps the window and writes nothing; No ends with the settings written.
    {
        QFile::remove(dir.filePath("settings.ini"));
        auto w = start(kEnglish);
        COM = 2;
        w->mDali().letDaliGruppeName(3, "Lobby");
        answers = {msgCancel, msgNo};
        EXPECT_FALSE(w->close());
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].style, kYesNoCancelInformation);
        EXPECT_EQ(shown[0].text, "The data already projected has not yet been saved, would you like to save it now?");
        EXPECT_EQ(shown[0].title, "advice");
        EXPECT_TRUE(w->HasProject());
        EXPECT_FALSE(stored("COM").has_value());
        EXPECT_TRUE(w->close());
        EXPECT_FALSE(w->HasProject());
        EXPECT_EQ(stored("COM"), "2");
    }
    // Yes saves into the project's file and then ends.
    {
        shown.clear();
        auto w = start(kEnglish);
        EditHeader(w->mDali(), [&](corlink::TypHeader& h) { h.DateiName = dir.filePath("lobby.dal").toStdString(); });
        answers = {msgYes};
        EXPECT_TRUE(w->close());
        EXPECT_EQ(shown.size(), 1u);
        EXPECT_TRUE(QFile::exists(dir.filePath("lobby.dal")));
    }
    // Yes with a save that is not done keeps the window open, so nothing is lost: a project
    // without a file name (Save As chooses none here) ...
    {
        shown.clear();
        auto w = start(kEnglish);
        w->mDali().letDaliGruppeName(3, "Lobby");
        answers = {msgYes};
        files = {""};
        EXPECT_FALSE(w->close());
        EXPECT_TRUE(w->HasProject());
        // ... and a file that cannot be written: the error is reported, the program goes on.
        EditHeader(w->mDali(),
                   [&](corlink::TypHeader& h) { h.DateiName = dir.filePath("no/such/folder/x.dal").toStdString(); });
        shown.clear();
        answers = {msgYes};
        EXPECT_FALSE(w->close());
        ASSERT_EQ(shown.size(), 2u);
        EXPECT_TRUE(QString::fromStdString(shown[1].text).startsWith("Please contact manufacturer: error code  "));
        EXPECT_TRUE(w->HasProject());
        answers = {msgNo};
        EXPECT_TRUE(w->close());
    }
}

// A window name that no module registered is reported (error 429) and opens nothing; a loaded
// window is found only for the main window it was made for.
TEST_F(Gui, UnregisteredWindowNamesAreReportedAndWindowsBelongToTheirMainWindow) {
    auto w = start(kEnglish);
    std::vector<std::string> logged;
    SetErrorLog([&](const ErrorRecord& e) { logged.push_back(std::to_string(e.number) + " " + e.description); });
    EXPECT_EQ(LoadForm("frmNirgends", *w), nullptr);
    EXPECT_EQ(NewForm("frmNirgends", *w), nullptr);
    EXPECT_EQ(logged, std::vector<std::string>(2, "429 No module registered the window frmNirgends"));
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].text, "Please contact manufacturer: error code  429");

    RegisterForm("frmTest", [](MainWindowServices&) { return new QDialog; });
    frm01 other;
    std::unique_ptr<QWidget> mine(LoadForm("frmTest", *w));
    EXPECT_EQ(FindForm("frmTest", *w), mine.get());
    EXPECT_EQ(FindForm("frmTest", other), nullptr);
    std::unique_ptr<QWidget> theirs(LoadForm("frmTest", other));
    EXPECT_NE(theirs.get(), mine.get());
    EXPECT_EQ(LoadForm("frmTest", *w), mine.get());
    RegisterForm("frmTest", {});
}
