#include "session/open_flash.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cstring>
#include <random>

#include "image/record_scan.h"
#include "picture/color_tables.h"
#include "testsupport/flash_builder.h"

namespace vorlix {
namespace {

class OpenFlashTest : public ::testing::Test {
  protected:
    OpenFlashTest() {
        BuildColorTables();
        EXPECT_TRUE(settings_.LoadProgramSettings().ok() && settings_.LoadModelSettings().ok());
        hooks_.status = [&](const QString& s) { statuses_ << s; };
        hooks_.newModel = [&] { ++newModels_; };
    }

    OpenResult Open(const QString& name, const QByteArray& bytes) {
        const QString path = dir_.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
        f.close();
        return Open(path);
    }
    OpenResult Open(const QString& path) {
        statuses_.clear();
        return OpenFullFlash(session_, path, hooks_);
    }
    // The search as the window runs it after an open.
    int Search() {
        session_.ClearPictures();
        SearchCallbacks cb;
        cb.found = [&](std::int32_t pos, const PitRecord& r, int t, int) {
            session_.AddFoundPicture(pos, r, t);
        };
        const std::uint8_t* base = session_.image().BaseImage();
        return RunPictureSearch(base, PlanSearch(base, settings_, settings_.SearchType), cb).found;
    }

    QTemporaryDir dir_;
    ScriptedPrompt prompt_;
    SettingsStore store_{dir_.filePath("settings.ini")};
    Settings settings_{store_, prompt_};
    FlashSession session_{settings_};
    OpenHooks hooks_;
    QStringList statuses_;
    int newModels_ = 0;
};

TEST_F(OpenFlashTest, NewModelKnownModelAndPathsThatDoNotOpen) {
    ASSERT_EQ(Open("c55.fls", FlashBuilder::SampleC55().File()), OpenResult::Opened);
    const QString path = session_.FilePath;
    EXPECT_EQ(statuses_, QStringList({"Открытие FullFlash", "Определение версии прошивки",
                                      "Определение настроек", "Поиск PIT и ExtPIT"}));
    ASSERT_EQ(prompt_.shown().size(), 1u);  // the model's settings were not found
    EXPECT_EQ(settings_.ModelAndVersion, "C55v50");
    EXPECT_EQ(newModels_, 1);
    EXPECT_EQ(settings_.Recent[0], path);
    // Placed at the image's end, tables found, and stored.
    EXPECT_EQ(settings_.FullFlash, 0x800000);
    EXPECT_EQ(settings_.PITAdrMax, 0x800000);
    EXPECT_EQ(settings_.ExtPITAdr, c55::kExtPitAdr);
    EXPECT_EQ(store_.ReadValue("C55v50", "sPITAdr", ""), "0xC4625C");
    EXPECT_EQ(Search(), sample::kPitCount + sample::kExtCount);

    ASSERT_EQ(Open(path), OpenResult::Opened);
    EXPECT_EQ(statuses_, QStringList({"Открытие FullFlash", "Определение версии прошивки",
                                      "Загрузка данных"}));
    EXPECT_EQ(prompt_.shown().size(), 1u);
    EXPECT_TRUE(session_.Rows.empty());  // cleared for the search to come
    EXPECT_EQ(Search(), 10);

    // A path that cannot be opened empties the path and changes nothing else.
    for (const QString& bad : {dir_.filePath("missing.fls"), dir_.path()}) {
        EXPECT_EQ(Open(bad), OpenResult::NotOpened);
        EXPECT_FALSE(session_.IsOpen());
        EXPECT_EQ(session_.Rows.size(), 10u);
        EXPECT_EQ(settings_.Recent[0], path);
        EXPECT_EQ(statuses_, QStringList({"Открытие FullFlash"}));
    }

    // Stored settings that do not convert or lie outside stop the open.
    ASSERT_TRUE(store_.WriteValue("C55v50", "FullFlash", "0x1000000").ok());
    EXPECT_EQ(Open(path), OpenResult::Stopped);
    EXPECT_EQ(prompt_.shown().back().caption, kCaptionError);
    EXPECT_TRUE(prompt_.shown().back().text.contains("1000000"));
    ASSERT_TRUE(store_.WriteValue("C55v50", "FullFlash", "lots").ok());
    EXPECT_EQ(Open(path), OpenResult::Stopped);
    EXPECT_EQ(prompt_.shown().back().text, "'lots' is not a valid integer value");
}

TEST_F(OpenFlashTest, S45AndCF62FirstOpens) {
    // A 2 MiB S45 dump: discovery meets the copy at 0x800000 first, which
    // lies where the firmware's own addresses point.
    FlashBuilder s45 = FlashBuilder::S45();
    s45.BuildInfo(0x810000, "S45", 0x21)
        .Pit(0x880000, 0x890000, {{4, 4, 0x85, 0x900000}, {2, 1, 0x05, 0x900010}});
    ASSERT_EQ(Open("s45.bin", s45.Bytes(0x900000, {0x02, 0x07}).File()), OpenResult::Opened);
    EXPECT_EQ(settings_.ModelAndVersion, "S45v21");
    EXPECT_EQ(settings_.FullFlash, 0x800000);
    EXPECT_EQ(settings_.sPITAdr, 0x880000);
    EXPECT_EQ(Search(), 2);
    EXPECT_EQ(session_.Rows[1][ColPIT], "090008");

    // CF62 records hold linear addresses (paged, 0xD00000 would read 0x340000).
    FlashBuilder cf62 = FlashBuilder::CF62();
    cf62.BuildInfo(0x810000, "CF62", 0x13).Pit(0x880000, 0x890000, {{4, 4, 0x01, 0xD00000}});
    ASSERT_EQ(Open("cf62.bin", cf62.File()), OpenResult::Opened);
    EXPECT_EQ(Search(), 1);
    EXPECT_EQ(session_.Rows[0][ColData], "500000");
}

TEST_F(OpenFlashTest, BadFilesOpenAndSearchCleanly) {
    std::mt19937 gen(5);
    QByteArray random(3 << 20, Qt::Uninitialized);
    for (char& c : random) c = static_cast<char>(gen());
    QByteArray huge = random + QByteArray(17 << 20, char(0));
    // Cut inside the tables: the sPIT is there, its PIT is not.
    QByteArray truncated = FlashBuilder::SampleC55().File().left(0x460000);

    int n = 0;
    for (const QByteArray& bytes : {QByteArray(), random, huge, truncated}) {
        SCOPED_TRACE(n);
        ASSERT_EQ(Open(QString::number(n++), bytes), OpenResult::Opened);
        if (n == 3) {  // without build information the general settings count as found
            EXPECT_EQ(settings_.ModelAndVersion, "All");
            EXPECT_EQ(statuses_.last(), "Загрузка данных");
        }
        for (const bool byRecords : {false, true}) {
            settings_.SearchType = byRecords;
            Search();
        }
    }
    EXPECT_EQ(newModels_, 1);  // the truncated sample still names its model
    EXPECT_LT(settings_.sPITAdr, 0);
}

}  // namespace
}  // namespace vorlix
