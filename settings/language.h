#pragma once

#include <QString>
#include <optional>

namespace vorlix {

class SettingsStore;

// The language of the program's texts: the original texts as they stand in
// the program (Russian messages, Czech captions), or their English
// translation.
enum class UiLanguage { Original, English };

// The program value that holds the language, and its texts: "original" and
// "en", as the command line's --lang takes them too.
inline const QString kLanguageValue = QStringLiteral("Language");
std::optional<UiLanguage> LanguageFromText(const QString& text);
QString LanguageText(UiLanguage language);

// The language that the store's program value names; a missing, empty or
// unknown value is the original. Reads without writing anything back, so
// that it may run before the settings are loaded.
UiLanguage StoredLanguage(const SettingsStore& store);

}  // namespace vorlix
