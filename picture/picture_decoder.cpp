#include <algorithm>
#include <cstring>

#include "image/flash_image.h"
#include "picture/color_tables.h"
#include "picture/picture.h"
#include "picture/picture_codec.h"

namespace vorlix {

namespace {

constexpr QRgb kBlack = 0xFF000000u;
constexpr QRgb kWhite = 0xFFFFFFFFu;

// The bytes from the data position to the image's end. Every decoder reads
// through `has` first, so a stream that runs off the image simply ends.
struct Stream {
    const std::uint8_t* p;
    std::int64_t size;
    std::int64_t at = 0;

    bool has(std::int64_t n) const { return size - at >= n; }
    std::uint8_t Byte() { return p[at++]; }
    std::uint16_t Word() {
        const std::uint16_t v = static_cast<std::uint16_t>(p[at] | (p[at + 1] << 8));
        at += 2;
        return v;
    }
};

inline QRgb Color16(std::uint16_t v) { return Colors16[v]; }
inline QRgb Color12Word(std::uint16_t v) { return Color12(v & 0x0FFF); }

// 1- and 2-bit pictures: each row starts with a fresh byte, the leftmost
// pixel in the top bits; the surplus bits of a row's last byte are ignored.
template <int Bits>
DecodeResult DecodePadded(Stream& s, int w, int h, QRgb* out) {
    DecodeResult r;
    const int perByte = 8 / Bits;
    const int rowBytes = (w + perByte - 1) / perByte;
    std::int64_t drawn = 0;
    for (int y = 0; y < h && w > 0; ++y) {
        int x = 0;
        for (int bx = 0; bx < rowBytes; ++bx) {
            if (!s.has(1)) {
                r.drawn = drawn;
                return r;
            }
            const unsigned b = s.Byte();
            const int n = std::min(perByte, w - x);
            for (int k = 0; k < n; ++k) {
                const unsigned v = (b >> (8 - Bits * (k + 1))) & ((1u << Bits) - 1);
                if constexpr (Bits == 1)
                    out[drawn++] = v ? kBlack : kWhite;
                else
                    out[drawn++] = Palette2[v];
            }
            x += n;
        }
    }
    r.drawn = drawn;
    return r;
}

DecodeResult DecodePlain8(Stream& s, std::int64_t n, QRgb* out) {
    DecodeResult r;
    const std::int64_t count = std::min(n, s.size);
    for (std::int64_t i = 0; i < count; ++i) out[i] = Palette8[s.p[i]];
    s.at = count;
    r.drawn = count;
    return r;
}

template <QRgb (*ColorOf)(std::uint16_t)>
DecodeResult DecodePlainWords(Stream& s, std::int64_t n, QRgb* out) {
    DecodeResult r;
    const std::int64_t count = std::min(n, s.size / 2);
    const std::uint8_t* p = s.p;
    for (std::int64_t i = 0; i < count; ++i)
        out[i] = ColorOf(static_cast<std::uint16_t>(p[2 * i] | (p[2 * i + 1] << 8)));
    s.at = count * 2;
    r.drawn = count;
    return r;
}

// 1-bit compressed: a byte with bit 7 set is a run (bit 6 the colour, bits 0
// to 5 the count), else seven pixels, bit 6 first. Ends the moment the last
// pixel is drawn, in the middle of a byte if need be.
DecodeResult DecodeCompressed1(Stream& s, std::int64_t n, QRgb* out) {
    DecodeResult r;
    std::int64_t p = 0;
    while (p < n && s.has(1)) {
        const unsigned b = s.Byte();
        if (b & 0x80) {
            const std::int64_t count = std::min<std::int64_t>(b & 0x3F, n - p);
            std::fill_n(out + p, count, (b & 0x40) ? kBlack : kWhite);
            p += count;
        } else {
            for (int bit = 6; bit >= 0 && p < n; --bit)
                out[p++] = ((b >> bit) & 1) ? kBlack : kWhite;
        }
    }
    r.drawn = p;
    return r;
}

// 8- and 16-bit compressed: a control byte below 0x80 is a run of that many
// pixels of the next value's colour; 0x80 and above a literal of 256 - h
// values. Values are one byte (8-bit palette) or two (16-bit colour). Blocks
// are read whole; pixels past the last row are not drawn.
template <int kValueBytes>
QRgb CompressedValue(const std::uint8_t* q) {
    if constexpr (kValueBytes == 1)
        return Palette8[q[0]];
    else
        return Colors16[static_cast<std::uint16_t>(q[0] | (q[1] << 8))];
}

template <int kValueBytes>
DecodeResult DecodeCompressedBlocks(Stream& s, std::int64_t n, QRgb* out) {
    DecodeResult r;
    std::int64_t p = 0;
    while (p < n && s.has(1)) {
        const unsigned h = s.Byte();
        if (h < 0x80) {
            if (!s.has(kValueBytes)) break;
            const QRgb c = CompressedValue<kValueBytes>(s.p + s.at);
            s.at += kValueBytes;
            const std::int64_t count = std::min<std::int64_t>(h, n - p);
            std::fill_n(out + p, count, c);
            p += count;
        } else {
            const std::int64_t count =
                std::min<std::int64_t>(256 - h, (s.size - s.at) / kValueBytes);
            const std::int64_t draw = std::min(count, n - p);
            const std::uint8_t* q = s.p + s.at;
            for (std::int64_t k = 0; k < draw; ++k)
                out[p + k] = CompressedValue<kValueBytes>(q + kValueBytes * k);
            p += draw;
            s.at += count * kValueBytes;
            if (count < 256 - h) break;  // the image ended inside the block
        }
    }
    r.drawn = p;
    return r;
}

// 12-bit compressed: 0x81 and above a literal of 256 - h values, 0x80 an
// empty block, below 0x80 a run. The end is checked before every pixel: a
// literal's values past the last pixel are not read, a run's value always is.
DecodeResult DecodeCompressed12(Stream& s, std::int64_t n, QRgb* out) {
    DecodeResult r;
    std::int64_t p = 0;
    while (p < n && s.has(1)) {
        const unsigned h = s.Byte();
        if (h > 0x80) {
            const std::int64_t count =
                std::min({static_cast<std::int64_t>(256 - h), n - p, (s.size - s.at) / 2});
            const std::uint8_t* q = s.p + s.at;
            for (std::int64_t k = 0; k < count; ++k)
                out[p + k] =
                    Color12Word(static_cast<std::uint16_t>(q[2 * k] | (q[2 * k + 1] << 8)));
            p += count;
            s.at += count * 2;
            if (count < 256 - h && p < n) break;  // the image ended inside the block
        } else if (h < 0x80) {
            if (!s.has(2)) break;
            const QRgb c = Color12Word(s.Word());
            const std::int64_t count = std::min<std::int64_t>(h, n - p);
            std::fill_n(out + p, count, c);
            p += count;
        }
    }
    r.drawn = p;
    return r;
}

}  // namespace

std::uint8_t DepthOfType(std::uint8_t type) {
    switch (type) {
        case 0x01:
        case 0x81:
            return 1;
        case 0x03:
        case 0x83:
            return 2;
        case 0x05:
        case 0x85:
            return 8;
        case 0x07:
        case 0x87:
            return 12;
        case 0x08:
        case 0x88:
            return 16;
        default:
            return type;
    }
}

DecodeResult DecodePixels(const std::uint8_t* image, std::int64_t pos, int width, int height,
                          std::uint8_t type, QRgb* pixels) {
    const bool inside = InImage(pos);
    Stream s{inside ? image + pos : image, inside ? kImageSize - pos : 0};
    const int w = std::max(width, 0), h = std::max(height, 0);
    const std::int64_t n = static_cast<std::int64_t>(w) * h;
    DecodeResult r;
    switch (type) {
        case 0x01:
            r = DecodePadded<1>(s, w, h, pixels);
            break;
        case 0x03:
            r = DecodePadded<2>(s, w, h, pixels);
            break;
        case 0x05:
            r = DecodePlain8(s, n, pixels);
            break;
        case 0x07:
            r = DecodePlainWords<Color12Word>(s, n, pixels);
            break;
        case 0x08:
            r = DecodePlainWords<Color16>(s, n, pixels);
            break;
        case 0x81:
            r = DecodeCompressed1(s, n, pixels);
            break;
        case 0x85:
            r = DecodeCompressedBlocks<1>(s, n, pixels);
            break;
        case 0x87:
            r = DecodeCompressed12(s, n, pixels);
            break;
        case 0x88:
            r = DecodeCompressedBlocks<2>(s, n, pixels);
            break;
        default:
            break;  // 0x83 and unknown types: nothing is read
    }
    r.length = static_cast<std::int32_t>(s.at);
    r.depth = DepthOfType(type);
    return r;
}

void Picture::Decode() {
    const int w = Width(), h = Height();
    const std::int64_t n = static_cast<std::int64_t>(w) * h;
    // The bitmap is drawn over only when nothing else shares its pixels
    // (OldBitmap and SourceBitmap do after construction); else a fresh one.
    const bool reuse = n > 0 && DecodedBitmap.isDetached() && DecodedBitmap.size() == QSize(w, h) &&
                       DecodedBitmap.format() == QImage::Format_RGB32;
    if (!reuse) DecodedBitmap = n > 0 ? QImage(w, h, QImage::Format_RGB32) : QImage();
    // A 32-bit scanline is exactly width * 4 bytes, so the pixels lie row
    // after row without gaps.
    QRgb* pixels = n > 0 ? reinterpret_cast<QRgb*>(DecodedBitmap.bits()) : nullptr;
    const std::uint8_t* source = Modified ? WorkImage : BaseImage;
    const std::int64_t pos = DataPos();

    const DecodeResult r = DecodePixels(source, pos, w, h, Type(), pixels);
    if (r.drawn < n) std::fill(pixels + r.drawn, pixels + n, kWhite);
    Length = r.length;
    Depth = r.depth;
    if (Length > 0) std::memset(UsageMap + pos, 0x00, static_cast<std::size_t>(Length));
}

}  // namespace vorlix
