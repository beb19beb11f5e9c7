// What the commissioning dialogs share: a dialog that unloads itself when it closes and
// guards its gateway calls, and the design of the run dialogs (installation and transfer):
// a start button, a close button, a progress line and a progress bar.
#pragma once

#include "FormTimer.h"

#include <QDialog>

#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;
class QSlider;
class QVBoxLayout;

namespace corlink {
class clsOrvekDali;
}

namespace corvane {

class MainWindowServices;

class GatewayDialog : public QDialog {
    Q_OBJECT
public:
    // True while one of the dialog's gateway calls runs. The call lets the windows work
    // meanwhile, so a timer tick or a click may arrive: they start nothing, and the dialog
    // cannot be closed until the call has returned.
    bool InCall() const { return inCall_; }

    void done(int result) override;

protected:
    // A dialog of the main window `main`, which it keeps.
    GatewayDialog(const QString& name, MainWindowServices& main);

    // The main window the dialog was opened for, and its project object for one call.
    MainWindowServices& Main() const { return main_; }
    corlink::clsOrvekDali& Project() const;

    // Runs one gateway call with the guard up.
    std::int16_t Call(const std::function<std::int16_t()>& call);

    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

    // The activation of a dialog that checks the gateway's address when it opens: runs once,
    // queued after the window is first shown, so that it can unload itself.
    void ActivateWhenShown(std::function<void()> activate);
    // The activation's address check: message 910 and the dialog unloads when the header holds
    // no valid physical address.
    bool AddressValidOrUnload();

    // A level slider in per cent, 0..100, with a tick every 10.
    static QSlider* PercentSlider(QWidget* parent, const char* name);

    // The dialog has stored something in the project: the main window's tree is rebuilt when
    // the dialog closes, whichever way it is closed.
    void ProjectChanged() { treeOutdated_ = true; }
    // The close button of a dialog that stores into the project: closes the dialog, and the tree
    // is rebuilt as it closes in any case.
    void CloseAndRebuildProjectTree();
    // Stores what the user did and the dialog has not stored yet; every way of closing runs it
    // first, before the tree is rebuilt.
    virtual void KeepWhatTheUserDid() {}

private:
    void RebuildProjectTree();

    MainWindowServices& main_;
    bool inCall_ = false;
    bool treeOutdated_ = false;
    std::function<void()> activate_;
};

class RunDialog : public GatewayDialog {
    Q_OBJECT
public:
    QPushButton* ComUpLoad = nullptr;
    QPushButton* ComClose = nullptr;
    QLabel* LabelInfo = nullptr;
    QProgressBar* ProgressNeuinstallation = nullptr;  // 0..24
    FormTimer* TimerNeuinstallation = nullptr;

    // True from a start until the run has ended (finished, or failed for good); the start
    // button is off meanwhile.
    bool Running() const { return running_; }

protected:
    // startTextId: the start button's text; timerMs: the interval of the dialog's timer.
    RunDialog(const QString& name, MainWindowServices& main, int startTextId, int timerMs);

    // Further lines below the progress line.
    QVBoxLayout* Lines() const { return lines_; }

    void Form_Load();
    // Start and close buttons off: a run is under way.
    void BeginRun();
    // Text 880 in the progress line and the close button on; the run goes on (see EndRun).
    void ShowFailure();
    // Both buttons on: the run is over.
    void EndRun();
    // The bar's value, kept within its range.
    void SetProgress(int value);
    void SetInfo(int textId);

    // Connects the start button and the timer: an error ends the run (after its message).
    void ConnectRun(const std::function<void()>& start, const std::function<void()>& tick);

private:
    QVBoxLayout* lines_ = nullptr;
    bool running_ = false;
};

}  // namespace corvane
