// The program's windows by name, as the main window and its event handlers find and open them.
// A module that builds a window registers its factory under the window's name; opening a window
// that no module registered does nothing.
// Every window is created for a main window, which its factory is given and the window keeps.
#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace corvane {

class MainWindowServices;

using FormFactory = std::function<QWidget*(MainWindowServices& main)>;

// Registers (or, with an empty factory, removes) the factory of a window.
void RegisterForm(const QString& name, FormFactory factory);
bool IsFormRegistered(const QString& name);

// A loaded top-level window of that name, or nullptr.
QWidget* FindForm(const QString& name);

// The window's single instance: the loaded one, else a new one from its factory for `main`.
// nullptr while no module provides the window.
QWidget* LoadForm(const QString& name, MainWindowServices& main);

// A new instance of the window (windows opened once per use), or nullptr as above.
QWidget* NewForm(const QString& name, MainWindowServices& main);

}  // namespace corvane
