// The version box: program name and version (major.minor.revision of the program file).
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace corvane {

// The program's version as major.minor.revision, as the main window's caption shows it.
QString ProgramVersionText();

class frmVersion : public QDialog {
    Q_OBJECT
public:
    explicit frmVersion(QWidget* parent = nullptr);

    QLabel* Label1[2] = {};  // program name, caption of the version line
    QLabel* varVersion = nullptr;
    QPushButton* COMOK = nullptr;

    void Form_Load();
    void COMOK_Click();
};

}  // namespace corvane
