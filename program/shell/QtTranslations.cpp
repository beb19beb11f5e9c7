#include "QtTranslations.h"

#include "ModDefinition.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

namespace corvane {

namespace {

// The Qt translation file of a language offset; none for English, Qt's own language.
QString QtTranslationName(std::int16_t languageOffset) {
    switch (languageOffset) {
        case kGerman: return "qtbase_de";
        case 2000: return "qtbase_it";
        case 3000: return "qtbase_es";
        case 4000: return "qtbase_fr";
        default: return {};
    }
}

}  // namespace

bool LoadQtTranslations(std::int16_t languageOffset) {
    static QPointer<QTranslator> inForce;
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) return false;
    if (inForce) {
        QCoreApplication::removeTranslator(inForce);
        delete inForce;
    }
    const QString name = QtTranslationName(languageOffset);
    if (name.isEmpty()) return false;
    auto* translator = new QTranslator(app);
    if (!translator->load(name, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    inForce = translator;
    return true;
}

}  // namespace corvane
