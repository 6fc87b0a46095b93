#pragma once

#include <QString>
#include <functional>

#include "session/flash_session.h"

namespace vorlix {

// What the open procedure asks of its front end (window or command line).
struct OpenHooks {
    // A status text of the open steps ("Открытие FullFlash", ...).
    std::function<void(const QString&)> status;
    // The recent-file list changed (the window rebuilds its menu).
    std::function<void()> recentChanged;
    // Identification found a model-and-version text (the window shows it).
    std::function<void(const QString&)> identified;
    // A model met for the first time: discovery has run and filled the
    // settings; the window shows the settings dialog here. The procedure
    // saves both groups of settings afterwards.
    std::function<void()> newModel;
};

enum class OpenResult {
    NotOpened,  // refused (missing, a folder, not a regular file, unreadable, empty) or
                // not opened: the user was told why, FilePath emptied, nothing else changed
    Stopped,    // a stored setting did not convert, the stored FullFlash lies outside the
                // image, or the file could not be read; the user was told
    Opened,     // placed; the caller starts the picture search
};

// Opens a FullFlash: first read, identification, model settings (or the
// general settings and table discovery for a new model), placement, fresh
// working copy. Rows are cleared; the caller starts the search. A file that
// is not recognised, or longer than the image holds from where it lies, is
// opened with one warning that says so (which settings are in force, how
// much of it is used).
OpenResult OpenFullFlash(FlashSession& session, const QString& path, const OpenHooks& hooks);

}  // namespace vorlix
