// Speed and memory of the picture codec: decoding a whole image's pictures,
// encoding one large picture in every encoding, a run of replacements into
// the placement area, and the memory that 3000 pictures hold.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <QDir>
#include <memory>
#include <random>
#include <set>
#include <vector>

#include "common/prompt.h"
#include "image/flash_image.h"
#include "picture/picture.h"
#include "picture/picture_codec.h"
#include "settings/settings.h"

namespace vorlix {
namespace {

constexpr int kPictures = 3000;
constexpr std::int32_t kRecords = 0xF00000;  // records, 8 bytes apart
constexpr std::int32_t kFirstData = 0x100000;
const std::uint8_t kTypes[] = {0x01, 0x03, 0x05, 0x07, 0x08, 0x81, 0x85, 0x87, 0x88};

struct Session {
    SettingsStore store{QDir::temp().filePath(QStringLiteral("vorlix_picture_bench.ini"))};
    ScriptedPrompt prompt;
    Settings settings{store};
    FlashImage image;
    PictureList pictures;

    Session() {
        settings.FullFlash = 0x800000;  // the built-in model values
        settings.PlaceAdrMin = 0x5E2000;
        settings.PlaceAdrMax = 0x600000;
        settings.ModelAndVersion = QStringLiteral("C55v52");
    }
    void Build() {
        pictures.clear();
        image.ResetWorkingCopy();
        for (int i = 0; i < kPictures; ++i)
            pictures.push_back(std::make_unique<Picture>(image, kRecords + 8 * i, settings));
    }
};

// A bitmap of a few colours in runs: what firmware art looks like, with
// both runs and literals for the compressed encoders.
QImage ArtLike(int w, int h, std::mt19937& gen) {
    QImage img(w, h, QImage::Format_RGB32);
    QRgb palette[6];
    for (QRgb& c : palette) c = 0xFF000000u | gen();
    QRgb current = palette[0];
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (gen() % 6 == 0) current = palette[gen() % 6];
            img.setPixel(x, y, current);
        }
    return img;
}

// 3000 records of every encoding, sizes up to 101 x 80, each with its data;
// or, when `largest`, all of 101 x 80, the records of one type sharing one
// data block (3000 such blocks would not fit in the image).
std::unique_ptr<Session> MakeSession(bool largest) {
    auto s = std::make_unique<Session>();
    std::mt19937 gen(42);
    s->image.ClearBase();
    std::uint8_t* base = s->image.BaseImage();
    std::int32_t data = kFirstData;
    std::vector<std::uint8_t> buffer(EncodeBufferSize(101, 80));
    std::int32_t shared[256] = {};
    for (int i = 0; i < kPictures; ++i) {
        const int w = largest ? 101 : 1 + static_cast<int>(gen() % 101);
        const int h = largest ? 80 : 1 + static_cast<int>(gen() % 80);
        const std::uint8_t type = kTypes[i % std::size(kTypes)];
        PitRecord r{static_cast<std::uint8_t>(w), static_cast<std::uint8_t>(h), type, 0};
        if (largest && shared[type] != 0) {
            SetDataPos(r.data(), shared[type], AddressFormat::Paged);
            Picture::WriteRecord(r, {base, std::size_t{kImageSize}}, kRecords + 8 * i);
            continue;
        }
        shared[type] = data;
        std::int32_t length;
        if (type == 0x03) {
            length = (w + 3) / 4 * h;
            for (int k = 0; k < length; ++k) buffer[k] = static_cast<std::uint8_t>(gen());
        } else {
            length = EncodePixels(ArtLike(w, h, gen), w, h, type, buffer.data());
        }
        std::copy_n(buffer.data(), length, base + data);
        SetDataPos(r.data(), data, AddressFormat::Paged);
        Picture::WriteRecord(r, {base, std::size_t{kImageSize}}, kRecords + 8 * i);
        data += length;
    }
    if (data > kRecords) std::abort();
    s->Build();
    return s;
}

Session& Mixed() {
    static auto s = MakeSession(false);
    return *s;
}

void BM_Decode3000Mixed(benchmark::State& state) {
    Session& s = Mixed();
    for (auto _ : state)
        for (auto& p : s.pictures) p->Decode();
    state.counters["pictures"] = kPictures;
}
BENCHMARK(BM_Decode3000Mixed)->Unit(benchmark::kMillisecond);

// Building the pictures as a search does: record, decoding, copies.
void BM_Build3000Mixed(benchmark::State& state) {
    Session& s = Mixed();
    for (auto _ : state) {
        state.PauseTiming();
        s.pictures.clear();
        s.image.ResetWorkingCopy();  // 32 MiB of copying that opening does, not the search
        state.ResumeTiming();
        for (int i = 0; i < kPictures; ++i)
            s.pictures.push_back(std::make_unique<Picture>(s.image, kRecords + 8 * i, s.settings));
    }
}
BENCHMARK(BM_Build3000Mixed)->Unit(benchmark::kMillisecond);

void BM_Encode101x80(benchmark::State& state) {
    Session& s = Mixed();
    const std::uint8_t type = static_cast<std::uint8_t>(state.range(0));
    Picture& p = *s.pictures[0];
    std::mt19937 gen(7);
    p.SourceBitmap = ArtLike(101, 80, gen);
    const PitRecord saved = p.Record;
    p.Record[0] = 101;
    p.Record[1] = 80;
    p.Record[2] = type;
    for (auto _ : state) {
        p.Encode();
        benchmark::DoNotOptimize(p.NewData.data());
    }
    state.counters["bytes"] = p.Length;
    p.Record = saved;
    p.Decode();
}
BENCHMARK(BM_Encode101x80)
    ->Arg(0x01)
    ->Arg(0x05)
    ->Arg(0x07)
    ->Arg(0x08)
    ->Arg(0x81)
    ->Arg(0x85)
    ->Arg(0x87)
    ->Arg(0x88)
    ->Unit(benchmark::kMicrosecond);

// 500 pictures of a 3000-picture session, each replaced by a 10 x 10 16-bit
// bitmap that does not fit in its old place: every one goes to the first
// free block of the default placement area (0x1E000 bytes), which fills up.
void BM_Replace500(benchmark::State& state) {
    Session& s = Mixed();
    std::mt19937 gen(9);
    std::vector<QImage> sources;
    for (int i = 0; i < 500; ++i) sources.push_back(ArtLike(10, 10, gen));
    int placed = 0;
    for (auto _ : state) {
        state.PauseTiming();
        s.Build();
        state.ResumeTiming();
        placed = 0;
        for (int i = 0; i < 500; ++i) {
            Picture& p = *s.pictures[i * 6];
            p.SourceBitmap = sources[i];
            p.Record[0] = 10;
            p.Record[1] = 10;
            p.Record[2] = 0x08;
            placed += p.Replace(&s.pictures) == Placement::Placed ? 1 : 0;
        }
    }
    state.counters["placed"] = placed;
}
BENCHMARK(BM_Replace500)->Unit(benchmark::kMillisecond)->Iterations(5);

// Memory that 3000 pictures hold beyond the image arrays: heap in use, and
// the pixel buffers of their bitmaps counted once each.
void BM_Memory3000(benchmark::State& state) {
    const bool largest = state.range(0) != 0;
    std::size_t heap = 0, pixels = 0;
    for (auto _ : state) {
        auto s = MakeSession(largest);
        s->pictures.clear();
        const std::size_t before = mallinfo2().uordblks;
        s->Build();
        heap = mallinfo2().uordblks - before;
        std::set<const uchar*> seen;
        pixels = 0;
        for (const auto& p : s->pictures)
            for (const QImage* img : {&p->DecodedBitmap, &p->OldBitmap, &p->SourceBitmap})
                if (!img->isNull() && seen.insert(img->constBits()).second)
                    pixels += img->sizeInBytes();
    }
    state.counters["heap_MiB"] = static_cast<double>(heap) / (1 << 20);
    state.counters["pixels_MiB"] = static_cast<double>(pixels) / (1 << 20);
}
BENCHMARK(BM_Memory3000)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace vorlix
