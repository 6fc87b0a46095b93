#pragma once

#include <QString>
#include <cstdint>
#include <optional>

#include "image/flash_image.h"
#include "image/pit_tables.h"

namespace vorlix {

// Reads the model and firmware version out of the build-information block
// of an image: a 48-byte pattern (".", ".", ":" and ":" at 0, 3, 8 and 11,
// "lg" at 46), the model name from the block's start + 62 up to a 0 byte,
// the version byte at + 30. Gives the model-and-version text ("C55v50"),
// or nothing when the image holds no such block. A match whose name runs
// on for more than 64 bytes is passed over and the search goes on after it.
std::optional<QString> IdentifyFirmware(ImageBytes image);

// The block's layout: the 48 bytes of the pattern (kAnyByte where any byte
// goes), the version byte and the model name's place from the block's start.
inline constexpr int kBuildInfoLength = 48;
inline constexpr int kBuildInfoVersion = 30;
inline constexpr int kBuildInfoModelName = 62;
std::span<const std::int16_t, kBuildInfoLength> BuildInfoPattern();

}  // namespace vorlix
