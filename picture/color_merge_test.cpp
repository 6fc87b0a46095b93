#include "picture/color_merge.h"

#include <gtest/gtest.h>

#include <QImage>
#include <set>

#include "picture/color_tables.h"
#include "picture/picture_codec.h"

namespace vorlix {
namespace {

// The 2-bit reduction keeps light light and dark dark: every colour lands
// on the side the 1-bit rule gives it, the four colours of the palette map
// to themselves, and a picture of many colours keeps more than one.
TEST(ColorMerge, TwoBitKeepsLightAndDark) {
    BuildColorTables();
    for (std::uint8_t i = 0; i < 4; ++i)
        EXPECT_EQ(ColorTo2(qRed(Palette2[i]), qGreen(Palette2[i]), qBlue(Palette2[i])), i);
    for (int r = 0; r < 256; r += 15) {
        for (int g = 0; g < 256; g += 15) {
            for (int b = 0; b < 256; b += 15) {
                const std::uint8_t v = ColorTo2(r, g, b);
                const bool darkColour = v == 0 || v == 2;  // black, blue
                ASSERT_EQ(darkColour, ColorToMono(r, g, b)) << r << "," << g << "," << b;
            }
        }
    }
    // Light mid-tones used to go all to the grey, dark ones to black or blue.
    EXPECT_EQ(ColorTo2(255, 128, 0), 3);    // orange: light, grey
    EXPECT_EQ(ColorTo2(250, 250, 240), 1);  // near white
    EXPECT_EQ(ColorTo2(128, 64, 0), 0);     // brown: dark, black
    EXPECT_EQ(ColorTo2(40, 40, 160), 2);    // dark blue
}

// A picture of twelve colours: the palette encodings merge them and say how
// far; the other encodings are not counted.
TEST(ColorMerge, CountsWhatAReductionMerges) {
    BuildColorTables();
    QImage image(12, 1, QImage::Format_RGB32);
    const QRgb colours[12] = {qRgb(0, 0, 0),     qRgb(255, 255, 255), qRgb(255, 0, 0),
                              qRgb(0, 255, 0),   qRgb(0, 0, 255),     qRgb(255, 255, 0),
                              qRgb(0, 255, 255), qRgb(255, 0, 255),   qRgb(128, 128, 128),
                              qRgb(255, 128, 0), qRgb(128, 64, 0),    qRgb(200, 200, 250)};
    for (int x = 0; x < 12; ++x) image.setPixel(x, 0, colours[x]);

    const struct {
        std::uint8_t type;
        int before, after;
    } cases[] = {
        {0x01, 12, 2},  {0x81, 12, 2}, {0x03, 12, 4}, {0x05, 12, 12},
        {0x85, 12, 12}, {0x07, 0, 0},  {0x88, 0, 0},
    };
    for (const auto& c : cases) {
        const ColorMerge counts = CountMergedColors(image, 12, 1, c.type);
        EXPECT_EQ(counts.before, c.before) << int(c.type);
        EXPECT_EQ(counts.after, c.after) << int(c.type);
    }

    // The encoded 2-bit picture holds as many colours as counted, and more
    // than the one flat colour the picture used to become.
    std::vector<std::uint8_t> out(static_cast<std::size_t>(EncodeBufferSize(12, 1)));
    ASSERT_EQ(EncodePixels(image, 12, 1, 0x03, out.data()), 3);
    std::set<int> indices;
    for (int x = 0; x < 12; ++x) indices.insert((out[x / 4] >> (6 - 2 * (x % 4))) & 3);
    EXPECT_EQ(indices.size(), 4u);

    // A wider area than the source counts the white around it; a picture
    // of two colours at 1 bit merges nothing.
    QImage two(2, 1, QImage::Format_RGB32);
    two.setPixel(0, 0, qRgb(0, 0, 0));
    two.setPixel(1, 0, qRgb(255, 255, 255));
    EXPECT_FALSE(CountMergedColors(two, 2, 1, 0x01).Merged());
    two.setPixel(1, 0, qRgb(10, 10, 10));
    const ColorMerge padded = CountMergedColors(two, 3, 1, 0x01);
    EXPECT_EQ(padded.before, 3);
    EXPECT_EQ(padded.after, 2);
}

}  // namespace
}  // namespace vorlix
