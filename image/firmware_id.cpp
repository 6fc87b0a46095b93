#include "image/firmware_id.h"

#include <algorithm>
#include <array>

#include "image/flash_image.h"
#include "image/pit_tables.h"

namespace vorlix {

namespace {

constexpr int kModelNameOffset = kBuildInfoModelName;
constexpr int kVersionOffset = kBuildInfoVersion;
// Model names are a few letters; bytes that run on longer without a 0 (as
// erased flash after a block near a dump's end does, up to the image's
// end) are no name, and the pattern matched there by chance.
constexpr int kMaxModelName = 64;

constexpr std::array<std::int16_t, kBuildInfoLength> MakeBuildInfoPattern() {
    std::array<std::int16_t, kBuildInfoLength> p{};
    for (auto& e : p) e = kAnyByte;
    p[0] = '.';
    p[3] = '.';
    p[8] = ':';
    p[11] = ':';
    p[46] = 'l';
    p[47] = 'g';
    return p;
}
constexpr auto kBuildInfoPattern = MakeBuildInfoPattern();

QChar VersionDigit(int nibble) { return QChar(char16_t(0x30 | nibble)); }

}  // namespace

std::span<const std::int16_t, kBuildInfoLength> BuildInfoPattern() { return kBuildInfoPattern; }

std::optional<QString> IdentifyFirmware(ImageBytes image) {
    std::int64_t m = -1;
    std::int64_t nameEnd = 0;
    for (std::int64_t from = 0;; from = m + 1) {
        const auto match = FindPattern(image, from, kBuildInfoPattern);
        if (!match) return std::nullopt;
        m = *match;
        nameEnd = m + kModelNameOffset;
        const std::int64_t limit = std::min<std::int64_t>(nameEnd + kMaxModelName + 1,
                                                          static_cast<std::int64_t>(image.size()));
        while (nameEnd < limit && image[nameEnd] != 0) ++nameEnd;
        if (nameEnd - (m + kModelNameOffset) <= kMaxModelName) break;
    }

    QString text;
    for (std::int64_t pos = m + kModelNameOffset; pos < nameEnd; ++pos)
        text.append(QChar(char16_t(image[pos])));      // bytes as Latin-1 characters
    const std::uint8_t v = image[m + kVersionOffset];  // inside the matched block
    text.append(QLatin1Char('v'));
    text.append(VersionDigit(v >> 4));
    text.append(VersionDigit(v & 0x0F));
    return text;
}

}  // namespace vorlix
