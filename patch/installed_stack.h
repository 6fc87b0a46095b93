#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "common/prompt.h"
#include "common/status.h"
#include "image/flash_image.h"
#include "patch/vkp_reader.h"
#include "session/open_flash.h"
#include "settings/installed_patches.h"

namespace vorlix {

// How an installed patch stood after the last open.
enum class StackState {
    Off,      // switched off: not brought on
    Present,  // every record already held its new bytes: nothing written
    Applied,  // every record held its old bytes: the new bytes were written
    Skipped,  // did not fit this FullFlash; the user skipped it
    Error,    // could not be read, or read with errors; the user skipped it
};

struct StackedPatch {
    InstalledPatch patch;
    StackState state = StackState::Off;
    int records = 0;  // records read from the file
    QString note;     // for a skipped patch or an error: what was wrong
};

// What an open did with the installed patches.
struct PatchStack {
    std::vector<StackedPatch> patches;
    // Every byte that a present or applied patch writes (image offsets).
    std::vector<ImageRange> reserved;
    // The bytes that the applied patches replaced, in the order they were
    // written, and where: taken back last first they give the FullFlash as
    // it was read.
    std::vector<ImageRange> replacedRanges;
    std::vector<std::uint8_t> replacedBytes;
};

// How a patch stands to an image.
enum class PatchFit { Present, Applies, DoesNotFit };

// Whether every record of `file` (read without errors, every record inside
// the image) holds its new bytes in `image`: the patch stands there already.
// A file without records is not present.
bool PatchPresent(const VkpFile& file, const std::uint8_t* image, std::int32_t fullFlash);

// Brings the installed patches that are on onto `base`, a placed FullFlash,
// in order: a patch that stands there is left, one whose records all hold
// their old bytes (each compared as the earlier records left the image) is
// written. A file that cannot be read, is read with errors or fits neither
// way asks the user whether to skip it (Yes) or to call the open off (No:
// Status::Cancelled, and `base` is as it was given). `stack` receives the
// outcome.
[[nodiscard]] Status StackInstalledPatches(const InstalledPatchList& patches, std::uint8_t* base,
                                           std::int32_t fullFlash, Prompt& prompt,
                                           PatchStack& stack);

// Takes the applied patches of `stack` out of `image` again (a copy of the
// base image that the stack was made on).
void UnstackPatches(const PatchStack& stack, std::uint8_t* image);

// The open procedure with the installed patches brought on after the
// FullFlash is placed: `patches` names them once the model is known (the
// window reads the model's list, the command line gives its own files).
// `stack` receives the outcome of an open that replaced the image; an open
// that was called off or not opened leaves it as it was. `prompt` asks
// about a patch that does not fit.
OpenOutcome OpenFullFlashStacked(FlashSession& session, const QString& path, OpenHooks hooks,
                                 const std::function<InstalledPatchList()>& patches, Prompt& prompt,
                                 PatchStack& stack);

// Bytes as messages show them: upper-case hexadecimal, the first 16 and
// "…" for more.
QString ShownBytes(std::span<const std::uint8_t> bytes);

// "применён", "уже в дампе", ...: how the list shows a state.
QString StackStateText(StackState state);

}  // namespace vorlix
