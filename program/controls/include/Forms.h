// The program's windows by name, as the main window and its event handlers find and open them.
// A module that builds a window registers its factory under the window's name; opening a window
// that no module registered is a fault of the caller (a mistyped name), reported as an error.
// Every window is created for a main window, which its factory is given and the window keeps.
// A window opened for a node of the project tree is also given that node when it is created:
// what it works on (a group, a scene, a communication object) comes from its opener.
#pragma once

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

class QWidget;

namespace corvane {

class MainWindowServices;

using FormFactory = std::function<QWidget*(MainWindowServices& main)>;

// The project tree's node a window is opened for: a group's or a scene's number is its Tag, a
// communication object is named by its Key.
struct FormSubject {
    QString key;
    QString tag;
};
// The factory of a window that works on the node it is opened for; none when the opener names
// no node.
using SubjectFormFactory = std::function<QWidget*(MainWindowServices& main, const std::optional<FormSubject>& node)>;

// Error reported for a name that no module registered: the automation runtime's "can't create
// object" (429), which it raises for a class that nothing registered.
constexpr std::int32_t errFormNotRegistered = 429;

// Registers (or, with an empty factory, removes) the factory of a window.
void RegisterForm(const QString& name, FormFactory factory);
void RegisterSubjectForm(const QString& name, SubjectFormFactory factory);
bool IsFormRegistered(const QString& name);

// A loaded top-level window of that name made for `main`, or nullptr.
QWidget* FindForm(const QString& name, MainWindowServices& main);

// The window's single instance for `main`: the loaded one, else a new one from its factory.
// For a name that no module registered: errFormNotRegistered reported (ReportError), nullptr.
// A new instance is given `node`; a loaded one keeps what it was given.
QWidget* LoadForm(const QString& name, MainWindowServices& main, const std::optional<FormSubject>& node = {});

// A new instance of the window (windows opened once per use), or as above for an unknown name.
QWidget* NewForm(const QString& name, MainWindowServices& main, const std::optional<FormSubject>& node = {});

}  // namespace corvane
