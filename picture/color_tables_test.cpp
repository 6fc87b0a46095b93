#include "picture/color_tables.h"

#include <gtest/gtest.h>

namespace vorlix {
namespace {

TEST(ColorTables, SpecialEntriesAndConversions) {
    BuildColorTables();
    EXPECT_EQ(Palette8[0xC0], qRgb(240, 240, 240));  // not (213, 25, 95)
    EXPECT_EQ(Palette8[0x00], qRgb(81, 25, 95));
    EXPECT_EQ(Colors16[0xE000], qRgb(255, 255, 255));  // not (231, 0, 0)
    EXPECT_EQ(Colors16[0xFFFF], qRgb(255, 255, 255));
    EXPECT_EQ(Colors16[0x0020], qRgb(0, 0, 0));  // bit 5 unused
    EXPECT_EQ(Colors16[0xF79E], qRgb(247, 247, 247));
    EXPECT_EQ(Color12(0xFFF), qRgb(240, 240, 240));
}

TEST(ColorTables, Reductions) {
    EXPECT_FALSE(ColorToMono(128, 128, 128));  // a weighted sum of exactly 128 is light
    EXPECT_TRUE(ColorToMono(127, 128, 128));
    EXPECT_TRUE(ColorToMono(255, 0, 0));
    EXPECT_TRUE(ColorToMono(0, 0, 255));
    EXPECT_FALSE(ColorToMono(0, 255, 0));

    EXPECT_EQ(ColorTo8(255, 255, 255), 0xFF);
    EXPECT_EQ(ColorTo8(0, 0, 0), 0x00);
    EXPECT_EQ(ColorTo8(90, 0, 0) >> 5, 0);  // midpoint of 81 and 102 rounds down to 91
    EXPECT_EQ(ColorTo8(91, 0, 0) >> 5, 1);
    EXPECT_EQ(ColorTo8(213, 25, 95), 0xC0);
    EXPECT_EQ(ColorTo8(0, 0, 180), 2);  // 154 + 54 / 2 = 181 is the upper level's
    EXPECT_EQ(ColorTo8(0, 0, 181), 3);

    EXPECT_EQ(ColorTo12(255, 128, 15), 0xF80);

    EXPECT_EQ(ColorTo16(255, 255, 255), 0xF79E);
    EXPECT_EQ(ColorTo16(231, 0, 0), 0xE000);
    EXPECT_EQ(ColorTo16(239, 8, 8), 0xE000);
    EXPECT_EQ(ColorTo16(240, 0, 0), 0xE800);
}

}  // namespace
}  // namespace vorlix
