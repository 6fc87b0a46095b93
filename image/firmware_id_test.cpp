#include "image/firmware_id.h"

#include <gtest/gtest.h>

#include "builder/flash_builder.h"

namespace vorlix {
namespace {

std::optional<QString> Identify(const FlashBuilder& file) {
    FlashImage image;
    file.LoadInto(image);
    return IdentifyFirmware(image.BaseBytes());
}

TEST(IdentifyFirmware, FormsModelAndVersionText) {
    auto block = [](const QByteArray& model, std::uint8_t version) {
        return Identify(FlashBuilder(kImageSize, 0).BuildInfo(0x20000, model, version));
    };
    EXPECT_EQ(block("C55", 0x50), "C55v50");
    EXPECT_EQ(block("S45i", 0xAF), "S45iv:?");  // nibbles above 9
    EXPECT_EQ(block("", 0x13), "v13");
    EXPECT_EQ(block("\xC4\xE9", 0x01), QString::fromLatin1("\xC4\xE9v01"));
    EXPECT_FALSE(Identify(FlashBuilder(0, 0)));
}

TEST(IdentifyFirmware, MatcherQuirks) {
    // A '.' three bytes before the block starts an attempt that runs over
    // the block's first '.', misses at its ':' and resumes past the block.
    EXPECT_FALSE(Identify(
        FlashBuilder(kImageSize, 0).BuildInfo(0x20000, "C55", 0x50).Bytes(0x1FFFD, {'.'})));

    // The name may run to the image's end.
    EXPECT_EQ(Identify(FlashBuilder(kImageSize, 0)
                           .BuildInfo(kImageSize - 66, "", 0x50)
                           .Fill(kImageSize - 4, 4, 'A')),
              "AAAAv50");

    // The block may end one byte before the image's last byte, not on it.
    auto bareBlockAt = [](std::int32_t pos) {
        FlashBuilder b(kImageSize, 0);
        b.Fill(pos, 48, '0').Bytes(pos, {'.'}).Bytes(pos + 3, {'.'}).Bytes(pos + 8, {':'});
        return Identify(b.Bytes(pos + 11, {':'}).Bytes(pos + 46, {'l', 'g'}));
    };
    EXPECT_EQ(bareBlockAt(kImageSize - 49), "v30");  // version byte '0', no room for a name
    EXPECT_FALSE(bareBlockAt(kImageSize - 48));
}

TEST(IdentifyFirmware, NameThatRunsOnIsNoName) {
    // A block near the end of a dump, its name running into erased flash up
    // to the image's end: passed over, so that no 16 MiB name reaches the
    // settings; a real block after it is found.
    FlashBuilder runaway(kImageSize, 0);
    runaway.BuildInfo(0x20000, "C55", 0x50).Fill(0x20000 + 62, 0x100, 0xFF);
    EXPECT_FALSE(Identify(runaway));
    EXPECT_FALSE(Identify(FlashBuilder(kImageSize, 0)
                              .BuildInfo(kImageSize - 200, "", 0x50)
                              .Fill(kImageSize - 200 + 62, 1, 0xFF)));
    EXPECT_EQ(Identify(runaway.BuildInfo(0x30000, "S45", 0x21)), "S45v21");

    // 64 bytes are a name still, 65 are not.
    EXPECT_EQ(Identify(FlashBuilder(kImageSize, 0).BuildInfo(0x20000, QByteArray(64, 'N'), 0x11)),
              QString(64, 'N') + "v11");
    EXPECT_FALSE(
        Identify(FlashBuilder(kImageSize, 0).BuildInfo(0x20000, QByteArray(65, 'N'), 0x11)));
}

}  // namespace
}  // namespace vorlix
