#include "Forms.h"

#include <QApplication>
#include <QWidget>

#include <map>

namespace corvane {

namespace {

std::map<QString, FormFactory>& factories() {
    static std::map<QString, FormFactory> f;
    return f;
}

QWidget* create(const QString& name, MainWindowServices& main) {
    const auto it = factories().find(name);
    if (it == factories().end() || !it->second) return nullptr;
    QWidget* w = it->second(main);
    if (w) w->setObjectName(name);
    return w;
}

}  // namespace

void RegisterForm(const QString& name, FormFactory factory) {
    if (factory) {
        factories()[name] = std::move(factory);
    } else {
        factories().erase(name);
    }
}

bool IsFormRegistered(const QString& name) { return factories().count(name) != 0; }

QWidget* FindForm(const QString& name) {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == name) return w;
    }
    return nullptr;
}

QWidget* LoadForm(const QString& name, MainWindowServices& main) {
    if (QWidget* w = FindForm(name)) return w;
    return create(name, main);
}

QWidget* NewForm(const QString& name, MainWindowServices& main) { return create(name, main); }

}  // namespace corvane
