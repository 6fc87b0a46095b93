#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>

namespace vorlix {

// The phone addresses its memory with 24 bits, the later models with a few
// more: the program keeps an image in which every byte stands at its phone
// address. It spans the 24-bit space (16 MiB), or FullFlash plus the dump's
// length when that reaches further, up to 32 MiB. An image offset is an
// index into the image arrays; a file offset is an image offset minus the
// FullFlash setting.
inline constexpr std::int32_t kImageSize = 0x1000000;     // the least image
inline constexpr std::int32_t kMaxImageSize = 0x2000000;  // the largest
inline constexpr std::int32_t kPageSize = 0x4000;

// True when [pos, pos + length) lies inside an image of `imageSize` bytes.
// Computed in 64 bits so that positions built from settings never overflow.
constexpr bool InImage(std::int64_t pos, std::int64_t length, std::int64_t imageSize) {
    return pos >= 0 && length >= 0 && pos + length <= imageSize;
}

// The size of the image that holds a dump of `length` bytes laid at
// `fullFlash`: the 24-bit space, or as far as the dump reaches, at most
// kMaxImageSize.
constexpr std::int64_t ImageSizeFor(std::int64_t fullFlash, std::int64_t length) {
    const std::int64_t end = fullFlash + (length > 0 ? length : 0);
    return end <= kImageSize ? kImageSize : end >= kMaxImageSize ? kMaxImageSize : end;
}

// The bytes of an image, read-only or writable, with their count.
using ImageBytes = std::span<const std::uint8_t>;
using WritableImageBytes = std::span<std::uint8_t>;

using PitRecord = std::array<std::uint8_t, 8>;

// The image offsets [pos, pos + length).
struct ImageRange {
    std::int32_t pos = 0;
    std::int32_t length = 0;
};

// A byte array of image size, freed with std::free.
struct ImageArrayDeleter {
    void operator()(std::uint8_t* array) const;
};
using ImageArray = std::unique_ptr<std::uint8_t[], ImageArrayDeleter>;
// An array of `size` bytes, not initialised; pages are taken from the system
// only when first written.
ImageArray AllocateImageArray(std::int64_t size);

// The image arrays of an open FullFlash, shared by everything that works on
// the image:
//  - BaseImage: the FullFlash as read; never changed after placement;
//  - WorkImage: the copy that receives every change (patches are the
//    difference between the two). It is made on the first change: until
//    then the working image is the base image;
//  - Usage: nonzero for a byte occupied by decoded picture data or by the
//    index record of a listed picture, zero where free. Only the pages where
//    pictures lie take memory.
// Bytes that the file does not cover are 0xFF, the value of erased flash.
class FlashImage {
  public:
    // An image of the 24-bit space, all erased.
    FlashImage();
    FlashImage(const FlashImage&) = delete;
    FlashImage& operator=(const FlashImage&) = delete;

    std::int64_t Size() const { return size_; }
    // True when [pos, pos + length) lies inside this image.
    bool Holds(std::int64_t pos, std::int64_t length = 1) const {
        return InImage(pos, length, size_);
    }

    std::uint8_t* BaseImage() { return Base(); }
    const std::uint8_t* BaseImage() const { return Base(); }
    ImageBytes BaseBytes() const { return {Base(), static_cast<std::size_t>(size_)}; }
    // The working image to read: the base image until something changed.
    const std::uint8_t* WorkImage() const { return work_ ? work_.get() : Base(); }
    ImageBytes WorkBytes() const { return {WorkImage(), static_cast<std::size_t>(size_)}; }
    // The working image to change; made from the base image on first use.
    std::uint8_t* MutableWorkImage();
    std::uint8_t* Usage() { return usage_.get(); }
    const std::uint8_t* Usage() const { return usage_.get(); }

    void ClearBase();         // base image all 0xFF
    void ResetWorkingCopy();  // working image = base image, nothing occupied
    // Takes `base`, a laid-out base image of `size` bytes (the 24-bit space up
    // to kMaxImageSize), in place of the present one, and starts a fresh
    // working copy. The reservation is freed.
    void Adopt(ImageArray base, std::int64_t size);

    // The bytes that the patches installed on the phone write: placement
    // never chooses them for new data, not even where they are 0xFF. The
    // reservation belongs to the open image: it is set when the image is
    // opened and outlives ResetWorkingCopy (a refresh). 0x00 marks a
    // reserved byte; null while nothing is reserved.
    const std::uint8_t* ReservedMap() const { return reserved_.get(); }
    // Reserves exactly `ranges` (clipped to the image); none frees the map.
    void SetReserved(std::span<const ImageRange> ranges);

    // The image offset just past the open file's last byte: placement never
    // puts new data beyond it, since what lies there (0xFF) is not flash
    // the dump has shown. The image's end while no open has said otherwise.
    std::int64_t FileEnd() const { return fileEnd_; }
    void SetFileEnd(std::int64_t imageOffset);

  private:
    // The base image; an image nobody has read yet is erased when first
    // asked for, so that an open that brings its own costs no fill.
    std::uint8_t* Base() const;

    std::int64_t size_ = kImageSize;
    mutable ImageArray base_;
    ImageArray work_, usage_;
    ImageArray reserved_;
    std::int64_t fileEnd_ = kImageSize;
};

// The two formats of a record's address field (bytes 4 to 7, two
// little-endian words W0 and W1):
//  - paged: W0 OR (W1 << 14), 16 KiB pages; the usual one;
//  - linear: one little-endian 32-bit value, for models whose
//    model-and-version text begins with "CF62" (case-sensitive).
enum class AddressFormat { Paged, Linear };
AddressFormat FormatFor(const QString& modelAndVersion);

std::int32_t GetDataPos(const std::uint8_t* record, AddressFormat format);
void SetDataPos(std::uint8_t* record, std::int32_t imageOffset, AddressFormat format);
// The paged composition of four loose bytes, as the sPIT header and the
// firmware code hold them.
std::int32_t ComposePaged(std::uint8_t offsetLow, std::uint8_t offsetHigh, std::uint8_t pageLow,
                          std::uint8_t pageHigh);

}  // namespace vorlix
