// The project information: the header of the open project, read-only.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace corvane {

class MainWindowServices;

class frmProjektInfo : public QDialog {
    Q_OBJECT
public:
    explicit frmProjektInfo(MainWindowServices& main, QWidget* parent = nullptr);

    // Labels by their design index: 0 address, 1 firmware, 2 order number, 3 project file,
    // 4 last download, 5 last upload, 6 last access.
    QLabel* Label1[7] = {};
    QLineEdit *TextBestell = nullptr, *TextFirmware = nullptr, *TextphyAdr = nullptr, *TextDownload = nullptr,
              *TextUpload = nullptr, *TextDateiZugriff = nullptr, *TextProjekt = nullptr;
    QPushButton* COMOK = nullptr;

    // Texts, size and the boxes filled from mDali's header (dates in the general form).
    void Form_Load();
    void COMOK_Click();

private:
    MainWindowServices& main_;
};

}  // namespace corvane
