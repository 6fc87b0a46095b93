#include "translations/translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

namespace vorlix {

namespace {

// The installed translators; they belong to the application and go with it.
QPointer<QTranslator> ownTexts;
QPointer<QTranslator> qtOwnTexts;

void Remove(QPointer<QTranslator>& translator) {
    if (!translator) return;
    QCoreApplication::removeTranslator(translator);
    delete translator;
}

bool Install(QPointer<QTranslator>& slot, const QString& name, const QString& folder) {
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(name, folder) || !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    slot = translator;
    return true;
}

}  // namespace

bool InstallTranslation(UiLanguage language, bool qtTexts) {
    Remove(ownTexts);
    Remove(qtOwnTexts);
    bool ok = true;
    if (language == UiLanguage::English) {
        ok = Install(ownTexts, QStringLiteral("vorlix_en"), QStringLiteral(":/i18n"));
    } else if (qtTexts) {
        // The window's counts in their Russian forms; the command line keeps
        // its texts as they always read.
        ok = Install(ownTexts, QStringLiteral("vorlix_ru"), QStringLiteral(":/i18n"));
        ok = Install(qtOwnTexts, QStringLiteral("qtbase_ru"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
             ok;
    }
    return ok;
}

}  // namespace vorlix
