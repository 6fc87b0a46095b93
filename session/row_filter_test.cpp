#include "session/row_filter.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "builder/flash_builder.h"
#include "picture/color_tables.h"

namespace vorlix {
namespace {

// A picture of the demo's kinds: its size, type, depth, PIT and Data (file
// offsets) and whether it is modified.
struct Kind {
    int x, y;
    bool compressed;
    int depth;
    std::int32_t pit, data;
    bool modified;
};

class RowFilterTest : public ::testing::Test {
  protected:
    void List(const std::vector<Kind>& kinds) {
        BuildColorTables();
        settings_.FullFlash = c55::kFullFlash;
        FlashBuilder::SampleC55().LoadInto(session_.image());
        for (std::size_t i = 0; i < kinds.size(); ++i) {
            const std::int32_t at = sample::kPitStart + 8 * std::int32_t(i);
            PitRecord r;
            Picture::ReadRecord(r, session_.image().BaseBytes(), at);
            session_.AddFoundPicture(at, r, int(i) + 1);
            Picture& p = *session_.Pictures.back();
            const Kind& k = kinds[i];
            p.RecordPos = k.pit + c55::kFullFlash;
            p.Record = {std::uint8_t(k.x), std::uint8_t(k.y),
                        std::uint8_t(k.compressed ? 0x81 : 0x01), 0};
            SetDataPos(p.Record.data(), k.data + c55::kFullFlash, AddressFormat::Paged);
            p.Depth = k.depth;
            p.Modified = k.modified;
        }
    }

    QTemporaryDir dir_;
    ScriptedPrompt prompt_;
    SettingsStore store_{dir_.filePath("settings.ini")};
    Settings settings_{store_};
    FlashSession session_{settings_};
};

// Rows of the demo's kinds: which of them each filter text keeps.
TEST_F(RowFilterTest, TermsAndTheirCombinations) {
    List({
        {4, 4, false, 1, 0x660010, 0x500000, false},
        {32, 32, true, 16, 0x660018, 0x5001C8, true},
        {32, 24, true, 8, 0x670010, 0x501A70, false},
        {101, 80, false, 12, 0x6600F8, 0x5E2000, true},
    });
    struct Case {
        const char* filter;
        std::vector<int> kept;  // row numbers
    };
    const Case cases[] = {
        {"", {1, 2, 3, 4}},
        {"   ", {1, 2, 3, 4}},
        {"670010", {3}},      // PIT
        {"1a7", {3}},         // part of Data, either case
        {"0x5e2000", {4}},    // with the prefix
        {"6600", {1, 2, 4}},  // part of several PIT texts
        {"32x32", {2}},
        {"32X*", {2, 3}},
        {"*x80", {4}},
        {"101\u0445"
         "80",
         {4}},  // a Cyrillic "x" from a Russian keyboard
        {"4\u00D74", {1}},
        {"16bit", {2}},
        {"8BITS", {3}},
        {"12 bit", {4}},  // the number and the word apart
        {"1bit", {1}},
        {"modified", {2, 4}},
        {"Modifyed", {2, 4}},
        {"compressed", {2, 3}},
        {"compressed modified", {2}},
        {"modified 16bit 32x32 6600", {2}},
        {"modified 8bit", {}},
        {"zzz", {}},
        {"32x", {}},  // not a size, and no such text
    };
    for (const Case& c : cases) {
        const RowFilter filter(QString::fromUtf8(c.filter));
        std::vector<int> kept;
        for (int row = 0; row < int(session_.Slots.size()); ++row)
            if (filter.Matches(session_, row)) kept.push_back(row + 1);
        EXPECT_EQ(kept, c.kept) << "filter \"" << c.filter << "\"";
    }
    EXPECT_TRUE(RowFilter(QStringLiteral(" \t")).IsEmpty());
    EXPECT_FALSE(RowFilter(QStringLiteral("x")).IsEmpty());
}

}  // namespace
}  // namespace vorlix
