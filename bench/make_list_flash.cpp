// Writes the 16 MiB FullFlash with 3000 pictures that scripts/bench_cli_list.sh
// lists: a firmware that lies at image offset 0 (FullFlash 0), with its PIT
// and ExtPIT where table discovery finds them. With --s55 the same firmware
// is an S55's, at FullFlash 0x400000, its picture data past the 24-bit
// space: the image then spans 20 MiB.
#include <QByteArray>
#include <cstdio>
#include <random>

#include "builder/flash_builder.h"

using namespace vorlix;

namespace {

constexpr std::int32_t kSize = 0x1000000;
constexpr std::int32_t kSpit = 0x400000;
constexpr std::int32_t kPit = 0x600000;
constexpr std::int32_t kExtPit = 0x640000;
constexpr std::int32_t kExtRuns = 0x650000;
constexpr int kPitPictures = 2500;
constexpr int kExtEntries = 50;
constexpr int kExtPerEntry = 10;
constexpr std::int32_t kDataStart = 0x800000;

// Picture data of one of the firmware's encodings: raw bytes for the plain
// ones, runs and literals for the compressed ones.
QByteArray PictureData(int w, int h, std::uint8_t type, std::mt19937& random) {
    const int pixels = w * h;
    QByteArray data;
    auto byte = [&] { return static_cast<char>(random() >> 24); };
    switch (type) {
        case 0x01:
            data.resize(((w + 7) / 8) * h);
            break;
        case 0x05:
            data.resize(pixels);
            break;
        case 0x08:
            data.resize(pixels * 2);
            break;
        case 0x81:  // runs of 10 pixels
            for (int left = pixels; left > 0; left -= 10) data.append(char(0x80 | 0x40 | 10));
            return data;
        case 0x88:  // alternating runs of 6 and literals of 4
            for (int left = pixels; left > 0;) {
                data.append(char(6));
                data.append(byte());
                data.append(byte());
                left -= 6;
                if (left <= 0) break;
                data.append(char(0x100 - 4));
                for (int k = 0; k < 8; ++k) data.append(byte());
                left -= 4;
            }
            return data;
    }
    for (char& c : data) c = byte();
    return data;
}

}  // namespace

int main(int argc, char** argv) {
    const bool s55 = argc == 3 && QByteArray(argv[1]) == "--s55";
    if (argc != 2 && !s55) {
        std::fprintf(stderr, "usage: make_list_flash [--s55] OUT\n");
        return 2;
    }
    const char* out = argv[argc - 1];
    // Where the dump lies in the image.
    const std::int32_t at = s55 ? 0x400000 : 0;
    std::mt19937 random(2024);
    FlashBuilder b(kSize, at);
    // A model that the table of known models lacks: its first open lays the
    // 16 MiB out from image offset 0, where the records point. The S55 is
    // known: its first open lays it out at its own FullFlash.
    b.BuildInfo(at + 0x010000, s55 ? "S55" : "CX65", 0x51);
    const std::uint8_t types[] = {0x01, 0x05, 0x08, 0x81, 0x88};
    std::int32_t data = s55 ? 0x1000000 : kDataStart;
    auto picture = [&](int index) {
        // The first picture is the 4 x 4 record that table discovery probes for.
        const int w = index == 0 ? 4 : 8 + static_cast<int>(random() % 50);
        const int h = index == 0 ? 4 : 8 + static_cast<int>(random() % 40);
        const std::uint8_t type = index == 0 ? 0x81 : types[random() % 5];
        const QByteArray bytes = PictureData(w, h, type, random);
        b.Bytes(data, bytes);
        const RecordSpec record{static_cast<std::uint8_t>(w), static_cast<std::uint8_t>(h), type,
                                data};
        data += (static_cast<std::int32_t>(bytes.size()) + 3) & ~3;
        return record;
    };
    std::vector<RecordSpec> pit;
    for (int i = 0; i < kPitPictures; ++i) pit.push_back(picture(i));
    b.Pit(at + kSpit, at + kPit, pit);
    std::vector<ExtPitRunSpec> runs;
    for (int e = 0; e < kExtEntries; ++e) {
        ExtPitRunSpec run;
        run.runPos = at + kExtRuns + e * 16 * kExtPerEntry;
        for (int j = 0; j < kExtPerEntry; ++j) run.records.push_back(picture(kPitPictures + j));
        runs.push_back(run);
    }
    b.ExtPit(at + kExtPit, runs);
    b.ExtPitCode(at + 0x020000, at + kExtPit);
    if (!b.WriteFile(QString::fromLocal8Bit(out))) {
        std::fprintf(stderr, "cannot write %s\n", out);
        return 1;
    }
    std::printf("%d pictures, data up to 0x%X\n", kPitPictures + kExtEntries * kExtPerEntry, data);
    return 0;
}
