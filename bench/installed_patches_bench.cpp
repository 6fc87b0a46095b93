// Speed of the patches installed on the phone: opening a FullFlash with
// none and with 50 installed patches of 1,000 records each (the difference
// is what the patches add to the open), and the conflict check of 200
// patches of 1,000 records each.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>
#include <memory>
#include <random>

#include "builder/flash_builder.h"
#include "common/prompt.h"
#include "patch/stacked_open.h"
#include "picture/color_tables.h"
#include "settings/settings.h"
#include "vkp/installed_stack.h"
#include "vkp/patch_conflicts.h"

namespace vorlix {
namespace {

constexpr int kRecords = 1000;
constexpr int kRecordBytes = 8;
constexpr std::int32_t kArea = 0x100000;  // file offset of the bytes the patches change

QByteArray Hex(const QByteArray& bytes) { return bytes.toHex().toUpper(); }

// `files` patches of kRecords records each over the random bytes of a
// FullFlash; each record changes kRecordBytes bytes that no other record
// touches, so that every patch applies after the ones before it.
struct PatchSet {
    QTemporaryDir dir;
    QString flash;
    std::vector<QString> paths;

    explicit PatchSet(int files, int overlapsEvery = 0) {
        const int total = files * kRecords * kRecordBytes;
        FlashBuilder builder = FlashBuilder::SampleC55();
        builder.Random(c55::kFullFlash + kArea, total, 5);
        flash = dir.filePath(QStringLiteral("bench.fls"));
        builder.WriteFile(flash);
        const QByteArray& file = builder.File();
        std::mt19937 gen(3);
        for (int f = 0; f < files; ++f) {
            QByteArray text = ";generated for the benchmark\r\n";
            for (int r = 0; r < kRecords; ++r) {
                std::int32_t at = kArea + (f * kRecords + r) * kRecordBytes;
                // Now and then a record lands on the next record of the file
                // before, which stays where it is.
                if (overlapsEvery > 0 && f > 0 && r % overlapsEvery == 0)
                    at -= (kRecords - 1) * kRecordBytes;
                QByteArray now(kRecordBytes, Qt::Uninitialized);
                for (char& c : now) c = static_cast<char>(gen());
                text += QByteArray::number(at, 16).toUpper().rightJustified(6, '0') + ": " +
                        Hex(file.mid(at, kRecordBytes)) + ' ' + Hex(now) + "\r\n";
            }
            const QString path = dir.filePath(QStringLiteral("p%1.vkp").arg(f));
            QFile out(path);
            out.open(QIODevice::WriteOnly);
            out.write(text);
            paths.push_back(path);
        }
    }
};

// One open of the FullFlash with the first `state.range(0)` patches of a
// set of 50 installed, through the procedure the window and the command
// line use.
void BM_OpenWithInstalledPatches(benchmark::State& state) {
    static PatchSet* set = new PatchSet(50);
    BuildColorTables();
    QTemporaryDir dir;
    SettingsStore store(dir.filePath(QStringLiteral("settings.ini")));
    (void)store.WriteValue(QStringLiteral("C55v50"), QStringLiteral("Default"),
                           QStringLiteral("1"));
    ScriptedPrompt prompt;
    Settings settings(store);
    (void)settings.LoadProgramSettings(prompt);
    (void)settings.LoadModelSettings();
    auto session = std::make_unique<FlashSession>(settings);
    InstalledPatchList list;
    for (int i = 0; i < state.range(0); ++i) list.push_back({set->paths[std::size_t(i)], true});
    PatchStack stack;
    int applied = 0;
    for (auto _ : state) {
        if (OpenFullFlashStacked(
                *session, set->flash, {}, [&] { return list; }, prompt, stack) !=
            OpenResult::Opened)
            state.SkipWithError("not opened");
        applied = 0;
        for (const StackedPatch& p : stack.patches) applied += p.state == StackState::Applied;
    }
    if (applied != state.range(0)) state.SkipWithError("not every patch applied");
    state.counters["patches"] = static_cast<double>(applied);
}
BENCHMARK(BM_OpenWithInstalledPatches)->Arg(0)->Arg(50)->Unit(benchmark::kMillisecond);

// The check of 200 patches read already, against the FullFlash: the sweep
// for overlaps (one record in 50 lands on the file before) and the old
// bytes in sequence.
void BM_Check200Patches(benchmark::State& state) {
    static PatchSet* set = new PatchSet(200, 50);
    std::vector<PatchSource> sources(set->paths.size());
    for (std::size_t i = 0; i < sources.size(); ++i) {
        sources[i].name = set->paths[i];
        if (!ReadVkpFile(set->paths[i], sources[i].file).ok()) state.SkipWithError("not read");
    }
    FlashImage image;
    FlashBuilder::SampleC55()
        .Random(c55::kFullFlash + kArea, 200 * kRecords * kRecordBytes, 5)
        .LoadInto(image);
    std::size_t found = 0;
    for (auto _ : state) {
        const std::vector<Conflict> conflicts =
            FindConflicts(sources, image.BaseBytes(), c55::kFullFlash);
        found = conflicts.size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["findings"] = static_cast<double>(found);
    state.counters["records"] = 200.0 * kRecords;
}
BENCHMARK(BM_Check200Patches)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vorlix
