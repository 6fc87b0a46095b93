#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QUndoStack>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "common/prompt.h"
#include "patch/progress.h"
#include "session/SearchPic.h"
#include "session/flash_session.h"
#include "session/picture_edit.h"
#include "session/picture_revert.h"
#include "session/pit_name.h"

namespace vorlix {

// Something that keeps a patch text from giving the pictures the window
// shows: the line of the text (0: the text as a whole) and the picture's
// PIT (empty when no picture is concerned).
struct PatchMismatch {
    int line = 0;
    int row = -1;
    QString pit;
    QString message;
};

// What the check of a patch text found, and the rows of the pictures the
// text covers (it writes bytes of their index record or of their data).
struct PatchVerdict {
    std::vector<PatchMismatch> mismatches;
    std::vector<int> coveredRows;
    bool ok() const { return mismatches.empty(); }
};

// Reads `encoded` with the patch reader, applies it in memory to the base
// image (which holds the installed patches) and compares the result with
// the working image over the index record and data of every listed picture
// the text writes bytes of.
PatchVerdict CheckPatchText(const FlashSession& session, const QByteArray& encoded);
// The mismatches one a line, the first `shown` of them and a count of the
// rest.
QString PatchMismatchText(const std::vector<PatchMismatch>& mismatches, int shown = 20);

// The editing state of an open FullFlash: the pictures (through the
// session), the steps that can be undone, the patch document of the pane
// and what every saved patch holds. The window and the command line work on
// it; it announces what changed and the views follow.
class EditingState : public QObject {
    Q_OBJECT
  public:
    explicit EditingState(Settings& settings, QObject* parent = nullptr);
    ~EditingState() override;

    FlashSession& session() { return session_; }
    const FlashSession& session() const { return session_; }
    QUndoStack& undoStack() { return undo_; }

    // ---- the search run
    // Stops a running search and starts one over the base image by `plan`;
    // what it finds becomes pictures and rows in slices of the event loop
    // (picturesListed after each).
    void StartSearch(const SearchPlan& plan);
    // Stops a running search and waits for it; nothing it found is listed
    // afterwards. True when one was running.
    bool StopSearch();
    bool IsSearching() const { return search_ != nullptr; }
    // While held (an open runs), nothing is listed; release lists what the
    // search found meanwhile.
    void HoldSearch(bool hold);
    // Lists what is queued and, once the search has ended, the rest, then
    // announces the end. The window calls it from its timer.
    void PollSearch();

    // ---- edits
    // An edit of the pictures of `rows` begins; EndEdit puts what it
    // changed on the undo stack under `text` and announces the rows.
    void BeginEdit(std::vector<int> rows);
    void EndEdit(const QString& text);
    // The pictures were listed anew or the working image changed outside
    // the edits: nothing before can be undone.
    void ForgetEdits();
    // Replaces the picture of `row` by the picture file `path`, or by
    // `image` when it is given, as one step to undo; whether the new data
    // found room (else the picture stays), or why the file was refused.
    [[nodiscard]] Replacement ReplacePicture(int row, const QString& path, const QImage* image);
    // Takes the pictures of `rows` back to the firmware's, as one step.
    RevertResult Revert(const std::vector<int>& rows);
    // The pictures are about to be listed anew (open, refresh, close):
    // nothing can be undone and no saved patch holds the new pictures.
    void PicturesListedAnew();

    // ---- the pictures
    // The one source of "modified".
    bool IsModified(int row) const;
    int ModifiedCount() const;
    // Modified pictures whose state as it is now no saved patch holds.
    std::vector<int> UnsavedRows() const;

    // ---- the patch document
    struct Source {
        QString path;
        QString modelAndVersion;
    };
    const QString& PatchText() const { return text_; }
    // The pane's lines as a file stores them.
    QStringList PatchLines() const;
    // True when the text was typed or pasted rather than generated.
    bool PatchTyped() const { return typed_; }
    // True when the text is empty or stands in a file as it is.
    bool PatchSaved() const { return saved_ || text_.isEmpty(); }
    const QString& PatchPath() const { return savedPath_; }
    const std::optional<Source>& PatchSource() const { return source_; }
    // The user's own text (typed, pasted or dropped into the pane).
    void SetTypedText(const QString& text);
    // Text put in by a command that does not make it from the pictures.
    void SetCommandText(const QStringList& lines);
    void ClearPatch();
    // A patch file opened as the pane's document: its text, saved where it
    // stands (so a generation may replace it: the file keeps it).
    [[nodiscard]] Status OpenPatchDocument(const QString& path);

    enum class Generated { Patch, NoModified, KeptTyped };
    // Replaces the pane's text by the patch of the pictures as they are now
    // (all, or those of `selected` rows). Text the user typed is not thrown
    // away unasked: the prompt asks, and No keeps it.
    Generated Generate(const std::vector<bool>* selected, Prompt& prompt, int* pictures = nullptr,
                       const ProgressSink& progress = {});

    // Checks the pane's text (see CheckPatchText); a text that does not
    // give the pictures is named and the user may cancel (Cancelled, with
    // nothing more to show). Then writes it to `path` and notes the
    // pictures it covers as saved; a write that fails comes back as the
    // status for the caller to show.
    [[nodiscard]] Status SavePatch(const QString& path, Prompt& prompt);

    // ---- what would be lost
    struct Losses {
        int pictures = 0;    // modified pictures in no saved patch
        bool patch = false;  // a pane text not saved
        bool any() const { return pictures > 0 || patch; }
    };
    Losses WhatWouldBeLost() const;
    // The question's text for these losses.
    static QString LossText(const Losses& losses);
    // Before work is lost (exit, close, refresh, open): asks with Save /
    // Discard / Cancel when anything would be lost. Save makes the patch of
    // the pictures as they are now (or keeps the pane's own text when every
    // picture is saved already) and saves it under the path `choosePath`
    // gives. Ok when the command may go on; Cancelled when the user called
    // it off; another status when the save failed, for the caller to show.
    [[nodiscard]] Status ConfirmLoss(Prompt& prompt, const QString& caption,
                                     const std::function<QString()>& choosePath);

  signals:
    // New rows stand at the end of the list.
    void picturesListed();
    // The search moved on: percentage, and the pictures listed so far.
    void searchProgress(int percent);
    void searchCounts(int found, int foundExt, bool scanRecords);
    // The search ended by itself having listed `found` pictures.
    void searchEnded(int found, bool scanRecords);
    // The pictures (and rows) of `rows` changed.
    void picturesChanged(const std::vector<int>& rows);
    // The pane's text changed by a command (not by typing).
    void patchTextChanged(const QString& text);
    // The document's state (saved, typed, source) changed.
    void patchStateChanged();

  private:
    // What a saved patch holds of a picture.
    struct Fingerprint {
        PitRecord record{};
        std::vector<std::uint8_t> data;
        bool operator==(const Fingerprint&) const = default;
    };
    Fingerprint FingerprintOf(int row) const;
    void SetText(const QString& text, bool typed);

    // Makes pictures and rows from what the search has queued, in slices
    // run by drainTimer_ so that the window repaints between them; with
    // `everything`, all that is queued at once.
    void DrainSearch(bool everything = false);

    FlashSession session_;
    std::unique_ptr<MySearchPic> search_;
    // Counts the searches started and stopped; a wake-up that names an
    // earlier generation comes from a search that is gone and is ignored.
    int generation_ = 0;
    bool held_ = false;
    QTimer drainTimer_;
    int listedFound_ = 0;
    int listedFoundExt_ = 0;
    QUndoStack undo_;
    EditRecorder recorder_;
    QString text_;
    bool typed_ = false;
    bool saved_ = false;
    QString savedPath_;
    std::optional<Source> source_;
    // Per row: the picture as the last saved patch that covered it holds it.
    std::map<int, Fingerprint> savedPictures_;
};

}  // namespace vorlix
