// Shared set-up of the window tests: a QApplication, a private settings file, program folder
// and home folder, a scripted message box, scripted file dialogs, manual timers, the program's
// connection dialog, a modal-dialog runner that fails the test unless the test expects a dialog,
// and an error log that fails it when a window is opened by a name that no module registered.
#pragma once

#include "ConnectionDialog.h"
#include "FileDialog.h"
#include "FormTimer.h"
#include "Forms.h"
#include "Messages.h"
#include "ModDefinition.h"
#include "Seams.h"
#include "frm01.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidgetItem>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace corvane::test {

// Style values of the message boxes of kind 1 (OK, exclamation) and kind 4 (Yes/No/Cancel,
// information).
constexpr std::int32_t kOkExclamation = 48;
constexpr std::int32_t kYesNoCancelInformation = 67;

struct Shown {
    std::int32_t style;
    std::string text;
    std::string title;
};

// Fails the test when a modal dialog is shown.
inline void ExpectNoModalDialog() {
    SetModalRunner([](QDialog& d) {
        ADD_FAILURE() << "unexpected modal dialog " << d.objectName().toStdString();
        return 0;
    });
}

// Runs the deferred deletions, so that a window that unloaded itself is gone.
inline void UnloadClosedWindows() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

// Runs `opener`, which must show dialog D modally once, with `user` playing the user; afterwards
// the dialog must have unloaded itself.
template <class D>
void Play(const std::function<void()>& opener, const std::function<void(D&)>& user) {
    int runs = 0;
    SetModalRunner([&](QDialog& d) {
        ++runs;
        user(dynamic_cast<D&>(d));
        return d.result();
    });
    opener();
    EXPECT_EQ(runs, 1);
    UnloadClosedWindows();
    for (QWidget* top : QApplication::topLevelWidgets()) EXPECT_EQ(qobject_cast<D*>(top), nullptr);
}

inline void EditHeader(corlink::clsOrvekDali& dali, const std::function<void(corlink::TypHeader&)>& edit) {
    corlink::TypHeader h = dali.Header();
    edit(h);
    dali.letHeader(h);
}

// The header of a project started afresh for a model: no file, address 0 ("0.0.0"), zero dates;
// description, identifier and remarks kept.
inline corlink::TypHeader Afresh(corlink::TypHeader h, const std::string& order, const std::string& version) {
    h.Bestellnummer = order;
    h.Version = version;
    h.DateiName = "";
    h.phyAdr = 0;
    h.phyAdrString = "0.0.0";
    h.LetzterZugriff = h.LetzterDownload = h.LetzterUpload = 0;
    return h;
}

inline void SetGroupName(corlink::clsOrvekDali& dali, int group, const std::string& name) {
    corlink::TypDaliEinzelGruppe g = dali.DaliEinzelgruppe(static_cast<std::int16_t>(group));
    g.Name = name;
    dali.letDaliEinzelgruppe(static_cast<std::int16_t>(group), g);
}

// Puts ballast `ballast` into DALI group `group` (above 15: none) under a name.
inline void SetBallast(corlink::clsOrvekDali& dali, int ballast, int group, const std::string& name = {}) {
    corlink::TypDaliGruppe g = dali.DaliGruppe(static_cast<std::int16_t>(ballast));
    g.Gruppe = static_cast<std::uint8_t>(group);
    g.Name = name;
    dali.letDaliGruppe(static_cast<std::int16_t>(ballast), g);
}

// Makes a shown window the active one, so that clicks and keys move the focus as the user's do.
inline bool Activate(QWidget& window) {
    QApplication::setActiveWindow(&window);
    return QTest::qWaitForWindowActive(&window);
}

// The nodes of a keyed tree in the order of their Index (1..NodeCount).
inline QList<QTreeWidgetItem*> Nodes(const KeyedTree& tree) {
    QList<QTreeWidgetItem*> nodes;
    for (int i = 1; i <= tree.NodeCount(); ++i) nodes << tree.Node(i);
    return nodes;
}

// The Index of every expanded node of the project tree.
inline QList<int> ExpandedNodes(const frm01& w) {
    QList<int> indexes;
    for (int i = 1; i <= w.TreeView1->NodeCount(); ++i) {
        if (w.TreeView1->Node(i)->isExpanded()) indexes << i;
    }
    return indexes;
}

class Gui : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        // The user's folders (documents, configuration) in the test's own folder.
        qputenv("HOME", dir.filePath("home").toUtf8());
        qputenv("XDG_CONFIG_HOME", dir.filePath("home/.config").toUtf8());
        UseSettingsFile(dir.filePath("settings.ini"));
        SetProgramFolder(dir.path());
        LanguageOffset = kLanguageNotChosen;
        MessageTexts = {};
        SelectedNodeIndex = 1;
        SetMessageBox([this](std::int32_t style, const std::string& text, const std::string& title) {
            shown.push_back({style, text, title});
            if (answers.empty()) return 1;
            const int a = answers.front();
            answers.pop_front();
            return a;
        });
        ExpectNoModalDialog();
        SetErrorLog([](const ErrorRecord& error) {
            if (error.number == errFormNotRegistered) ADD_FAILURE() << error.description;
        });
        // Each file dialog takes the next answer of `files` ("" = cancel).
        SetFileDialog([this](const FileDialogRequest& request) {
            fileRequests.push_back(request);
            if (files.empty()) {
                ADD_FAILURE() << "unexpected file dialog";
                return QString();
            }
            const QString answer = files.front();
            files.pop_front();
            return answer;
        });
        InstallConnectionDialog();
        FormTimer::SetManual(true);
    }

    void TearDown() override {
        SetModalRunner({});
        SetMessageBox({});
        SetErrorLog({});
        SetFileDialog({});
        busdriver::setConnectionDialog({});
        UseSettingsFile({});
        SetProgramFolder({});
        qputenv("HOME", savedHome);
        if (configHomeSet) {
            qputenv("XDG_CONFIG_HOME", savedConfigHome);
        } else {
            qunsetenv("XDG_CONFIG_HOME");
        }
        FormTimer::SetManual(false);
        LanguageOffset = kLanguageNotChosen;
        MessageTexts = {};
    }

    void seed(const char* key, const std::string& value) { SaveSetting(kSettingsApp, kSettingsSection, key, value); }
    std::optional<std::string> stored(const char* key) { return GetSetting(kSettingsApp, kSettingsSection, key); }

    // Writes a file of the program folder.
    void touch(const QString& name, const QByteArray& content = {}) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    }

    // A main window after its start-up, in the given language.
    std::unique_ptr<frm01> start(std::int16_t language) {
        seed("Language", std::to_string(language));
        auto w = std::make_unique<frm01>();
        w->Form_Load();
        return w;
    }

    QTemporaryDir dir;
    // The environment the test replaces, as it was before.
    const QByteArray savedHome = qgetenv("HOME"), savedConfigHome = qgetenv("XDG_CONFIG_HOME");
    const bool configHomeSet = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
    std::vector<Shown> shown;
    std::deque<int> answers;
    std::deque<QString> files;
    std::vector<FileDialogRequest> fileRequests;
};

}  // namespace corvane::test
