#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>

namespace vorlix {

// The phone addresses its memory with 24 bits: the program keeps a 16 MiB
// image in which every byte stands at its phone address. An image offset is
// an index into the image arrays; a file offset is an image offset minus
// the FullFlash setting.
inline constexpr std::int32_t kImageSize = 0x1000000;
inline constexpr std::int32_t kPageSize = 0x4000;

// True when [pos, pos + length) lies inside the image. Computed in 64 bits
// so that positions built from settings never overflow.
constexpr bool InImage(std::int64_t pos, std::int64_t length = 1) {
    return pos >= 0 && length >= 0 && pos + length <= kImageSize;
}

using PitRecord = std::array<std::uint8_t, 8>;

// The image offsets [pos, pos + length).
struct ImageRange {
    std::int32_t pos = 0;
    std::int32_t length = 0;
};

// The three image arrays of an open FullFlash, allocated once and shared by
// everything that works on the image:
//  - BaseImage: the FullFlash as read; never changed after placement;
//  - WorkImage: a copy that receives every change (patches are the
//    difference between the two);
//  - UsageMap: 0x00 for a byte occupied by decoded picture data or by the
//    index record of a listed picture, 0xFF free.
// Bytes that the file does not cover are 0xFF, the value of erased flash.
class FlashImage {
public:
    FlashImage();
    FlashImage(const FlashImage&) = delete;
    FlashImage& operator=(const FlashImage&) = delete;

    std::uint8_t* BaseImage() { return base_.get(); }
    const std::uint8_t* BaseImage() const { return base_.get(); }
    std::uint8_t* WorkImage() { return work_.get(); }
    const std::uint8_t* WorkImage() const { return work_.get(); }
    std::uint8_t* UsageMap() { return usage_.get(); }
    const std::uint8_t* UsageMap() const { return usage_.get(); }

    void ClearBase();         // base image all 0xFF
    void ResetWorkingCopy();  // working image = base image, usage map all 0xFF

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
    struct ArrayDeleter {
        void operator()(std::uint8_t* array) const;
    };
    using Array = std::unique_ptr<std::uint8_t[], ArrayDeleter>;
    static Array Allocate();

    Array base_, work_, usage_;
    Array reserved_;
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
