// The general settings page: the gateway's push-button times, display lighting, date and time
// display and menu language (the project's one TypZeiten record). One instance for the
// program's life: OK stores and hides the page, Cancel hides it; every showing starts from the
// project's record.
#pragma once

#include "corlink/Records.h"

#include <QDialog>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace corvane {

class MainWindowServices;
class clsTextBox;

class frmAllgemein : public QDialog {
    Q_OBJECT
public:
    explicit frmAllgemein(MainWindowServices& main, QWidget* parent = nullptr);

    QGroupBox* FrameLeseZeit = nullptr;
    QGroupBox* FrameDisplay = nullptr;
    QGroupBox* FrameDatum = nullptr;
    QGroupBox* Frame1 = nullptr;
    QLabel* Label1[7] = {};
    QLabel* Label2[4] = {};  // Label2(2) is not used
    QLineEdit* varLTastZeit = nullptr;
    QLineEdit* varSLTastZeit = nullptr;
    QLineEdit* varDispEIN = nullptr;
    QRadioButton* OptionBeleuchtung[2] = {};  // yes, no
    QComboBox* ComboDatumAllg = nullptr;
    QComboBox* ComboZeitDatumFormat = nullptr;
    QComboBox* ComboSprache = nullptr;
    QPushButton* ComDefault = nullptr;
    QPushButton* COMAbbruch = nullptr;
    QPushButton* COMOK = nullptr;

    // The guards of the three number boxes: long, very long push time, display on-time.
    clsTextBox* TextBoxes[3] = {};

    // Event handlers (errors raised here reach the caller; the controls trap them).
    void Form_Load();
    void Form_Activate();
    void ComboDatumAllg_Click();
    void ComDefault_Click();
    void COMOK_Click();
    void COMAbbruch_Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    MainWindowServices& main_;
    corlink::TypZeiten Zeiten;
    // The project's menu language is not among the files offered and the user chose none:
    // OK keeps it.
    bool keepLanguage_ = false;
};

}  // namespace corvane
