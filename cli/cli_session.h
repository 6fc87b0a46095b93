#pragma once

#include <QIODevice>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

#include "cli/cli_prompt.h"
#include "image/record_scan.h"
#include "session/editing_state.h"
#include "settings/settings.h"
#include "vkp/installed_stack.h"

namespace vorlix {

// The command line's counterpart of the main window: one settings store,
// the run's Settings, one open FullFlash and its pictures. It reads the
// program settings without writing them and never adds to the recent list.
class CliSession {
  public:
    // `settingsPath` empty: the default store location. `installed` names
    // the patches that stand on the phone, in order (--with): every open
    // brings them on, as the window does with a model's list.
    CliSession(QIODevice& err, const QString& settingsPath, bool answerYes,
               const QStringList& installed = {});

    // The model an open takes when the FullFlash names none the program
    // knows (--model): a known model or a model-and-version text.
    void SetModel(const QString& model) { model_ = model; }

    // Reads every program value as it is stored, taking the defaults for
    // the missing ones, and writes nothing. A window value or a patch value
    // that does not convert is shown and returned; a view value that does
    // not convert keeps its default.
    [[nodiscard]] Status LoadProgramValues();
    // The same for the values a patch is made with: PatchMaxLength,
    // PlainPatch, AuthorName and KeepDepthAndCompression; size changes are
    // not asked about (AskSizeChange is off for the run).
    [[nodiscard]] Status LoadPatchValues();

    // The open procedure as the window runs it (identification, model
    // settings, or for a new model the general settings with whole-file
    // bounds and table discovery, which are then stored), without the
    // settings dialog; then, unless `search` is false, the picture search.
    // `scanRecords` overrides SearchType for this run. The installed
    // patches go on after the placement; each one's state is written to the
    // error stream. Returns an exit status; messages went to the error
    // stream, warnings too (a file not recognised or cut, a search that
    // found no picture).
    int Open(const QString& path, std::optional<bool> scanRecords, bool search = true);

    // The editing state the commands work on, as the window does.
    EditingState& state() { return state_; }
    FlashSession& session() { return state_.session(); }
    Settings& settings() { return settings_; }
    Prompt& prompt() { return prompt_; }
    const SearchCounts& counts() const { return counts_; }
    // What the last open did with the installed patches.
    const PatchStack& stack() const { return stack_; }
    // Length of the opened file in bytes.
    qint64 fileSize() const { return fileSize_; }

  private:
    // The rules that differ from the window's.
    void UseOwnRules();

    QIODevice& err_;
    CliPrompt prompt_;
    std::unique_ptr<SettingsStore> store_;
    Settings settings_;
    EditingState state_;
    SearchCounts counts_;
    qint64 fileSize_ = 0;
    InstalledPatchList installed_;
    PatchStack stack_;
    QString model_;
};

}  // namespace vorlix
