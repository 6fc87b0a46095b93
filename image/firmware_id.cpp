#include "image/firmware_id.h"

#include <array>

#include "image/flash_image.h"
#include "image/pit_tables.h"

namespace vorlix {

namespace {

constexpr int kBuildInfoLength = 48;
constexpr int kModelNameOffset = 62;
constexpr int kVersionOffset = 30;

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

std::optional<QString> IdentifyFirmware(const std::uint8_t* image) {
    const auto match = FindPattern(image, 0, kBuildInfoPattern);
    if (!match) return std::nullopt;
    const std::int64_t m = *match;

    QString text;
    for (std::int64_t pos = m + kModelNameOffset; InImage(pos) && image[pos] != 0; ++pos)
        text.append(QChar(char16_t(image[pos])));      // bytes as Latin-1 characters
    const std::uint8_t v = image[m + kVersionOffset];  // inside the matched block
    text.append(QLatin1Char('v'));
    text.append(VersionDigit(v >> 4));
    text.append(VersionDigit(v & 0x0F));
    return text;
}

}  // namespace vorlix
