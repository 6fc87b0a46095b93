#include <QCoreApplication>
#include <QDir>
#include <QImageReader>
#include <QImageWriter>

#include "picture/picture.h"
#include "picture/picture_codec.h"

namespace vorlix {

namespace {

// The index record holds width and height in one byte each.
constexpr int kMaxSide = 255;

struct PictureText {
    Q_DECLARE_TR_FUNCTIONS(Picture)
};

QString Shown(const QString& fileName) { return QDir::toNativeSeparators(fileName); }

Status TooLarge(const QString& fileName, QSize size) {
    return Status::InvalidArgument(
        PictureText::tr("Изображение «%1» имеет размер %2×%3 точек, а ширина и высота картинки "
                        "не могут превышать %4 точек.")
            .arg(Shown(fileName))
            .arg(size.width())
            .arg(size.height())
            .arg(kMaxSide));
}

// The file's image on a white bitmap of its size: transparent parts show
// white, as on the phone's light background.
QImage OverWhite(const QImage& file) {
    const QImage argb = file.convertToFormat(QImage::Format_ARGB32);
    QImage out(argb.size(), QImage::Format_RGB32);
    for (int y = 0; y < argb.height(); ++y) {
        const QRgb* in = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        QRgb* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            const QRgb c = in[x];
            const int a = qAlpha(c);
            if (a == 255) {
                row[x] = c;
                continue;
            }
            auto over = [a](int v) { return (v * a + 255 * (255 - a) + 127) / 255; };
            row[x] = qRgb(over(qRed(c)), over(qGreen(c)), over(qBlue(c)));
        }
    }
    return out;
}

}  // namespace

QString FormatSuffix(PictureFileFormat format) {
    return format == PictureFileFormat::Png ? QStringLiteral("png") : QStringLiteral("bmp");
}

std::optional<PictureFileFormat> FormatFromSuffix(const QString& name) {
    if (name.compare(QLatin1String("bmp"), Qt::CaseInsensitive) == 0)
        return PictureFileFormat::Bmp;
    if (name.compare(QLatin1String("png"), Qt::CaseInsensitive) == 0)
        return PictureFileFormat::Png;
    return std::nullopt;
}

Replacement Picture::LoadBmp(const QString& fileName, const PictureList* others, bool keepType) {
    QImageReader reader(fileName);
    // Refuse an oversized file before its pixels are read.
    const QSize declared = reader.size();
    if (declared.isValid() && (declared.width() > kMaxSide || declared.height() > kMaxSide))
        return {TooLarge(fileName, declared)};

    QImage file;
    if (!reader.read(&file)) {
        const QString message =
            PictureText::tr("Не удалось прочитать изображение из файла «%1»: %2")
                .arg(Shown(fileName), reader.errorString());
        return {reader.error() == QImageReader::FileNotFoundError ? Status::NotFound(message)
                                                                  : Status::Corruption(message)};
    }
    if (file.isNull() || file.width() <= 0 || file.height() <= 0)
        return {Status::Corruption(
            PictureText::tr("Изображение в файле «%1» не содержит ни одной точки.")
                .arg(Shown(fileName)))};
    if (file.width() > kMaxSide || file.height() > kMaxSide)
        return {TooLarge(fileName, file.size())};
    return LoadImage(file, others, keepType);
}

Replacement Picture::LoadImage(const QImage& image, const PictureList* others, bool keepType) {
    if (image.isNull() || image.width() <= 0 || image.height() <= 0)
        return {
            Status::InvalidArgument(PictureText::tr("Изображение не содержит ни одной точки."))};
    if (image.width() > kMaxSide || image.height() > kMaxSide)
        return {Status::InvalidArgument(
            PictureText::tr(
                "Изображение имеет размер %1×%2 точек, а ширина и высота картинки не могут "
                "превышать %3 точек.")
                .arg(image.width())
                .arg(image.height())
                .arg(kMaxSide))};

    const QImage sourceBefore = SourceBitmap;
    const PitRecord recordBefore = Record;
    SourceBitmap = OverWhite(image);
    Record[0] = static_cast<std::uint8_t>(image.width());
    Record[1] = static_cast<std::uint8_t>(image.height());
    Record[2] = TypeAfterLoad(Type(), keepType);
    const Placement placement = Replace(others);
    if (placement == Placement::NoPlace) {
        // No place for the new data: the picture keeps describing what it
        // still holds, so its row and a later replacement stay true to the
        // working image.
        SourceBitmap = sourceBefore;
        Record = recordBefore;
    }
    return {Status::Ok(), placement};
}

Status Picture::SaveBmp(const QString& fileName) const {
    return SavePicture(fileName, PictureFileFormat::Bmp);
}

Status Picture::SavePicture(const QString& fileName, PictureFileFormat format) const {
    if (DecodedBitmap.isNull())
        return Status::InvalidArgument(
            PictureText::tr("Картинка не имеет ни одной точки, файл «%1» не записан.")
                .arg(Shown(fileName)));
    // 24 bits per pixel keep every decoded colour exactly.
    const QImage out = DecodedBitmap.convertToFormat(QImage::Format_RGB888);
    QImageWriter writer(fileName, FormatSuffix(format).toLatin1());
    if (!writer.write(out))
        return Status::IoError(PictureText::tr("Не удалось записать файл «%1»: %2")
                                   .arg(Shown(fileName), writer.errorString()));
    return Status::Ok();
}

}  // namespace vorlix
