// Speed of the patch core: generating the patch of many modified pictures,
// reading, checking and applying a long patch, and recording one edit for
// undo.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <memory>

#include "common/prompt.h"
#include "session/flash_session.h"
#include "image/record_scan.h"
#include "patch/patch_apply.h"
#include "patch/patch_file.h"
#include "patch/patch_generator.h"
#include "patch/patch_lines.h"
#include "picture/picture.h"
#include "session/picture_edit.h"
#include "settings/settings.h"
#include "testsupport/flash_builder.h"

namespace vorlix {
namespace {

constexpr int kPictures = 1000;
constexpr int kSide = 20;  // 20 x 20 16-bit pictures: 800 data bytes each
constexpr std::int32_t kPit = 0xE60010;
constexpr std::int32_t kData = 0xD00000;

struct BenchSession {
    QTemporaryDir dir;
    SettingsStore store{dir.filePath("settings.ini")};
    ScriptedPrompt prompt;
    Settings settings{store, prompt};
    std::unique_ptr<FlashSession> session = std::make_unique<FlashSession>(settings);

    BenchSession() {
        c55::SetC55ModelValues(settings);
        settings.PatchMaxLength = 27;
        settings.AuthorName = QStringLiteral("bench");
        session->FilePath = QStringLiteral("bench.fls");
    }
};

// 1000 pictures listed, each with a changed record byte and changed data.
BenchSession& ModifiedSession() {
    static BenchSession* s = [] {
        auto* t = new BenchSession;
        std::vector<RecordSpec> records;
        for (int i = 0; i < kPictures; ++i)
            records.push_back({kSide, kSide, 0x08, kData + i * kSide * kSide * 2});
        FlashBuilder builder = FlashBuilder::C55();
        builder.Pit(c55::kSpitAdr, kPit, records).Random(kData, kPictures * kSide * kSide * 2, 9);
        builder.LoadInto(t->session->image());
        const std::uint8_t* base = t->session->image().BaseImage();
        SearchCallbacks callbacks;
        callbacks.found = [&](std::int32_t pos, const PitRecord& record, int found, int) {
            t->session->AddFoundPicture(pos, record, found);
        };
        RunPictureSearch(base, PlanSearch(base, t->settings, false), callbacks);
        std::uint8_t* work = t->session->image().WorkImage();
        for (int i = 0; i < kPictures; ++i) {
            work[kPit + 8 * i + 2] = 0x88;
            work[kData + i * kSide * kSide * 2] ^= 0xFF;
            t->session->Rows[i][ColModified] = QStringLiteral("yes");
        }
        return t;
    }();
    return *s;
}

void BM_GeneratePatch1000Pictures(benchmark::State& state) {
    BenchSession& t = ModifiedSession();
    if (t.session->Rows.size() != kPictures) state.SkipWithError("pictures not listed");
    qsizetype lineCount = 0;
    for (auto _ : state) {
        QStringList lines;
        GeneratePatch(*t.session, lines);
        lineCount = lines.size();
        benchmark::DoNotOptimize(lines);
    }
    state.counters["lines"] = static_cast<double>(lineCount);
}
BENCHMARK(BM_GeneratePatch1000Pictures)->Unit(benchmark::kMillisecond);

// Generation and the bytes a save writes, together.
void BM_GenerateAndEncode1000Pictures(benchmark::State& state) {
    BenchSession& t = ModifiedSession();
    for (auto _ : state) {
        QStringList lines;
        GeneratePatch(*t.session, lines);
        benchmark::DoNotOptimize(EncodePatchText(lines));
    }
}
BENCHMARK(BM_GenerateAndEncode1000Pictures)->Unit(benchmark::kMillisecond);

// 20,000 lines of 27 bytes each whose old bytes match the image.
void BM_ApplyPatch20000Lines(benchmark::State& state) {
    static BenchSession t;
    static const QByteArray text = [] {
        FlashBuilder builder = FlashBuilder::C55();
        builder.Random(kData, 20000 * 27, 5);
        builder.LoadInto(t.session->image());
        const std::uint8_t* base = t.session->image().BaseImage();
        std::vector<std::uint8_t> changed(27);
        QStringList lines{QStringLiteral(";Автор патча: bench")};
        for (int i = 0; i < 20000; ++i) {
            const std::int32_t pos = kData + i * 27;
            for (int k = 0; k < 27; ++k) changed[k] = static_cast<std::uint8_t>(base[pos + k] + 1);
            lines.append(MakePatchLine(pos, c55::kFullFlash, base + pos, changed.data(), 27));
        }
        return EncodePatchText(lines);
    }();
    ApplyCounts counts;
    for (auto _ : state) {
        if (!ApplyPatchText(t.session->image(), c55::kFullFlash, text, t.prompt, &counts).ok())
            state.SkipWithError("patch refused");
    }
    state.counters["entries"] = counts.entries;
    state.SetBytesProcessed(state.iterations() * text.size());
}
BENCHMARK(BM_ApplyPatch20000Lines)->Unit(benchmark::kMillisecond);

// One replacement as the window makes it, recorded as a step to undo: both
// arrays copied before it and compared after it, among 1000 pictures.
void BM_RecordOneReplacement(benchmark::State& state) {
    BenchSession& t = ModifiedSession();
    EditRecorder recorder;
    Picture& picture = *t.session->Pictures[0];
    QImage image(kSide, kSide, QImage::Format_RGB32);
    std::size_t pictures = 0;
    int grey = 0;
    for (auto _ : state) {
        grey = (grey + 9) % 256;  // every step changes the picture
        image.fill(QColor(grey, grey, grey));
        recorder.Begin(*t.session, {0});
        bool placed = false;
        if (!picture.LoadImage(image, &placed, &t.session->Pictures).ok() || !placed)
            state.SkipWithError("not replaced");
        const PictureEdit edit = recorder.End(*t.session);
        pictures = edit.Rows().size();
        benchmark::DoNotOptimize(edit);
    }
    state.counters["pictures"] = static_cast<double>(pictures);
}
BENCHMARK(BM_RecordOneReplacement)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vorlix
