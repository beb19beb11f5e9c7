#include "Forms.h"

#include "Messages.h"
#include "automation_error.h"

#include <QApplication>
#include <QVariant>
#include <QWidget>

#include <map>

namespace corvane {

namespace {

std::map<QString, SubjectFormFactory>& factories() {
    static std::map<QString, SubjectFormFactory> f;
    return f;
}

// The property that marks a window with the main window it was made for.
const char* const kMadeFor = "_corvane_mainWindow";

QVariant madeFor(MainWindowServices& main) { return QVariant::fromValue(reinterpret_cast<quintptr>(&main)); }

QWidget* create(const QString& name, MainWindowServices& main, const std::optional<FormSubject>& node) {
    const auto it = factories().find(name);
    if (it == factories().end() || !it->second) {
        ReportError(automation::AutomationError(errFormNotRegistered, "Corvane",
                                                "No module registered the window " + name.toStdString()));
        return nullptr;
    }
    QWidget* w = it->second(main, node);
    if (w) {
        w->setObjectName(name);
        w->setProperty(kMadeFor, madeFor(main));
    }
    return w;
}

}  // namespace

void RegisterForm(const QString& name, FormFactory factory) {
    SubjectFormFactory made;
    if (factory) {
        made = [factory = std::move(factory)](MainWindowServices& main, const std::optional<FormSubject>&) {
            return factory(main);
        };
    }
    RegisterSubjectForm(name, std::move(made));
}

void RegisterSubjectForm(const QString& name, SubjectFormFactory factory) {
    if (factory) {
        factories()[name] = std::move(factory);
    } else {
        factories().erase(name);
    }
}

bool IsFormRegistered(const QString& name) { return factories().count(name) != 0; }

QWidget* FindForm(const QString& name, MainWindowServices& main) {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == name && w->property(kMadeFor) == madeFor(main)) return w;
    }
    return nullptr;
}

QWidget* LoadForm(const QString& name, MainWindowServices& main, const std::optional<FormSubject>& node) {
    if (QWidget* w = FindForm(name, main)) return w;
    return create(name, main, node);
}

QWidget* NewForm(const QString& name, MainWindowServices& main, const std::optional<FormSubject>& node) {
    return create(name, main, node);
}

}  // namespace corvane
