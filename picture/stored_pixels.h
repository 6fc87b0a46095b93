#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace vorlix {

class Picture;

// The values a picture's pixels are stored as in the firmware, row by row:
// what the pixel viewer shows beside each pixel's colour.
struct StoredPixels {
    int width = 0;
    int height = 0;
    // Bits per pixel (1, 2, 8, 12, 16); the type byte itself when it names
    // no encoding.
    std::uint8_t depth = 0;
    // Pixels that the data reached, from the first on, row by row.
    std::int64_t drawn = 0;
    std::vector<std::uint16_t> values;

    // The stored value at (x, y); nothing outside the picture or for a pixel
    // that the data does not reach.
    std::optional<std::uint16_t> At(int x, int y) const;
};

// The picture as the firmware holds it: the base image's record and data,
// which its first decoding showed.
StoredPixels OldStoredPixels(const Picture& picture);
// The picture as it now is: its record, with the data of the working image
// once it has been replaced.
StoredPixels NewStoredPixels(const Picture& picture);

}  // namespace vorlix
