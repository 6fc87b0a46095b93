#pragma once

#include <QFile>
#include <cstdint>

#include "common/status.h"
#include "image/flash_image.h"

namespace vorlix {

struct ModelSettings;
struct KnownModel;

// How a FullFlash file is laid into the base image. The file is read once,
// by the first read; the placements then lay out those same bytes again
// where the settings put them, without going back to the file. Bytes the
// file does not cover are 0xFF. None of these touches the working image or
// the usage map.

// The file's length as the image can hold it: at most kMaxImageSize.
std::int64_t PlacedFileSize(const QFile& file);

// A base image being laid out, apart from the open image until the open is
// decided. It has room for the largest image; its size is the 24-bit space
// until a placement lays the file further out. Only the bytes up to its
// size are ever written, so that a smaller image costs no more memory.
class StagedImage {
  public:
    StagedImage() : bytes_(AllocateImageArray(kMaxImageSize)) {}

    std::uint8_t* data() { return bytes_.get(); }
    std::int64_t Size() const { return size_; }
    ImageBytes Bytes() const { return {bytes_.get(), static_cast<std::size_t>(size_)}; }
    WritableImageBytes MutableBytes() { return {bytes_.get(), static_cast<std::size_t>(size_)}; }
    // Hands the array over (to FlashImage::Adopt); the staged image is empty
    // afterwards.
    ImageArray Release() { return std::move(bytes_); }
    // The image's size from now on, kept between the 24-bit space and the
    // largest image.
    void SetSize(std::int64_t size);

  private:
    ImageArray bytes_;
    std::int64_t size_ = kImageSize;
};

// First read, for identification: the file (open for reading) at image
// offset 0, the rest of the 24-bit space erased. `length` receives the
// number of bytes placed: the file's length capped at kMaxImageSize, or less
// when the file ended early (a file that shrank). A read error is reported;
// what was read before it stays, and the rest is erased. The staged image
// spans the 24-bit space, or the file where it is longer.
[[nodiscard]] Status ReadForIdentification(QFile& file, StagedImage& image, std::int64_t& length);

// The placements take the staged image as ReadForIdentification left it,
// holding `length` bytes of the file at offset 0, and size it to hold the
// file from FullFlash on (see ImageSizeFor).

// Read by the stored settings: the file at image offset FullFlash, as much
// of it as fits before the largest image's end. A FullFlash outside the
// largest image (below 0 or from 0x2000000 on) places nothing and is
// refused with a message, leaving the image as it was, unless the file is
// empty.
[[nodiscard]] Status PlaceBySettings(StagedImage& image, std::int64_t length,
                                     const ModelSettings& settings);

// Read without stored settings: FullFlash becomes 0x1000000 - length (0 for
// a longer file) so that the file ends with the 24-bit space, and the six
// file-offset bounds cover the whole file. For a model whose key contains
// "S45" or "ME45" the file is laid once more at 0x800000, as much of it as
// fits, and FullFlash becomes 0x800000; the first copy stays where the
// second does not cover it.
void PlaceWithoutSettings(StagedImage& image, std::int64_t length, ModelSettings& settings);

// Read for a model of the table of known models met the first time: the
// file at the model's FullFlash, the six file-offset bounds covering the
// part of the file the image holds from there, and the model's largest
// picture as MaxSizeX and MaxSizeY.
void PlaceKnownModel(StagedImage& image, std::int64_t length, const KnownModel& model,
                     ModelSettings& settings);

}  // namespace vorlix
