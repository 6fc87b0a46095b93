// Speed of the image core: identification, table discovery and the record
// scan, each over whole images.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <random>

#include "builder/flash_builder.h"
#include "image/firmware_id.h"
#include "image/pit_tables.h"
#include "image/record_scan.h"

namespace vorlix {
namespace {

void FillRandom(std::uint8_t* p, std::int64_t length, std::uint32_t seed) {
    std::mt19937 gen(seed);
    for (std::int64_t i = 0; i < length; ++i) p[i] = static_cast<std::uint8_t>(gen() >> 24);
}

// 16 MiB of pseudo-random bytes: no build-information block in it.
const FlashImage& RandomImage() {
    static const auto image = [] {
        auto img = std::make_unique<FlashImage>();
        FillRandom(img->BaseImage(), kImageSize, 1);
        return img;
    }();
    return *image;
}

void BM_IdentifyFirmwareNoMatch(benchmark::State& state) {
    const ImageBytes base = RandomImage().BaseBytes();
    for (auto _ : state) benchmark::DoNotOptimize(IdentifyFirmware(base));
    state.SetBytesProcessed(state.iterations() * kImageSize);
}
BENCHMARK(BM_IdentifyFirmwareNoMatch)->Unit(benchmark::kMillisecond);

// A 16 MiB image of random bytes in which the first probe record 04 04 81 00
// stands 100 times, each with a near miss of its confirmation nearby, before
// the real PIT and its sPIT header at the image's top.
const FlashImage& DecoyImage() {
    static const auto image = [] {
        auto img = std::make_unique<FlashImage>();
        FillRandom(img->BaseImage(), kImageSize, 2);
        FlashBuilder b(kImageSize, 0);
        b.Bytes(0, QByteArray(reinterpret_cast<const char*>(img->BaseImage()), kImageSize));
        for (int i = 0; i < 100; ++i) {
            const std::int32_t c = 0x10000 + i * 0x20000;
            b.Record(c, {4, 4, 0x81, 0x123456});
            // The marker and the address with its last byte wrong.
            b.Spit(c + 0x800, c, 1).Bytes(c + 0x800 + 17, {0xEE});
        }
        b.Pit(0xF00000, 0xF80000, {{4, 4, 0x81, 0x900000}, {8, 8, 0x05, 0x900100}});
        b.LoadInto(*img);
        return img;
    }();
    return *image;
}

void BM_FindPictureTables100Decoys(benchmark::State& state) {
    const ImageBytes base = DecoyImage().BaseBytes();
    PictureTables found;
    for (auto _ : state) benchmark::DoNotOptimize(found = FindPictureTables(base));
    if (found.sPITAdr != 0xF00000) state.SkipWithError("the real sPIT was not found");
}
BENCHMARK(BM_FindPictureTables100Decoys)->Unit(benchmark::kMillisecond);

RecordCriteria C55Criteria() {
    RecordCriteria c;
    c.dataLow = 0x800000;
    c.dataHigh = 0x800000 + 0x680000;
    c.maxX = 101;
    c.maxY = 80;
    return c;
}

// An 8 MiB file at 0x800000 of random bytes from which every record that
// would pass the test has been spoilt.
const FlashImage& NoRecordImage() {
    static const auto image = [] {
        auto img = std::make_unique<FlashImage>();
        std::uint8_t* base = img->BaseImage();
        FillRandom(base + 0x800000, 0x800000, 3);
        const RecordCriteria criteria = C55Criteria();
        for (bool spoilt = true; spoilt;) {
            spoilt = false;
            for (std::int64_t p = 0x800000; p + 8 <= kImageSize; ++p) {
                if (IsValidPitRecord(base + p, criteria)) {
                    base[p + 3] = 1;
                    spoilt = true;
                }
            }
        }
        return img;
    }();
    return *image;
}

void BM_ScanRecords8MiBNoRecord(benchmark::State& state) {
    const ImageBytes base = NoRecordImage().BaseBytes();
    SearchPlan plan;
    plan.scanRecords = true;
    plan.StartPos = 0x800000;
    plan.EndPos = kImageSize - 8;
    plan.criteria = C55Criteria();
    int percentShown = 0;
    SearchCallbacks callbacks;
    callbacks.terminated = [] { return false; };
    callbacks.progress = [&](int percent) { percentShown = percent; };
    callbacks.found = [](std::int32_t, const PitRecord&, int, int) {};
    SearchCounts counts;
    for (auto _ : state) benchmark::DoNotOptimize(counts = RunPictureSearch(base, plan, callbacks));
    if (counts.found != 0) state.SkipWithError("a record was found");
    state.counters["last_percent"] = percentShown;
    state.SetBytesProcessed(state.iterations() * 0x800000);
}
BENCHMARK(BM_ScanRecords8MiBNoRecord)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vorlix
