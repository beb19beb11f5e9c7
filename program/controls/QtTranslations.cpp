#include "QtTranslations.h"

#include "Languages.h"
#include "ModDefinition.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QTranslator>

namespace corvane {

bool LoadQtTranslations(std::int16_t languageOffset) {
    static QPointer<QTranslator> inForce;
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) return false;
    if (inForce) {
        QCoreApplication::removeTranslator(inForce);
        delete inForce;
    }
    // An offset of no language takes English, Qt's own language.
    const Language* language = LanguageOf(languageOffset);
    if (!language) language = LanguageOf(kEnglish);
    QLocale::setDefault(QLocale(QString::fromLatin1(language->Locale)));
    const QString translation = QString::fromLatin1(language->QtTranslation);
    if (translation.isEmpty()) return false;
    auto* translator = new QTranslator(app);
    if (!translator->load(translation, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    inForce = translator;
    return true;
}

}  // namespace corvane
