#pragma once

#include <QImage>
#include <QRgb>
#include <cstdint>

#include "image/flash_image.h"
#include "image/picture_types.h"

namespace vorlix {

// The picture encodings of the firmware, apart from the Picture class; the
// type bytes and what each can do are listed in kPictureTypes.

struct DecodeResult {
    std::int32_t length = 0;  // bytes read, control bytes included
    std::uint8_t depth = 0;   // bits per pixel; the type byte itself for an unknown type
    std::int64_t drawn = 0;   // pixels drawn, from the first on, row by row
};

// Bits per pixel that a type byte names; the type byte itself when it names
// no encoding.
std::uint8_t DepthOfType(std::uint8_t type);

// Decodes the data at `pos` of `image` for a picture of
// width x height and the given type into `pixels` (width * height colours,
// row by row, no gaps). Reads stop at the image's end; a position outside
// the image reads nothing. Pixels past `drawn` are left untouched.
DecodeResult DecodePixels(ImageBytes image, std::int64_t pos, int width, int height,
                          std::uint8_t type, QRgb* pixels);

// The same walk over the data, giving for each pixel the value it is stored
// as instead of its colour: the bit (1-bit), the palette index (2- and
// 8-bit), the 12-bit colour (the top nibble of its word dropped) or the
// 16-bit colour word. Lengths and pixels drawn are those of DecodePixels.
DecodeResult DecodeValues(ImageBytes image, std::int64_t pos, int width, int height,
                          std::uint8_t type, std::uint16_t* values);

// Largest encoded size of a width x height picture in any encoding.
inline std::int64_t EncodeBufferSize(int width, int height) {
    return static_cast<std::int64_t>(width) * height * 4;
}

// Encodes the top-left width x height pixels of `source` by `type` into
// `out` (EncodeBufferSize bytes) and returns the number of bytes written.
// Pixels outside `source` count as white. Types that have no encoder
// (compressed 2-bit, whose layout is unknown, and unknown types) write
// nothing.
std::int32_t EncodePixels(const QImage& source, int width, int height, std::uint8_t type,
                          std::uint8_t* out);

// True when EncodePixels writes data for `type`.
bool HasEncoder(std::uint8_t type);

// The type byte a picture of type `current` takes when a file replaces it:
// a monochrome picture stays monochrome, uncompressed (0x01); every other
// one becomes 16-bit compressed (0x88), the richest encoding. With
// `keepType`, a type that has an encoder stays as it is.
std::uint8_t TypeAfterLoad(std::uint8_t current, bool keepType);

}  // namespace vorlix
