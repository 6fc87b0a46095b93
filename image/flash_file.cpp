#include "image/flash_file.h"

#include <algorithm>

#include "settings/settings.h"

namespace vorlix {

namespace {

// Where a file of a model that keeps its flash at the middle of the address
// space lies after its first open.
constexpr std::int32_t kSecondCopyPos = 0x800000;

// Reads up to `length` bytes from the file's start into the base image at
// `pos`; the caller has made sure they fit.
Status ReadAt(QFile& file, FlashImage& image, std::int64_t pos, std::int64_t length) {
    if (length <= 0) return Status::Ok();
    if (!InImage(pos, length))
        return Status::InvalidArgument(QStringLiteral("read outside the image"));
    if (!file.seek(0)) return Status::IoError(file.errorString());
    std::int64_t done = 0;
    while (done < length) {
        const qint64 got =
            file.read(reinterpret_cast<char*>(image.BaseImage() + pos + done), length - done);
        if (got < 0) return Status::IoError(file.errorString());
        if (got == 0) break;  // the file is shorter than it was: the rest stays erased
        done += got;
    }
    return Status::Ok();
}

bool NamesSecondCopyModel(const QString& key) {
    return key.contains(QLatin1String("S45"), Qt::CaseSensitive) ||
           key.contains(QLatin1String("ME45"), Qt::CaseSensitive);
}

}  // namespace

std::int64_t PlacedFileSize(const QFile& file) {
    return std::clamp<std::int64_t>(file.size(), 0, kImageSize);
}

Status ReadForIdentification(QFile& file, FlashImage& image) {
    image.ClearBase();
    return ReadAt(file, image, 0, PlacedFileSize(file));
}

Status PlaceBySettings(QFile& file, FlashImage& image, const Settings& settings) {
    const std::int64_t size = PlacedFileSize(file);
    const std::int64_t at = settings.FullFlash;
    if (size > 0 && !InImage(at)) {
        return Status::InvalidArgument(
            QStringLiteral("Начало FullFlash %1 лежит вне адресного пространства 000000..FFFFFF")
                .arg(Hex6(settings.FullFlash)));
    }
    image.ClearBase();
    return ReadAt(file, image, at, std::min(size, kImageSize - at));
}

Status PlaceWithoutSettings(QFile& file, FlashImage& image, Settings& settings) {
    const std::int64_t size = PlacedFileSize(file);
    const auto fileSize = static_cast<std::int32_t>(size);
    settings.FullFlash = kImageSize - fileSize;
    settings.PITAdrMin = settings.PictureAdrMin = settings.PlaceAdrMin = 0;
    settings.PITAdrMax = settings.PictureAdrMax = settings.PlaceAdrMax = fileSize;
    image.ClearBase();
    if (Status s = ReadAt(file, image, settings.FullFlash, size); !s.ok()) return s;
    if (!NamesSecondCopyModel(settings.ModelAndVersion)) return Status::Ok();
    // As much as fits, so that this first open lays the file out as every
    // later open (by the stored FullFlash) does.
    settings.FullFlash = kSecondCopyPos;
    return ReadAt(file, image, kSecondCopyPos,
                  std::min<std::int64_t>(size, kImageSize - kSecondCopyPos));
}

}  // namespace vorlix
