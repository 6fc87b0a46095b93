#include <algorithm>
#include <cstring>
#include <type_traits>

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

// How each encoding turns a stored value into a colour, and which value
// counts as stored: the bit or palette index, the 12-bit colour (the top
// nibble of its word is not part of it), the 16-bit colour word.
struct Mono {
    static QRgb Colour(unsigned v) { return v ? kBlack : kWhite; }
    static unsigned Value(unsigned v) { return v; }
};
struct Indexed2 {
    static QRgb Colour(unsigned v) { return Palette2[v]; }
    static unsigned Value(unsigned v) { return v; }
};
struct Indexed8 {
    static QRgb Colour(unsigned v) { return Palette8[v]; }
    static unsigned Value(unsigned v) { return v; }
};
struct Colour12 {
    static QRgb Colour(unsigned v) { return Color12(static_cast<std::uint16_t>(v & 0x0FFF)); }
    static unsigned Value(unsigned v) { return v & 0x0FFF; }
};
struct Colour16 {
    static QRgb Colour(unsigned v) { return Colors16[v]; }
    static unsigned Value(unsigned v) { return v; }
};

// Where the decoders put pixel i: its colour, or the value it is stored as.
struct ColourSink {
    QRgb* out;
    template <class Enc>
    void Set(std::int64_t i, unsigned v) {
        out[i] = Enc::Colour(v);
    }
    template <class Enc>
    void Fill(std::int64_t i, std::int64_t n, unsigned v) {
        std::fill_n(out + i, n, Enc::Colour(v));
    }
};
struct ValueSink {
    std::uint16_t* out;
    template <class Enc>
    void Set(std::int64_t i, unsigned v) {
        out[i] = static_cast<std::uint16_t>(Enc::Value(v));
    }
    template <class Enc>
    void Fill(std::int64_t i, std::int64_t n, unsigned v) {
        std::fill_n(out + i, n, static_cast<std::uint16_t>(Enc::Value(v)));
    }
};

inline unsigned WordAt(const std::uint8_t* q) { return q[0] | (q[1] << 8); }

// 1- and 2-bit pictures: each row starts with a fresh byte, the leftmost
// pixel in the top bits; the surplus bits of a row's last byte are ignored.
template <int Bits, class Enc, class Sink>
DecodeResult DecodePadded(Stream& s, int w, int h, Sink out) {
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
            for (int k = 0; k < n; ++k)
                out.template Set<Enc>(drawn++, (b >> (8 - Bits * (k + 1))) & ((1u << Bits) - 1));
            x += n;
        }
    }
    r.drawn = drawn;
    return r;
}

template <class Sink>
DecodeResult DecodePlain8(Stream& s, std::int64_t n, Sink out) {
    DecodeResult r;
    const std::int64_t count = std::min(n, s.size);
    for (std::int64_t i = 0; i < count; ++i) out.template Set<Indexed8>(i, s.p[i]);
    s.at = count;
    r.drawn = count;
    return r;
}

template <class Enc, class Sink>
DecodeResult DecodePlainWords(Stream& s, std::int64_t n, Sink out) {
    DecodeResult r;
    const std::int64_t count = std::min(n, s.size / 2);
    for (std::int64_t i = 0; i < count; ++i) out.template Set<Enc>(i, WordAt(s.p + 2 * i));
    s.at = count * 2;
    r.drawn = count;
    return r;
}

// 1-bit compressed: a byte with bit 7 set is a run (bit 6 the colour, bits 0
// to 5 the count), else seven pixels, bit 6 first. Ends the moment the last
// pixel is drawn, in the middle of a byte if need be.
template <class Sink>
DecodeResult DecodeCompressed1(Stream& s, std::int64_t n, Sink out) {
    DecodeResult r;
    std::int64_t p = 0;
    while (p < n && s.has(1)) {
        const unsigned b = s.Byte();
        if (b & 0x80) {
            const std::int64_t count = std::min<std::int64_t>(b & 0x3F, n - p);
            out.template Fill<Mono>(p, count, (b >> 6) & 1);
            p += count;
        } else {
            for (int bit = 6; bit >= 0 && p < n; --bit) out.template Set<Mono>(p++, (b >> bit) & 1);
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
unsigned CompressedValue(const std::uint8_t* q) {
    if constexpr (kValueBytes == 1)
        return q[0];
    else
        return WordAt(q);
}

template <int kValueBytes, class Sink>
DecodeResult DecodeCompressedBlocks(Stream& s, std::int64_t n, Sink out) {
    using Enc = std::conditional_t<kValueBytes == 1, Indexed8, Colour16>;
    DecodeResult r;
    std::int64_t p = 0;
    while (p < n && s.has(1)) {
        const unsigned h = s.Byte();
        if (h < 0x80) {
            if (!s.has(kValueBytes)) break;
            const unsigned v = CompressedValue<kValueBytes>(s.p + s.at);
            s.at += kValueBytes;
            const std::int64_t count = std::min<std::int64_t>(h, n - p);
            out.template Fill<Enc>(p, count, v);
            p += count;
        } else {
            const std::int64_t count =
                std::min<std::int64_t>(256 - h, (s.size - s.at) / kValueBytes);
            const std::int64_t draw = std::min(count, n - p);
            const std::uint8_t* q = s.p + s.at;
            for (std::int64_t k = 0; k < draw; ++k)
                out.template Set<Enc>(p + k, CompressedValue<kValueBytes>(q + kValueBytes * k));
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
template <class Sink>
DecodeResult DecodeCompressed12(Stream& s, std::int64_t n, Sink out) {
    DecodeResult r;
    std::int64_t p = 0;
    while (p < n && s.has(1)) {
        const unsigned h = s.Byte();
        if (h > 0x80) {
            const std::int64_t count =
                std::min({static_cast<std::int64_t>(256 - h), n - p, (s.size - s.at) / 2});
            const std::uint8_t* q = s.p + s.at;
            for (std::int64_t k = 0; k < count; ++k)
                out.template Set<Colour12>(p + k, WordAt(q + 2 * k));
            p += count;
            s.at += count * 2;
            if (count < 256 - h && p < n) break;  // the image ended inside the block
        } else if (h < 0x80) {
            if (!s.has(2)) break;
            const unsigned v = s.Word();
            const std::int64_t count = std::min<std::int64_t>(h, n - p);
            out.template Fill<Colour12>(p, count, v);
            p += count;
        }
    }
    r.drawn = p;
    return r;
}

template <class Sink>
DecodeResult DecodeInto(ImageBytes image, std::int64_t pos, int width, int height,
                        std::uint8_t type, Sink out) {
    const auto size = static_cast<std::int64_t>(image.size());
    const bool inside = InImage(pos, 1, size);
    Stream s{inside ? image.data() + pos : image.data(), inside ? size - pos : 0};
    const int w = std::max(width, 0), h = std::max(height, 0);
    const std::int64_t n = static_cast<std::int64_t>(w) * h;
    DecodeResult r;
    switch (type) {
        case kType1Bit:
            r = DecodePadded<1, Mono>(s, w, h, out);
            break;
        case kType2Bit:
            r = DecodePadded<2, Indexed2>(s, w, h, out);
            break;
        case kType8Bit:
            r = DecodePlain8(s, n, out);
            break;
        case kType12Bit:
            r = DecodePlainWords<Colour12>(s, n, out);
            break;
        case kType16Bit:
            r = DecodePlainWords<Colour16>(s, n, out);
            break;
        case kType1Bit | kCompressed:
            r = DecodeCompressed1(s, n, out);
            break;
        case kType8Bit | kCompressed:
            r = DecodeCompressedBlocks<1>(s, n, out);
            break;
        case kType12Bit | kCompressed:
            r = DecodeCompressed12(s, n, out);
            break;
        case kType16Bit | kCompressed:
            r = DecodeCompressedBlocks<2>(s, n, out);
            break;
        default:
            break;  // compressed 2-bit and unknown types: nothing is read
    }
    r.length = static_cast<std::int32_t>(s.at);
    r.depth = DepthOfType(type);
    return r;
}

}  // namespace

std::uint8_t DepthOfType(std::uint8_t type) {
    const PictureType* known = FindPictureType(type);
    return known ? known->depth : type;
}

DecodeResult DecodePixels(ImageBytes image, std::int64_t pos, int width, int height,
                          std::uint8_t type, QRgb* pixels) {
    return DecodeInto(image, pos, width, height, type, ColourSink{pixels});
}

DecodeResult DecodeValues(ImageBytes image, std::int64_t pos, int width, int height,
                          std::uint8_t type, std::uint16_t* values) {
    return DecodeInto(image, pos, width, height, type, ValueSink{values});
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
    const ImageBytes source = Modified ? WorkImage() : BaseImage();
    const std::int64_t pos = DataPos();

    const DecodeResult r = DecodePixels(source, pos, w, h, Type(), pixels);
    if (r.drawn < n) std::fill(pixels + r.drawn, pixels + n, kWhite);
    Length = r.length;
    Depth = r.depth;
    std::uint8_t* usage = image_.Usage();
    if (Length > 0) std::memset(usage + pos, 0xFF, static_cast<std::size_t>(Length));
    // The index record is occupied too: new data never lands on it, even on
    // those of its bytes that are 0xFF.
    for (std::int64_t at = RecordPos; at < std::int64_t{RecordPos} + 8; ++at)
        if (image_.Holds(at)) usage[at] = 0xFF;
}

}  // namespace vorlix
