// Putting the texts of the language in force on a window: every control carries the id of its
// text (labels, option and command buttons, check boxes and frames in their "Tag" property,
// menus in their caption, toolbar buttons in their tooltip).
#pragma once

#include <QString>

class QObject;
class QWidget;

namespace corvane {

// The control kinds that receive texts.
enum class ControlKind { Menu, Label, OptionButton, CommandButton, CheckBox, Frame, Toolbar, Other };
ControlKind KindOf(const QObject& control);

// The Tag of a control (a dynamic property; "" when none is set).
QString Tag(const QObject& control);
void SetTag(QObject& control, const QString& tag);

// Replaces the id of every control of the window by its text (id + LanguageOffset). A
// statement that fails (no id, not a number, no such text) is skipped and the walk goes on;
// nothing is reported. Menus and toolbar buttons lose their ids to their texts, so a second
// call leaves them as they are.
void SetFormTexts(QWidget& frm);

// The text of id n in the language in force, as a QString.
QString QText(int id);

}  // namespace corvane
