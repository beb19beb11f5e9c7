// The program's windows by name, as the main window and its event handlers find and open them.
// A module that builds a window registers its factory under the window's name; opening a window
// that no module registered is a fault of the caller (a mistyped name), reported as an error.
// Every window is created for a main window, which its factory is given and the window keeps.
#pragma once

#include <QString>

#include <cstdint>
#include <functional>

class QWidget;

namespace corvane {

class MainWindowServices;

using FormFactory = std::function<QWidget*(MainWindowServices& main)>;

// Error reported for a name that no module registered: the automation runtime's "can't create
// object" (429), which it raises for a class that nothing registered.
constexpr std::int32_t errFormNotRegistered = 429;

// Registers (or, with an empty factory, removes) the factory of a window.
void RegisterForm(const QString& name, FormFactory factory);
bool IsFormRegistered(const QString& name);

// A loaded top-level window of that name made for `main`, or nullptr.
QWidget* FindForm(const QString& name, MainWindowServices& main);

// The window's single instance for `main`: the loaded one, else a new one from its factory.
// For a name that no module registered: errFormNotRegistered reported (ReportError), nullptr.
QWidget* LoadForm(const QString& name, MainWindowServices& main);

// A new instance of the window (windows opened once per use), or as above for an unknown name.
QWidget* NewForm(const QString& name, MainWindowServices& main);

}  // namespace corvane
