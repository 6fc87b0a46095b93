#include "vkp/patch_lines.h"

#include <algorithm>

#include "image/flash_image.h"
#include "picture/picture.h"

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

void AppendRecordLine(const Picture& picture, std::int32_t fullFlash, QStringList& lines) {
    const std::int64_t pos = picture.RecordPos;
    if (!InImage(pos, kRecordLineBytes)) return;
    const std::uint8_t* base = picture.BaseImage + pos;
    const std::uint8_t* work = picture.WorkImage + pos;
    int k = 0;
    while (k < kRecordLineBytes && base[k] == work[k]) ++k;
    if (k == kRecordLineBytes) return;
    lines.append(MakePatchLine(pos + k, fullFlash, base + k, work + k, kRecordLineBytes - k));
}

namespace {

// The picture's current data as a range that lies inside the image; a
// range that would leave it is cut at the image's end.
bool DataRange(const Picture& picture, std::int64_t& pos, std::int64_t& length) {
    pos = picture.DataPos();
    length = picture.Length;
    if (length <= 0 || !InImage(pos)) return false;
    length = std::min<std::int64_t>(length, kImageSize - pos);
    return true;
}

}  // namespace

void AppendDataLines(const Picture& picture, std::int32_t fullFlash, std::int32_t maxLength,
                     QStringList& lines) {
    std::int64_t pos, length;
    if (!DataRange(picture, pos, length)) return;
    const std::int64_t step = std::max<std::int32_t>(maxLength, 1);
    for (std::int64_t done = 0; done < length; done += step) {
        const int count = static_cast<int>(std::min(step, length - done));
        lines.append(MakePatchLine(pos + done, fullFlash, picture.BaseImage + pos + done,
                                   picture.WorkImage + pos + done, count));
    }
}

void AppendFillLine(const Picture& picture, std::int32_t fullFlash, QStringList& lines) {
    std::int64_t pos, length;
    if (!DataRange(picture, pos, length)) return;
    lines.append(MakePatchLine(pos, fullFlash, picture.BaseImage + pos, nullptr,
                               static_cast<int>(length)));
}

}  // namespace vorlix
