#include "FormTexts.h"

#include "StringTable.h"
#include "variant.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QToolBar>
#include <QWidget>

#include <functional>

namespace corvane {

namespace {

// The text whose id a caption, tag or tooltip carries; raises when it is no number or has no text.
QString textOfId(const QString& id) { return QText(automation::toInteger(automation::Variant(id.toStdString()))); }

// One statement of the walk: an error skips it.
void statement(const std::function<void()>& f) {
    try {
        f();
    } catch (...) {
    }
}

bool isMenuItem(const QAction& a) {
    if (a.isSeparator() || qobject_cast<QToolBar*>(a.parent())) return false;
    // The action of a menu stands for the menu itself, whose title is handled with the menu.
    return !a.menu();
}

}  // namespace

QString QText(int id) { return QString::fromStdString(Text(id)); }

ControlKind KindOf(const QObject& c) {
    if (qobject_cast<const QMenu*>(&c)) return ControlKind::Menu;
    if (const auto* a = qobject_cast<const QAction*>(&c))
        return isMenuItem(*a) ? ControlKind::Menu : ControlKind::Other;
    if (qobject_cast<const QLabel*>(&c)) return ControlKind::Label;
    if (qobject_cast<const QRadioButton*>(&c)) return ControlKind::OptionButton;
    if (qobject_cast<const QPushButton*>(&c)) return ControlKind::CommandButton;
    if (qobject_cast<const QCheckBox*>(&c)) return ControlKind::CheckBox;
    if (qobject_cast<const QGroupBox*>(&c)) return ControlKind::Frame;
    if (qobject_cast<const QToolBar*>(&c)) return ControlKind::Toolbar;
    return ControlKind::Other;
}

QString Tag(const QObject& control) { return control.property("Tag").toString(); }

void SetTag(QObject& control, const QString& tag) { control.setProperty("Tag", tag); }

void SetFormTexts(QWidget& frm) {
    for (QObject* c : frm.findChildren<QObject*>()) {
        switch (KindOf(*c)) {
        case ControlKind::Menu:
            if (auto* m = qobject_cast<QMenu*>(c)) {
                statement([m] { m->setTitle(textOfId(m->title())); });
            } else if (auto* a = qobject_cast<QAction*>(c)) {
                statement([a] { a->setText(textOfId(a->text())); });
            }
            break;
        case ControlKind::Label: statement([c] { static_cast<QLabel*>(c)->setText(textOfId(Tag(*c))); }); break;
        case ControlKind::OptionButton:
        case ControlKind::CommandButton:
        case ControlKind::CheckBox:
            statement([c] { static_cast<QAbstractButton*>(c)->setText(textOfId(Tag(*c))); });
            break;
        case ControlKind::Frame: statement([c] { static_cast<QGroupBox*>(c)->setTitle(textOfId(Tag(*c))); }); break;
        case ControlKind::Toolbar:
            for (QAction* b : static_cast<QToolBar*>(c)->actions()) {
                if (b->isSeparator() || b->toolTip().isEmpty()) continue;
                statement([b] { b->setToolTip(textOfId(b->toolTip())); });
            }
            break;
        case ControlKind::Other: break;
        }
    }
}

}  // namespace corvane
