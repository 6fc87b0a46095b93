#pragma once

#include <QRgb>
#include <array>
#include <cstdint>

namespace vorlix {

// Colours of the firmware's encodings. They hold their values from program
// start; BuildColorTables fills them again (harmless) and exists so that
// start-up can say where the tables come from. Only read afterwards.
extern std::array<QRgb, 4> Palette2;
extern std::array<QRgb, 256> Palette8;
extern std::array<QRgb, 65536> Colors16;

// Component levels of the 8-bit palette: index i is
// (RLevels[i >> 5], GLevels[(i >> 2) & 7], BLevels[i & 3]).
inline constexpr std::array<int, 8> RLevels{81, 102, 125, 146, 169, 190, 213, 235};
inline constexpr std::array<int, 8> GLevels{25, 52, 82, 111, 142, 172, 204, 235};
inline constexpr std::array<int, 4> BLevels{95, 115, 154, 208};

// Fills Palette2, Palette8 and Colors16. Safe to call more than once.
void BuildColorTables();

// 12-bit colour: each nibble becomes the top nibble of its component.
constexpr QRgb Color12(std::uint16_t v) {
    return 0xFF000000u | (((v >> 8) & 0xFu) << 20) | (((v >> 4) & 0xFu) << 12) | ((v & 0xFu) << 4);
}

// Colour reductions used by the encoders; each takes 8-bit components.
bool ColorToMono(int r, int g, int b);  // true: dark (stored as bit 1)
// The Palette2 index: black or blue for what ColorToMono calls dark, white
// or grey for light, the nearer of the two.
std::uint8_t ColorTo2(int r, int g, int b);
std::uint8_t ColorTo8(int r, int g, int b);
std::uint16_t ColorTo12(int r, int g, int b);
std::uint16_t ColorTo16(int r, int g, int b);

// The colour a picture of encoding `type` shows where its source had `c`:
// the encoding's reduction of `c`, as its decoder draws it. (Opaque; the
// 16-bit colour for a type without a reduction of its own.)
QRgb ColorAfterEncoding(std::uint8_t type, QRgb c);

}  // namespace vorlix
