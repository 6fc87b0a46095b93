#include "image/flash_image.h"

#include <cstring>

namespace vorlix {

FlashImage::FlashImage()
    : base_(new std::uint8_t[kImageSize]),
      work_(new std::uint8_t[kImageSize]),
      usage_(new std::uint8_t[kImageSize]) {
    ClearBase();
    ResetWorkingCopy();
}

void FlashImage::ClearBase() { std::memset(base_.get(), 0xFF, kImageSize); }

void FlashImage::ResetWorkingCopy() {
    std::memcpy(work_.get(), base_.get(), kImageSize);
    std::memset(usage_.get(), 0xFF, kImageSize);
}

AddressFormat FormatFor(const QString& modelAndVersion) {
    return modelAndVersion.startsWith(QLatin1String("CF62"), Qt::CaseSensitive)
               ? AddressFormat::Linear
               : AddressFormat::Paged;
}

std::int32_t GetDataPos(const std::uint8_t* r, AddressFormat format) {
    const std::uint32_t w0 = r[4] | (r[5] << 8);
    const std::uint32_t w1 = r[6] | (r[7] << 8);
    if (format == AddressFormat::Linear) return static_cast<std::int32_t>(w0 + (w1 << 16));
    return static_cast<std::int32_t>(w0 | (w1 << 14));
}

void SetDataPos(std::uint8_t* r, std::int32_t a, AddressFormat format) {
    std::int32_t w1, w0;
    if (format == AddressFormat::Linear) {
        w1 = a / 65536;
        w0 = a - w1 * 65536;
    } else {
        w1 = a >> 14;
        w0 = a & 0x3FFF;
    }
    r[4] = static_cast<std::uint8_t>(w0 & 0xFF);
    r[5] = static_cast<std::uint8_t>((w0 >> 8) & 0xFF);
    r[6] = static_cast<std::uint8_t>(w1 & 0xFF);
    r[7] = static_cast<std::uint8_t>((w1 >> 8) & 0xFF);
}

std::int32_t ComposePaged(std::uint8_t offsetLow, std::uint8_t offsetHigh, std::uint8_t pageLow,
                          std::uint8_t pageHigh) {
    const std::uint32_t offset = offsetLow | (offsetHigh << 8);
    const std::uint32_t page = pageLow | (pageHigh << 8);
    return static_cast<std::int32_t>(offset | (page << 14));
}

}  // namespace vorlix
