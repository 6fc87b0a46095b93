#pragma once

#include "settings/language.h"

namespace vorlix {

// Installs the translators of `language` on the running application, first
// removing those of an earlier call: the program's own texts (English: the
// translation built into the program; original: the texts stand as written)
// and, with `qtTexts` (the window), the texts of Qt's own dialogs, buttons
// and menus (original: Qt's Russian translation from the system, as the
// program's messages are Russian, and the Russian forms of the program's
// counts built into the program; English: none, Qt speaks English). Run it
// before the first widget is made. False when a translation was not found;
// its texts then stay as written.
bool InstallTranslation(UiLanguage language, bool qtTexts);

}  // namespace vorlix
