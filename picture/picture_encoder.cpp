#include <algorithm>
#include <vector>

#include "picture/color_tables.h"
#include "picture/picture.h"
#include "picture/picture_codec.h"

namespace vorlix {

namespace {

constexpr QRgb kWhite = 0xFFFFFFFFu;

// The width x height pixels of `source`, row by row, each reduced by
// `reduce`; pixels outside the source count as white.
template <typename T, typename Reduce>
std::vector<T> ReducePixels(const QImage& source, int w, int h, Reduce reduce) {
    std::vector<T> p(static_cast<std::size_t>(w) * h);
    if (p.empty()) return p;
    QImage converted;
    const QImage* img = &source;
    if (!source.isNull() && source.format() != QImage::Format_RGB32 &&
        source.format() != QImage::Format_ARGB32) {
        converted = source.convertToFormat(QImage::Format_RGB32);
        img = &converted;
    }
    const int sw = img->isNull() ? 0 : img->width();
    const int sh = img->isNull() ? 0 : img->height();
    const T white = reduce(kWhite);
    std::size_t i = 0;
    for (int y = 0; y < h; ++y) {
        int x = 0;
        if (y < sh) {
            const QRgb* row = reinterpret_cast<const QRgb*>(img->constScanLine(y));
            for (const int inside = std::min(w, sw); x < inside; ++x) p[i++] = reduce(row[x]);
        }
        for (; x < w; ++x) p[i++] = white;
    }
    return p;
}

std::uint8_t Mono(QRgb c) { return ColorToMono(qRed(c), qGreen(c), qBlue(c)) ? 1 : 0; }
std::uint8_t Reduce2(QRgb c) { return ColorTo2(qRed(c), qGreen(c), qBlue(c)); }
std::uint8_t Reduce8(QRgb c) { return ColorTo8(qRed(c), qGreen(c), qBlue(c)); }
std::uint16_t Reduce12(QRgb c) { return ColorTo12(qRed(c), qGreen(c), qBlue(c)); }
std::uint16_t Reduce16(QRgb c) { return ColorTo16(qRed(c), qGreen(c), qBlue(c)); }

void PutValue(std::uint8_t*& o, std::uint8_t v) { *o++ = v; }
void PutValue(std::uint8_t*& o, std::uint16_t v) {
    *o++ = static_cast<std::uint8_t>(v & 0xFF);
    *o++ = static_cast<std::uint8_t>(v >> 8);
}

// 0x01 and 0x03: rows packed 8 / Bits pixels a byte, the leftmost in the
// top bits (1-bit: dark = 1; 2-bit: the Palette2 index); the bits past the
// width in a row's last byte are 1.
template <int Bits>
std::uint8_t* EncodePadded(const std::vector<std::uint8_t>& p, int w, int h, std::uint8_t* o) {
    constexpr int perByte = 8 / Bits;
    constexpr unsigned surplus = (1u << Bits) - 1;
    std::size_t i = 0;
    for (int y = 0; y < h; ++y) {
        for (int x0 = 0; x0 < w; x0 += perByte) {
            unsigned b = 0;
            for (int k = 0; k < perByte; ++k) b = (b << Bits) | (x0 + k < w ? p[i++] : surplus);
            *o++ = static_cast<std::uint8_t>(b);
        }
    }
    return o;
}

// 0x81: runs of 7 to 63 equal pixels become one byte (0x80, 0x40 when dark,
// the count); everything else goes out seven pixels a byte. A run never
// reaches into the last six pixels, and at most seven pixels ever wait.
std::uint8_t* EncodeMonoCompressed(const std::vector<std::uint8_t>& p, std::uint8_t* o) {
    const std::int64_t n = static_cast<std::int64_t>(p.size());
    auto literal = [&](std::int64_t from) {
        unsigned b = 0;
        for (std::int64_t k = from; k < from + 7; ++k) b = (b << 1) | (k < n ? p[k] : 1u);
        *o++ = static_cast<std::uint8_t>(b);
    };
    std::int64_t i = 0, lit = 0;
    while (i < n) {
        std::int64_t run = 1;
        while (run < 63 && i + run - 1 < n - 7 && p[i + run - 1] == p[i + run]) ++run;
        if (run >= 7 && lit < i) {
            literal(lit);
            lit += 7;
            i = lit;
        } else if (run >= 7) {
            *o++ = static_cast<std::uint8_t>(0x80 | (p[i] ? 0x40 : 0) | run);
            i += run;
            lit = i;
        } else {
            if (i - lit == 7) {
                literal(lit);
                lit = i;
            }
            ++i;
        }
    }
    if (lit < i) literal(lit);
    return o;
}

template <typename T>
std::uint8_t* EncodePlain(const std::vector<T>& p, std::uint8_t* o) {
    for (const T v : p) PutValue(o, v);
    return o;
}

// 0x85, 0x87, 0x88: runs of 3 to 126 equal values (control byte = count,
// then the value once) and literals of 1 to 127 values (control byte
// 256 - count). The control bytes 0x7F and 0x80 never occur.
template <typename T>
std::uint8_t* EncodeBlocks(const std::vector<T>& p, std::uint8_t* o) {
    const std::int64_t n = static_cast<std::int64_t>(p.size());
    auto startsRun = [&](std::int64_t k) { return p[k] == p[k + 1] && p[k + 1] == p[k + 2]; };
    std::int64_t j = 0;
    while (j < n) {
        if (j + 2 >= n) {
            *o++ = static_cast<std::uint8_t>(256 - (n - j));
            for (; j < n; ++j) PutValue(o, p[j]);
        } else if (startsRun(j)) {
            std::int64_t k = j;
            while (k < n && k - j < 126 && p[k] == p[j]) ++k;
            *o++ = static_cast<std::uint8_t>(k - j);
            PutValue(o, p[j]);
            j = k;
        } else {
            std::int64_t k = j;
            while (k < n - 2 && k - j < 127 && !startsRun(k)) ++k;
            *o++ = static_cast<std::uint8_t>(256 - (k - j));
            for (; j < k; ++j) PutValue(o, p[j]);
        }
    }
    return o;
}

}  // namespace

std::int32_t EncodePixels(const QImage& source, int width, int height, std::uint8_t type,
                          std::uint8_t* out) {
    const int w = std::max(width, 0), h = std::max(height, 0);
    std::uint8_t* o = out;
    switch (type) {
        case kType1Bit:
            o = EncodePadded<1>(ReducePixels<std::uint8_t>(source, w, h, Mono), w, h, o);
            break;
        case kType2Bit:
            o = EncodePadded<2>(ReducePixels<std::uint8_t>(source, w, h, Reduce2), w, h, o);
            break;
        case kType1Bit | kCompressed:
            o = EncodeMonoCompressed(ReducePixels<std::uint8_t>(source, w, h, Mono), o);
            break;
        case kType8Bit:
            o = EncodePlain(ReducePixels<std::uint8_t>(source, w, h, Reduce8), o);
            break;
        case kType12Bit:
            o = EncodePlain(ReducePixels<std::uint16_t>(source, w, h, Reduce12), o);
            break;
        case kType16Bit:
            o = EncodePlain(ReducePixels<std::uint16_t>(source, w, h, Reduce16), o);
            break;
        case kType8Bit | kCompressed:
            o = EncodeBlocks(ReducePixels<std::uint8_t>(source, w, h, Reduce8), o);
            break;
        case kType12Bit | kCompressed:
            o = EncodeBlocks(ReducePixels<std::uint16_t>(source, w, h, Reduce12), o);
            break;
        case kType16Bit | kCompressed:
            o = EncodeBlocks(ReducePixels<std::uint16_t>(source, w, h, Reduce16), o);
            break;
        default:
            break;  // compressed 2-bit (no known layout) and unknown types
    }
    return static_cast<std::int32_t>(o - out);
}

bool HasEncoder(std::uint8_t type) {
    const PictureType* known = FindPictureType(type);
    return known && known->encodable;
}

std::uint8_t TypeAfterLoad(std::uint8_t current, bool keepType) {
    if (keepType && HasEncoder(current)) return current;
    return (current & ~kCompressed) == kType1Bit
               ? kType1Bit
               : static_cast<std::uint8_t>(kType16Bit | kCompressed);
}

void Picture::Encode() {
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(EncodeBufferSize(Width(), Height())));
    Length = EncodePixels(SourceBitmap, Width(), Height(), Type(), buffer.data());
    NewData.assign(buffer.begin(), buffer.begin() + Length);
}

}  // namespace vorlix
