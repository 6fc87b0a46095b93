#include "image/pit_tables.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "builder/flash_builder.h"

namespace vorlix {
namespace {

// The matcher as the firmware tools run it, byte by byte.
std::optional<std::int32_t> LiteralMatch(const std::uint8_t* image, std::int64_t start,
                                         const std::vector<std::int16_t>& pattern) {
    const auto n = static_cast<std::int64_t>(pattern.size());
    std::int64_t i = 0, pos = start;
    for (; i < n && pos < kImageSize; ++pos)
        i = (pattern[i] == kAnyByte || image[pos] == pattern[i]) ? i + 1 : 0;
    if (i == n && pos < kImageSize) return static_cast<std::int32_t>(pos - n);
    return std::nullopt;
}

std::vector<std::int16_t> Confirmation(std::int16_t marker, std::int32_t c) {
    std::vector<std::int16_t> p(14, kAnyByte);
    p[0] = marker;
    p[1] = 0;
    p[10] = c & 0xFF;
    p[11] = (c & 0x3FFF) >> 8;
    p[12] = (c >> 14) & 0xFF;
    p[13] = c >> 22;
    return p;
}

// Discovery as described, with two whole-image searches per candidate.
std::int32_t NaiveSpitAdr(ImageBytes base) {
    for (const std::int16_t type : {0x81, 0x85, 0x01}) {
        const std::vector<std::int16_t> probe = {4, 4, type, 0};
        std::int64_t p = 0;
        while (const auto c = FindPattern(base, p + 2, probe)) {
            p = *c;
            for (const std::int16_t marker : {0x0B, 0x0C})
                if (const auto x = FindPattern(base, 0, Confirmation(marker, *c))) return *x - 4;
        }
    }
    return -1;
}

// The top 4 KiB of an image, filled from a few bytes that make near
// misses likely: markers, zeros, probe bytes and the address bytes of
// positions up there (lo, 0x3x, 0xFF, 0x03).
constexpr std::int32_t kRegion = kImageSize - 0x1000;
void FillTrickyRegion(FlashImage& image, std::mt19937& gen) {
    static const std::uint8_t alphabet[] = {0x0B, 0x0C, 0x00, 0x04, 0x81, 0x85, 0x01,
                                            0xFF, 0x03, 0x3F, 0x3E, 0x10, 0x20, 0x2E};
    std::uint8_t* base = image.BaseImage();
    for (std::int32_t i = kRegion; i < kImageSize; ++i)
        base[i] = alphabet[gen() % std::size(alphabet)];
}

TEST(FindPattern, AgreesWithTheLiteralMatcher) {
    FlashImage image;
    std::mt19937 gen(7);
    int found = 0;
    for (int round = 0; round < 40; ++round) {
        FillTrickyRegion(image, gen);
        const std::int32_t c = kRegion + static_cast<std::int32_t>(gen() % 0x1000);
        const std::vector<std::vector<std::int16_t>> patterns = {
            {4, 4, 0x81, 0}, {kAnyByte, 0x0B, 0x00, kAnyByte, 0x04}, Confirmation(0x0B, c), {0x0C}};
        for (const auto& pattern : patterns) {
            for (int s = 0; s < 8; ++s) {
                const std::int64_t start = kRegion - 20 + static_cast<std::int64_t>(gen() % 0x1010);
                const auto expected = LiteralMatch(image.BaseImage(), start, pattern);
                ASSERT_EQ(FindPattern(image.BaseBytes(), start, pattern), expected)
                    << "round " << round << " start " << start;
                found += expected.has_value();
            }
        }
    }
    EXPECT_GT(found, 100);  // the cases are not all misses

    // A byte that breaks a match is not tried as the first element again:
    // 04 04 04 81 00 holds 04 04 81 00, yet the matcher misses it.
    FlashBuilder(kImageSize, 0).Bytes(0x100, {4, 4, 4, 0x81, 0}).LoadInto(image);
    EXPECT_FALSE(FindPattern(image.BaseBytes(), 0, std::vector<std::int16_t>{4, 4, 0x81, 0}));
}

TEST(FindPictureTables, AgreesWithTheSearchPerCandidateOnTrickyImages) {
    FlashImage image;
    std::mt19937 gen(11);
    int confirmed = 0;
    for (int round = 0; round < 12; ++round) {
        FillTrickyRegion(image, gen);
        std::uint8_t* base = image.BaseImage();
        // Probes, each with confirmations preceded by near misses.
        for (int k = 0; k < 6; ++k) {
            const std::int32_t c = kRegion + static_cast<std::int32_t>(gen() % 0xF00);
            base[c] = base[c + 1] = 4;
            base[c + 2] = (k % 2) ? 0x81 : 0x85;
            base[c + 3] = 0;
            const auto confirm = Confirmation(gen() % 2 ? 0x0B : 0x0C, c);
            const std::int32_t x = kRegion + static_cast<std::int32_t>(gen() % 0xF00);
            // The same pattern cut short a few bytes earlier, then in full.
            const int back = 1 + static_cast<int>(gen() % 13);
            const int keep = static_cast<int>(gen() % 14);
            for (int i = 0; i < keep; ++i)
                if (confirm[i] != kAnyByte && x - back + i >= kRegion)
                    base[x - back + i] = static_cast<std::uint8_t>(confirm[i]);
            for (int i = 0; i < 14; ++i)
                if (confirm[i] != kAnyByte) base[x + i] = static_cast<std::uint8_t>(confirm[i]);
        }
        const std::int32_t expected = NaiveSpitAdr(image.BaseBytes());
        ASSERT_EQ(FindPictureTables(image.BaseBytes()).sPITAdr, expected) << "round " << round;
        confirmed += expected >= 0;
    }
    EXPECT_GT(confirmed, 3);
}

TEST(FindPictureTables, PassesOverUnconfirmedAndHiddenCandidates) {
    // A first probe record that no header names, and one whose header has a
    // marker byte just before its marker: the attempt begun there misses on
    // the real marker and skips it. Only the 0x85 record's header (marker
    // 0x0C, away from the defaults) counts.
    FlashImage image;
    FlashBuilder b = FlashBuilder::C55();
    b.Record(0x900000, {4, 4, 0x81, 0x900100});
    b.Pit(0xA00000, 0xA10000, {{4, 4, 0x81, 0xA20000}});
    b.Bytes(0xA00003, {0x0B});
    b.Pit(0xB00000, 0xB10000, {{4, 4, 0x85, 0xB20000}}, 0x0C);
    b.ExtPitCode(0x880001, 0xE12345);
    b.LoadInto(image);
    PictureTables t = FindPictureTables(image.BaseBytes());
    EXPECT_EQ(t.sPITAdr, 0xB00000);
    EXPECT_EQ(t.ExtPITAdr, 0xE12345);

    FlashBuilder::SampleC55().LoadInto(image);
    t = FindPictureTables(image.BaseBytes());
    EXPECT_EQ(t.sPITAdr, c55::kSpitAdr);
    EXPECT_EQ(t.ExtPITAdr, c55::kExtPitAdr);
    image.ClearBase();
    t = FindPictureTables(image.BaseBytes());
    EXPECT_LT(t.sPITAdr, 0);
    EXPECT_EQ(t.ExtPITAdr, 0);
}

}  // namespace
}  // namespace vorlix
