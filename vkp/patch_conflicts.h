#pragma once

#include <QString>
#include <cstdint>
#include <span>
#include <vector>

#include "image/flash_image.h"
#include "vkp/patch_apply.h"

namespace vorlix {

enum class ConflictKind {
    Present,   // the patch stands in the image already (nothing to write)
    Overlap,   // two records of different files write the same bytes
    Mismatch,  // a record's old bytes are not what the image holds there
};

// One finding of the conflict check. Sources are indices into the checked
// list; addresses are file offsets.
struct Conflict {
    ConflictKind kind = ConflictKind::Present;
    int source = 0;  // the file; for an overlap the later one in the list
    VkpLocation at;  // its record (line 0 for a present patch)
    int other = -1;  // overlap: the earlier file
    VkpLocation otherAt;
    std::uint32_t from = 0;              // overlap: the bytes both write, [from, to);
    std::uint32_t to = 0;                // mismatch: the bytes compared
    std::vector<std::uint8_t> expected;  // mismatch: the record's old bytes
    std::vector<std::uint8_t> found;     // mismatch: what the image holds
};

// Checks patches that are to go onto `image` (a FullFlash as read) one
// after the other: every pair of records from different files whose bytes
// overlap, every record whose old bytes differ from what the image holds
// once the files before it are applied, and every file that stands in the
// image already (which is then not applied). The sources must have passed
// CheckPatches for apply. The findings come file by file in the order of
// the list and of the lines. The overlaps are found by sorting the records
// by address and sweeping once, never by comparing every pair.
std::vector<Conflict> FindConflicts(std::span<const PatchSource> sources, ImageBytes image,
                                    std::int32_t fullFlash);

// True when a finding would make a flasher refuse a patch or two patches
// spoil each other: an overlap or a mismatch.
bool HasConflicts(std::span<const Conflict> conflicts);

// The finding as the window lists it, with the files' names.
QString ConflictText(const Conflict& conflict, std::span<const PatchSource> sources);
// The finding as the command line prints it: "FILE:LINE: message", or
// "FILE: message" for a present patch.
QString ConflictLine(const Conflict& conflict, std::span<const PatchSource> sources);

}  // namespace vorlix
