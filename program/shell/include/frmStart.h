// The splash window, the program's first window: when it comes up its timer starts, and the
// first tick starts the main window and closes the splash.
#pragma once

#include "FormTimer.h"

#include <QWidget>

class QLabel;

namespace corvane {

class frm01;

class frmStart : public QWidget {
    Q_OBJECT
public:
    explicit frmStart(QWidget* parent = nullptr);

    QLabel* Image1 = nullptr;
    FormTimer* Timer1 = nullptr;

    void Form_Load();
    void Form_Activate();
    // Starts the main window once (later ticks do nothing) and unloads the splash. A start-up
    // that fails is reported and ends the program.
    void Timer1_Timer();

    // The main window this splash started (nullptr before the first tick or after a failure).
    frm01* MainWindow() const { return main_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Unload();

    frm01* main_ = nullptr;
    bool started_ = false;
};

}  // namespace corvane
