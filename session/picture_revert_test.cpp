#include "session/picture_revert.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cstring>

#include "builder/flash_builder.h"
#include "picture/color_tables.h"
#include "session/flash_session.h"

namespace vorlix {
namespace {

constexpr std::int32_t kPit = 0xE60010;
constexpr std::int32_t kData = 0xD00000;
constexpr std::int32_t kPlaceStart = c55::kFullFlash + c55::kPlaceAdrMin;

// Four 16-bit pictures with their data side by side: two of their own
// (rows 0 and 1, 32 bytes each) and two that share 8 bytes (rows 2 and 3),
// followed by other data.
void Open(FlashSession& session) {
    FlashBuilder b = FlashBuilder::C55();
    b.Pit(c55::kSpitAdr, kPit,
          {{4, 4, 0x08, kData},
           {4, 4, 0x08, kData + 0x20},
           {2, 2, 0x08, kData + 0x40},
           {2, 2, 0x08, kData + 0x40}});
    b.Random(kData, 0x48 + 64, 1).LoadInto(session.image());
    for (int i = 0; i < 4; ++i) {
        PitRecord r;
        Picture::ReadRecord(r, session.image().BaseBytes(), kPit + 8 * i);
        session.AddFoundPicture(kPit + 8 * i, r, i + 1);
    }
}

// Every pixel differs, so 16-bit compression cannot shrink it; or all red.
QImage Picture(int w, int h, bool noisy) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, noisy ? qRgb(x * 23, y * 29, 7) : qRgb(255, 0, 0));
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
    vorlix::Picture& Pic(int row) { return *session_.PictureOfRow(row); }
    void Replace(int row, QSize size, bool noisy = true) {
        const Replacement r =
            Pic(row).LoadImage(Picture(size.width(), size.height(), noisy), &session_.Pictures);
        ASSERT_TRUE(r.placed());
        session_.WriteRowAfterReplace(row);
    }
    const std::uint8_t* Work() { return session_.image().WorkImage(); }
    const std::uint8_t* Base() { return session_.image().BaseImage(); }

    // The session is as a fresh open of the same file leaves it.
    void ExpectAsOpened() {
        FlashSession fresh(settings_);
        Open(fresh);
        EXPECT_EQ(std::memcmp(Work(), fresh.image().WorkImage(), kImageSize), 0);
        EXPECT_EQ(std::memcmp(session_.image().Usage(), fresh.image().Usage(), kImageSize), 0);
        for (int row = 0; row < 4; ++row) {
            EXPECT_EQ(session_.Rows[row].texts, fresh.Rows[row].texts) << row;
            EXPECT_FALSE(Pic(row).Modified) << row;
            EXPECT_TRUE(Pic(row).NewData.empty()) << row;
            EXPECT_EQ(Pic(row).DecodedBitmap, fresh.PictureOfRow(row)->DecodedBitmap) << row;
            EXPECT_EQ(Pic(row).SourceBitmap, Pic(row).OldBitmap) << row;
        }
    }

    QTemporaryDir dir_;
    ScriptedPrompt prompt_;
    SettingsStore store_{dir_.filePath("settings.ini")};
    Settings settings_{store_};
    FlashSession session_{settings_};
};

TEST_F(RevertTest, AMovedPictureFreesItsPlace) {
    Replace(1, {9, 9});
    const std::int32_t length = Pic(1).Length;
    ASSERT_EQ(Pic(1).DataPos(), kPlaceStart);
    Replace(0, {6, 6});  // grows too, and goes after it
    ASSERT_EQ(Pic(0).DataPos(), kPlaceStart + length);

    const RevertResult result = RevertPictures(session_, {1});
    EXPECT_EQ(result.rows, std::vector<int>{1});
    EXPECT_TRUE(result.held.isEmpty());
    EXPECT_TRUE(session_.Rows[1][ColModified].isEmpty());
    EXPECT_EQ(Pic(1).DataPos(), kData + 0x20);
    // The bytes it took are erased and free: the next placement takes them.
    EXPECT_EQ(Work()[kPlaceStart], 0xFF);
    EXPECT_EQ(Pic(1).FindFreePlace(length), kPlaceStart);
    EXPECT_TRUE(Pic(0).Modified);

    // Rows with nothing to take back, or no picture, are passed over.
    EXPECT_TRUE(RevertPictures(session_, {1, 2, 7, -1}).rows.empty());
    EXPECT_EQ(RevertPictures(session_, AllRows(session_)).rows, std::vector<int>{0});
    ExpectAsOpened();
}

TEST_F(RevertTest, APictureReplacedInPlaceGetsItsDataBack) {
    Replace(0, {2, 2}, false);
    ASSERT_EQ(Pic(0).DataPos(), kData);
    // Modified without a place: its row is as found again too.
    Pic(1).Modified = true;
    EXPECT_EQ(RevertPictures(session_, {0, 1}).rows, (std::vector<int>{0, 1}));
    ExpectAsOpened();
}

TEST_F(RevertTest, SharedDataIsRestoredWhereNoModifiedPictureUsesIt) {
    // Row 2 moves; row 3 still shows the shared block, which stays. Then
    // row 3, alone there now, is replaced in place over it.
    Replace(2, {3, 3});
    ASSERT_GE(Pic(2).DataPos(), kPlaceStart);
    ASSERT_EQ(std::memcmp(Work() + kData + 0x40, Base() + kData + 0x40, 8), 0);
    Replace(3, {2, 2}, false);
    ASSERT_EQ(Pic(3).DataPos(), kData + 0x40);
    const std::vector<std::uint8_t> row3 = Pic(3).NewData;

    // Row 2 back: its first data is row 3's now, and stays so.
    EXPECT_EQ(RevertPictures(session_, {2}).held, QStringList{session_.Rows[2][ColPIT]});
    EXPECT_FALSE(Pic(2).Modified);
    EXPECT_EQ(Pic(2).DecodedBitmap, Pic(2).OldBitmap);
    EXPECT_EQ(std::memcmp(Work() + kData + 0x40, row3.data(), row3.size()), 0);
    EXPECT_EQ(Work()[kPlaceStart], 0xFF);

    // Row 1 moves out and row 0 grows in place over row 1's first data.
    Replace(1, {9, 9});
    Replace(0, {5, 5});
    ASSERT_EQ(Pic(0).DataPos(), kData);
    EXPECT_EQ(RevertPictures(session_, {1}).held, QStringList{session_.Rows[1][ColPIT]});
    // Row 0 moves on: the bytes it leaves under row 1 are the firmware's.
    Replace(0, {9, 9});
    EXPECT_EQ(std::memcmp(Work() + kData + 0x20, Base() + kData + 0x20, 0x20), 0);
    Replace(0, {5, 5});

    // Taken back together, pictures may have used each other's bytes.
    EXPECT_EQ(RevertPictures(session_, AllRows(session_)).rows, (std::vector<int>{0, 3}));
    ExpectAsOpened();
}

}  // namespace
}  // namespace vorlix
