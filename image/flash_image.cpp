#include "image/flash_image.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace vorlix {

void ImageArrayDeleter::operator()(std::uint8_t* array) const { std::free(array); }

namespace {

// A zero-filled array; the system hands out zero pages on first write, so
// that only the written ones take memory.
ImageArray AllocateZeroed(std::int64_t size) {
    void* array = std::calloc(static_cast<std::size_t>(size), 1);
    if (!array) throw std::bad_alloc();
    return ImageArray(static_cast<std::uint8_t*>(array));
}

}  // namespace

// Base and working images are written whole. Backed by 2 MiB pages where the
// system offers them on request, that costs two dozen page faults instead
// of twelve thousand.
ImageArray AllocateImageArray(std::int64_t size) {
#ifdef __linux__
    constexpr std::size_t kHugePage = 0x200000;
    const std::size_t bytes = (static_cast<std::size_t>(size) + kHugePage - 1) & ~(kHugePage - 1);
    void* array = std::aligned_alloc(kHugePage, bytes);
    if (array) (void)madvise(array, bytes, MADV_HUGEPAGE);
#else
    void* array = std::malloc(static_cast<std::size_t>(size));
#endif
    if (!array) throw std::bad_alloc();
    return ImageArray(static_cast<std::uint8_t*>(array));
}

FlashImage::FlashImage() : usage_(AllocateZeroed(kImageSize)) {}

std::uint8_t* FlashImage::Base() const {
    if (!base_) {
        base_ = AllocateImageArray(size_);
        std::memset(base_.get(), 0xFF, static_cast<std::size_t>(size_));
    }
    return base_.get();
}

std::uint8_t* FlashImage::MutableWorkImage() {
    if (!work_) {
        work_ = AllocateImageArray(size_);
        std::memcpy(work_.get(), Base(), static_cast<std::size_t>(size_));
    }
    return work_.get();
}

void FlashImage::ClearBase() { std::memset(Base(), 0xFF, static_cast<std::size_t>(size_)); }

void FlashImage::ResetWorkingCopy() {
    work_.reset();
    usage_ = AllocateZeroed(size_);
}

void FlashImage::Adopt(ImageArray base, std::int64_t size) {
    size_ = std::clamp<std::int64_t>(size, kImageSize, kMaxImageSize);
    base_ = std::move(base);
    reserved_.reset();
    fileEnd_ = size_;
    ResetWorkingCopy();
}

void FlashImage::SetReserved(std::span<const ImageRange> ranges) {
    if (ranges.empty()) {
        reserved_.reset();
        return;
    }
    if (!reserved_) reserved_ = AllocateImageArray(size_);
    std::memset(reserved_.get(), 0xFF, static_cast<std::size_t>(size_));
    for (const ImageRange& r : ranges) {
        const std::int64_t from = std::clamp<std::int64_t>(r.pos, 0, size_);
        const std::int64_t to =
            std::clamp<std::int64_t>(std::int64_t{r.pos} + std::max(r.length, 0), from, size_);
        std::memset(reserved_.get() + from, 0x00, static_cast<std::size_t>(to - from));
    }
}

void FlashImage::SetFileEnd(std::int64_t imageOffset) {
    fileEnd_ = std::clamp<std::int64_t>(imageOffset, 0, size_);
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
