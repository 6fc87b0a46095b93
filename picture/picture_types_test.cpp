#include "image/picture_types.h"

#include <vector>

#include "image/record_scan.h"
#include "picture/picture_codec.h"
#include "picture/picture_test_support.h"

namespace vorlix::testing {
namespace {

using PictureTypeTest = PictureTest;

// Every type byte: the table says what the record test accepts and what the
// decoders and encoders do, so that a type added to one and not the other
// shows here.
TEST_F(PictureTypeTest, TableAgreesWithRecordTestAndCodec) {
    constexpr std::int32_t kData = 0xA00000;
    PutBytes(kData, {0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88, 0x99});
    QImage source(2, 2, QImage::Format_RGB32);
    source.fill(Qt::black);
    source.setPixel(1, 0, qRgb(255, 255, 255));
    std::vector<std::uint8_t> encoded(EncodeBufferSize(2, 2));
    std::vector<QRgb> pixels(4);
    RecordCriteria criteria;
    criteria.dataLow = 0;
    criteria.dataHigh = kImageSize;
    criteria.maxX = criteria.maxY = 255;

    int known = 0;
    for (int byte = 0; byte < 256; ++byte) {
        SCOPED_TRACE(byte);
        const auto type = static_cast<std::uint8_t>(byte);
        const PictureType* entry = FindPictureType(type);
        known += entry != nullptr;

        PitRecord record{2, 2, type, 0};
        SetDataPos(record.data(), kData, criteria.format);
        EXPECT_EQ(IsValidPitRecord(record.data(), criteria), entry != nullptr);

        const DecodeResult decoded =
            DecodePixels(image.BaseBytes(), kData, 2, 2, type, pixels.data());
        EXPECT_EQ(decoded.length > 0, entry && entry->decodable);
        EXPECT_EQ(decoded.depth, entry ? entry->depth : type);

        const bool encodable = entry && entry->encodable;
        EXPECT_EQ(HasEncoder(type), encodable);
        EXPECT_EQ(EncodePixels(source, 2, 2, type, encoded.data()) > 0, encodable);
        if (entry) {
            EXPECT_EQ(entry->compressed, (type & kCompressed) != 0);
        }
    }
    EXPECT_EQ(known, static_cast<int>(std::size(kPictureTypes)));
}

}  // namespace
}  // namespace vorlix::testing
