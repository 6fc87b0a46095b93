#include "picture/color_merge.h"

#include <QCoreApplication>
#include <bitset>
#include <unordered_set>

#include "image/picture_types.h"
#include "picture/color_tables.h"
#include "picture/picture.h"

namespace vorlix {

namespace {

struct ColorMergeTr {
    Q_DECLARE_TR_FUNCTIONS(ColorMerge)
};

// The palette index (or the bit) a colour is stored as; -1 for an encoding
// without a palette.
int PaletteValue(std::uint8_t type, QRgb c) {
    const int r = qRed(c), g = qGreen(c), b = qBlue(c);
    switch (type & ~kCompressed) {
        case kType1Bit:
            return ColorToMono(r, g, b) ? 1 : 0;
        case kType2Bit:
            return ColorTo2(r, g, b);
        case kType8Bit:
            return ColorTo8(r, g, b);
        default:
            return -1;
    }
}

}  // namespace

ColorMerge CountMergedColors(const QImage& source, int width, int height, std::uint8_t type) {
    ColorMerge counts;
    if (PaletteValue(type, 0) < 0 || width <= 0 || height <= 0) return counts;
    const QImage image = source.isNull() ? source : source.convertToFormat(QImage::Format_RGB32);
    std::unordered_set<QRgb> colors;
    std::bitset<256> values;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const QRgb c =
                x < image.width() && y < image.height() ? image.pixel(x, y) & 0xFFFFFFu : 0xFFFFFFu;
            if (colors.insert(c).second)
                values.set(static_cast<std::size_t>(PaletteValue(type, c)));
        }
    }
    counts.before = static_cast<int>(colors.size());
    counts.after = static_cast<int>(values.count());
    return counts;
}

QString MergedColorsNote(const Picture& picture) {
    const ColorMerge counts =
        CountMergedColors(picture.SourceBitmap, picture.Width(), picture.Height(), picture.Type());
    if (!counts.Merged()) return {};
    return ColorMergeTr::tr("%n цветов сведены к %1", nullptr, counts.before).arg(counts.after);
}

}  // namespace vorlix
