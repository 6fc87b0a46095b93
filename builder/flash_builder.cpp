#include "builder/flash_builder.h"

#include <QFile>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <random>
#include <stdexcept>
#include <string>

#include "image/firmware_id.h"
#include "settings/settings.h"

namespace vorlix {

namespace {

void PutPaged(std::uint8_t* p, std::int32_t pos) {
    const std::int32_t offset = pos & 0x3FFF;
    const std::int32_t page = pos >> 14;
    p[0] = static_cast<std::uint8_t>(offset & 0xFF);
    p[1] = static_cast<std::uint8_t>(offset >> 8);
    p[2] = static_cast<std::uint8_t>(page & 0xFF);
    p[3] = static_cast<std::uint8_t>((page >> 8) & 0xFF);
}

std::string Hex(std::int64_t v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%llX", static_cast<long long>(v));
    return buf;
}

}  // namespace

FlashBuilder::FlashBuilder(std::int32_t size, std::int32_t fullFlash, AddressFormat format)
    : file_(size, char(0xFF)), fullFlash_(fullFlash), format_(format) {}

FlashBuilder FlashBuilder::C55() { return FlashBuilder(c55::kFileSize, c55::kFullFlash); }

FlashBuilder FlashBuilder::CF62() {
    return FlashBuilder(0x800000, 0x800000, AddressFormat::Linear);
}

FlashBuilder FlashBuilder::S45() { return FlashBuilder(0x200000, 0x800000); }

std::int64_t FlashBuilder::FileOffset(std::int32_t pos, std::int64_t length) const {
    const std::int64_t offset = std::int64_t{pos} - fullFlash_;
    if (offset < 0 || length < 0 || offset + length > file_.size())
        throw std::out_of_range("FlashBuilder: " + std::to_string(length) +
                                " bytes at image offset 0x" + Hex(pos) + " leave the file (0x" +
                                Hex(fullFlash_) + " + 0x" + Hex(file_.size()) + ")");
    return offset;
}

std::uint8_t* FlashBuilder::At(std::int32_t pos, std::int64_t length) {
    return reinterpret_cast<std::uint8_t*>(file_.data()) + FileOffset(pos, length);
}

FlashBuilder& FlashBuilder::Bytes(std::int32_t pos, std::span<const std::uint8_t> bytes) {
    if (!bytes.empty()) std::memcpy(At(pos, bytes.size()), bytes.data(), bytes.size());
    return *this;
}

FlashBuilder& FlashBuilder::Bytes(std::int32_t pos, std::initializer_list<std::uint8_t> bytes) {
    return Bytes(pos, std::span<const std::uint8_t>(bytes.begin(), bytes.size()));
}

FlashBuilder& FlashBuilder::Bytes(std::int32_t pos, const QByteArray& bytes) {
    return Bytes(pos, std::span<const std::uint8_t>(
                          reinterpret_cast<const std::uint8_t*>(bytes.constData()), bytes.size()));
}

FlashBuilder& FlashBuilder::Fill(std::int32_t pos, std::int32_t length, std::uint8_t value) {
    if (length > 0) std::memset(At(pos, length), value, length);
    return *this;
}

FlashBuilder& FlashBuilder::Random(std::int32_t pos, std::int32_t length, std::uint32_t seed) {
    if (length <= 0) return *this;
    std::uint8_t* p = At(pos, length);
    std::mt19937 gen(seed);
    for (std::int32_t i = 0; i < length; ++i) p[i] = static_cast<std::uint8_t>(gen() >> 24);
    return *this;
}

FlashBuilder& FlashBuilder::Word(std::int32_t pos, std::uint16_t value) {
    return Bytes(pos,
                 {static_cast<std::uint8_t>(value & 0xFF), static_cast<std::uint8_t>(value >> 8)});
}

FlashBuilder& FlashBuilder::BuildInfo(std::int32_t pos, const QByteArray& model,
                                      std::uint8_t version) {
    // Something like ".01.2003 12:34:56 ... lg": only the pattern's fixed
    // bytes matter; the others are digits so that no stray '.' or ':' shifts
    // the match.
    std::uint8_t* p = At(pos, kBuildInfoModelName + model.size() + 1);
    std::memset(p, '0', kBuildInfoModelName);
    const auto pattern = BuildInfoPattern();
    for (int k = 0; k < kBuildInfoLength; ++k)
        if (pattern[k] != kAnyByte) p[k] = static_cast<std::uint8_t>(pattern[k]);
    p[kBuildInfoVersion] = version;
    std::memcpy(p + kBuildInfoModelName, model.constData(), model.size());
    p[kBuildInfoModelName + model.size()] = 0;
    return *this;
}

FlashBuilder& FlashBuilder::Record(std::int32_t pos, const RecordSpec& r) {
    std::uint8_t* p = At(pos, 8);
    p[0] = r.width;
    p[1] = r.height;
    p[2] = r.type;
    p[3] = r.byte3;
    SetDataPos(p, r.dataPos, format_);
    return *this;
}

FlashBuilder& FlashBuilder::Spit(std::int32_t sPITAdr, std::int32_t pitStart, std::uint16_t count,
                                 std::uint16_t marker) {
    std::uint8_t* p = At(sPITAdr, 20);
    std::memset(p, 0, 20);
    p[4] = static_cast<std::uint8_t>(marker & 0xFF);
    p[5] = static_cast<std::uint8_t>(marker >> 8);
    PutPaged(p + 14, pitStart);
    p[18] = static_cast<std::uint8_t>(count & 0xFF);
    p[19] = static_cast<std::uint8_t>(count >> 8);
    return *this;
}

FlashBuilder& FlashBuilder::Pit(std::int32_t sPITAdr, std::int32_t pitStart,
                                const std::vector<RecordSpec>& records, std::uint16_t marker,
                                std::optional<std::uint16_t> count) {
    Spit(sPITAdr, pitStart, count.value_or(static_cast<std::uint16_t>(records.size())), marker);
    for (std::size_t i = 0; i < records.size(); ++i)
        Record(pitStart + static_cast<std::int32_t>(8 * i), records[i]);
    return *this;
}

FlashBuilder& FlashBuilder::ExtPitEntry(std::int32_t pos, const ExtPitRunSpec& run) {
    const std::uint16_t n = run.count.value_or(static_cast<std::uint16_t>(run.records.size()));
    std::uint8_t* p = At(pos, 12);
    p[0] = static_cast<std::uint8_t>(run.a & 0xFF);
    p[1] = static_cast<std::uint8_t>(run.a >> 8);
    p[2] = static_cast<std::uint8_t>(run.b & 0xFF);
    p[3] = static_cast<std::uint8_t>(run.b >> 8);
    p[4] = static_cast<std::uint8_t>(n >> 8);  // high byte first
    p[5] = static_cast<std::uint8_t>(n & 0xFF);
    p[6] = p[7] = 0;
    PutPaged(p + 8, run.runPos);
    for (std::size_t j = 0; j < run.records.size(); ++j) {
        const std::int32_t slot = run.runPos + static_cast<std::int32_t>(16 * j);
        Fill(slot, 16, 0);
        Record(slot, run.records[j]);
    }
    return *this;
}

FlashBuilder& FlashBuilder::ExtPit(std::int32_t extPITAdr, const std::vector<ExtPitRunSpec>& runs) {
    std::int32_t pos = extPITAdr;
    for (const ExtPitRunSpec& run : runs) {
        ExtPitEntry(pos, run);
        pos += 12;
    }
    return Fill(pos, 12, 0xFF);
}

FlashBuilder& FlashBuilder::ExtPitCode(std::int32_t pos, std::int32_t extPITAdr) {
    std::uint8_t address[4];
    PutPaged(address, extPITAdr);
    return Bytes(pos, {0xE6, 0xF2, address[0], address[1], 0xE6, 0xF3, address[2], address[3], 0xF0,
                       0x4C, 0x5C, 0x24, 0x20, 0x4C, 0x5C, 0x24, 0x00, 0x24});
}

bool FlashBuilder::WriteFile(const QString& path) const {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(file_) == file_.size();
}

void FlashBuilder::LoadInto(FlashImage& image) const {
    const std::int64_t size = ImageSizeFor(std::max(fullFlash_, 0), file_.size());
    ImageArray base = AllocateImageArray(size);
    std::memset(base.get(), 0xFF, static_cast<std::size_t>(size));
    if (InImage(fullFlash_, 1, size)) {
        const std::int64_t n = std::min<std::int64_t>(file_.size(), size - fullFlash_);
        std::memcpy(base.get() + fullFlash_, file_.constData(), static_cast<std::size_t>(n));
    }
    image.Adopt(std::move(base), size);
}

FlashBuilder FlashBuilder::SampleC55() {
    using namespace sample;
    constexpr std::int32_t d = kDataArea;
    FlashBuilder b = C55();
    b.BuildInfo(kBuildInfo, "C55", 0x50);
    b.Pit(c55::kSpitAdr, kPitStart,
          {
              {4, 4, 0x01, d + 0x000},  // 1-bit: a cross
              {3, 2, 0x05, d + 0x100},  // 8-bit
              {2, 2, 0x08, d + 0x200},  // 16-bit
              {8, 2, 0x81, d + 0x300},  // 1-bit compressed: a black row, a white row
              {5, 1, 0x85, d + 0x400},  // 8-bit compressed
              {2, 1, 0x87, d + 0x500},  // 12-bit compressed
              {5, 1, 0x88, d + 0x600},  // 16-bit compressed: five white pixels
          });
    b.Bytes(d + 0x000, {0x90, 0x60, 0x60, 0x90});
    b.Bytes(d + 0x100, {0x00, 0xC0, 0xFF, 0x1F, 0x20, 0xE3});
    b.Bytes(d + 0x200, {0x00, 0xE0, 0x1F, 0x00, 0xE0, 0x07, 0x00, 0xF8});
    b.Bytes(d + 0x300, {0xC8, 0x88});
    b.Bytes(d + 0x400, {0x03, 0x2A, 0xFE, 0x01, 0x02});
    b.Bytes(d + 0x500, {0xFE, 0x21, 0x03, 0x43, 0x05});
    b.Bytes(d + 0x600, {0x05, 0x00, 0xE0});

    b.ExtPit(c55::kExtPitAdr, {{kExtRuns, {{6, 3, 0x05, d + 0x700}, {3, 3, 0x07, d + 0x800}}},
                               {kExtRuns + 0x100, {{10, 2, 0x01, d + 0x900}}}});
    std::vector<std::uint8_t> ramp(18);
    for (std::size_t i = 0; i < ramp.size(); ++i) ramp[i] = static_cast<std::uint8_t>(i * 14);
    b.Bytes(d + 0x700, ramp);
    b.Bytes(d + 0x800, {0x00, 0x0F, 0xF0, 0x00, 0x0F, 0x0F, 0xFF, 0x0F, 0x21, 0x03, 0x43, 0x05,
                        0x65, 0x07, 0x87, 0x09, 0xA9, 0x0B});
    b.Bytes(d + 0x900, {0xFF, 0xC0, 0x80, 0x40});
    b.ExtPitCode(kExtPitCode, c55::kExtPitAdr);
    return b;
}

void c55::SetC55ModelValues(Settings& settings) {
    settings.FullFlash = kFullFlash;
    settings.PITAdrMin = kPitAdrMin;
    settings.PITAdrMax = kPitAdrMax;
    settings.PictureAdrMin = 0;
    settings.PictureAdrMax = kPictureAdrMax;
    settings.PlaceAdrMin = kPlaceAdrMin;
    settings.PlaceAdrMax = kPlaceAdrMax;
    settings.MaxSizeX = 101;
    settings.MaxSizeY = 80;
    settings.sPITAdr = kSpitAdr;
    settings.ExtPITAdr = kExtPitAdr;
    settings.SearchType = false;
}

}  // namespace vorlix
