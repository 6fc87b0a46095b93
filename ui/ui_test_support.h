#pragma once

#include <QTemporaryDir>
#include <memory>

#include "builder/flash_builder.h"
#include "settings/settings.h"
#include "ui/Unit1.h"
#include "ui/user_dialogs.h"

namespace vorlix {

// One run of the program against a settings file that outlives it: its own
// Settings, scripted dialogs and main window.
struct ProgramRun {
    explicit ProgramRun(const QString& iniPath) : store(iniPath), settings(store) {}
    SettingsStore store;
    ScriptedUserDialogs dialogs{Answer::No};
    Settings settings;
    std::unique_ptr<TForm1> window;

    TForm1& Start();
    void Exit() { window.reset(); }
};

// A folder for the settings file and the FullFlash files of one test.
struct TestFolder {
    QTemporaryDir dir;
    QString Ini() const { return dir.filePath(QStringLiteral("vorlix.ini")); }
    // Writes `flash` under `name` and returns its path.
    QString Write(const FlashBuilder& flash, const QString& name) const;
    // A stored value as text (empty when missing); does not write defaults.
    QString Stored(const QString& subKey, const QString& name) const;
    void Store(const QString& subKey, const QString& name, const QString& text) const;
};

// An 8 MiB C55 file without build information (so the general settings
// apply), whose PIT lists `count` 16 x 16 one-bit pictures.
FlashBuilder ManyPictures(int count);

// Processes events until the window's search has ended and been tidied up
// by its timer; false after `timeoutMs`.
bool WaitForSearch(TForm1& window, int timeoutMs = 20000);

}  // namespace vorlix
