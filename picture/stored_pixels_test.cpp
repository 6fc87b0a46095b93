#include "picture/stored_pixels.h"

#include <QRandomGenerator>

#include "picture/color_tables.h"
#include "picture/picture_codec.h"
#include "picture/picture_test_support.h"

namespace vorlix::testing {
namespace {

constexpr std::int32_t kRec = 0xE60010;
constexpr std::int32_t kData = 0xA00000;

using StoredPixelsTest = PictureTest;

// Each encoding gives the value its pixels are stored as: the bit, the
// palette index, the 12-bit colour without the word's top nibble, the
// 16-bit word; compressed runs and literals alike.
TEST_F(StoredPixelsTest, ValuesOfEveryEncoding) {
    struct Case {
        const char* what;
        int w, h;
        std::uint8_t type;
        std::initializer_list<int> data;
        std::uint8_t depth;
        std::vector<std::uint16_t> values;
    };
    const Case cases[] = {
        {"1-bit", 10, 1, 0x01, {0x80, 0x40}, 1, {1, 0, 0, 0, 0, 0, 0, 0, 0, 1}},
        {"2-bit", 5, 1, 0x03, {0x1B, 0x80}, 2, {0, 1, 2, 3, 2}},
        {"8-bit", 3, 1, 0x05, {0x00, 0xC0, 0xFF}, 8, {0x00, 0xC0, 0xFF}},
        {"12-bit", 2, 1, 0x07, {0xFF, 0xFF, 0x21, 0x03}, 12, {0xFFF, 0x321}},
        {"16-bit", 2, 1, 0x08, {0x00, 0xE0, 0x20, 0x00}, 16, {0xE000, 0x0020}},
        {"1-bit compressed", 9, 1, 0x81, {0xC2, 0x82, 0x41}, 1, {1, 1, 0, 0, 1, 0, 0, 0, 0}},
        {"8-bit compressed",
         5,
         1,
         0x85,
         {0x03, 0x2A, 0xFE, 0x01, 0x02},
         8,
         {0x2A, 0x2A, 0x2A, 1, 2}},
        {"12-bit compressed",
         3,
         1,
         0x87,
         {0xFE, 0x21, 0xF3, 0x43, 0x05, 0x01, 0x0F, 0x0A},
         12,
         {0x321, 0x543, 0xA0F}},
        {"16-bit compressed",
         3,
         1,
         0x88,
         {0x02, 0x00, 0xE0, 0xFF, 0x34, 0x12},
         16,
         {0xE000, 0xE000, 0x1234}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto p = Make(kRec, c.w, c.h, c.type, kData, c.data);
        const StoredPixels s = NewStoredPixels(*p);
        EXPECT_EQ(s.depth, c.depth);
        EXPECT_EQ(s.drawn, std::int64_t(c.values.size()));
        for (int x = 0; x < c.w; ++x) EXPECT_EQ(s.At(x, 0), c.values[std::size_t(x)]) << x;
        EXPECT_EQ(s.At(c.w, 0), std::nullopt);
        EXPECT_EQ(s.At(0, 1), std::nullopt);
        EXPECT_EQ(s.At(-1, 0), std::nullopt);
    }
}

// A picture whose data runs into the image's end, or whose type has no
// decoder, has no stored value for the pixels the data does not reach.
TEST_F(StoredPixelsTest, PixelsTheDataDoesNotReach) {
    auto p = Make(kRec, 4, 1, 0x05, kImageSize - 2, {0x12, 0x34});
    const StoredPixels s = NewStoredPixels(*p);
    EXPECT_EQ(s.drawn, 2);
    EXPECT_EQ(s.At(1, 0), 0x34);
    EXPECT_EQ(s.At(2, 0), std::nullopt);
    auto q = Make(kRec, 3, 3, 0x83, kData, {0x12});
    EXPECT_EQ(NewStoredPixels(*q).depth, 2);
    EXPECT_EQ(NewStoredPixels(*q).At(0, 0), std::nullopt);
}

// Mapping the stored values through the colour tables gives exactly the
// decoded colours, for random data of every type.
TEST_F(StoredPixelsTest, ValuesGiveTheDecodedColours) {
    QRandomGenerator rng(77);
    const std::uint8_t types[] = {0x01, 0x03, 0x05, 0x07, 0x08, 0x81, 0x85, 0x87, 0x88};
    std::vector<QRgb> colours(64 * 64);
    std::vector<std::uint16_t> values(64 * 64);
    for (int round = 0; round < 400; ++round) {
        const std::uint8_t type = types[round % std::size(types)];
        const int w = 1 + rng.bounded(64), h = 1 + rng.bounded(64);
        for (int i = 0; i < 20000; ++i)
            image.BaseImage()[kData + i] = static_cast<std::uint8_t>(rng.generate());
        const DecodeResult a = DecodePixels(image.BaseBytes(), kData, w, h, type, colours.data());
        const DecodeResult b = DecodeValues(image.BaseBytes(), kData, w, h, type, values.data());
        ASSERT_EQ(a.length, b.length);
        ASSERT_EQ(a.drawn, b.drawn);
        for (std::int64_t i = 0; i < a.drawn; ++i) {
            const std::uint16_t v = values[std::size_t(i)];
            QRgb expected = 0;
            switch (type & 0x7F) {
                case 0x01:
                    expected = v ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
                    break;
                case 0x03:
                    expected = Palette2[v];
                    break;
                case 0x05:
                    expected = Palette8[v];
                    break;
                case 0x07:
                    expected = Color12(v);
                    break;
                default:
                    expected = Colors16[v];
                    break;
            }
            ASSERT_EQ(colours[std::size_t(i)] | 0xFF000000u, expected | 0xFF000000u)
                << "type " << int(type) << " pixel " << i;
        }
    }
}

}  // namespace
}  // namespace vorlix::testing
