// Input guards that a window attaches to one of its controls: clsTextBox checks a number box
// against its range when the focus is about to leave it; clsCombo colours a combo box while it
// has the focus. In both, Enter moves on to the next control as Tab does. GuardProjectText keeps
// a box to the characters the project file can hold.
#pragma once

#include <QObject>
#include <QString>

#include <cstdint>

class QComboBox;
class QLineEdit;

namespace corvane {

class clsTextBox : public QObject {
    Q_OBJECT
public:
    explicit clsTextBox(QObject* parent = nullptr);

    // Binds the box and its range (both bounds included).
    void theTextBox(std::int16_t grenzeLow, std::int16_t grenzeHigh, QLineEdit* box);
    QLineEdit* Box() const { return box_; }

    // The range check: a text with "," or ".", no number, or a number outside the range is
    // refused with message 906 and the range, and the box gets back the text it had when it
    // received the focus. True when the focus may leave the box.
    bool Validate();
    // Validate, and on a refusal the focus goes back into the box; no other box checks itself
    // while the focus moves back. True when the focus may leave the box.
    bool ValidateLeaving();
    // Whether the user typed into the box since it was last checked or filled by the program.
    bool Edited() const { return edited_; }

    void GotFocus();
    // Enter sends a Tab key stroke; true when the key was swallowed.
    bool KeyPress(int key);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* box_ = nullptr;
    std::int16_t low_ = 0;
    std::int16_t high_ = 0;
    QString focusText_;
    bool edited_ = false;
};

class clsCombo : public QObject {
    Q_OBJECT
public:
    explicit clsCombo(QObject* parent = nullptr);

    void theCombo(QComboBox* box);
    void AddText(const QString& text);

    void GotFocus();   // back colour light green, whole text selected
    void LostFocus();  // back colour light cyan
    bool KeyPress(int key);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QComboBox* box_ = nullptr;
};

// Sends a Tab key stroke to a control, which moves the focus on.
void SendTab(QObject& control);
bool IsEnterKey(int key);

// Controls that take the focus without making a clsTextBox check its box (the Cancel button).
void SetCausesValidation(QObject& control, bool causes);

// A box whose text goes into the project, which the project file stores in Windows-1252: characters
// beyond that code page are taken out again as they are typed or pasted, and message 925 names them.
void GuardProjectText(QLineEdit& box);

}  // namespace corvane
