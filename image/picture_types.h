#pragma once

#include <cstdint>

namespace vorlix {

// The picture encodings of the firmware. Type byte: bits 0 to 6 name the
// encoding, bit 7 marks it compressed.
inline constexpr std::uint8_t kType1Bit = 0x01;
inline constexpr std::uint8_t kType2Bit = 0x03;
inline constexpr std::uint8_t kType8Bit = 0x05;
inline constexpr std::uint8_t kType12Bit = 0x07;
inline constexpr std::uint8_t kType16Bit = 0x08;
inline constexpr std::uint8_t kCompressed = 0x80;

// What the program knows of one type byte.
struct PictureType {
    std::uint8_t type = 0;
    std::uint8_t depth = 0;   // bits per pixel
    bool compressed = false;  // bit 7 of the type byte
    bool decodable = false;   // a decoder reads its data
    bool encodable = false;   // an encoder writes it
};

// Every type byte an index record may carry: the record test accepts these
// and no other. Compressed 2-bit pictures occur in firmware, but the layout
// of their data is unknown: they are listed and never drawn or written.
inline constexpr PictureType kPictureTypes[] = {
    {kType1Bit, 1, false, true, true},
    {kType2Bit, 2, false, true, true},
    {kType8Bit, 8, false, true, true},
    {kType12Bit, 12, false, true, true},
    {kType16Bit, 16, false, true, true},
    {kType1Bit | kCompressed, 1, true, true, true},
    {kType2Bit | kCompressed, 2, true, false, false},
    {kType8Bit | kCompressed, 8, true, true, true},
    {kType12Bit | kCompressed, 12, true, true, true},
    {kType16Bit | kCompressed, 16, true, true, true},
};

// The table's entry of `type`; null for a byte that names no picture type.
constexpr const PictureType* FindPictureType(std::uint8_t type) {
    for (const PictureType& known : kPictureTypes)
        if (known.type == type) return &known;
    return nullptr;
}

}  // namespace vorlix
