#include "vkp/installed_stack.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <cstring>

#include "builder/flash_builder.h"
#include "image/record_scan.h"
#include "patch/apply_files.h"
#include "patch/batch_replace.h"
#include "patch/patch_generator.h"
#include "patch/stacked_open.h"
#include "picture/color_tables.h"
#include "picture/picture.h"
#include "vkp/patch_apply.h"
#include "vkp/patch_conflicts.h"
#include "vkp/patch_file.h"

namespace vorlix {
namespace {

constexpr std::int32_t kFullFlash = c55::kFullFlash;

// A run of the program against a store of its own in which the sample's
// model is known with the built-in values: opens go by the settings.
class Program {
  public:
    explicit Program(const QTemporaryDir& dir, const QString& name = QStringLiteral("settings.ini"))
        : store_(dir.filePath(name)) {
        BuildColorTables();
        EXPECT_TRUE(store_.WriteValue("C55v50", "Default", "1").ok());
        EXPECT_TRUE(settings.LoadProgramSettings(prompt).ok() && settings.LoadModelSettings().ok());
        settings.PatchMaxLength = 27;
    }

    OpenResult Open(const QString& path, const InstalledPatchList& patches = {}) {
        const OpenResult result = OpenFullFlashStacked(
            session, path, {}, [patches] { return patches; }, prompt, stack);
        if (result == OpenResult::Opened) Search();
        return result;
    }
    void Search() {
        session.ClearPictures();
        SearchCallbacks cb;
        cb.found = [&](std::int32_t pos, const PitRecord& r, int t, int) {
            session.AddFoundPicture(pos, r, t);
        };
        const ImageBytes base = session.image().BaseBytes();
        RunPictureSearch(base, PlanSearch(base, settings, settings.SearchType), cb);
    }
    // Replaces the pictures of the files (PIT_<PIT>.bmp) and writes their
    // patch to `path`.
    void MakePatch(const QStringList& pictures, const QString& path) {
        BatchResult result;
        ASSERT_TRUE(BatchReplace(session, pictures, result).ok());
        ASSERT_EQ(result.replaced, pictures.size());
        QStringList lines;
        GeneratePatch(session, lines);
        ASSERT_TRUE(SavePatchFile(path, lines).ok());
    }
    std::vector<std::uint8_t> Base() const {
        const std::uint8_t* b = session.image().BaseImage();
        return {b, b + kImageSize};
    }

    ScriptedPrompt prompt;

  private:
    SettingsStore store_;

  public:
    Settings settings{store_};
    FlashSession session{settings};
    PatchStack stack;
};

class InstalledStackTest : public ::testing::Test {
  protected:
    QString Write(const QString& name, const QByteArray& bytes) {
        const QString path = dir_.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
        return path;
    }
    QString Flash(const QString& name, const FlashBuilder& b) { return Write(name, b.File()); }
    // A picture whose neighbouring pixels differ, so that its data is about
    // as long compressed as not: longer than the room its picture has.
    QString Bmp(const QString& name, int w, int h, int seed) {
        QImage image(w, h, QImage::Format_RGB32);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                image.setPixel(x, y,
                               qRgb((x * 37 + y * 11 + seed) % 256, (x * 13 + y * 71) % 256,
                                    (x * y * 7 + seed) % 256));
        const QString path = dir_.filePath(name);
        EXPECT_TRUE(image.save(path, "BMP"));
        return path;
    }

    QTemporaryDir dir_;
};

TEST_F(InstalledStackTest, AnEmptyListOrPatchesSwitchedOffOpenAsBefore) {
    const QString flash = Flash("c55.fls", FlashBuilder::SampleC55());
    Program plain(dir_, "plain.ini"), stacked(dir_, "stacked.ini");
    ASSERT_EQ(OpenFullFlash(plain.session, flash, {}), OpenResult::Opened);
    plain.Search();
    for (const InstalledPatchList& list :
         {InstalledPatchList{}, InstalledPatchList{{dir_.filePath("missing.vkp"), false}}}) {
        ASSERT_EQ(stacked.Open(flash, list), OpenResult::Opened);
        const FlashImage& a = plain.session.image();
        const FlashImage& b = stacked.session.image();
        EXPECT_EQ(std::memcmp(a.BaseImage(), b.BaseImage(), kImageSize), 0);
        EXPECT_EQ(std::memcmp(a.WorkImage(), b.WorkImage(), kImageSize), 0);
        EXPECT_EQ(std::memcmp(a.Usage(), b.Usage(), kImageSize), 0);
        EXPECT_EQ(stacked.session.image().ReservedMap(), nullptr);
        EXPECT_EQ(stacked.session.Rows.size(), plain.session.Rows.size());
        EXPECT_TRUE(stacked.prompt.shown().empty());
        ASSERT_EQ(stacked.stack.patches.size(), list.size());
        for (const StackedPatch& p : stacked.stack.patches) EXPECT_EQ(p.state, StackState::Off);
    }
}

// Each way a patch can stand to a dump, one patch at a time after two that
// apply, and the user's answer when it fits neither way.
TEST_F(InstalledStackTest, PresentAppliedSkippedAndError) {
    const QString flash =
        Flash("c55.fls", FlashBuilder::SampleC55().Bytes(0x812345, {0x0A, 0x0B, 0x0C, 0x0D}));
    const QString present = Write("present.vkp", "012345: 0000 0A0B\r\n");
    const QString applies = Write("applies.vkp", "; two records\n012347: 0C 11\n012348: 0D 12\n");
    const QString after = Write("after.vkp", "012347: 1112 2122\n");  // relies on applies.vkp
    const struct {
        const char* name;
        QByteArray text;
        StackState state;
        const char* note;
    } cases[] = {
        {"present2.vkp", "012349: 00 FF\n", StackState::Present, ""},
        {"neither.vkp", "\n012349: 5555 6666\n", StackState::Skipped,
         "строка 2, адрес 012349: ожидались байты 5555, в образе FFFF"},
        {"half.vkp", "012347: 2122 3132\n012349: 5555 6666\n", StackState::Skipped,
         "строка 2, адрес 012349: ожидались байты 5555, в образе FFFF"},
        {"partly.vkp", "012345: 0000 0A0B\n012400: 0000 1111\n", StackState::Skipped,
         "строка 1, адрес 012345: ожидались байты 0000, в образе 0A0B (новые байты этой записи: "
         "патч применён лишь частично?)"},
        {"odd.vkp", "012349: 555 66\n", StackState::Error,
         "«odd.vkp», строка 1, столбец 9: нечётное число шестнадцатеричных цифр"},
        {"missing.vkp", "", StackState::Error, "Не удалось прочитать файл"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = c.state == StackState::Error && c.text.isEmpty()
                                 ? dir_.filePath(c.name)
                                 : Write(c.name, c.text);
        Program run(dir_, QString::fromLatin1(c.name) + ".ini");
        run.prompt.Script({Answer::Yes});  // skip
        ASSERT_EQ(run.Open(flash, {{present}, {applies}, {after}, {path}}), OpenResult::Opened);
        const std::vector<StackedPatch>& p = run.stack.patches;
        ASSERT_EQ(p.size(), 4u);
        EXPECT_EQ(p[0].state, StackState::Present);
        EXPECT_EQ(p[1].state, StackState::Applied);
        EXPECT_EQ(p[1].records, 2);
        EXPECT_EQ(p[2].state, StackState::Applied);
        EXPECT_EQ(p[3].state, c.state);
        EXPECT_TRUE(QString::fromUtf8(c.note).isEmpty()
                        ? p[3].note.isEmpty()
                        : p[3].note.startsWith(QString::fromUtf8(c.note)))
            << p[3].note.toStdString();
        const std::uint8_t* base = run.session.image().BaseImage();
        const std::uint8_t* work = run.session.image().WorkImage();
        EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(base) + 0x812345, 5).toHex(),
                  "0a0b2122ff");  // whatever was skipped wrote nothing
        EXPECT_EQ(std::memcmp(base, work, kImageSize), 0);

        // A question only for a patch that did not go on, naming it.
        if (c.state == StackState::Present) {
            EXPECT_TRUE(run.prompt.shown().empty());
        } else {
            ASSERT_EQ(run.prompt.shown().size(), 1u);
            EXPECT_EQ(run.prompt.shown()[0].caption, "Установленные патчи");
            EXPECT_TRUE(run.prompt.shown()[0].text.contains(QString::fromLatin1(c.name)));
            EXPECT_TRUE(run.prompt.shown()[0].text.contains(QString::fromUtf8(c.note)));
        }
        // Every byte a patch that stands writes is reserved, the rest not.
        const std::uint8_t* reserved = run.session.image().ReservedMap();
        ASSERT_NE(reserved, nullptr);
        EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(reserved) + 0x812344, 7).toHex(),
                  c.state == StackState::Present ? "ff0000000000ff" : "ff00000000ffff");
    }
}

TEST_F(InstalledStackTest, CancelledOpenKeepsThePreviousImage) {
    const QString first = Flash("first.fls", FlashBuilder::SampleC55());
    const QString second = Flash("second.fls", FlashBuilder::SampleC55().Bytes(0x812345, {0x0A}));
    const QString fits = Write("fits.vkp", "012345: 0A 0B\n");
    const QString misfit = Write("misfit.vkp", "012346: 00 01\n");
    Program run(dir_);
    ASSERT_EQ(run.Open(first), OpenResult::Opened);
    Picture* picture = run.session.PictureOfRow(0);
    const std::vector<std::uint8_t> base = run.Base();
    const auto recent = run.settings.Recent;
    const std::size_t rows = run.session.Rows.size();
    run.settings.FullFlash = 0x7FF000;  // as if typed in the settings dialog

    run.prompt.Script({Answer::No});
    EXPECT_EQ(run.Open(second, {{fits}, {misfit}}), OpenResult::Cancelled);
    EXPECT_EQ(run.prompt.shown().size(), 1u);
    EXPECT_EQ(run.Base(), base);
    EXPECT_EQ(run.session.FilePath, first);
    EXPECT_EQ(run.session.Rows.size(), rows);
    EXPECT_EQ(run.session.PictureOfRow(0), picture);
    EXPECT_EQ(run.settings.Recent, recent);
    EXPECT_EQ(run.settings.FullFlash, 0x7FF000);
    EXPECT_TRUE(run.stack.patches.empty());
    EXPECT_EQ(run.session.image().ReservedMap(), nullptr);
}

// A picture patch installed: the list is the one of the FullFlash that
// has the patch written into it, picture for picture.
TEST_F(InstalledStackTest, PicturesAreListedAsThePhoneShowsThem) {
    const QString flash = Flash("c55.fls", FlashBuilder::SampleC55());
    const QString patch = dir_.filePath("pictures.vkp");
    Program maker(dir_, "maker.ini");
    ASSERT_EQ(maker.Open(flash), OpenResult::Opened);
    maker.MakePatch({Bmp("PIT_660010.bmp", 12, 9, 1), Bmp("PIT_660028.bmp", 7, 3, 2)}, patch);
    // The FullFlash with the patch written in, as a flasher leaves it.
    ASSERT_EQ(maker.Open(flash), OpenResult::Opened);
    ASSERT_TRUE(
        ApplyPatchFiles(maker.session, {patch}, PatchDirection::Apply, maker.prompt, {}).ok());
    const std::uint8_t* work = maker.session.image().WorkImage();
    const QString patched =
        Write("patched.fls",
              QByteArray(reinterpret_cast<const char*>(work) + kFullFlash, c55::kFileSize));

    Program withPatch(dir_, "with.ini"), written(dir_, "written.ini");
    ASSERT_EQ(withPatch.Open(flash, {{patch}}), OpenResult::Opened);
    ASSERT_EQ(written.Open(patched), OpenResult::Opened);
    EXPECT_EQ(withPatch.stack.patches.at(0).state, StackState::Applied);
    EXPECT_EQ(withPatch.Base(), written.Base());
    ASSERT_EQ(withPatch.session.Rows.size(), written.session.Rows.size());
    for (std::size_t r = 0; r < written.session.Rows.size(); ++r) {
        EXPECT_EQ(withPatch.session.Rows[r].texts, written.session.Rows[r].texts);
        EXPECT_EQ(withPatch.session.PictureOfRow(int(r))->DecodedBitmap,
                  written.session.PictureOfRow(int(r))->DecodedBitmap);
    }
    EXPECT_EQ(withPatch.session.Rows[0][ColX], "12");

    // Opening the patched FullFlash with the patch installed finds it there.
    ASSERT_EQ(written.Open(patched, {{patch}}), OpenResult::Opened);
    EXPECT_EQ(written.stack.patches.at(0).state, StackState::Present);
}

// A second picture patch made on top of a first never writes a byte the
// first writes, and applies after it; made without the first, the same
// patch lands on the first one's bytes, which the check reports.
TEST_F(InstalledStackTest, PatchesMadeOnTopNeverOverlapTheInstalledOnes) {
    // The first patch also writes 0xFF bytes right after its picture data,
    // where free space seems to begin.
    const QString flash = Flash("c55.fls", FlashBuilder::SampleC55());
    const QString first = dir_.filePath("first.vkp");
    std::int64_t firstEnd = 0;
    {
        Program run(dir_, "first.ini");
        ASSERT_EQ(run.Open(flash), OpenResult::Opened);
        run.MakePatch({Bmp("PIT_660020.bmp", 20, 10, 3)}, first);
        const Picture* p = run.session.PictureOfRow(2);
        firstEnd = p->DataPos() + p->Length - kFullFlash;
    }
    {
        QFile f(first);
        ASSERT_TRUE(f.open(QIODevice::Append));
        f.write(QStringLiteral("%1: FFFFFFFFFFFFFFFF FFFFFFFFFFFFFFFF\r\n")
                    .arg(firstEnd, 6, 16, QLatin1Char('0'))
                    .toLatin1());
    }
    const QStringList second = {Bmp("PIT_660018.bmp", 30, 10, 4)};
    const QString onTop = dir_.filePath("on-top.vkp"), alone = dir_.filePath("alone.vkp");
    Program top(dir_, "top.ini"), bare(dir_, "bare.ini");
    ASSERT_EQ(top.Open(flash, {{first}}), OpenResult::Opened);
    top.MakePatch(second, onTop);
    ASSERT_EQ(bare.Open(flash), OpenResult::Opened);
    bare.MakePatch(second, alone);

    EXPECT_EQ(bare.session.PictureOfRow(1)->DataPos(), kFullFlash + c55::kPlaceAdrMin);
    // On top of the first: past the first's data and the bytes it reserves.
    EXPECT_EQ(top.session.PictureOfRow(1)->DataPos(), kFullFlash + firstEnd + 8);

    std::vector<PatchSource> sources(3);
    for (auto [i, path] : {std::pair{0, first}, {1, onTop}, {2, alone}}) {
        sources[i].name = QFileInfo(path).fileName();
        ASSERT_TRUE(ReadVkpFile(path, sources[i].file).ok());
    }
    const ImageBytes dump = bare.session.image().BaseBytes();
    const std::vector<Conflict> clean =
        FindConflicts(std::span(sources).first(2), dump, kFullFlash);
    EXPECT_TRUE(clean.empty()) << ConflictText(clean.front(), sources).toStdString();

    std::vector<PatchSource> both = {sources[0], sources[2]};
    const std::vector<Conflict> found = FindConflicts(both, dump, kFullFlash);
    ASSERT_TRUE(HasConflicts(found));
    bool overlap = false, mismatch = false;
    for (const Conflict& c : found) {
        overlap |= c.kind == ConflictKind::Overlap && c.source == 1 && c.other == 0 &&
                   c.from >= 0x5E2000 && c.to <= 0x600000;
        mismatch |= c.kind == ConflictKind::Mismatch && c.source == 1;
    }
    EXPECT_TRUE(overlap);
    EXPECT_TRUE(mismatch);
}

}  // namespace
}  // namespace vorlix
