#include "vkp/patch_lines.h"

#include <algorithm>

#include "image/flash_image.h"

namespace vorlix {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

// Writes the offset's digits at `out` and returns the position after them.
QChar* PutOffset(QChar* out, std::uint32_t value, int digits) {
    for (int i = digits - 1; i >= 0; --i) {
        out[i] = QLatin1Char(kHexDigits[value & 0xF]);
        value >>= 4;
    }
    return out + digits;
}

QChar* PutBytes(QChar* out, const std::uint8_t* bytes, int count) {
    for (int i = 0; i < count; ++i) {
        *out++ = QLatin1Char(kHexDigits[bytes[i] >> 4]);
        *out++ = QLatin1Char(kHexDigits[bytes[i] & 0xF]);
    }
    return out;
}

int OffsetDigits(std::uint32_t value) {
    int digits = 6;
    while (digits < 8 && (value >> (4 * digits)) != 0) ++digits;
    return digits;
}

std::uint32_t OffsetValue(std::int64_t imageOffset, std::int32_t fullFlash) {
    return static_cast<std::uint32_t>(imageOffset - fullFlash);
}

}  // namespace

QString PatchOffsetText(std::int64_t imageOffset, std::int32_t fullFlash) {
    const std::uint32_t value = OffsetValue(imageOffset, fullFlash);
    QString text(OffsetDigits(value), Qt::Uninitialized);
    PutOffset(text.data(), value, text.size());
    return text;
}

QString MakePatchLine(std::int64_t imageOffset, std::int32_t fullFlash,
                      const std::uint8_t* oldBytes, const std::uint8_t* newBytes, int count) {
    const std::uint32_t value = OffsetValue(imageOffset, fullFlash);
    const int digits = OffsetDigits(value);
    QString line(digits + 2 + 4 * count + 1, Qt::Uninitialized);
    QChar* out = PutOffset(line.data(), value, digits);
    *out++ = QLatin1Char(':');
    *out++ = QLatin1Char(' ');
    out = PutBytes(out, oldBytes, count);
    *out++ = QLatin1Char(' ');
    if (newBytes) {
        PutBytes(out, newBytes, count);
    } else {
        std::fill(out, out + 2 * count, QLatin1Char('F'));
    }
    return line;
}

}  // namespace vorlix
