#pragma once

#include <QByteArray>
#include <cstdint>

namespace vorlix {

// The demo FullFlash: an 8 MiB C55 firmware at the built-in addresses
// (model "C55", version 0x50, key "C55v50"), holding phone icons in every
// encoding the editor reads: battery and signal bars, clock digits, a
// wallpaper gradient, menu and message icons. The PIT lies at a position
// that both search modes reach from its first record.
namespace demo {
inline constexpr std::int32_t kPitStart = 0xE60050;
inline constexpr std::int32_t kExtRuns = 0xE70000;
inline constexpr std::int32_t kDataArea = 0xD00000;
}  // namespace demo

// The file's bytes.
QByteArray BuildDemoFlash();
// Number of pictures listed from the PIT and from the ExtPIT.
struct DemoCounts {
    int pit = 0;
    int ext = 0;
};
DemoCounts DemoPictureCounts();

}  // namespace vorlix
