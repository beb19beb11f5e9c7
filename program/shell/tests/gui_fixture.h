// Shared set-up of the window tests: a QApplication, a private settings file and program
// folder, a scripted message box, scripted file dialogs, manual timers, the program's connection
// dialog, and a modal-dialog runner that fails the test unless the test expects a dialog.
#pragma once

#include "ConnectionDialog.h"
#include "FileDialog.h"
#include "FormTimer.h"
#include "Messages.h"
#include "ModDefinition.h"
#include "Seams.h"
#include "frm01.h"

#include <QApplication>
#include <QDialog>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace corvane::test {

struct Shown {
    std::int32_t style;
    std::string text;
    std::string title;
};

class Gui : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
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
        SetModalRunner([](QDialog& d) {
            ADD_FAILURE() << "unexpected modal dialog " << d.objectName().toStdString();
            return 0;
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
        SetFileDialog({});
        busdriver::setConnectionDialog({});
        UseSettingsFile({});
        SetProgramFolder({});
        FormTimer::SetManual(false);
        LanguageOffset = kLanguageNotChosen;
        MessageTexts = {};
    }

    void seed(const char* key, const std::string& value) { SaveSetting(kSettingsApp, kSettingsSection, key, value); }
    std::optional<std::string> stored(const char* key) { return GetSetting(kSettingsApp, kSettingsSection, key); }

    // A main window after its start-up, in the given language.
    std::unique_ptr<frm01> start(std::int16_t language) {
        seed("Language", std::to_string(language));
        auto w = std::make_unique<frm01>();
        w->Form_Load();
        return w;
    }

    QTemporaryDir dir;
    std::vector<Shown> shown;
    std::deque<int> answers;
    std::deque<QString> files;
    std::vector<FileDialogRequest> fileRequests;
};

}  // namespace corvane::test
