#include <QRandomGenerator>
#include <vector>

#include "picture/color_tables.h"
#include "picture/picture_codec.h"
#include "picture/picture_test_support.h"

namespace vorlix::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

QImage Row(const std::vector<QRgb>& colours) {
    QImage img(static_cast<int>(colours.size()), 1, QImage::Format_RGB32);
    for (int x = 0; x < img.width(); ++x) img.setPixel(x, 0, colours[x]);
    return img;
}
std::vector<QRgb> Repeat(QRgb c, int n) { return std::vector<QRgb>(n, c); }
std::vector<QRgb> operator+(std::vector<QRgb> a, const std::vector<QRgb>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes Encode(const QImage& img, std::uint8_t type) {
    Bytes out(static_cast<std::size_t>(EncodeBufferSize(img.width(), img.height())));
    out.resize(EncodePixels(img, img.width(), img.height(), type, out.data()));
    return out;
}

const QRgb kDark = qRgb(0, 0, 0);
const QRgb kLight = qRgb(255, 255, 255);

TEST(Encoder, MonoBytes) {
    // Width 10: two bytes a row, the bits past the width are 1.
    EXPECT_EQ(Encode(Row(Repeat(kLight, 8) + std::vector{kDark, kLight}), 0x01),
              (Bytes{0x00, 0xBF}));
    EXPECT_EQ(Encode(Row(Repeat(kDark, 100)), 0x81), (Bytes{0xFF, 0xDF, 0x7F}));
    EXPECT_EQ(Encode(Row(Repeat(kLight, 3) + Repeat(kDark, 20)), 0x81), (Bytes{0x0F, 0xCA, 0x7F}));
    EXPECT_EQ(Encode(Row(Repeat(kLight, 70)), 0x81),
              (Bytes{0xBF, 0x00}));  // the last 7 in a literal
}

TEST(Encoder, BlockBytes) {
    const QRgb a = qRgb(255, 255, 255), b = qRgb(0, 0, 0);
    EXPECT_EQ(Encode(Row(Repeat(a, 5)), 0x85), (Bytes{0x05, 0xFF}));
    std::vector<QRgb> alternating;
    for (int i = 0; i < 10; ++i) alternating.push_back(i % 2 ? a : b);
    EXPECT_EQ(Encode(Row(alternating), 0x85),
              (Bytes{0xF8, 0, 0xFF, 0, 0xFF, 0, 0xFF, 0, 0xFF, 0xFE, 0, 0xFF}));
    EXPECT_EQ(Encode(Row(Repeat(a, 300)), 0x88),
              (Bytes{0x7E, 0x9E, 0xF7, 0x7E, 0x9E, 0xF7, 0x30, 0x9E, 0xF7}));
    EXPECT_EQ(Encode(Row({a}), 0x88), (Bytes{0xFF, 0x9E, 0xF7}));
    EXPECT_EQ(Encode(Row({a, b}), 0x88), (Bytes{0xFE, 0x9E, 0xF7, 0x00, 0x00}));
    EXPECT_EQ(Encode(Row({qRgb(255, 128, 15)}), 0x07), (Bytes{0x80, 0x0F}));
    EXPECT_EQ(Encode(Row(Repeat(a, 128)), 0x87),
              (Bytes{0x7E, 0xFF, 0x0F, 0xFE, 0xFF, 0x0F, 0xFF, 0x0F}));
    EXPECT_TRUE(Encode(Row({a}), 0x83).empty());
}

// Control bytes of a block stream: the encoders never write 0x7F or 0x80.
void ExpectNoReservedControls(const Bytes& data, std::uint8_t type) {
    const std::size_t valueSize = type == 0x85 ? 1 : 2;
    for (std::size_t at = 0; at < data.size();) {
        const std::uint8_t h = data[at];
        ASSERT_NE(h, 0x7F);
        ASSERT_NE(h, 0x80);
        at += 1 + (h < 0x80 ? valueSize : valueSize * (256 - h));
    }
}

// Whatever the bitmap, each encoder's bytes decode to its reduced colours
// and the decoder counts exactly the bytes written.
TEST_F(PictureTest, EncodingsDecodeToTheReducedColours) {
    QRandomGenerator rng(7);
    const std::uint8_t types[] = {0x01, 0x05, 0x07, 0x08, 0x81, 0x85, 0x87, 0x88};
    std::vector<QRgb> decoded(255 * 255);
    for (int round = 0; round < 400; ++round) {
        const int w = round % 50 == 0 ? 200 + rng.bounded(56) : 1 + rng.bounded(40);
        const int h = round % 50 == 1 ? 200 + rng.bounded(56) : 1 + rng.bounded(20);
        // A few colours in runs of random length, so that runs and literals mix.
        std::vector<QRgb> palette;
        for (int i = 0, n = 1 + rng.bounded(4); i < n; ++i)
            palette.push_back(0xFF000000u | rng.generate());
        QImage img(w, h, QImage::Format_RGB32);
        QRgb current = palette[0];
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                if (rng.bounded(8) == 0) current = palette[rng.bounded(int(palette.size()))];
                img.setPixel(x, y, current);
            }
        for (std::uint8_t type : types) {
            const Bytes data = Encode(img, type);
            std::copy(data.begin(), data.end(), image.BaseImage() + 0x900000);
            const DecodeResult r =
                DecodePixels(image.BaseBytes(), 0x900000, w, h, type, decoded.data());
            ASSERT_EQ(r.length, static_cast<std::int32_t>(data.size()))
                << int(type) << " " << w << "x" << h;
            ASSERT_EQ(r.drawn, std::int64_t{w} * h);
            for (int i = 0; i < w * h; ++i)
                ASSERT_EQ(decoded[i], ColorAfterEncoding(type, img.pixel(i % w, i / w)))
                    << int(type) << " pixel " << i;
            if (type >= 0x85) ExpectNoReservedControls(data, type);
        }
    }
}

TEST_F(PictureTest, EncodeReadsTheSourceBitmapBySizeOfTheRecord) {
    auto p = Make(0xE60010, 4, 2, 0x08, 0xA00000);
    p->SourceBitmap = QImage(2, 2, QImage::Format_Indexed8);  // smaller and of another format
    p->SourceBitmap.setColorTable({qRgb(0, 0, 0)});
    p->SourceBitmap.fill(0);
    p->Encode();
    EXPECT_EQ(p->Length, 16);
    EXPECT_EQ(p->NewData.size(), 16u);
    EXPECT_EQ(p->NewData[0], 0x00);
    EXPECT_EQ(p->NewData[4], 0x9E);  // outside the source: white
}

// 2-bit rows pack four pixels a byte, the leftmost in bits 7 and 6, the
// pairs past the width 11; colours go to the nearest of the four (a tie to
// the lower index). Palette colours come back exactly at every width.
TEST_F(PictureTest, TwoBitRoundTripsPaletteColoursLosslessly) {
    EXPECT_EQ(Encode(Row({Palette2[0], Palette2[1], Palette2[2], Palette2[3], Palette2[2]}), 0x03),
              (Bytes{0x1B, 0xBF}));
    EXPECT_EQ(Encode(Row({qRgb(40, 40, 40), qRgb(240, 240, 240), qRgb(0, 0, 255),
                          qRgb(160, 160, 160), qRgb(0, 0, 96)}),
                     0x03),
              (Bytes{0x1B, 0x3F}));
    QRandomGenerator rng(3);
    std::vector<QRgb> decoded(9 * 3);
    for (int w = 1; w <= 9; ++w) {
        QImage img(w, 3, QImage::Format_RGB32);
        for (int i = 0; i < w * 3; ++i) img.setPixel(i % w, i / w, Palette2[rng.bounded(4)]);
        const Bytes data = Encode(img, 0x03);
        std::copy(data.begin(), data.end(), image.BaseImage() + 0x900000);
        const DecodeResult r =
            DecodePixels(image.BaseBytes(), 0x900000, w, 3, 0x03, decoded.data());
        ASSERT_EQ(r.length, std::int32_t(data.size()));
        ASSERT_EQ(r.length, (w + 3) / 4 * 3);
        for (int i = 0; i < w * 3; ++i) ASSERT_EQ(decoded[i], img.pixel(i % w, i / w)) << w;
    }
}

// The type a file takes when it replaces a picture of each type.
TEST(Encoder, TypeAfterLoadKeepsWhatHasAnEncoder) {
    const std::uint8_t cases[][3] = {// before, usual, kept
                                     {0x01, 0x01, 0x01}, {0x81, 0x01, 0x81}, {0x03, 0x88, 0x03},
                                     {0x83, 0x88, 0x88}, {0x05, 0x88, 0x05}, {0x85, 0x88, 0x85},
                                     {0x07, 0x88, 0x07}, {0x87, 0x88, 0x87}, {0x08, 0x88, 0x08},
                                     {0x88, 0x88, 0x88}};
    for (const auto& [before, usual, kept] : cases) {
        EXPECT_EQ(TypeAfterLoad(before, false), usual) << int(before);
        EXPECT_EQ(TypeAfterLoad(before, true), kept) << int(before);
    }
}

}  // namespace
}  // namespace vorlix::testing
