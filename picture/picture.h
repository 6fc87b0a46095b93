#pragma once

#include <QImage>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "common/status.h"
#include "image/flash_image.h"

namespace vorlix {

class Picture;
struct ModelSettings;

// The pictures of the open image in list order; row "№" - 1 is the index.
using PictureList = std::vector<std::unique_ptr<Picture>>;

// The formats pictures are written in.
enum class PictureFileFormat { Bmp, Png };
// "bmp" or "png": the file extension, and the format's name in the settings
// and on the command line.
QString FormatSuffix(PictureFileFormat format);
// The format a name stands for ("bmp" or "png", any letter case); nothing
// for any other name.
std::optional<PictureFileFormat> FormatFromSuffix(const QString& name);

// Answer of FindFreePlace when no block fits: never a real image offset.
inline constexpr std::int32_t kNoPlace = -1;

// Whether a replacement's new data found a place. When it found none, the
// picture (Record, Length, NewData) and both images are as they were.
enum class Placement { Placed, NoPlace };

// What a replacement from a file or an image did: a refused file or image
// (an error status) changes nothing; otherwise `placement` says whether the
// new data found a place.
struct Replacement {
    Status status;
    Placement placement = Placement::NoPlace;

    bool placed() const { return status.ok() && placement == Placement::Placed; }
};

// One picture of the firmware: its index record and the pixel data the
// record points to, decoded; the first decoding kept to show old beside new;
// and the replacement data once the user replaces it.
class Picture {
  public:
    // Builds the picture whose index record lies at `recordPos` of the base
    // image and decodes it (marking its data occupied in the usage map).
    // `model` stays the picture's for its life: its place and address
    // format follow the open model's values.
    Picture(FlashImage& image, std::int32_t recordPos, const ModelSettings& model);
    ~Picture();
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    // Decodes the current data (working image when Modified, else base
    // image) into DecodedBitmap; sets Depth and Length; marks the data's
    // bytes occupied. Stops at the image's end.
    void Decode();
    // Encodes SourceBitmap by the type byte of Record into NewData.
    void Encode();
    // Encodes and places the new data (in place, or first fit in the
    // placement area) and rewrites the record in the working image. `others`
    // is the session's picture list (may hold this picture): bytes shared
    // with another picture, and bytes an installed patch writes, are never
    // erased, freed or overwritten.
    Placement Replace(const PictureList* others = nullptr);
    // First free block of `length` bytes in the placement area (first fit;
    // never across a 16 KiB page boundary unless it ends on one), or
    // kNoPlace. Free: 0xFF in the working image and in the usage map, and
    // not reserved for an installed patch.
    std::int32_t FindFreePlace(std::int32_t length) const;
    // True when every byte of [pos, pos + length) is free and in the image.
    bool FitsInPlace(std::int32_t pos, std::int32_t length) const;
    // Copies NewData into the working image at the record's data position.
    void StoreNewData();

    // Reads a picture file (BMP or any format the platform reads) and
    // replaces the picture with it. A file that cannot be read, or is wider
    // or taller than 255 pixels, changes nothing and gives an error status.
    // The picture becomes 16-bit compressed, unless `keepType` asks it to
    // keep its type byte where an encoder for that type exists.
    [[nodiscard]] Replacement LoadBmp(const QString& fileName, const PictureList* others = nullptr,
                                      bool keepType = false);
    // Replaces the picture with an image already read (a file's, or one from
    // the clipboard) by the same rules. An image without pixels, or wider or
    // taller than 255 pixels, changes nothing and gives an error status.
    [[nodiscard]] Replacement LoadImage(const QImage& image, const PictureList* others = nullptr,
                                        bool keepType = false);
    // Writes DecodedBitmap as a 24-bit BMP file; the colours are kept exactly.
    [[nodiscard]] Status SaveBmp(const QString& fileName) const;
    // Writes DecodedBitmap in `format` (BMP or PNG, both 24 bits per pixel).
    [[nodiscard]] Status SavePicture(const QString& fileName, PictureFileFormat format) const;

    // Copy the 8 record bytes out of, or into, an image at `pos`. Bytes
    // past the image's ends read as 0xFF and are not written.
    static void ReadRecord(PitRecord& record, ImageBytes image, std::int32_t pos);
    static void WriteRecord(const PitRecord& record, WritableImageBytes image, std::int32_t pos);

    // Data position that Record names, in the current address format.
    std::int32_t DataPos() const;
    int Width() const { return Record[0]; }
    int Height() const { return Record[1]; }
    std::uint8_t Type() const { return Record[2]; }

    // The image arrays the picture lives in: the base image, and the working
    // image as it reads now.
    ImageBytes BaseImage() const { return image_.BaseBytes(); }
    ImageBytes WorkImage() const { return image_.WorkBytes(); }
    // The last encoded replacement data, exactly Length bytes; empty until
    // the first encoding.
    std::vector<std::uint8_t> NewData;
    std::int32_t BaseDataPos = 0;
    std::int32_t BaseLength = 0;
    std::int32_t Length = 0;
    std::int32_t RecordPos = 0;
    PitRecord Record{};
    // Bitmaps are 32-bit RGB; a fresh one is white. Copies share their
    // pixels until one of them changes.
    QImage DecodedBitmap;
    QImage OldBitmap;
    QImage SourceBitmap;
    bool Modified = false;
    std::uint8_t Depth = 0;

  private:
    FlashImage& image_;
    const ModelSettings& model_;
};

}  // namespace vorlix
