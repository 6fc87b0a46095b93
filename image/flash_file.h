#pragma once

#include <QFile>
#include <cstdint>

#include "common/status.h"
#include "image/flash_image.h"

namespace vorlix {

class Settings;

// How a FullFlash file is laid into the base image. Each read fills the
// base image with 0xFF first; bytes the file does not cover stay erased.
// The file must be open for reading. A read that ends early (a file that
// shrank) places what it got; a read error is reported. None of them
// touches the working image or the usage map.

// The file's length as the image can hold it: at most 16 MiB.
std::int64_t PlacedFileSize(const QFile& file);

// First read, for identification: the file at image offset 0.
[[nodiscard]] Status ReadForIdentification(QFile& file, FlashImage& image);

// Read by the stored settings: the file at image offset FullFlash, as much
// of it as fits before the image's end. A FullFlash outside the image
// (below 0 or from 0x1000000 on) places nothing and is refused with a
// message, unless the file is empty.
[[nodiscard]] Status PlaceBySettings(QFile& file, FlashImage& image, const Settings& settings);

// Read without stored settings: FullFlash becomes 0x1000000 - length so
// that the file ends with the image, and the six file-offset bounds cover
// the whole file. For a model whose key contains "S45" or "ME45" the file
// is read once more at 0x800000, as much of it as fits, and FullFlash
// becomes 0x800000; the first copy stays where it is.
[[nodiscard]] Status PlaceWithoutSettings(QFile& file, FlashImage& image, Settings& settings);

}  // namespace vorlix
