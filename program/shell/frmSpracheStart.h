// The first-start language dialog: English or German, before any text can be fetched.
#pragma once

#include "Languages.h"

#include <QDialog>

class QPushButton;
class QRadioButton;

namespace corvane {

class frmSpracheStart : public QDialog {
    Q_OBJECT
public:
    explicit frmSpracheStart(QWidget* parent = nullptr);

    // One option for each language of the list, at its StartOption.
    QRadioButton* OptionSprache[kLanguages.size()] = {};
    QPushButton* COMOK = nullptr;

    void Form_Load();
    // The first selected option gives the language offset, which is set and stored at once.
    void COMOK_Click();
};

}  // namespace corvane
