// Speed of the patch core: generating the patch of many modified pictures,
// reading V_Klay texts (long ones, and bad input of every kind), applying a
// long patch, and recording one edit for undo.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QFile>
#include <QTemporaryDir>
#include <memory>
#include <random>

#include "builder/flash_builder.h"
#include "common/prompt.h"
#include "image/record_scan.h"
#include "patch/patch_generator.h"
#include "picture/picture.h"
#include "session/flash_session.h"
#include "session/picture_edit.h"
#include "settings/settings.h"
#include "vkp/patch_apply.h"
#include "vkp/patch_file.h"
#include "vkp/patch_lines.h"
#include "vkp/vkp_reader.h"

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
    Settings settings{store};
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
        const ImageBytes base = t->session->image().BaseBytes();
        SearchCallbacks callbacks;
        callbacks.found = [&](std::int32_t pos, const PitRecord& record, int found, int) {
            t->session->AddFoundPicture(pos, record, found);
        };
        RunPictureSearch(base, PlanSearch(base, t->settings, false), callbacks);
        std::uint8_t* work = t->session->image().MutableWorkImage();
        for (int i = 0; i < kPictures; ++i) {
            work[kPit + 8 * i + 2] = 0x88;
            work[kData + i * kSide * kSide * 2] ^= 0xFF;
            t->session->PictureOfRow(i)->Modified = true;
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
        if (!ApplyPatchText(t.session->image(), c55::kFullFlash, text, t.prompt, {}, &counts).ok())
            state.SkipWithError("patch refused");
    }
    state.counters["entries"] = counts.entries;
    state.SetBytesProcessed(state.iterations() * text.size());
}
BENCHMARK(BM_ApplyPatch20000Lines)->Unit(benchmark::kMillisecond);

// Peak resident memory of the process so far, in MiB.
double PeakMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void ReadText(benchmark::State& state, const QByteArray& text) {
    std::size_t records = 0, errors = 0;
    for (auto _ : state) {
        const VkpFile f = ReadVkp(text);
        records = f.records.size();
        errors = f.errors.size();
        benchmark::DoNotOptimize(f);
    }
    state.counters["records"] = static_cast<double>(records);
    state.counters["errors"] = static_cast<double>(errors);
    state.counters["peak_MiB"] = PeakMiB();
    state.SetBytesProcessed(state.iterations() * text.size());
}

// 30,000 records of 6 old and 6 new bytes as this program writes them:
// about 1 MiB.
void BM_ReadPatch30000Records(benchmark::State& state) {
    QByteArray text = ";\xC0\xE2\xF2\xEE\xF0 \xEF\xE0\xF2\xF7\xE0: bench\r\n";
    for (int i = 0; i < 30000; ++i) {
        text +=
            QByteArray::number(0x100000 + 6 * i, 16).toUpper() + ": 001122334455 66778899AABB\r\n";
    }
    ReadText(state, text);
}
BENCHMARK(BM_ReadPatch30000Records)->Unit(benchmark::kMillisecond);

// The same count of records in the rest of the dialect: UTF-8 comments,
// offsets, pragmas, numbers and strings.
void BM_ReadDialect30000Records(benchmark::State& state) {
    QByteArray text =
        "/* Патч: картинки\r\n   и строки */\r\n#pragma enable old_equal_ff\r\n+0x10\r\n";
    for (int i = 0; i < 30000; ++i) {
        const QByteArray address = "0x" + QByteArray::number(0x100000 + 8 * i, 16);
        switch (i % 4) {
            case 0:
                text += address + ": 0x11223344,0i00255 \"Привет\" ; строка\r\n";
                break;
            case 1:
                text += address + ": 0n10101010,AABBCCDD 'ab',0i+07 // c\r\n";
                break;
            case 2:
                text += address + ": 0011223344556677 # c\r\n";
                break;
            default:
                text += address + ": A1A2,\\\r\nA3A4 B1B2B3B4\r\n";
                break;
        }
    }
    ReadText(state, text);
}
BENCHMARK(BM_ReadDialect30000Records)->Unit(benchmark::kMillisecond);

// Bad input: reading ends after a bounded count of messages, or runs once
// through the text, never holding more than the text and its records.
void BM_ReadBinaryGarbage1MiB(benchmark::State& state) {
    QByteArray text(1 << 20, 0);
    std::mt19937 random(3);
    for (char& c : text) c = static_cast<char>(random());
    ReadText(state, text);
}
BENCHMARK(BM_ReadBinaryGarbage1MiB)->Unit(benchmark::kMillisecond);

void BM_ReadOneLineOf1MiB(benchmark::State& state) {
    // A record whose data is one line of a mebibyte, then a bad character.
    ReadText(state, "10: " + QByteArray(1 << 20, 'A') + "G\r\n11: 00 01");
}
BENCHMARK(BM_ReadOneLineOf1MiB)->Unit(benchmark::kMillisecond);

void BM_ReadUnclosedString1MiB(benchmark::State& state) {
    ReadText(state, "10: \"" + QByteArray(1 << 20, 'a'));
}
BENCHMARK(BM_ReadUnclosedString1MiB)->Unit(benchmark::kMillisecond);

void BM_ReadUnclosedComment100MiB(benchmark::State& state) {
    static const QByteArray text = "10: AA BB /*" + QByteArray(100 << 20, '\n');
    ReadText(state, text);
}
BENCHMARK(BM_ReadUnclosedComment100MiB)->Unit(benchmark::kMillisecond);

void BM_ReadStrayCommentEnds1MiB(benchmark::State& state) {
    ReadText(state, "/* Ж */ " + QByteArray(1 << 19, ' ').replace(" ", "*/"));
}
BENCHMARK(BM_ReadStrayCommentEnds1MiB)->Unit(benchmark::kMillisecond);

// One UTF-8 line of a mebibyte holding a quarter of a million strings, and
// one of as many block comments: locations are counted only when needed.
void BM_ReadLineOfStringsAndComments1MiB(benchmark::State& state) {
    const QByteArray strings = QByteArray(1 << 18, ' ').replace(" ", "\"a\"");
    const QByteArray comments = QByteArray(1 << 18, ' ').replace(" ", "/**/");
    ReadText(state, "/* Ж */ 10: " + strings + "\n/* Ж */" + comments + "\n");
}
BENCHMARK(BM_ReadLineOfStringsAndComments1MiB)->Unit(benchmark::kMillisecond);

// A 100 MiB file is refused before it is read.
void BM_ReadFile100MiB(benchmark::State& state) {
    static QTemporaryDir dir;
    static const QString name = [] {
        const QString path = dir.filePath(QStringLiteral("big.vkp"));
        QFile file(path);
        if (file.open(QIODevice::WriteOnly)) file.resize(100 << 20);
        return path;
    }();
    bool refused = false;
    for (auto _ : state) {
        VkpFile f;
        refused = !ReadVkpFile(name, f).ok();
        benchmark::DoNotOptimize(f);
    }
    state.counters["refused"] = refused;
    state.counters["peak_MiB"] = PeakMiB();
}
BENCHMARK(BM_ReadFile100MiB)->Unit(benchmark::kMicrosecond);
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
        if (!picture.LoadImage(image, &t.session->Pictures).placed())
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
