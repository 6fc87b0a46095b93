#include <QRandomGenerator>

#include "picture/color_tables.h"
#include "picture/picture_codec.h"
#include "picture/picture_test_support.h"

namespace vorlix::testing {
namespace {

constexpr std::int32_t kRec = 0xE60010;
constexpr std::int32_t kData = 0xA00000;
const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kWhite = qRgb(255, 255, 255);

using DecoderTest = PictureTest;

TEST_F(DecoderTest, PaddedRowsStartWithAFreshByte) {
    // 1-bit, width 10: two bytes a row; pixels 8 and 9 are bits 7 and 6 of
    // the second byte, the other bits are ignored.
    auto p = Make(kRec, 10, 2, 0x01, kData, {0x80, 0x7F, 0x00, 0x80});
    EXPECT_EQ(p->Length, 4);
    EXPECT_EQ(p->Depth, 1);
    EXPECT_EQ(Pixel(p->DecodedBitmap, 0, 0), kBlack);
    EXPECT_EQ(Pixel(p->DecodedBitmap, 1, 0), kWhite);
    EXPECT_EQ(Pixel(p->DecodedBitmap, 8, 0), kWhite);
    EXPECT_EQ(Pixel(p->DecodedBitmap, 9, 0), kBlack);
    EXPECT_EQ(Pixel(p->DecodedBitmap, 8, 1), kBlack);
    EXPECT_EQ(Pixel(p->DecodedBitmap, 9, 1), kWhite);

    // 2-bit, width 5: the fifth pixel is bits 7 and 6 of the second byte.
    auto q = Make(kRec, 5, 1, 0x03, kData, {0x1B, 0xBF});
    EXPECT_EQ(q->Length, 2);
    EXPECT_EQ(q->Depth, 2);
    EXPECT_EQ(Pixel(q->DecodedBitmap, 0, 0), Palette2[0]);
    EXPECT_EQ(Pixel(q->DecodedBitmap, 3, 0), Palette2[3]);
    EXPECT_EQ(Pixel(q->DecodedBitmap, 4, 0), Palette2[2]);
}

TEST_F(DecoderTest, UncompressedWords) {
    auto q = Make(kRec, 2, 1, 0x07, kData, {0xFF, 0xFF, 0x21, 0x03});  // top nibble ignored
    EXPECT_EQ(Pixel(q->DecodedBitmap, 0, 0), qRgb(240, 240, 240));
    EXPECT_EQ(Pixel(q->DecodedBitmap, 1, 0), qRgb(0x30, 0x20, 0x10));
    EXPECT_EQ(q->Length, 4);
    EXPECT_EQ(q->Depth, 12);
}

TEST_F(DecoderTest, CompressedLengthsCountWhatWasRead) {
    // 1-bit: C5 five black, 85 five white, 80 nothing, 41 = black, 5 white,
    // black; the last pixel is drawn mid-block.
    auto a = Make(kRec, 16, 1, 0x81, kData, {0xC5, 0x80, 0x85, 0x41, 0xC5});
    EXPECT_EQ(a->Length, 4);
    EXPECT_EQ(Pixel(a->DecodedBitmap, 4, 0), kBlack);
    EXPECT_EQ(Pixel(a->DecodedBitmap, 5, 0), kWhite);
    EXPECT_EQ(Pixel(a->DecodedBitmap, 10, 0), kBlack);
    EXPECT_EQ(Pixel(a->DecodedBitmap, 15, 0), kWhite);  // the literal's bit 0 is left over

    // 8-bit: a run block and a literal crossing into the next row.
    auto b = Make(kRec, 3, 2, 0x85, kData, {0x03, 0x2A, 0xFD, 0x01, 0x02, 0x03});
    EXPECT_EQ(b->Length, 6);
    EXPECT_EQ(Pixel(b->DecodedBitmap, 2, 0), Palette8[0x2A]);
    EXPECT_EQ(Pixel(b->DecodedBitmap, 2, 1), Palette8[0x03]);
    // The last block is read whole even past the last pixel.
    auto b2 = Make(kRec, 2, 1, 0x85, kData, {0xFC, 1, 2, 3, 4});
    EXPECT_EQ(b2->Length, 5);

    auto c = Make(kRec, 5, 1, 0x88, kData, {0x05, 0x00, 0xE0});
    EXPECT_EQ(c->Length, 3);
    EXPECT_EQ(Pixel(c->DecodedBitmap, 4, 0), kWhite);
    auto c2 = Make(kRec, 1, 1, 0x88, kData, {0xFE, 0x00, 0x00, 0x00, 0xE0});
    EXPECT_EQ(c2->Length, 5);

    // 12-bit: a literal's values past the last pixel are not read; a run's
    // value always is; 0x80 is an empty block.
    auto d = Make(kRec, 2, 1, 0x87, kData, {0x80, 0xFD, 0x21, 0x03, 0x43, 0x05, 0x99, 0x99});
    EXPECT_EQ(d->Length, 6);
    EXPECT_EQ(Pixel(d->DecodedBitmap, 0, 0), Color12(0x321));
    EXPECT_EQ(Pixel(d->DecodedBitmap, 1, 0), Color12(0x543));
    auto d2 = Make(kRec, 2, 1, 0x87, kData, {0x05, 0x21, 0x03});
    EXPECT_EQ(d2->Length, 3);
}

TEST_F(DecoderTest, TypesWithoutDecoderDrawNothing) {
    auto p = Make(kRec, 4, 3, 0x83, kData, {0x00, 0x00});
    EXPECT_EQ(p->Depth, 2);
    EXPECT_EQ(p->Length, 0);
    EXPECT_EQ(p->DecodedBitmap.size(), QSize(4, 3));
    EXPECT_EQ(Pixel(p->DecodedBitmap, 3, 2), kWhite);
    EXPECT_EQ(image.Usage()[kData], 0x00);
    auto q = Make(kRec, 4, 3, 0x42, kData, {0x00});
    EXPECT_EQ(q->Depth, 0x42);
    EXPECT_EQ(q->Length, 0);
}

TEST_F(DecoderTest, ConstructionKeepsTheFirstDecodingAndMarksData) {
    PutRecord(kRec, 4, 1, 0x05, kData);
    PutRecord(kRec + 8, 4, 1, 0x05, kData + 2);  // overlaps the first
    PutBytes(kData, {1, 2, 3, 4, 5, 6});
    Loaded();
    Picture a(image, kRec, settings), b(image, kRec + 8, settings);
    EXPECT_EQ(a.BaseDataPos, kData);
    EXPECT_EQ(a.BaseLength, 4);
    EXPECT_FALSE(a.Modified);
    EXPECT_EQ(a.OldBitmap, a.DecodedBitmap);
    // The copies share one pixel buffer.
    EXPECT_EQ(a.OldBitmap.constBits(), a.DecodedBitmap.constBits());
    EXPECT_EQ(a.SourceBitmap.constBits(), a.DecodedBitmap.constBits());
    for (int i = 0; i < 6; ++i) EXPECT_NE(image.Usage()[kData + i], 0x00) << i;
    EXPECT_EQ(image.Usage()[kData + 6], 0x00);
    EXPECT_EQ(image.Usage()[kData - 1], 0x00);
}

TEST_F(DecoderTest, StopsAtTheImageEnd) {
    // A 16-bit picture whose data starts 5 bytes before the end: two whole
    // pixels fit, the fifth byte is not a whole value.
    const std::int32_t last = kImageSize - 5;
    auto p = Make(kRec, 10, 10, 0x08, last, {0x00, 0xE0, 0x20, 0x00, 0x12});
    EXPECT_EQ(p->Length, 4);
    EXPECT_EQ(Pixel(p->DecodedBitmap, 1, 0), kBlack);
    EXPECT_EQ(Pixel(p->DecodedBitmap, 2, 0), kWhite);
    EXPECT_NE(image.Usage()[last + 3], 0x00);
    EXPECT_EQ(image.Usage()[last + 4], 0x00);

    // A compressed stream of empty runs that would go on for ever.
    image.ClearBase();
    auto q = Make(kRec, 255, 255, 0x85, kImageSize - 0x100);
    EXPECT_EQ(q->Length, 0x100);  // FF FF: one-pixel literals up to the end

    // A record in the last bytes of the image reads erased bytes past it.
    PitRecord r;
    Picture::ReadRecord(r, image.BaseBytes(), kImageSize - 3);
    EXPECT_EQ(r[7], 0xFF);
}

// Random streams of every type and size (0 included) at random positions,
// the image's last bytes included: decoding ends, reads only inside the
// image and marks only what it read. Meant for the sanitizer build as much as for this one.
TEST_F(DecoderTest, RandomStreamsStayInsideTheImage) {
    QRandomGenerator rng(20240611);
    const std::uint8_t types[] = {0x01, 0x03, 0x05, 0x07, 0x08, 0x81, 0x83,
                                  0x85, 0x87, 0x88, 0x00, 0x7F, 0xFF};
    std::vector<QRgb> pixels(255 * 255);
    for (int round = 0; round < 3000; ++round) {
        const int w = rng.bounded(256), h = rng.bounded(256);
        const std::uint8_t type = types[rng.bounded(int(std::size(types)))];
        const std::int64_t pos =
            round % 3 == 0 ? kImageSize - rng.bounded(64) : rng.bounded(kImageSize);
        const std::int64_t fill = std::min<std::int64_t>(kImageSize - pos, 4096);
        for (std::int64_t i = 0; i < fill; ++i)
            image.BaseImage()[pos + i] = static_cast<std::uint8_t>(rng.generate());
        const DecodeResult r = DecodePixels(image.BaseBytes(), pos, w, h, type, pixels.data());
        ASSERT_LE(pos + r.length, kImageSize);
        ASSERT_LE(r.drawn, std::int64_t{w} * h);
    }
    // Through Picture: records with random bytes at the top of the image.
    Loaded();
    for (int round = 0; round < 300; ++round) {
        const std::int32_t dataPos = kImageSize - 1 - rng.bounded(200);
        for (std::int32_t i = dataPos; i < kImageSize; ++i)
            image.BaseImage()[i] = static_cast<std::uint8_t>(rng.generate());
        std::fill(image.Usage() + kImageSize - 256, image.Usage() + kImageSize, 0x00);
        const std::uint8_t type = types[rng.bounded(int(std::size(types)))];
        PutRecord(kRec, rng.bounded(256), rng.bounded(256), type, dataPos);
        auto p = std::make_unique<Picture>(image, kRec, settings);
        ASSERT_LE(std::int64_t{dataPos} + p->Length, kImageSize);
        for (std::int32_t i = dataPos; i < kImageSize; ++i)
            ASSERT_EQ(image.Usage()[i], i < dataPos + p->Length ? 0xFF : 0x00);
    }
}

}  // namespace
}  // namespace vorlix::testing
