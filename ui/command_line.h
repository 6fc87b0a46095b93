#pragma once

#include <QString>
#include <QStringList>

namespace vorlix {

// What the editor's command line asks for:
//   vorlix [--settings FILE] [FULLFLASH] | --help | --version
struct EditorCommandLine {
    enum class Action { Run, ShowHelp, ShowVersion, WrongUsage };
    Action action = Action::Run;
    QString flash;         // the FullFlash to open at start; empty: none
    QString settingsFile;  // the settings' INI file; empty: the default store
    QString problem;       // what is wrong, with WrongUsage
    // With WrongUsage: an option that this parser does not know is among
    // the problems. It may be one of Qt's own (-platform, -style), which
    // only the window system's application knows and takes out.
    bool unknownOption = false;
};

// Reads the editor's arguments, the program's name first. A wrong argument
// wins over --help and --version, as with every Qt program.
EditorCommandLine ParseEditorCommandLine(const QStringList& args);

// The texts that --help and --version print.
QString EditorHelpText();
QString EditorVersionText();

}  // namespace vorlix
