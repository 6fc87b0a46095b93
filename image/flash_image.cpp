#include "image/flash_image.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace vorlix {

void FlashImage::ArrayDeleter::operator()(std::uint8_t* array) const { std::free(array); }

// Every open writes all three arrays whole. Backed by 2 MiB pages where the
// system offers them on request, that costs two dozen page faults instead
// of twelve thousand.
FlashImage::Array FlashImage::Allocate() {
#ifdef __linux__
    constexpr std::size_t kHugePage = 0x200000;
    void* array = std::aligned_alloc(kHugePage, kImageSize);
    if (array) (void)madvise(array, kImageSize, MADV_HUGEPAGE);
#else
    void* array = std::malloc(kImageSize);
#endif
    if (!array) throw std::bad_alloc();
    return Array(static_cast<std::uint8_t*>(array));
}

FlashImage::FlashImage() : base_(Allocate()), work_(Allocate()), usage_(Allocate()) {
    ClearBase();
    ResetWorkingCopy();
}

void FlashImage::ClearBase() { std::memset(base_.get(), 0xFF, kImageSize); }

void FlashImage::ResetWorkingCopy() {
    std::memcpy(work_.get(), base_.get(), kImageSize);
    std::memset(usage_.get(), 0xFF, kImageSize);
}

void FlashImage::SetReserved(std::span<const ImageRange> ranges) {
    if (ranges.empty()) {
        reserved_.reset();
        return;
    }
    if (!reserved_) reserved_ = Allocate();
    std::memset(reserved_.get(), 0xFF, kImageSize);
    for (const ImageRange& r : ranges) {
        const std::int64_t from = std::clamp<std::int64_t>(r.pos, 0, kImageSize);
        const std::int64_t to =
            std::clamp<std::int64_t>(std::int64_t{r.pos} + std::max(r.length, 0), from, kImageSize);
        std::memset(reserved_.get() + from, 0x00, static_cast<std::size_t>(to - from));
    }
}

void FlashImage::SetFileEnd(std::int64_t imageOffset) {
    fileEnd_ = std::clamp<std::int64_t>(imageOffset, 0, kImageSize);
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
