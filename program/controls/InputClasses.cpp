#include "InputClasses.h"

#include "Messages.h"
#include "ModDefinition.h"
#include "StringTable.h"
#include "text1252.h"
#include "variant.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPalette>
#include <QScopedValueRollback>

namespace corvane {

void SendTab(QObject& control) {
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QCoreApplication::sendEvent(&control, &tab);
}

bool IsEnterKey(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }

void SetCausesValidation(QObject& control, bool causes) { control.setProperty("CausesValidation", causes); }

namespace {

bool CausesValidation(const QWidget* w) {
    return !w || !w->property("CausesValidation").isValid() || w->property("CausesValidation").toBool();
}

// Set while a box checks itself and takes the focus back: the focus changes this causes are no
// leaving of another box, which would otherwise refuse in turn, and so on without end.
bool refusing = false;

// Swallows the mouse press that moved the focus out of a box that refused: the press reaches its
// control only after the focus has moved, and the click it starts must not run. Only a press
// before the event loop runs again is that press.
class PressCanceller : public QObject {
public:
    static void Arm() {
        auto* canceller = new PressCanceller;
        QCoreApplication::instance()->installEventFilter(canceller);
        canceller->deleteLater();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (!watched->isWidgetType() || (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick)) {
            return false;
        }
        QCoreApplication::instance()->removeEventFilter(this);
        return true;
    }
};

}  // namespace

clsTextBox::clsTextBox(QObject* parent) : QObject(parent) {}

void clsTextBox::theTextBox(std::int16_t grenzeLow, std::int16_t grenzeHigh, QLineEdit* box) {
    low_ = grenzeLow;
    high_ = grenzeHigh;
    box_ = box;
    box_->installEventFilter(this);
    connect(box_, &QLineEdit::textEdited, this, [this] { edited_ = true; });
    connect(box_, &QLineEdit::textChanged, this, [this] {
        if (!box_->isModified()) edited_ = false;  // filled by the program
    });
}

void clsTextBox::GotFocus() {
    focusText_ = box_->text();
    box_->setSelection(0, static_cast<int>(box_->text().size()));
}

bool clsTextBox::KeyPress(int key) {
    if (!IsEnterKey(key)) return false;
    SendTab(*box_);
    return true;
}

bool clsTextBox::Validate() {
    bool cancel = false;
    auto refuse = [this, &cancel] {
        const std::string text = MessageText(MessageTexts.MsgValueOutOfRange, 906) + " (" + std::to_string(low_) + "-" +
                                 std::to_string(high_) + ")";
        ShowMessage(1, text);
        box_->setText(focusText_);
        cancel = true;
    };
    if (box_->text().contains(',') || box_->text().contains('.')) refuse();
    double value = 0;
    if (!automation::parseNumber(box_->text().toStdString(), value)) {
        refuse();
    } else if (value < low_ || value > high_) {
        refuse();
    }
    if (!cancel) edited_ = false;
    return !cancel;
}

bool clsTextBox::ValidateLeaving() {
    const QScopedValueRollback<bool> guard(refusing, true);
    const bool leave = Validate();
    if (!leave) box_->setFocus(Qt::OtherFocusReason);
    return leave;
}

bool clsTextBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == box_) {
        switch (event->type()) {
        case QEvent::FocusIn: GotFocus(); break;
        case QEvent::KeyPress:
            if (KeyPress(static_cast<QKeyEvent*>(event)->key())) return true;
            break;
        case QEvent::FocusOut: {
            const auto reason = static_cast<QFocusEvent*>(event)->reason();
            // Another window (a message box) taking the focus is no leaving of the box.
            if (refusing || reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) break;
            if (!CausesValidation(QApplication::focusWidget())) break;
            if (!ValidateLeaving() && reason == Qt::MouseFocusReason) PressCanceller::Arm();
            break;
        }
        default: break;
        }
    }
    return QObject::eventFilter(watched, event);
}

clsCombo::clsCombo(QObject* parent) : QObject(parent) {}

void clsCombo::theCombo(QComboBox* box) {
    box_ = box;
    box_->installEventFilter(this);
}

void clsCombo::AddText(const QString& text) { box_->addItem(text); }

namespace {

void setBackColour(QComboBox& box, const QColor& colour) {
    QPalette p = box.palette();
    p.setColor(QPalette::Base, colour);
    p.setColor(QPalette::Button, colour);
    box.setPalette(p);
}

}  // namespace

void clsCombo::GotFocus() {
    setBackColour(*box_, QColor(0, 255, 0));  // console colour 10, light green
    if (box_->lineEdit()) box_->lineEdit()->selectAll();
}

void clsCombo::LostFocus() { setBackColour(*box_, QColor(0, 255, 255)); }  // console colour 11, light cyan

bool clsCombo::KeyPress(int key) {
    if (!IsEnterKey(key)) return false;
    SendTab(*box_);
    return true;
}

bool clsCombo::eventFilter(QObject* watched, QEvent* event) {
    if (watched == box_) {
        if (event->type() == QEvent::FocusIn) GotFocus();
        if (event->type() == QEvent::FocusOut) LostFocus();
        if (event->type() == QEvent::KeyPress && KeyPress(static_cast<QKeyEvent*>(event)->key())) return true;
    }
    return QObject::eventFilter(watched, event);
}

// ---- project texts -------------------------------------------------------------------------

namespace {

bool FitsWindows1252(char32_t c) {
    return c == U'?' || automation::toWindows1252(QString::fromUcs4(&c, 1).toStdString()) != "?";
}

class ProjectTextGuard : public QObject {
public:
    explicit ProjectTextGuard(QLineEdit& box) : QObject(&box), box_(box) {
        connect(&box_, &QLineEdit::textEdited, this, [this] { TakeOutForeign(); });
    }

private:
    void TakeOutForeign() {
        const QString text = box_.text();
        const int cursor = box_.cursorPosition();
        QString kept;
        QStringList refused;
        int keptBeforeCursor = 0;
        int position = 0;
        for (const uint code : text.toUcs4()) {
            const auto c = static_cast<char32_t>(code);
            const QString one = QString::fromUcs4(&c, 1);
            if (FitsWindows1252(c)) {
                kept += one;
                if (position < cursor) keptBeforeCursor += static_cast<int>(one.size());
            } else if (!refused.contains(one)) {
                refused << one;
            }
            position += static_cast<int>(one.size());
        }
        if (refused.isEmpty()) return;
        box_.setText(kept);
        box_.setModified(true);
        box_.setCursorPosition(keptBeforeCursor);
        ShowMessage(1, Text(925) + " " + refused.join(' ').toStdString());
    }

    QLineEdit& box_;
};

}  // namespace

void GuardProjectText(QLineEdit& box) { new ProjectTextGuard(box); }

}  // namespace corvane
