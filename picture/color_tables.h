#pragma once

#include <QRgb>
#include <array>
#include <cstdint>

namespace vorlix {

// Colours of the firmware's encodings, built once at start-up by
// BuildColorTables and only read afterwards.
extern std::array<QRgb, 4> Palette2;
extern std::array<QRgb, 256> Palette8;
extern std::array<QRgb, 65536> Colors16;

// Fills Palette2, Palette8 and Colors16. Safe to call more than once.
void BuildColorTables();

// 12-bit colour: each nibble becomes the top nibble of its component.
constexpr QRgb Color12(std::uint16_t v) {
    return 0xFF000000u | (((v >> 8) & 0xFu) << 20) | (((v >> 4) & 0xFu) << 12) | ((v & 0xFu) << 4);
}

// Colour reductions used by the encoders; each takes 8-bit components.
bool ColorToMono(int r, int g, int b);  // true: dark (stored as bit 1)
std::uint8_t ColorTo8(int r, int g, int b);
std::uint16_t ColorTo12(int r, int g, int b);
std::uint16_t ColorTo16(int r, int g, int b);

}  // namespace vorlix
