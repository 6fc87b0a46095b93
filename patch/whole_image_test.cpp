#include "patch/whole_image.h"

#include <gtest/gtest.h>

#include <cstring>

#include "patch/patch_test_support.h"
#include "vkp/patch_lines.h"

namespace vorlix {
namespace {

using testing::TestSession;

constexpr std::int32_t kPit = 0xE60010;
constexpr std::int32_t kData = 0xD00000;

TEST(FillPictures, ErasesRecordsEntriesSlotsAndData) {
    TestSession t;
    // Two PIT records plus a valid record right after the table (taken as a
    // third); an ExtPIT entry of three slots whose second fails the test.
    ExtPitRunSpec run{
        0xE70000,
        {{2, 1, 0x05, kData + 0x20}, {0, 1, 0x05, kData + 0x30}, {2, 1, 0x05, kData + 0x40}}};
    t.Open(FlashBuilder::C55()
               .Pit(c55::kSpitAdr, kPit, {{2, 1, 0x05, kData}, {2, 1, 0x83, kData + 0x10}})
               .Record(kPit + 16, {1, 1, 0x05, kData + 0x18})
               .Bytes(kData, {0xA1, 0xA2})
               .Bytes(kData + 0x18, {0xB1})
               .ExtPit(c55::kExtPitAdr, {run})
               .Bytes(kData + 0x20, {0xC1, 0xC2}));
    ASSERT_EQ(t.session->Rows.size(), 4u);

    QStringList lines;
    const FillCounts counts = FillPicturesWithFF(*t.session, lines);
    EXPECT_EQ(lines, (QStringList{
                         "660010: 0201050000004003 FFFFFFFFFFFFFFFF",
                         "500000: A1A2 FFFF",
                         // the 2-bit compressed picture has no data: no fill line
                         "660018: 0201830010004003 FFFFFFFFFFFFFFFF",
                         "660020: 0101050018004003 FFFFFFFFFFFFFFFF",
                         "500018: B1 FF",
                         "67F856: 000000000003000000009C03 FFFFFFFFFFFFFFFFFFFFFFFF",
                         "670000: 02010500200040030000000000000000 "
                         "FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF",
                         "500020: C1C2 FFFF",
                     }));
    EXPECT_EQ(counts.total, 4);
    EXPECT_EQ(counts.extended, 1);
    EXPECT_EQ(FillCountsText(counts), "Всего 4 картинок, из них 3 в PIT и 1 в ExtPIT");
    EXPECT_TRUE(t.session->Pictures.empty());
    EXPECT_EQ(t.session->Rows.size(), 4u);
    EXPECT_EQ(t.session->PictureOfRow(0), nullptr);
}

// Re-creating empties the "Compressed" text of the rows not modified; the
// pictures keep their type, and a replacement shows it again.
TEST(RecreateAllGraphics, EmptiesCompressedOfRowsNotModified) {
    TestSession t;
    t.Open(FlashBuilder::C55().Pit(
        c55::kSpitAdr, kPit,
        {{2, 1, 0x85, kData}, {2, 1, 0x85, kData + 0x10}, {2, 1, 0x05, kData + 0x20}}));
    ASSERT_EQ(t.session->Rows.size(), 3u);
    t.MarkModified(1);
    RecreateAllGraphics(*t.session);
    EXPECT_EQ(t.session->Rows[0][ColCompressed], "");
    EXPECT_EQ(t.session->Rows[1][ColCompressed], "yes");
    EXPECT_EQ(t.session->Rows[1][ColModified], "yes");
    EXPECT_EQ(t.session->Rows[2][ColCompressed], "");
    EXPECT_EQ(t.session->PictureOfRow(0)->Type(), 0x85);
    t.session->WriteRowAfterReplace(0);
    EXPECT_EQ(t.session->Rows[0][ColCompressed], "yes");
}

TEST(FillPictures, WalksEndAtTheImagesEdge) {
    TestSession t;
    t.Open(FlashBuilder::C55(), false);
    // An sPIT header whose PIT starts 8 bytes before the image's end with a
    // large count, and an ExtPIT whose entries run into the end.
    t.settings.sPITAdr = 0xC4625C;
    std::uint8_t* header = t.base() + t.settings.sPITAdr;
    header[14] = 0xF8;
    header[15] = 0x3F;
    header[16] = 0xFF;
    header[17] = 0x03;
    header[18] = header[19] = 0xFF;
    for (std::int32_t i = 0xFFFFF8; i < kImageSize; i += 8) {
        const std::uint8_t record[8] = {1, 1, 0x05, 0, 0x00, 0x00, 0x40, 0x03};
        std::memcpy(t.base() + i, record, 8);
    }
    t.settings.ExtPITAdr = kImageSize - 20;
    std::memset(t.base() + kImageSize - 20, 0, 12);
    QStringList lines;
    const FillCounts counts = FillPicturesWithFF(*t.session, lines);
    EXPECT_EQ(counts.total, 1);
    EXPECT_EQ(lines.size(), 3);  // the last record, its data, one ExtPIT entry

    t.settings.sPITAdr = -4;
    t.settings.ExtPITAdr = kImageSize - 4;
    lines.clear();
    EXPECT_EQ(FillPicturesWithFF(*t.session, lines).total, 0);
    EXPECT_TRUE(lines.isEmpty());
}

}  // namespace
}  // namespace vorlix
