#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "image/flash_image.h"

namespace vorlix {

// A pattern element: a required byte 0..255, or kAnyByte.
inline constexpr std::int16_t kAnyByte = -1;

// Finds the first match of `pattern` at or after image offset `start`, by
// the firmware tools' matcher: a count of matched elements grows on a match
// and drops to 0 on a miss, and the byte that broke a match is not compared
// again with the first element. A match that would end on the image's last
// byte is not found. Returns the offset where the match begins.
std::optional<std::int32_t> FindPattern(ImageBytes image, std::int64_t start,
                                        std::span<const std::int16_t> pattern);

// sPIT header at sPITAdr: bytes 4-5 marker (0x000B or 0x000C), bytes 14-17
// the PIT's first record (paged), bytes 18-19 the record count.
struct SpitHeader {
    std::uint16_t marker = 0;
    std::int32_t pitStart = 0;  // image offset of the first PIT record
    std::uint16_t count = 0;    // C: records in the PIT
};
// Empty when the header's 20 bytes do not lie inside the image.
std::optional<SpitHeader> ReadSpitHeader(ImageBytes image, std::int64_t sPITAdr);

// One 12-byte ExtPIT entry.
inline constexpr std::int32_t kExtPitEntrySize = 12;
inline constexpr std::int32_t kExtPitSlotSize = 16;
inline constexpr std::int32_t kExtPitEndRun = 0x3FFFFFFF;
struct ExtPitEntry {
    std::uint16_t a = 0;      // bytes 0-1; 0x00FF ends the table
    std::uint16_t b = 0;      // bytes 2-3; 0x00FF ends the table
    std::uint16_t count = 0;  // N, bytes 4-5, stored high byte first
    std::int32_t runPos = 0;  // paged composition of bytes 8-11
    // True when this entry ends the table.
    bool IsEnd() const { return runPos == kExtPitEndRun || a == 0x00FF || b == 0x00FF; }
};
// Empty when the entry's 12 bytes do not lie inside the image.
std::optional<ExtPitEntry> ReadExtPitEntry(ImageBytes image, std::int64_t pos);

// Where discovery found the tables of a firmware met for the first time.
struct PictureTables {
    std::int32_t sPITAdr = -1;   // negative: no confirmed sPIT
    std::int32_t ExtPITAdr = 0;  // 0: no ExtPIT code pattern
};
// Locates the sPIT through the three 4 x 4 probe records and their
// confirmation patterns, and the ExtPIT through its code pattern.
PictureTables FindPictureTables(ImageBytes base);

}  // namespace vorlix
