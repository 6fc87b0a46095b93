#include "session/picture_revert.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cstring>

#include "picture/color_tables.h"
#include "session/flash_session.h"
#include "testsupport/flash_builder.h"

namespace vorlix {
namespace {

constexpr std::int32_t kPit = 0xE60010;
constexpr std::int32_t kData = 0xD00000;
constexpr std::int32_t kPlaceStart = c55::kFullFlash + c55::kPlaceAdrMin;

// Four 16-bit pictures with their data side by side: two of their own
// (rows 0 and 1, 32 bytes each), and two that share one block of 8 bytes
// (rows 2 and 3), followed by other data.
FlashBuilder Flash() {
    FlashBuilder b = FlashBuilder::C55();
    b.Pit(c55::kSpitAdr, kPit,
          {{4, 4, 0x08, kData},
           {4, 4, 0x08, kData + 0x20},
           {2, 2, 0x08, kData + 0x40},
           {2, 2, 0x08, kData + 0x40}});
    b.Random(kData, 0x48 + 64, 1);
    return b;
}

// A picture that 16-bit compression cannot shrink: every pixel differs.
QImage Noisy(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) image.setPixel(x, y, qRgb(x * 23, y * 29, (x * y * 7) % 256));
    return image;
}

QImage Plain(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::red);
    return image;
}

class RevertTest : public ::testing::Test {
  protected:
    RevertTest() {
        BuildColorTables();
        c55::SetC55ModelValues(settings_);
        settings_.ModelAndVersion = QStringLiteral("C55v50");
        Open(session_);
    }

    void Open(FlashSession& session) {
        Flash().LoadInto(session.image());
        for (int i = 0; i < 4; ++i) {
            PitRecord r;
            Picture::ReadRecord(r, session.image().BaseImage(), kPit + 8 * i);
            session.AddFoundPicture(kPit + 8 * i, r, i + 1);
        }
    }

    Picture& Pic(int row) { return *session_.PictureOfRow(row); }

    void Replace(int row, const QImage& image) {
        bool placed = false;
        ASSERT_TRUE(Pic(row).LoadImage(image, &placed, &session_.Pictures).ok());
        ASSERT_TRUE(placed);
        session_.WriteRowAfterReplace(row);
    }

    // The session is as a fresh open of the same file leaves it.
    void ExpectAsOpened() {
        FlashSession fresh(settings_);
        Open(fresh);
        EXPECT_EQ(std::memcmp(session_.image().WorkImage(), fresh.image().WorkImage(), kImageSize),
                  0);
        EXPECT_EQ(std::memcmp(session_.image().UsageMap(), fresh.image().UsageMap(), kImageSize),
                  0);
        for (int row = 0; row < 4; ++row) {
            EXPECT_EQ(session_.Rows[row].texts, fresh.Rows[row].texts) << row;
            const Picture &p = Pic(row), &q = *fresh.PictureOfRow(row);
            EXPECT_FALSE(p.Modified) << row;
            EXPECT_EQ(p.Record, q.Record) << row;
            EXPECT_EQ(p.Length, q.Length) << row;
            EXPECT_TRUE(p.NewData.empty()) << row;
            EXPECT_EQ(p.DecodedBitmap, q.DecodedBitmap) << row;
            EXPECT_EQ(p.SourceBitmap, q.SourceBitmap) << row;
        }
    }

    QTemporaryDir dir_;
    ScriptedPrompt prompt_;
    SettingsStore store_{dir_.filePath("settings.ini")};
    Settings settings_{store_, prompt_};
    FlashSession session_{settings_};
};

TEST_F(RevertTest, AMovedPictureFreesItsPlace) {
    Replace(1, Noisy(9, 9));
    const std::int32_t placed = Pic(1).DataPos();
    const std::int32_t length = Pic(1).Length;
    ASSERT_EQ(placed, kPlaceStart);
    // Row 0 grows too and goes after it.
    Replace(0, Noisy(6, 6));
    ASSERT_EQ(Pic(0).DataPos(), kPlaceStart + length);

    const RevertResult result = RevertPictures(session_, {1});
    EXPECT_EQ(result.rows, std::vector<int>{1});
    EXPECT_TRUE(result.held.isEmpty());
    EXPECT_FALSE(Pic(1).Modified);
    EXPECT_TRUE(session_.Rows[1][ColModified].isEmpty());
    EXPECT_EQ(Pic(1).DataPos(), kData + 0x20);
    // The bytes it took are erased and free: the next placement takes them.
    EXPECT_EQ(session_.image().WorkImage()[placed], 0xFF);
    EXPECT_EQ(session_.image().UsageMap()[placed], 0xFF);
    EXPECT_EQ(Pic(1).FindFreePlace(length), placed);
    EXPECT_TRUE(Pic(0).Modified);

    // Nothing to take back: nothing changes.
    EXPECT_TRUE(RevertPictures(session_, {1, 2, 7, -1}).rows.empty());
    EXPECT_EQ(RevertPictures(session_, AllRows(session_)).rows, std::vector<int>{0});
    ExpectAsOpened();
}

TEST_F(RevertTest, APictureReplacedInPlaceGetsItsDataBack) {
    Replace(0, Plain(2, 2));
    ASSERT_EQ(Pic(0).DataPos(), kData);
    ASSERT_LT(Pic(0).Length, 32);
    // Marked "yes" without a place: taken back to its found row as well.
    session_.Rows[1][ColModified] = QStringLiteral("yes");
    EXPECT_EQ(RevertPictures(session_, {0, 1}).rows, (std::vector<int>{0, 1}));
    ExpectAsOpened();
}

TEST_F(RevertTest, SharedDataIsRestoredWhereNoModifiedPictureUsesIt) {
    // Row 2 moves: row 3 still shows the shared block, which stays.
    Replace(2, Noisy(3, 3));
    ASSERT_GE(Pic(2).DataPos(), kPlaceStart);
    const std::uint8_t* shared = session_.image().BaseImage() + kData + 0x40;
    ASSERT_EQ(std::memcmp(session_.image().WorkImage() + kData + 0x40, shared, 8), 0);
    // Row 3, now alone there, is replaced in place over the block.
    Replace(3, Plain(2, 2));
    ASSERT_EQ(Pic(3).DataPos(), kData + 0x40);
    const std::vector<std::uint8_t> row3(Pic(3).NewData);

    // Row 2 back: its first data is row 3's now, and stays so.
    const RevertResult result = RevertPictures(session_, {2});
    EXPECT_EQ(result.held, QStringList{session_.Rows[2][ColPIT]});
    EXPECT_FALSE(Pic(2).Modified);
    EXPECT_EQ(Pic(2).DecodedBitmap, Pic(2).OldBitmap);
    EXPECT_EQ(std::memcmp(session_.image().WorkImage() + kData + 0x40, row3.data(), row3.size()),
              0);
    EXPECT_EQ(session_.image().WorkImage()[kPlaceStart], 0xFF);
    EXPECT_TRUE(Pic(3).Modified);

    // Row 3 back too: the block is whole again and both use it.
    EXPECT_TRUE(RevertPictures(session_, {3}).held.isEmpty());
    ExpectAsOpened();
}

TEST_F(RevertTest, PicturesTakenBackTogetherMayHaveUsedEachOthersBytes) {
    Replace(2, Noisy(3, 3));
    Replace(3, Plain(2, 2));
    // Row 1 moves out; row 0 grows in place over its first data.
    Replace(1, Noisy(9, 9));
    Replace(0, Noisy(5, 5));
    ASSERT_EQ(Pic(0).DataPos(), kData);
    ASSERT_GT(Pic(0).Length, 0x20);
    EXPECT_EQ(RevertPictures(session_, {1}).held, QStringList{session_.Rows[1][ColPIT]});
    // Row 0 moves on: the bytes it leaves under row 1 hold the firmware's again.
    Replace(0, Noisy(9, 9));
    EXPECT_NE(Pic(0).DataPos(), kData);
    EXPECT_EQ(std::memcmp(session_.image().WorkImage() + kData + 0x20,
                          session_.image().BaseImage() + kData + 0x20, 0x20),
              0);
    Replace(0, Noisy(5, 5));

    const RevertResult result = RevertPictures(session_, AllRows(session_));
    EXPECT_EQ(result.rows, (std::vector<int>{0, 2, 3}));
    EXPECT_TRUE(result.held.isEmpty());
    ExpectAsOpened();
}

}  // namespace
}  // namespace vorlix
