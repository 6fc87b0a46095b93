#include "image/record_scan.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <vector>

#include "builder/flash_builder.h"
#include "settings/settings.h"

namespace vorlix {
namespace {

class RecordScanTest : public ::testing::Test {
  protected:
    RecordScanTest() { c55::SetC55ModelValues(s_); }

    // Runs a search; gives the accepted positions, each with T and E.
    std::vector<std::array<std::int32_t, 3>> Run(bool byRecords, std::function<bool()> stop = {}) {
        std::vector<std::array<std::int32_t, 3>> hits;
        percents_.clear();
        SearchCallbacks cb{std::move(stop), [&](int p) { percents_.push_back(p); },
                           [&](std::int32_t pos, const PitRecord&, int t, int e) {
                               hits.push_back({pos, t, e});
                           }};
        counts_ =
            RunPictureSearch(image_.BaseBytes(), PlanSearch(image_.BaseBytes(), s_, byRecords), cb);
        return hits;
    }

    QTemporaryDir dir_;
    ScriptedPrompt prompt_;
    SettingsStore store_{dir_.filePath("settings.ini")};
    Settings s_{store_};
    FlashImage image_;
    std::vector<int> percents_;
    SearchCounts counts_;
};

using Hits = std::vector<std::array<std::int32_t, 3>>;
const RecordSpec kGood{4, 4, 0x01, 0x900000}, kBad{4, 4, 0x02, 0x900000};

TEST_F(RecordScanTest, RecordTest) {
    auto valid = [&](PitRecord r, std::int32_t dataPos) {
        SetDataPos(r.data(), dataPos, AddressFormat::Paged);
        return IsValidPitRecord(r.data(), RecordCriteria::FromSettings(s_));
    };
    EXPECT_TRUE(valid({101, 80, 0x88, 0}, 0x800001) && valid({1, 1, 0x83, 0}, 0xE7FFFF));
    for (const PitRecord r : {PitRecord{0, 4, 1, 0},
                              {102, 4, 1, 0},
                              {4, 81, 1, 0},
                              {4, 4, 0x86, 0},
                              {4, 4, 0x02, 0},
                              {4, 4, 1, 1}})
        EXPECT_FALSE(valid(r, 0x900000)) << int(r[0]) << " " << int(r[1]) << " " << int(r[2]);
    EXPECT_FALSE(valid({4, 4, 1, 0}, 0x800000) ||
                 valid({4, 4, 1, 0}, 0xE80000));  // bounds excluded

    // FullFlash plus a typed bound passes 32 bits: the bounds stay exact.
    s_.FullFlash = 0x7FFF0000;
    s_.PictureAdrMin = -0x7FFF0000;
    s_.PictureAdrMax = 0x7FFF0000;
    EXPECT_EQ(RecordCriteria::FromSettings(s_).dataHigh, 0xFFFE0000LL);
    EXPECT_TRUE(valid({4, 4, 1, 0}, 0x900000));
}

TEST_F(RecordScanTest, TablesWalk) {
    FlashBuilder::SampleC55().LoadInto(image_);
    Hits hits = Run(false);
    ASSERT_EQ(hits.size(), 10u);
    EXPECT_EQ(hits[0], (std::array<std::int32_t, 3>{sample::kPitStart, 1, 0}));
    EXPECT_EQ(hits[7], (std::array<std::int32_t, 3>{sample::kExtRuns, 8, 1}));
    EXPECT_EQ(hits[9], (std::array<std::int32_t, 3>{sample::kExtRuns + 0x100, 10, 3}));
    EXPECT_EQ(percents_, (std::vector<int>{14, 28, 42, 57, 71, 85, 100}));

    // C + 1 records; 10 rejections in a row go on, the 11th ends the PIT.
    std::vector<RecordSpec> recs(40, kGood);
    std::fill(recs.begin() + 5, recs.begin() + 15, kBad);
    std::fill(recs.begin() + 25, recs.begin() + 36, kBad);
    FlashBuilder b = FlashBuilder::C55();
    b.Pit(c55::kSpitAdr, 0xE60000, recs, 0x0B, 20).LoadInto(image_);
    EXPECT_EQ(Run(false).size(), 11u);  // records 0-4 and 15-20
    b.Spit(c55::kSpitAdr, 0xE60000, 40).LoadInto(image_);
    hits = Run(false);
    EXPECT_EQ(hits.size(), 15u);
    EXPECT_EQ(hits.back()[0], 0xE60000 + 8 * 24);

    // A rejected slot ends its entry only; N is stored high byte first.
    b.ExtPit(c55::kExtPitAdr, {{0xE70000, {kGood, kGood, kBad, kGood}, 0x0400},
                               {0xE71000, {kGood, kGood}},
                               {0xE72000, {kGood}, 1, 0x0000, 0x00FF}});  // B = 0x00FF ends
    b.LoadInto(image_);
    s_.sPITAdr = -1;  // no sPIT: only the ExtPIT
    EXPECT_EQ(Run(false),
              (Hits{{0xE70000, 1, 1}, {0xE70010, 2, 2}, {0xE71000, 3, 3}, {0xE71010, 4, 4}}));
}

TEST_F(RecordScanTest, WalksStopAtTheImageEnd) {
    FlashBuilder b = FlashBuilder::C55();
    b.ExtPit(c55::kExtPitAdr, {{kImageSize - 16, {kGood}, 0xFFFF}});  // a run off the end
    b.Fill(kImageSize - 0x1000, 0x1000 - 16, 0);  // entries with N = 0 up to the end
    b.Pit(0xE00000, kImageSize - 16, {kGood, kGood}, 0x0B, 0xFFFF);  // a PIT off the end
    b.LoadInto(image_);
    s_.sPITAdr = kImageSize - 19;  // a header that does not fit
    EXPECT_EQ(Run(false).size(), 1u);
    s_.ExtPITAdr = kImageSize - 0x1000;
    EXPECT_EQ(Run(false).size(), 0u);
    s_.sPITAdr = 0xE00000;
    EXPECT_EQ(Run(false).size(), 2u);
}

TEST_F(RecordScanTest, RecordScan) {
    // A table whose first record lies 2 bytes after S: S misses, S + 10 is
    // the second record, the third follows 8 apart, the fourth is rejected;
    // misses step by 10 up to the last place where a whole record fits.
    std::vector<RecordSpec> recs{kGood, kGood, kGood, kBad, kGood};
    const std::int32_t last = 0xE60024 + 10 * ((kImageSize - 8 - 0xE60024) / 10);
    FlashBuilder::C55().Pit(c55::kSpitAdr, 0xE60002, recs).Record(last, kGood).LoadInto(image_);
    s_.PITAdrMax = 0x800000;  // to the image's end, as after a first open
    EXPECT_EQ(Run(true), (Hits{{0xE6000A, 1, 0}, {0xE60012, 2, 0}, {last, 3, 0}}));
    EXPECT_EQ(percents_.back(), 99);

    // Termination is polled between candidates.
    int polls = 0;
    EXPECT_EQ(Run(true, [&] { return ++polls > 3; }).size(), 2u);
    EXPECT_TRUE(counts_.terminated);

    s_.PITAdrMax = s_.PITAdrMin - 1;  // E < S: nothing
    EXPECT_TRUE(Run(true).empty());
    EXPECT_TRUE(percents_.empty());
    s_.PITAdrMin = s_.PITAdrMax = 0x66000A;  // E = S: the one record at S
    EXPECT_EQ(Run(true).size(), 1u);
    for (const std::int32_t fullFlash : {INT32_MAX, INT32_MIN, -0x700000}) {
        s_.FullFlash = fullFlash;  // ranges that begin outside the image
        s_.PITAdrMax = 0x7FFFFFFF;
        EXPECT_TRUE(Run(true).empty());
    }
}

}  // namespace
}  // namespace vorlix
