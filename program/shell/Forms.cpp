#include "Forms.h"

#include <QApplication>
#include <QDebug>
#include <QWidget>

#include <map>

namespace corvane {

namespace {

std::map<QString, FormFactory>& factories() {
    static std::map<QString, FormFactory> f;
    return f;
}

// Hooks: the windows of later modules. Each module registers its window under this name
// (RegisterForm) when it is added; until then opening the window does nothing.
const std::map<QString, const char*>& pending() {
    static const std::map<QString, const char*> p = {
        {"frmProjektInfo", "project information: the header, read-only"},
        {"frmNeuinstallation", "new installation of the DALI line"},
        {"frmNachinstallation", "post-installation of the DALI line"},
        {"frmGrpAssign", "group assignment of the ballasts"},
        {"frmEVGAssign", "ballast assignment, blinking and levels"},
        {"frmGruppe", "group test: level of one DALI group and its name"},
        {"frmScene", "scene programming"},
        {"frmAllgemein", "general settings page"},
        {"frmGrpAdr", "group-address editor of one communication object"},
        {"frmDeviceInfo", "device information read from the gateway"},
        {"frmDownload", "download of the project to the gateway"},
        {"frmUpload", "upload of the gateway into the project"},
        {"frmVersion", "program version"},
        {"frmSprache", "language dialog"},
        {"frmAdrDarstellung", "group-address display style"},
        {"frmPrint", "batch printout of project files"},
    };
    return p;
}

QWidget* create(const QString& name, MainWindowServices& main) {
    const auto it = factories().find(name);
    if (it == factories().end() || !it->second) {
        if (pending().count(name)) qDebug() << "Window" << name << "is not built yet";
        return nullptr;
    }
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

QStringList PendingWindows() {
    QStringList names;
    for (const auto& [name, what] : pending()) {
        if (!IsFormRegistered(name)) names << name + ": " + what;
    }
    return names;
}

}  // namespace corvane
