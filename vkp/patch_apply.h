#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "common/prompt.h"
#include "common/status.h"
#include "vkp/vkp_reader.h"

namespace vorlix {

class FlashImage;

inline constexpr TrText kUnequalLengthsMessage{
    "PatchApply",
    QT_TRANSLATE_NOOP("PatchApply", "Данные патча и данные для отката имеют различную длину")};
inline constexpr TrText kMismatchQuestion{
    "PatchApply", QT_TRANSLATE_NOOP("PatchApply", "Данные отката не совпадают. Применять патч?")};

enum class PatchDirection { Apply, Undo };

// A patch read from a file (or a text) under the name messages give it;
// an empty name for a text that has none.
struct PatchSource {
    QString name;
    VkpFile file;
};

// Something wrong with one of several sources: the index of the source,
// where in it (line 0: the file as a whole) and what.
struct PatchProblem {
    int source = 0;
    VkpLocation at;
    QString message;
};

struct PatchCheck {
    std::vector<PatchProblem> errors;
    std::vector<PatchProblem> warnings;
    bool ok() const { return errors.empty(); }
};

// Everything that can be found before the image is looked at: what the
// reader found, a file without any record, records outside an image of
// `imageSize` bytes (addresses are file offsets: the image offset is
// `fullFlash` plus the address), for undo records without old data, and for
// apply a warning listing the records written without a check.
[[nodiscard]] PatchCheck CheckPatches(std::span<const PatchSource> sources,
                                      PatchDirection direction, std::int32_t fullFlash,
                                      std::int64_t imageSize);

// "«name», строка L, столбец C: message", without the name for a source
// that has none and without line and column for the file as a whole.
QString PatchProblemText(const PatchProblem& problem, std::span<const PatchSource> sources);
// The problems one a line, the first `shown` of them and a count of the rest.
QString PatchProblemsText(std::span<const PatchProblem> problems,
                          std::span<const PatchSource> sources, int shown = 20);

struct ApplyCounts {
    int entries = 0;         // records written
    std::int64_t bytes = 0;  // bytes written
    bool checkedAll = true;  // false once a mismatch or a repeat was accepted
    int skippedFiles = 0;    // files found applied (undone) already and left
};

// Runs checked sources over the image, all or nothing. Apply takes the
// files in order and their records forwards, compares each record's old
// bytes with the base image as the earlier records of the run have left
// it, and writes the new bytes; undo takes the files in reverse and their
// records backwards (leaving those under "#pragma disable undo"), compares
// the new bytes with the working image as the run has left it, and writes
// the old bytes in their place. A mismatch asks whether to go on (once a
// file: after a Yes the rest of that file is not compared); a file that
// stands applied (undone) already is left unless the user says otherwise.
// Only when nothing was refused are the bytes written into the working
// image and marked occupied in the usage map. Sources that CheckPatches
// refuses are refused here too, without a question.
[[nodiscard]] Status RunPatches(std::span<const PatchSource> sources, PatchDirection direction,
                                FlashImage& image, std::int32_t fullFlash, Prompt& prompt,
                                ApplyCounts* counts = nullptr);

// The check's warnings about sources that pass it, as one text (the
// problems one a line), given before the run asks anything.
using PatchWarnings = std::function<void(const QString& text)>;

// The whole command: checks the sources and runs them. The check's errors
// come back as the status, with the problems one a line, and nothing is
// written; its warnings go to `warn` first. A mismatch the user refused
// comes back as Cancelled: the question has said all there is to say.
[[nodiscard]] Status ApplyPatchSources(std::span<const PatchSource> sources,
                                       PatchDirection direction, FlashImage& image,
                                       std::int32_t fullFlash, Prompt& prompt,
                                       const PatchWarnings& warn, ApplyCounts* counts = nullptr);
// A patch text already in memory, applied.
[[nodiscard]] Status ApplyPatchText(FlashImage& image, std::int32_t fullFlash,
                                    const QByteArray& text, Prompt& prompt,
                                    const PatchWarnings& warn, ApplyCounts* counts = nullptr);

}  // namespace vorlix
