#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "settings/language.h"

namespace vorlix {

// What the editor's command line asks for:
//   vorlix [--settings FILE] [--lang en|original] [FULLFLASH] | --help | --version
// Qt's own options (-platform, -style and the like) are left to the window
// system's application.
struct EditorCommandLine {
    enum class Action { Run, ShowHelp, ShowVersion, WrongUsage };
    Action action = Action::Run;
    QString flash;         // the FullFlash to open at start; empty: none
    QString settingsFile;  // the settings' INI file; empty: the default store
    // The interface's language for this run; none: the stored choice.
    std::optional<UiLanguage> language;
    QString problem;  // what is wrong, with WrongUsage
};

// Reads the editor's arguments, the program's name first, with or without
// Qt's own options among them: so the arguments as started are judged the
// same before the window system is up as after. A wrong argument wins over
// --help and --version, as with every Qt program.
EditorCommandLine ParseEditorCommandLine(const QStringList& args);

// The texts that --help and --version print.
QString EditorHelpText();
QString EditorVersionText();

}  // namespace vorlix
