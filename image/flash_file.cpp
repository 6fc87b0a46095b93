#include "image/flash_file.h"

#include <QCoreApplication>
#include <algorithm>
#include <cstring>

#include "settings/known_models.h"
#include "settings/settings.h"

namespace vorlix {

namespace {

// Where a file of a model that keeps its flash at the middle of the address
// space lies after its first open.
constexpr std::int32_t kSecondCopyPos = 0x800000;

// Copies `length` bytes of the image from `from` to `to`; the two ranges
// may overlap. Both lie inside the image.
void MoveBytes(std::uint8_t* base, std::int64_t from, std::int64_t to, std::int64_t length) {
    if (length <= 0 || from == to) return;
    std::memmove(base + to, base + from, static_cast<std::size_t>(length));
}

// Moves the first read's `length` bytes from image offset 0 to `at` (inside
// the image), as many as fit before the image's end, and erases what lies
// before them. Behind them everything is erased already: the first read
// left 0xFF from `length` on, and the move writes nothing there.
void MoveFirstRead(std::uint8_t* base, std::int64_t length, std::int64_t at) {
    MoveBytes(base, 0, at, std::min(length, kImageSize - at));
    std::memset(base, 0xFF, static_cast<std::size_t>(std::min(at, length)));
}

bool NamesSecondCopyModel(const QString& key) {
    return key.contains(QLatin1String("S45"), Qt::CaseSensitive) ||
           key.contains(QLatin1String("ME45"), Qt::CaseSensitive);
}

}  // namespace

std::int64_t PlacedFileSize(const QFile& file) {
    return std::clamp<std::int64_t>(file.size(), 0, kImageSize);
}

Status ReadForIdentification(QFile& file, FlashImage& image, std::int64_t& length) {
    return ReadForIdentification(file, image.BaseImage(), length);
}

Status ReadForIdentification(QFile& file, std::uint8_t* base, std::int64_t& length) {
    const std::int64_t size = PlacedFileSize(file);
    Status status;
    length = 0;
    if (size > 0 && !file.seek(0)) status = Status::IoError(file.errorString());
    while (status.ok() && length < size) {
        const qint64 got = file.read(reinterpret_cast<char*>(base + length), size - length);
        if (got < 0) status = Status::IoError(file.errorString());
        if (got <= 0) break;  // a file shorter than it was: the rest stays erased
        length += got;
    }
    // Only the part the file did not cover is erased: the rest was just read.
    std::memset(base + length, 0xFF, static_cast<std::size_t>(kImageSize - length));
    return status;
}

Status PlaceBySettings(FlashImage& image, std::int64_t length, const ModelSettings& settings) {
    return PlaceBySettings(image.BaseImage(), length, settings);
}

Status PlaceBySettings(std::uint8_t* base, std::int64_t length, const ModelSettings& settings) {
    const std::int64_t at = settings.FullFlash;
    if (length <= 0) return Status::Ok();  // nothing to lay out: all erased already
    if (!InImage(at)) {
        return Status::InvalidArgument(
            QCoreApplication::translate(
                "OpenFlash", "Начало FullFlash %1 лежит вне адресного пространства 000000..FFFFFF")
                .arg(Hex6(settings.FullFlash)));
    }
    MoveFirstRead(base, length, at);
    return Status::Ok();
}

void PlaceWithoutSettings(FlashImage& image, std::int64_t length, ModelSettings& settings) {
    PlaceWithoutSettings(image.BaseImage(), length, settings);
}

void PlaceWithoutSettings(std::uint8_t* base, std::int64_t length, ModelSettings& settings) {
    length = std::clamp<std::int64_t>(length, 0, kImageSize);
    const auto fileSize = static_cast<std::int32_t>(length);
    settings.FullFlash = kImageSize - fileSize;
    settings.PITAdrMin = settings.PictureAdrMin = settings.PlaceAdrMin = 0;
    settings.PITAdrMax = settings.PictureAdrMax = settings.PlaceAdrMax = fileSize;
    MoveFirstRead(base, length, settings.FullFlash);
    if (!NamesSecondCopyModel(settings.ModelAndVersion)) return;
    // As much as fits, so that this first open lays the file out as every
    // later open (by the stored FullFlash) does. The copy is taken from the
    // first one, which holds the whole file; where the two overlap the
    // second wins.
    MoveBytes(base, settings.FullFlash, kSecondCopyPos,
              std::min<std::int64_t>(length, kImageSize - kSecondCopyPos));
    settings.FullFlash = kSecondCopyPos;
}

void PlaceKnownModel(std::uint8_t* base, std::int64_t length, const KnownModel& model,
                     ModelSettings& settings) {
    const std::int64_t at = std::clamp<std::int64_t>(model.fullFlash, 0, kImageSize - 1);
    const auto held =
        static_cast<std::int32_t>(std::clamp<std::int64_t>(length, 0, kImageSize - at));
    settings.FullFlash = static_cast<std::int32_t>(at);
    settings.PITAdrMin = settings.PictureAdrMin = settings.PlaceAdrMin = 0;
    settings.PITAdrMax = settings.PictureAdrMax = settings.PlaceAdrMax = held;
    settings.MaxSizeX = model.maxSizeX;
    settings.MaxSizeY = model.maxSizeY;
    MoveFirstRead(base, std::clamp<std::int64_t>(length, 0, kImageSize), at);
}

}  // namespace vorlix
