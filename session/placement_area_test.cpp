#include "session/placement_area.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "builder/flash_builder.h"
#include "picture/color_tables.h"
#include "session/open_flash.h"

namespace vorlix {
namespace {

TEST(PlacementArea, UncheckedWhileItTakesInTheWholeFile) {
    const struct {
        std::int32_t min, max;
        std::int64_t fileSize;
        bool unchecked;
    } cases[] = {
        {0, 0x800000, 0x800000, true},   {0, 0x1000000, 0x800000, true},
        {-16, 0x800000, 0x800000, true}, {0x10, 0x800000, 0x800000, false},
        {0, 0x7FFFFF, 0x800000, false},  {0x5E2000, 0x600000, 0x800000, false},
        {0, 0x800000, 0, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PlacementAreaUnchecked(c.min, c.max, c.fileSize), c.unchecked)
            << std::hex << c.min << "-" << c.max << " of " << c.fileSize;
}

// A firmware met for the first time gets the whole file as its placement
// area. The status names it as unchecked, and the first placement asks,
// naming the area: No places nothing and asks again; Yes holds for the open
// firmware, until it is opened again.
TEST(PlacementArea, FirstPlacementInANewFirmwareAsksOnce) {
    BuildColorTables();
    QTemporaryDir dir;
    SettingsStore store(dir.filePath("settings.ini"));
    ScriptedPrompt prompt;
    Settings settings(store);
    ASSERT_TRUE(settings.LoadProgramSettings(prompt).ok() && settings.LoadModelSettings().ok());
    FlashSession session(settings);
    const QString path = dir.filePath("new.fls");
    ASSERT_TRUE(FlashBuilder::SampleC55().WriteFile(path));

    ASSERT_EQ(OpenFullFlash(session, path, {}), OpenResult::Opened);
    EXPECT_EQ(PlacementAreaStatus(settings, session.FileSize),
              "Размещение: 000000–800000 (весь файл, не проверено)");
    prompt.Clear();
    prompt.Script({Answer::No, Answer::Yes});
    EXPECT_FALSE(ConfirmPlacementArea(session, prompt));
    ASSERT_EQ(prompt.questions(), 1);
    EXPECT_TRUE(prompt.shown()[0].text.contains("000000–800000"));
    EXPECT_TRUE(ConfirmPlacementArea(session, prompt));
    EXPECT_TRUE(ConfirmPlacementArea(session, prompt));
    EXPECT_EQ(prompt.questions(), 2);

    // Opened again, the firmware asks again; an area set to the free
    // flash asks nothing.
    ASSERT_EQ(OpenFullFlash(session, path, {}), OpenResult::Opened);
    prompt.Clear();
    EXPECT_FALSE(ConfirmPlacementArea(session, prompt));
    EXPECT_EQ(prompt.questions(), 1);
    settings.PlaceAdrMin = 0x5E2000;
    settings.PlaceAdrMax = 0x600000;
    EXPECT_TRUE(ConfirmPlacementArea(session, prompt));
    EXPECT_EQ(prompt.questions(), 1);
    EXPECT_EQ(PlacementAreaStatus(settings, session.FileSize), "Размещение: 5E2000–600000");
}

}  // namespace
}  // namespace vorlix
