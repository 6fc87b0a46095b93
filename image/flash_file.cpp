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

bool NamesSecondCopyModel(const QString& key) {
    return key.contains(QLatin1String("S45"), Qt::CaseSensitive) ||
           key.contains(QLatin1String("ME45"), Qt::CaseSensitive);
}

// Sizes the image to hold the first read's `length` bytes from `at` (inside
// the largest image), moves them there, as many as fit, and erases what
// lies before them. The first read erased everything from `length` to the
// end of the image it made; only the file's old place and, for a file laid
// beyond that image, the gap up to `at` need erasing. Behind the moved
// bytes everything is erased already: there the image is the first read's,
// or the file fills it to its end.
void MoveFirstRead(StagedImage& image, std::int64_t length, std::int64_t at) {
    const std::int64_t firstReadEnd = image.Size();
    image.SetSize(ImageSizeFor(at, length));
    std::uint8_t* base = image.data();
    MoveBytes(base, 0, at, std::min(length, image.Size() - at));
    std::memset(base, 0xFF, static_cast<std::size_t>(std::min(at, length)));
    if (at > firstReadEnd)
        std::memset(base + firstReadEnd, 0xFF, static_cast<std::size_t>(at - firstReadEnd));
}

}  // namespace

void StagedImage::SetSize(std::int64_t size) {
    size_ = std::clamp<std::int64_t>(size, kImageSize, kMaxImageSize);
}

std::int64_t PlacedFileSize(const QFile& file) {
    return std::clamp<std::int64_t>(file.size(), 0, kMaxImageSize);
}

Status ReadForIdentification(QFile& file, StagedImage& image, std::int64_t& length) {
    const std::int64_t size = PlacedFileSize(file);
    std::uint8_t* base = image.data();
    Status status;
    length = 0;
    if (size > 0 && !file.seek(0)) status = Status::IoError(file.errorString());
    while (status.ok() && length < size) {
        const qint64 got = file.read(reinterpret_cast<char*>(base + length), size - length);
        if (got < 0) status = Status::IoError(file.errorString());
        if (got <= 0) break;  // a file shorter than it was: the rest stays erased
        length += got;
    }
    image.SetSize(length);
    // Only the part the file did not cover is erased: the rest was just read.
    std::memset(base + length, 0xFF, static_cast<std::size_t>(image.Size() - length));
    return status;
}

Status PlaceBySettings(StagedImage& image, std::int64_t length, const ModelSettings& settings) {
    const std::int64_t at = settings.FullFlash;
    if (length <= 0) return Status::Ok();  // nothing to lay out: all erased already
    if (!InImage(at, 1, kMaxImageSize)) {
        return Status::InvalidArgument(
            QCoreApplication::translate(
                "OpenFlash", "Начало FullFlash %1 лежит вне адресного пространства 000000..1FFFFFF")
                .arg(Hex6(settings.FullFlash)));
    }
    MoveFirstRead(image, length, at);
    return Status::Ok();
}

void PlaceWithoutSettings(StagedImage& image, std::int64_t length, ModelSettings& settings) {
    length = std::clamp<std::int64_t>(length, 0, kMaxImageSize);
    const auto fileSize = static_cast<std::int32_t>(length);
    settings.FullFlash = std::max(kImageSize - fileSize, 0);
    settings.PITAdrMin = settings.PictureAdrMin = settings.PlaceAdrMin = 0;
    settings.PITAdrMax = settings.PictureAdrMax = settings.PlaceAdrMax = fileSize;
    MoveFirstRead(image, length, settings.FullFlash);
    if (!NamesSecondCopyModel(settings.ModelAndVersion)) return;
    // As much as fits, so that this first open lays the file out as every
    // later open (by the stored FullFlash) does. The copy is taken from the
    // first one, which holds the whole file; where the two overlap the
    // second wins.
    MoveBytes(image.data(), settings.FullFlash, kSecondCopyPos,
              std::min<std::int64_t>(length, image.Size() - kSecondCopyPos));
    settings.FullFlash = kSecondCopyPos;
}

void PlaceKnownModel(StagedImage& image, std::int64_t length, const KnownModel& model,
                     ModelSettings& settings) {
    const std::int64_t at = std::clamp<std::int64_t>(model.fullFlash, 0, kMaxImageSize - 1);
    length = std::clamp<std::int64_t>(length, 0, kMaxImageSize);
    MoveFirstRead(image, length, at);
    const auto held = static_cast<std::int32_t>(std::min(length, image.Size() - at));
    settings.FullFlash = static_cast<std::int32_t>(at);
    settings.PITAdrMin = settings.PictureAdrMin = settings.PlaceAdrMin = 0;
    settings.PITAdrMax = settings.PictureAdrMax = settings.PlaceAdrMax = held;
    settings.MaxSizeX = model.maxSizeX;
    settings.MaxSizeY = model.maxSizeY;
}

}  // namespace vorlix
