#include "QtTranslations.h"

#include "ModDefinition.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QTranslator>

namespace corvane {

namespace {

// The locale of a language offset, and the Qt translation file that goes with it: none for
// English, Qt's own language.
struct QtLanguage {
    QLocale locale;
    QString translation;
};

QtLanguage QtLanguageOf(std::int16_t languageOffset) {
    switch (languageOffset) {
    case kGerman: return {QLocale(QLocale::German, QLocale::Germany), "qtbase_de"};
    case 2000: return {QLocale(QLocale::Italian, QLocale::Italy), "qtbase_it"};
    case 3000: return {QLocale(QLocale::Spanish, QLocale::Spain), "qtbase_es"};
    case 4000: return {QLocale(QLocale::French, QLocale::France), "qtbase_fr"};
    default: return {QLocale(QLocale::English, QLocale::UnitedStates), {}};
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
    const QtLanguage language = QtLanguageOf(languageOffset);
    QLocale::setDefault(language.locale);
    if (language.translation.isEmpty()) return false;
    auto* translator = new QTranslator(app);
    if (!translator->load(language.translation, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    inForce = translator;
    return true;
}

}  // namespace corvane
