#include "vkp/patch_lines.h"

#include <gtest/gtest.h>

#include "patch/patch_test_support.h"
#include "patch/picture_lines.h"
#include "picture/picture.h"

namespace vorlix {
namespace {

using testing::TestSession;

// A 10 x 1 8-bit picture whose record lies at 0x812340 and whose ten data
// bytes 00..09 lie at the file offset 0x001000.
struct TenBytePicture : TestSession {
    std::unique_ptr<Picture> picture;
    explicit TenBytePicture(std::uint8_t type = 0x05) {
        Open(FlashBuilder::C55()
                 .Record(0x812340, {10, 1, type, 0x801000})
                 .Bytes(0x801000, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}),
             false);
        picture = std::make_unique<Picture>(image(), 0x812340, settings);
    }
};

TEST(PatchLines, RecordLineRunsFromTheFirstChangedByteToTheRecordsEnd) {
    TenBytePicture t;
    QStringList lines;
    AppendRecordLine(*t.picture, c55::kFullFlash, lines);
    EXPECT_TRUE(lines.isEmpty());

    // Address bytes 4..7 of 0x801000 are 00 10 00 02; bytes 5 and 6 change.
    t.work()[0x812345] = 0xAA;
    t.work()[0x812346] = 0xBB;
    AppendRecordLine(*t.picture, c55::kFullFlash, lines);
    EXPECT_EQ(lines, QStringList{"012345: 100002 AABB02"});
}

TEST(PatchLines, DataLinesCarryEveryByteSplitByMaxLength) {
    TenBytePicture t;
    t.work()[0x801002] = 0xFF;
    QStringList lines;
    AppendDataLines(*t.picture, c55::kFullFlash, 4, lines);
    EXPECT_EQ(lines, (QStringList{"001000: 00010203 0001FF03", "001004: 04050607 04050607",
                                  "001008: 0809 0809"}));

    // A length below 1 is taken as 1: the splitting ends.
    for (int maxLength : {0, -5}) {
        lines.clear();
        AppendDataLines(*t.picture, c55::kFullFlash, maxLength, lines);
        ASSERT_EQ(lines.size(), 10);
        EXPECT_EQ(lines[2], "001002: 02 FF");
    }
}

TEST(PatchLines, FillLineIsOneUnsplitLineAndNoneForAPictureWithoutData) {
    TenBytePicture t;
    QStringList lines;
    AppendFillLine(*t.picture, c55::kFullFlash, lines);
    EXPECT_EQ(lines, QStringList{"001000: 00010203040506070809 FFFFFFFFFFFFFFFFFFFF"});

    TenBytePicture undecodable(0x83);
    ASSERT_EQ(undecodable.picture->Length, 0);
    lines.clear();
    AppendFillLine(*undecodable.picture, c55::kFullFlash, lines);
    EXPECT_TRUE(lines.isEmpty());
}

}  // namespace
}  // namespace vorlix
