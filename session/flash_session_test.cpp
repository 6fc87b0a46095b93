#include "session/flash_session.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "builder/flash_builder.h"
#include "picture/color_tables.h"

namespace vorlix {
namespace {

class FlashSessionTest : public ::testing::Test {
  protected:
    FlashSessionTest() {  // the sample's PIT, listed
        BuildColorTables();
        settings_.FullFlash = c55::kFullFlash;
        FlashBuilder::SampleC55().LoadInto(session_.image());
        for (int i = 0; i < sample::kPitCount; ++i) {
            PitRecord r;
            Picture::ReadRecord(r, session_.image().BaseBytes(), sample::kPitStart + 8 * i);
            session_.AddFoundPicture(sample::kPitStart + 8 * i, r, i + 1);
        }
    }
    using Texts = std::array<QString, kColumnCount>;

    QTemporaryDir dir_;
    ScriptedPrompt prompt_;
    SettingsStore store_{dir_.filePath("settings.ini")};
    Settings settings_{store_};
    FlashSession session_{settings_};
};

TEST_F(FlashSessionTest, RowsAndTheirPictures) {
    ASSERT_EQ(session_.Rows.size(), 7u);
    // The 8 x 2 compressed 1-bit picture, fourth in the PIT.
    EXPECT_EQ(session_.Rows[3].texts,
              (Texts{"4", "yes", "1", "8", "2", "660028", "500300", "2", "", ""}));
    EXPECT_EQ(session_.Rows[6][ColLength], "3");  // the 16-bit compressed run

    Picture& p = *session_.Pictures[1];
    p.Record = {12, 9, 0x88, 0};
    SetDataPos(p.Record.data(), 0xDE2010, AddressFormat::Paged);
    p.Depth = 16;
    p.Length = 77;
    p.Modified = true;  // the row's "Modifyed" reads the picture's
    session_.WriteRowAfterReplace(1);
    EXPECT_EQ(session_.Rows[1].texts,
              (Texts{"2", "yes", "16", "12", "9", "660018", "5E2010", "77", "yes", ""}));

    // File offsets below FullFlash show as 32-bit two's complement.
    settings_.FullFlash = 0xF00000;
    EXPECT_EQ(RowText(session_, 0, ColPIT), "FFF60010");
    EXPECT_EQ(RowText(session_, 0, ColData), "FFE00000");
    settings_.FullFlash = c55::kFullFlash;

    // A "Compressed" text the re-create command emptied shows the
    // picture's type again after a replacement.
    session_.Slots[3].compressedCleared = true;
    EXPECT_EQ(session_.Rows[3][ColCompressed], "");
    session_.WriteRowAfterReplace(3);
    EXPECT_EQ(session_.Rows[3][ColCompressed], "yes");

    // A row's picture is found through its "№".
    session_.Slots[0].number = 5;
    EXPECT_EQ(session_.PictureOfRow(0), session_.Pictures[4].get());
    EXPECT_EQ(session_.Rows[0][ColNumber], "5");
    for (const int bad : {0, 8, -1}) {
        session_.Slots[0].number = bad;
        EXPECT_EQ(session_.PictureOfRow(0), nullptr) << bad;
    }
    EXPECT_EQ(session_.PictureOfRow(-1), nullptr);
    EXPECT_EQ(session_.PictureOfRow(7), nullptr);
    session_.Pictures.clear();  // rows that outlive their pictures
    EXPECT_EQ(session_.PictureOfRow(2), nullptr);
    session_.WriteRowAfterReplace(2);
    EXPECT_EQ(session_.Rows[2][ColModified], "");
}

}  // namespace
}  // namespace vorlix
