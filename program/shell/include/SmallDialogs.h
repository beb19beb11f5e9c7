// The small dialogs of the main window: language, version, group-address display style,
// gateway model, PC interface and project information. Each is a window of its own, opened by
// name (Forms.h) and unloaded when it closes.
#pragma once

#include <QString>

#include <initializer_list>

class QDialog;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QRadioButton;
class QWidget;

namespace corvane {

// Registers frmSprache, frmVersion, frmAdrDarstellung, frmGAusw, frmSchnittstelle and
// frmProjektInfo in the window registry.
void RegisterSmallDialogs();

// Parts the dialogs are built of: a dialog that unloads itself when it closes, and controls
// named as in the design that carry their text id in their Tag.
void PrepareDialog(QDialog& dialog, const char* name);
QPushButton* NamedButton(QWidget* parent, const QString& name, const char* tag);
QLabel* NamedLabel(QWidget* parent, const QString& name, const char* tag);
QRadioButton* NamedOption(QWidget* parent, const QString& name, const char* tag);
// A command button that never takes Enter as the default button (Enter belongs to the boxes).
QPushButton* CommandButton(QWidget* parent, const QString& name, const QString& tag);
// The row of command buttons at the foot of a dialog, aligned right.
QHBoxLayout* ButtonRow(std::initializer_list<QWidget*> buttons);

}  // namespace corvane
