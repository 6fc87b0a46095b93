#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

#include "session/flash_session.h"

namespace vorlix {

// The front end's answer when a dump names no model the program knows.
struct ModelChoice {
    // The user was asked (and so has read that the model is unknown).
    bool asked = false;
    // A model of the table of known models, or a model-and-version text
    // whose stored settings to use; empty: none of these.
    QString model;
};

// What the open procedure asks of its front end (window or command line).
struct OpenHooks {
    // A status text of the open steps ("Открытие FullFlash", ...).
    std::function<void(const QString&)> status;
    // What the user is to read as the open goes on, in the order it arises
    // and before anything further is asked: the warnings about the file and
    // its model (caption "Предупреждение"), and a store that refused a new
    // model's settings (an error the open goes on past). The open itself
    // shows nothing.
    std::function<void(const QString& caption, const QString& text)> notice;
    // The recent-file list changed (the window rebuilds its menu).
    std::function<void()> recentChanged;
    // Identification found a model-and-version text (the window shows it).
    std::function<void(const QString&)> identified;
    // The dump names no model the program knows: identification found no
    // build information (`found` empty), or a name that is neither in the
    // table of known models nor has settings stored. Unset, or no model
    // chosen: a dump without build information takes the general settings,
    // a new name the usual first-open guesses.
    std::function<ModelChoice(const QString& found)> chooseModel;
    // A model met for the first time: discovery has run and filled the
    // settings; the window shows the settings dialog here. The procedure
    // saves both groups of settings afterwards.
    std::function<void()> newModel;
    // The new FullFlash lies placed in `base`, an image of its own that has
    // not replaced the previous one yet, and the settings are those of its
    // model. The patches installed on the phone are brought onto it here;
    // the bytes they write go into `reserved` (image offsets). False calls
    // the open off: the previous image stays as it was.
    std::function<bool(WritableImageBytes base, std::vector<ImageRange>& reserved)> placed;
    // The previous image, its pictures and rows are about to be replaced:
    // whatever still reads them stops here (the window's search).
    std::function<void()> replacing;
};

enum class OpenResult {
    NotOpened,  // refused (missing, a folder, not a regular file, unreadable, empty) or
                // not opened: FilePath emptied, nothing else changed
    Stopped,    // a stored setting did not convert, the stored FullFlash lies outside the
                // image, or the file could not be read
    Cancelled,  // the user called the open off while the installed patches were
                // brought on: the previous image, its pictures, the path and the
                // settings in memory are as they were
    Opened,     // placed; the caller starts the picture search
};

// How an open ended and, for one not opened or stopped, why: the error for
// the caller to show (empty when there is nothing to tell).
struct OpenOutcome {
    OpenResult result = OpenResult::NotOpened;
    Status error;

    operator OpenResult() const { return result; }
};

// Opens a FullFlash: first read, identification, model settings (or the
// general settings and table discovery for a new model), placement, the
// installed patches, fresh working copy. The new image is laid out aside
// and replaces the previous one only once the open is decided; then the
// pictures and rows are cleared and the caller starts the search. A file
// that is not recognised (it takes the general settings, whatever was open
// before), longer than the image holds from where it lies, shorter or
// longer than its firmware's flash, or of a known model met the first time
// is opened with one warning that says so. Data is never placed past the
// file's end.
OpenOutcome OpenFullFlash(FlashSession& session, const QString& path, const OpenHooks& hooks);

}  // namespace vorlix
