#include "picture/color_tables.h"

#include <algorithm>

#include "image/picture_types.h"

namespace vorlix {

namespace {

constexpr QRgb Rgb(int r, int g, int b) {
    return 0xFF000000u | (static_cast<QRgb>(r) << 16) | (static_cast<QRgb>(g) << 8) |
           static_cast<QRgb>(b);
}

constexpr std::array<QRgb, 4> MakePalette2() {
    return {Rgb(0, 0, 0), Rgb(255, 255, 255), Rgb(0, 0, 192), Rgb(214, 211, 206)};
}

constexpr std::array<QRgb, 256> MakePalette8() {
    std::array<QRgb, 256> t{};
    for (int i = 0; i < 256; ++i)
        t[i] = Rgb(RLevels[i >> 5], GLevels[(i >> 2) & 7], BLevels[i & 3]);
    // The firmware shows index 0xC0 as the light grey of its backgrounds.
    t[0xC0] = Rgb(240, 240, 240);
    return t;
}

constexpr std::array<QRgb, 65536> MakeColors16() {
    std::array<QRgb, 65536> t{};
    for (int v = 0; v < 65536; ++v) {
        const int r = v >> 11, g = (v >> 6) & 0x1F, b = v & 0x1F;  // bit 5 unused
        t[v] = Rgb((r << 3) | (r >> 2), (g << 3) | (g >> 2), (b << 3) | (b >> 2));
    }
    t[0xE000] = Rgb(255, 255, 255);
    return t;
}

// Level index of every component value: the nearest level, a value at the
// rounded-down midpoint between two levels going to the upper one.
template <std::size_t N>
constexpr std::array<std::uint8_t, 256> MakeLevelIndex(const std::array<int, N>& levels) {
    std::array<std::uint8_t, 256> t{};
    for (int v = 0; v < 256; ++v) {
        std::size_t idx = 0;
        if (v >= levels[N - 1]) {
            idx = N - 1;
        } else if (v >= levels[0]) {
            std::size_t i = 0;
            while (!(levels[i] <= v && v < levels[i + 1])) ++i;
            idx = i + ((v - levels[i]) >= (levels[i + 1] - levels[i]) / 2 ? 1 : 0);
        }
        t[v] = static_cast<std::uint8_t>(idx);
    }
    return t;
}

constexpr auto kRIndex = MakeLevelIndex(RLevels);
constexpr auto kGIndex = MakeLevelIndex(GLevels);
constexpr auto kBIndex = MakeLevelIndex(BLevels);

constexpr int Clamp8(int c) { return c < 0 ? 0 : (c > 255 ? 255 : c); }

}  // namespace

// Built at compile time, so the tables are right even before start-up runs
// BuildColorTables.
constinit std::array<QRgb, 4> Palette2 = MakePalette2();
constinit std::array<QRgb, 256> Palette8 = MakePalette8();
constinit std::array<QRgb, 65536> Colors16 = MakeColors16();

void BuildColorTables() {
    Palette2 = MakePalette2();
    Palette8 = MakePalette8();
    Colors16 = MakeColors16();
}

bool ColorToMono(int r, int g, int b) { return 33 * r + 56 * g + 11 * b < 12800; }

std::uint8_t ColorTo2(int r, int g, int b) {
    // Light stays light and dark stays dark: the 1-bit rule decides between
    // the two dark colours (black, blue) and the two light ones (white,
    // grey), so that a picture keeps its shapes; nearness by distance alone
    // sent most colours of a picture to the grey. Within its side a colour
    // takes the nearer one by squared distance, the lower index on a tie.
    static constexpr std::uint8_t kDark[] = {0, 2}, kLight[] = {1, 3};
    const std::uint8_t* side = ColorToMono(r, g, b) ? kDark : kLight;
    std::uint8_t best = side[0];
    int bestDistance = -1;
    for (int k = 0; k < 2; ++k) {
        const QRgb c = Palette2[side[k]];
        const int dr = Clamp8(r) - qRed(c), dg = Clamp8(g) - qGreen(c), db = Clamp8(b) - qBlue(c);
        const int distance = dr * dr + dg * dg + db * db;
        if (bestDistance < 0 || distance < bestDistance) {
            best = side[k];
            bestDistance = distance;
        }
    }
    return best;
}

std::uint8_t ColorTo8(int r, int g, int b) {
    return static_cast<std::uint8_t>(kRIndex[Clamp8(r)] * 32 + kGIndex[Clamp8(g)] * 4 +
                                     kBIndex[Clamp8(b)]);
}

std::uint16_t ColorTo12(int r, int g, int b) {
    return static_cast<std::uint16_t>((Clamp8(r) >> 4) * 256 + (Clamp8(g) >> 4) * 16 +
                                      (Clamp8(b) >> 4));
}

std::uint16_t ColorTo16(int r, int g, int b) {
    return static_cast<std::uint16_t>((Clamp8(r) * 4 / 33) * 2048 + (Clamp8(g) * 4 / 33) * 64 +
                                      Clamp8(b) * 4 / 33);
}

QRgb ColorAfterEncoding(std::uint8_t type, QRgb c) {
    const int r = qRed(c), g = qGreen(c), b = qBlue(c);
    switch (type & ~kCompressed) {
        case kType1Bit:
            return ColorToMono(r, g, b) ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
        case kType2Bit:
            return Palette2[ColorTo2(r, g, b)] | 0xFF000000u;
        case kType8Bit:
            return Palette8[ColorTo8(r, g, b)] | 0xFF000000u;
        case kType12Bit:
            return Color12(ColorTo12(r, g, b));
        default:
            return Colors16[ColorTo16(r, g, b)] | 0xFF000000u;
    }
}

}  // namespace vorlix
