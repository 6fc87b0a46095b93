#pragma once

#include <QFile>
#include <cstdint>

#include "common/status.h"
#include "image/flash_image.h"

namespace vorlix {

struct ModelSettings;
struct KnownModel;

// How a FullFlash file is laid into the base image. The file is read once,
// by the first read; the placements then lay out those same bytes again
// where the settings put them, without going back to the file. Bytes the
// file does not cover are 0xFF. None of these touches the working image or
// the usage map.

// The file's length as the image can hold it: at most 16 MiB.
std::int64_t PlacedFileSize(const QFile& file);

// First read, for identification: the file (open for reading) at image
// offset 0, the rest erased. `length` receives the number of bytes placed:
// the file's length capped at 16 MiB, or less when the file ended early (a
// file that shrank). A read error is reported; what was read before it
// stays, and the rest is erased.
[[nodiscard]] Status ReadForIdentification(QFile& file, FlashImage& image, std::int64_t& length);
// The same into `base`, a base image of kImageSize bytes that is not (yet)
// the session's: an open lays the new FullFlash out there first.
[[nodiscard]] Status ReadForIdentification(QFile& file, std::uint8_t* base, std::int64_t& length);

// The placements take the base image as ReadForIdentification left it,
// holding `length` bytes of the file at offset 0.

// Read by the stored settings: the file at image offset FullFlash, as much
// of it as fits before the image's end. A FullFlash outside the image
// (below 0 or from 0x1000000 on) places nothing and is refused with a
// message, leaving the image as it was, unless the file is empty.
[[nodiscard]] Status PlaceBySettings(FlashImage& image, std::int64_t length,
                                     const ModelSettings& settings);
[[nodiscard]] Status PlaceBySettings(std::uint8_t* base, std::int64_t length,
                                     const ModelSettings& settings);

// Read without stored settings: FullFlash becomes 0x1000000 - length so
// that the file ends with the image, and the six file-offset bounds cover
// the whole file. For a model whose key contains "S45" or "ME45" the file
// is laid once more at 0x800000, as much of it as fits, and FullFlash
// becomes 0x800000; the first copy stays where the second does not cover it.
void PlaceWithoutSettings(FlashImage& image, std::int64_t length, ModelSettings& settings);
void PlaceWithoutSettings(std::uint8_t* base, std::int64_t length, ModelSettings& settings);

// Read for a model of the table of known models met the first time: the
// file at the model's FullFlash, the six file-offset bounds covering the
// part of the file the image holds from there, and the model's largest
// picture as MaxSizeX and MaxSizeY.
void PlaceKnownModel(std::uint8_t* base, std::int64_t length, const KnownModel& model,
                     ModelSettings& settings);

}  // namespace vorlix
