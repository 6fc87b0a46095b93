#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <vector>

#include "image/flash_image.h"

namespace vorlix {

// One index record as the builder writes it.
struct RecordSpec {
    std::uint8_t width = 4;
    std::uint8_t height = 4;
    std::uint8_t type = 0x01;
    std::int32_t dataPos = 0;  // image offset of the pixel data
    std::uint8_t byte3 = 0;    // 0 in every valid record
};

// One ExtPIT entry and the run of 16-byte slots it points to.
struct ExtPitRunSpec {
    std::int32_t runPos = 0;          // image offset of the first slot
    std::vector<RecordSpec> records;  // one per slot, written from runPos on
    // N as the entry stores it (high byte first); by default records.size().
    std::optional<std::uint16_t> count = std::nullopt;
    std::uint16_t a = 0, b = 0;  // bytes 0-1 and 2-3 (0x00FF would end the table)
};

// The C55 layout that the built-in settings describe: an 8 MiB file at
// image offset 0x800000, the sPIT at 0xC4625C, the ExtPIT at 0xE7F856, the
// PIT scanned in file offsets 0x660000..0x680000, picture data below file
// offset 0x680000, new data placed in 0x5E2000..0x600000.
class Settings;

namespace c55 {
inline constexpr std::int32_t kFileSize = 0x800000;
inline constexpr std::int32_t kFullFlash = 0x800000;
inline constexpr std::int32_t kSpitAdr = 0xC4625C;
inline constexpr std::int32_t kExtPitAdr = 0xE7F856;
inline constexpr std::int32_t kPitAdrMin = 0x660000;  // file offsets
inline constexpr std::int32_t kPitAdrMax = 0x680000;
inline constexpr std::int32_t kPictureAdrMax = 0x680000;
inline constexpr std::int32_t kPlaceAdrMin = 0x5E2000;
inline constexpr std::int32_t kPlaceAdrMax = 0x600000;
// Sets the model values of `settings` to the C55's built-in ones (the
// defaults of the "All" sub-key), as a test or benchmark needs them without
// a settings store. Program values stay as they are.
void SetC55ModelValues(Settings& settings);
}  // namespace c55

// Builds synthetic FullFlash files for tests, benchmarks and the demo
// firmware. The file starts erased (0xFF); every position given to the
// builder is an image offset (a phone address), which the builder turns
// into a file offset by the file's FullFlash. A write that would leave the
// file throws std::out_of_range, so a mistaken test fails loudly.
//
//   auto file = FlashBuilder::C55()
//                   .BuildInfo(0x820000, "C55", 0x50)
//                   .Pit(c55::kSpitAdr, 0xE60010, {{4, 4, 0x01, 0xD00000}})
//                   .Bytes(0xD00000, {0x0F, 0xF0, 0x0F, 0xF0})
//                   .File();
class FlashBuilder {
  public:
    // A file of `size` bytes that lies at image offset `fullFlash`, whose
    // records use `format` for their data positions.
    FlashBuilder(std::int32_t size, std::int32_t fullFlash,
                 AddressFormat format = AddressFormat::Paged);

    // 8 MiB at 0x800000, paged addresses (the layout of namespace c55).
    static FlashBuilder C55();
    // 8 MiB at 0x800000, linear addresses as CF62 firmware holds them.
    static FlashBuilder CF62();
    // A 2 MiB S45 dump as it lies after opening: at 0x800000, paged.
    static FlashBuilder S45();
    // A complete small C55 firmware at the default addresses; see sample.
    static FlashBuilder SampleC55();

    std::int32_t fullFlash() const { return fullFlash_; }
    std::int32_t size() const { return static_cast<std::int32_t>(file_.size()); }
    AddressFormat format() const { return format_; }

    // Raw bytes.
    FlashBuilder& Bytes(std::int32_t pos, std::span<const std::uint8_t> bytes);
    FlashBuilder& Bytes(std::int32_t pos, std::initializer_list<std::uint8_t> bytes);
    FlashBuilder& Bytes(std::int32_t pos, const QByteArray& bytes);
    FlashBuilder& Fill(std::int32_t pos, std::int32_t length, std::uint8_t value);
    // Reproducible pseudo-random bytes (a stand-in for code and data).
    FlashBuilder& Random(std::int32_t pos, std::int32_t length, std::uint32_t seed);
    FlashBuilder& Word(std::int32_t pos, std::uint16_t value);  // little-endian

    // The 48-byte build-information block at `pos`, with the model name at
    // pos + 62 (ended by a 0 byte) and the version byte at pos + 30.
    FlashBuilder& BuildInfo(std::int32_t pos, const QByteArray& model, std::uint8_t version);
    // One 8-byte index record.
    FlashBuilder& Record(std::int32_t pos, const RecordSpec& record);
    // The 20-byte sPIT header; marker 0x000B or 0x000C.
    FlashBuilder& Spit(std::int32_t sPITAdr, std::int32_t pitStart, std::uint16_t count,
                       std::uint16_t marker = 0x0B);
    // The sPIT header and the PIT's records, 8 bytes apart from pitStart;
    // the header's count is the number of records unless given.
    FlashBuilder& Pit(std::int32_t sPITAdr, std::int32_t pitStart,
                      const std::vector<RecordSpec>& records, std::uint16_t marker = 0x0B,
                      std::optional<std::uint16_t> count = std::nullopt);
    // One 12-byte ExtPIT entry at `pos` and its slots.
    FlashBuilder& ExtPitEntry(std::int32_t pos, const ExtPitRunSpec& run);
    // Entries from `extPITAdr` on, ended by an entry of 0xFF bytes.
    FlashBuilder& ExtPit(std::int32_t extPITAdr, const std::vector<ExtPitRunSpec>& runs);
    // The firmware routine that loads the ExtPIT's address, which discovery
    // looks for: E6 F2 lo hi E6 F3 lo hi F0 4C 5C 24 20 4C 5C 24 00 24.
    FlashBuilder& ExtPitCode(std::int32_t pos, std::int32_t extPITAdr);

    // The file's bytes.
    const QByteArray& File() const { return file_; }
    // Writes the file; false when it cannot be written.
    bool WriteFile(const QString& path) const;
    // Lays the file into the image as an open by settings would: base image
    // erased, the file at FullFlash (as much as fits), working copy reset.
    void LoadInto(FlashImage& image) const;

  private:
    std::int64_t FileOffset(std::int32_t pos, std::int64_t length) const;
    std::uint8_t* At(std::int32_t pos, std::int64_t length);

    QByteArray file_;
    std::int32_t fullFlash_;
    AddressFormat format_;
};

// What SampleC55() holds (image offsets; model "C55", version 0x50, so the
// key is "C55v50"):
//  - the build-information block at kBuildInfo;
//  - the sPIT at c55::kSpitAdr (marker 0x0B) with a PIT of kPitCount
//    records from kPitStart: a 4 x 4 uncompressed 1-bit picture first, then
//    8-bit, 16-bit, compressed 1-, 8-, 12- and 16-bit pictures;
//  - the ExtPIT at c55::kExtPitAdr with two entries of two and one slots,
//    and the code fragment that names it at kExtPitCode;
//  - pixel data from kDataArea on; the placement area is left erased.
namespace sample {
inline constexpr std::int32_t kBuildInfo = 0x820000;
inline constexpr std::int32_t kExtPitCode = 0x8F1230;
inline constexpr std::int32_t kPitStart = 0xE60010;
inline constexpr int kPitCount = 7;
inline constexpr std::int32_t kExtRuns = 0xE70000;
inline constexpr int kExtCount = 3;
inline constexpr std::int32_t kDataArea = 0xD00000;
}  // namespace sample

}  // namespace vorlix
