#include "settings/language.h"

#include "settings/settings.h"

namespace vorlix {

std::optional<UiLanguage> LanguageFromText(const QString& text) {
    const QString word = text.trimmed();
    if (word == QLatin1String("original")) return UiLanguage::Original;
    if (word == QLatin1String("en")) return UiLanguage::English;
    return std::nullopt;
}

QString LanguageText(UiLanguage language) {
    return language == UiLanguage::English ? QStringLiteral("en") : QStringLiteral("original");
}

UiLanguage StoredLanguage(const SettingsStore& store) {
    return LanguageFromText(store.ReadAllValues(QString()).value(kLanguageValue))
        .value_or(UiLanguage::Original);
}

}  // namespace vorlix
