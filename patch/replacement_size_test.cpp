#include "patch/replacement_size.h"

#include <gtest/gtest.h>

#include <QImage>

#include "patch/patch_test_support.h"
#include "picture/picture.h"

namespace vorlix {
namespace {

// Row 1 of the sample ("660018") is 3 x 2; the C55 allows 101 x 80. Each
// size asks always, only with AskSizeChange, or never.
TEST(ReplacementSize, WhichSizesAsk) {
    testing::TestSession t;
    t.Open(FlashBuilder::SampleC55());
    const struct {
        int w, h;
        bool warned, asks, asksWithSetting;
    } cases[] = {{3, 2, false, false, false},
                 {6, 5, true, false, true},
                 {101, 80, true, false, true},
                 {102, 2, true, true, true},
                 {3, 81, true, true, true}};
    for (const auto& c : cases) {
        QImage image(c.w, c.h, QImage::Format_RGB32);
        image.fill(Qt::black);
        const QString file = t.dir.filePath("PIT_660018.bmp");
        ASSERT_TRUE(image.save(file, "BMP"));
        for (const bool setting : {false, true}) {
            t.settings.AskSizeChange = setting;
            const auto w = CheckReplacementSize(*t.session->PictureOfRow(1), file, t.settings);
            ASSERT_EQ(w.has_value(), c.warned) << c.w << "x" << c.h;
            const bool asks = setting ? c.asksWithSetting : c.asks;
            EXPECT_EQ(w && AsksBeforeReplacing(*w, t.settings), asks) << c.w << "x" << c.h;
            EXPECT_EQ(
                BatchSizeQuestions(*t.session, {file, t.dir.filePath("PIT_AAAAAA.bmp")}).size(),
                asks ? 1u : 0u);
        }
    }
    // The texts name file and sizes; only a too large one tells what follows.
    const SizeWarning large{"/x/PIT_1.bmp", {3, 2}, {120, 90}, {101, 80}};
    const SizeWarning other{"PIT_2.bmp", {3, 2}, {3, 4}, {101, 80}};
    EXPECT_EQ(SizeWarningList({large, other}),
              "PIT_1.bmp: 120×90 вместо 3×2, больше наибольшего 101×80\n"
              "PIT_2.bmp: 3×4 вместо 3×2\n"
              "После применения патча программа не найдёт в прошивке картинку больше "
              "наибольшего размера: в списке станет на одну строку меньше.");
    EXPECT_TRUE(SingleSizeQuestion(large).contains("Сейчас картинка имеет размер 3×2"));
    EXPECT_FALSE(SingleSizeQuestion(other).contains("не найдёт"));
}

}  // namespace
}  // namespace vorlix
