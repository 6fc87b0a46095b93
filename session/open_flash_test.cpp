#include "session/open_flash.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <cstring>
#include <random>
#include <vector>
#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

#include "builder/flash_builder.h"
#include "image/record_scan.h"
#include "picture/color_tables.h"
#include "session/flash_notices.h"
#include "settings/installed_patches.h"

namespace vorlix {
namespace {

class OpenFlashTest : public ::testing::Test {
  protected:
    OpenFlashTest() {
        BuildColorTables();
        EXPECT_TRUE(settings_.LoadProgramSettings(prompt_).ok() &&
                    settings_.LoadModelSettings().ok());
        hooks_.status = [&](const QString& s) { statuses_ << s; };
        hooks_.newModel = [&] { ++newModels_; };
        // The test shows what the open reports, as a front end does.
        hooks_.notice = [&](const QString& caption, const QString& text) {
            prompt_.Tell(caption, text);
        };
    }

    OpenResult Open(const QString& name, const QByteArray& bytes) {
        const QString path = dir_.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
        f.close();
        return Open(path);
    }
    OpenResult Open(const QString& path) {
        statuses_.clear();
        const OpenOutcome outcome = OpenFullFlash(session_, path, hooks_);
        if (!outcome.error.ok() && !outcome.error.message().isEmpty())
            prompt_.Error(outcome.error.message());
        return outcome.result;
    }
    // The search as the window runs it after an open.
    int Search() {
        session_.ClearPictures();
        SearchCallbacks cb;
        cb.found = [&](std::int32_t pos, const PitRecord& r, int t, int) {
            session_.AddFoundPicture(pos, r, t);
        };
        const ImageBytes base = session_.image().BaseBytes();
        return RunPictureSearch(base, PlanSearch(base, settings_, settings_.SearchType), cb).found;
    }

    QTemporaryDir dir_;
    ScriptedPrompt prompt_;
    SettingsStore store_{dir_.filePath("settings.ini")};
    Settings settings_{store_};
    FlashSession session_{settings_};
    OpenHooks hooks_;
    QStringList statuses_;
    int newModels_ = 0;
};

TEST_F(OpenFlashTest, NewModelKnownModelAndPathsThatDoNotOpen) {
    ASSERT_EQ(Open("c55.fls", FlashBuilder::SampleC55().File()), OpenResult::Opened);
    const QString path = session_.FilePath;
    EXPECT_EQ(statuses_, QStringList({"Открытие FullFlash", "Определение версии прошивки",
                                      "Определение настроек", "Поиск PIT и ExtPIT"}));
    ASSERT_EQ(prompt_.shown().size(), 1u);  // the model's settings were not found
    EXPECT_EQ(settings_.ModelAndVersion, "C55v50");
    EXPECT_EQ(newModels_, 1);
    EXPECT_EQ(settings_.Recent[0], path);
    // Placed at the image's end, tables found, and stored.
    EXPECT_EQ(settings_.FullFlash, 0x800000);
    EXPECT_EQ(settings_.PITAdrMax, 0x800000);
    EXPECT_EQ(settings_.ExtPITAdr, c55::kExtPitAdr);
    EXPECT_EQ(store_.ReadValue("C55v50", "sPITAdr", ""), "0xC4625C");
    EXPECT_EQ(Search(), sample::kPitCount + sample::kExtCount);

    ASSERT_EQ(Open(path), OpenResult::Opened);
    EXPECT_EQ(statuses_, QStringList({"Открытие FullFlash", "Определение версии прошивки",
                                      "Загрузка данных"}));
    EXPECT_EQ(prompt_.shown().size(), 1u);
    EXPECT_TRUE(session_.Rows.empty());  // cleared for the search to come
    EXPECT_EQ(Search(), 10);

    // A path that cannot be opened empties the path and changes nothing else.
    for (const QString& bad : {dir_.filePath("missing.fls"), dir_.path()}) {
        EXPECT_EQ(Open(bad), OpenResult::NotOpened);
        EXPECT_FALSE(session_.IsOpen());
        EXPECT_EQ(session_.Rows.size(), 10u);
        EXPECT_EQ(settings_.Recent[0], path);
        EXPECT_EQ(statuses_, QStringList({"Открытие FullFlash"}));
    }

    // Stored settings that do not convert or lie outside stop the open.
    ASSERT_TRUE(store_.WriteValue("C55v50", "FullFlash", "0x2000000").ok());
    EXPECT_EQ(Open(path), OpenResult::Stopped);
    EXPECT_EQ(prompt_.shown().back().caption, kCaptionError);
    EXPECT_TRUE(prompt_.shown().back().text.contains("2000000"));
    ASSERT_TRUE(store_.WriteValue("C55v50", "FullFlash", "lots").ok());
    EXPECT_EQ(Open(path), OpenResult::Stopped);
    EXPECT_EQ(prompt_.shown().back().text, "'lots' is not a valid integer value");
}

TEST_F(OpenFlashTest, S45AndCF62FirstOpens) {
    // A 2 MiB S45 dump: discovery meets the copy at 0x800000 first, which
    // lies where the firmware's own addresses point.
    FlashBuilder s45 = FlashBuilder::S45();
    s45.BuildInfo(0x810000, "S45", 0x21)
        .Pit(0x880000, 0x890000, {{4, 4, 0x85, 0x900000}, {2, 1, 0x05, 0x900010}});
    ASSERT_EQ(Open("s45.bin", s45.Bytes(0x900000, {0x02, 0x07}).File()), OpenResult::Opened);
    EXPECT_EQ(settings_.ModelAndVersion, "S45v21");
    EXPECT_EQ(settings_.FullFlash, 0x800000);
    EXPECT_EQ(settings_.sPITAdr, 0x880000);
    EXPECT_EQ(Search(), 2);
    EXPECT_EQ(session_.Rows[1][ColPIT], "090008");

    // CF62 records hold linear addresses (paged, 0xD00000 would read 0x340000).
    FlashBuilder cf62 = FlashBuilder::CF62();
    cf62.BuildInfo(0x810000, "CF62", 0x13).Pit(0x880000, 0x890000, {{4, 4, 0x01, 0xD00000}});
    ASSERT_EQ(Open("cf62.bin", cf62.File()), OpenResult::Opened);
    EXPECT_EQ(Search(), 1);
    EXPECT_EQ(session_.Rows[0][ColData], "500000");
}

TEST_F(OpenFlashTest, BadFilesOpenAndSearchCleanly) {
    std::mt19937 gen(5);
    QByteArray random(3 << 20, Qt::Uninitialized);
    for (char& c : random) c = static_cast<char>(gen());
    QByteArray huge = random + QByteArray(17 << 20, char(0));
    // Cut inside the tables: the sPIT is there, its PIT is not.
    QByteArray truncated = FlashBuilder::SampleC55().File().left(0x460000);

    int n = 0;
    for (const QByteArray& bytes : {random, huge, truncated}) {
        SCOPED_TRACE(n);
        ASSERT_EQ(Open(QString::number(n++), bytes), OpenResult::Opened);
        if (n == 2) {  // without build information the general settings count as found
            EXPECT_EQ(settings_.ModelAndVersion, "All");
            EXPECT_EQ(statuses_.last(), "Загрузка данных");
        }
        for (const bool byRecords : {false, true}) {
            settings_.SearchType = byRecords;
            Search();
        }
    }
    EXPECT_EQ(newModels_, 1);  // the truncated sample still names its model
    EXPECT_LT(settings_.sPITAdr, 0);
}

}  // namespace
}  // namespace vorlix

namespace vorlix {
namespace {

// Files that are refused: the user is told why, the path is emptied and
// nothing else changes (rows, recent files, the image).
TEST_F(OpenFlashTest, FilesThatCannotBeAFullFlashAreRefusedWithTheReason) {
    ASSERT_EQ(Open("c55.fls", FlashBuilder::SampleC55().File()), OpenResult::Opened);
    const QString good = session_.FilePath;
    Search();
    const std::uint8_t first = session_.image().BaseImage()[sample::kPitStart];
    prompt_.Clear();

    QFile empty(dir_.filePath("empty.fls"));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    // Messages show paths with the platform's separators.
    const auto shown = QDir::toNativeSeparators;
    struct Case {
        QString path;
        QString text;
    };
    std::vector<Case> cases = {
        {dir_.filePath("missing.fls"), QString("Не удалось открыть файл «%1»: такого файла нет.")
                                           .arg(shown(dir_.filePath("missing.fls")))},
        {dir_.path(), QString("«%1» — это папка, а не файл FullFlash.").arg(shown(dir_.path()))},
        {empty.fileName(), QString("Файл «%1» пуст: в нём нет ни одного байта FullFlash.")
                               .arg(shown(empty.fileName()))},
    };
#ifndef Q_OS_WIN
    // Windows has no named pipes in its file system.
    const QString fifo = dir_.filePath("pipe");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    cases.push_back(
        {fifo, QString("«%1» — не обычный файл, FullFlash из него не читается.").arg(fifo)});
#endif
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        prompt_.Clear();
        EXPECT_EQ(Open(c.path), OpenResult::NotOpened);
        ASSERT_EQ(prompt_.shown().size(), 1u);
        EXPECT_EQ(prompt_.shown()[0].caption, kCaptionError);
        EXPECT_EQ(prompt_.shown()[0].text, c.text);
        EXPECT_FALSE(session_.IsOpen());
        EXPECT_EQ(session_.Rows.size(), 10u);
        EXPECT_EQ(settings_.Recent[0], good);
        EXPECT_EQ(session_.image().BaseImage()[sample::kPitStart], first);
    }
}

// Files that open, with what the user should know about them, in one
// warning box once the file lies in the image.
TEST_F(OpenFlashTest, FilesThatOpenWithAWarning) {
    auto warnings = [&] {
        QStringList texts;
        for (const auto& shown : prompt_.shown())
            if (shown.caption == kCaptionWarning) texts << shown.text;
        return texts;
    };
    const QString notRecognised =
        "Прошивка не опознана: блок сведений о сборке не найден, модель и версия не определены. ";

    // 20 MiB without build information, right after start-up: the image
    // grows to hold it from the general FullFlash on.
    QByteArray huge(20 << 20, char(0x5A));
    ASSERT_EQ(Open("huge.bin", huge), OpenResult::Opened);
    EXPECT_EQ(warnings(), QStringList({notRecognised + "Действуют общие настройки (All)."}));
    EXPECT_EQ(session_.image().Size(), 0x800000 + (20 << 20));
    EXPECT_EQ(session_.image().FileEnd(), 0x800000 + (20 << 20));

    // 34 MiB: what passes the largest image is cut.
    prompt_.Clear();
    ASSERT_EQ(Open("huger.bin", QByteArray(34 << 20, char(0x5A))), OpenResult::Opened);
    EXPECT_EQ(warnings(),
              QStringList({notRecognised +
                           "Действуют общие настройки (All).\n\n"
                           "Файл «" +
                           QDir::toNativeSeparators(dir_.filePath("huger.bin")) +
                           "» (34 МиБ) не помещается в образ целиком: используются только его "
                           "первые 24 МиБ, остальное не читается."}));
    EXPECT_EQ(session_.image().Size(), kMaxImageSize);

    // The sample is recognised: a new model, placed whole; no warning of ours.
    prompt_.Clear();
    FlashBuilder sample = FlashBuilder::SampleC55();
    ASSERT_EQ(Open("c55.fls", sample.File()), OpenResult::Opened);
    EXPECT_TRUE(warnings() == QStringList({prompt_.shown()[0].text}) &&
                !warnings()[0].contains("Прошивка"))
        << warnings().join('|').toStdString();

    // Known now, a 12 MiB dump of it at FullFlash 0x800000: read whole,
    // and the user learns that a C55 dump is 8 MiB.
    prompt_.Clear();
    ASSERT_EQ(Open("c55-12.fls", sample.File() + QByteArray(4 << 20, char(0xFF))),
              OpenResult::Opened);
    ASSERT_EQ(warnings().size(), 1);
    EXPECT_TRUE(warnings()[0].contains("(12 МиБ)") &&
                warnings()[0].contains("последние 4 МиБ не используются"))
        << warnings()[0].toStdString();

    // 16 MiB without build information after the C55: the general
    // settings, not that model's.
    prompt_.Clear();
    ASSERT_EQ(Open("16.bin", QByteArray(16 << 20, char(0x11))), OpenResult::Opened);
    EXPECT_EQ(settings_.ModelAndVersion, "All");
    EXPECT_EQ(warnings(), QStringList({notRecognised + "Действуют общие настройки (All)."}));

    // A first open of a new model: a file longer than the 24-bit space
    // starts the image and is read whole.
    prompt_.Clear();
    settings_.ModelAndVersion = Settings::kGeneralKey;
    sample.BuildInfo(sample::kBuildInfo, "X75", 0x11);
    ASSERT_EQ(Open("x75.fls", sample.File() + QByteArray(9 << 20, char(0xFF)) + "tail"),
              OpenResult::Opened);
    ASSERT_EQ(warnings().size(), 1);  // the model's settings were not found
    EXPECT_EQ(settings_.FullFlash, 0);
    EXPECT_EQ(settings_.PlaceAdrMax, 17825796);
    EXPECT_EQ(session_.image().Size(), 17825796);
}

// A dump cut short says by how much it falls short of its firmware's flash,
// and new data never goes past its end.
TEST_F(OpenFlashTest, CutDumpSaysSoAndTakesNoDataPastItsEnd) {
    const QByteArray whole = FlashBuilder::SampleC55().File();
    ASSERT_EQ(Open("c55.fls", whole), OpenResult::Opened);
    struct Case {
        int length;
        QString missing;
    };
    for (const Case& c : {Case{6000000, "2388608 байт"}, Case{8000000, "388608 байт"}}) {
        SCOPED_TRACE(c.length);
        prompt_.Clear();
        const QString name = QString("cut%1.fls").arg(c.length);
        ASSERT_EQ(Open(name, whole.left(c.length)), OpenResult::Opened);
        ASSERT_EQ(prompt_.shown().size(), 1u);
        EXPECT_EQ(prompt_.shown()[0].text,
                  "Файл «" + QDir::toNativeSeparators(dir_.filePath(name)) +
                      QString("» (%1 байт) короче флэш-памяти "
                              "прошивки (8 МиБ): не хватает ")
                          .arg(c.length) +
                      c.missing + ". Новые данные не размещаются за концом файла.");
    }
    // The placement area reaches the flash's end; only what the file holds
    // of it is free for new data.
    settings_.PlaceAdrMin = 8000000 - 0x3000;
    settings_.PlaceAdrMax = 0x800000;
    ASSERT_GT(Search(), 0);
    const Picture& p = *session_.Pictures[0];
    EXPECT_EQ(p.FindFreePlace(0x4000), kNoPlace);
    const std::int32_t at = p.FindFreePlace(0x1000);
    ASSERT_NE(at, kNoPlace);
    EXPECT_LE(at + 0x1000, c55::kFullFlash + 8000000);
}

// A file that names no model after one that did: the general settings, and
// none of the previous model's installed patches.
TEST_F(OpenFlashTest, UnrecognisedFileLeavesThePreviousModelBehind) {
    ASSERT_EQ(Open("c55.fls", FlashBuilder::SampleC55().File()), OpenResult::Opened);
    ASSERT_TRUE(store_.WriteValue("C55v50", "FullFlash", "0x700000").ok());
    ASSERT_EQ(Open(session_.FilePath), OpenResult::Opened);
    ASSERT_EQ(settings_.FullFlash, 0x700000);
    ASSERT_TRUE(WriteInstalledPatches(store_, "C55v50", {{dir_.filePath("p.vkp"), true}}).ok());

    QStringList askedFor;
    hooks_.placed = [&](WritableImageBytes, std::vector<ImageRange>&) {
        askedFor << settings_.ModelAndVersion;
        return true;
    };
    ASSERT_EQ(Open("random.bin", QByteArray(3 << 20, char(0x5A))), OpenResult::Opened);
    EXPECT_EQ(settings_.ModelAndVersion, "All");
    EXPECT_EQ(settings_.FullFlash, 0x800000);
    // The window reads the installed patches of the model in force.
    EXPECT_EQ(askedFor, QStringList({"All"}));
    EXPECT_TRUE(ReadInstalledPatches(store_, settings_.ModelAndVersion).empty());
}

// The first open of a model of the table takes its values; stored settings
// win from then on. A dump that names no known model lets the front end
// choose one, as a known model or as a stored model-and-version.
TEST_F(OpenFlashTest, KnownModelsAndTheModelChoice) {
    // The S55's 16 MiB lie at 0x400000: the last of its pictures sits
    // past the 24-bit space.
    FlashBuilder s55(16 << 20, 0x400000);
    s55.BuildInfo(0x420000, "S55", 0x12)
        .Pit(0x900000, 0x900100, {{4, 4, 0x01, 0x500000}, {4, 4, 0x01, 0x13FFFF0}})
        .Bytes(0x500000, {0x90, 0x60, 0x60, 0x90})
        .Bytes(0x13FFFF0, {0x60, 0x90, 0x90, 0x60});
    ASSERT_EQ(Open("s55.bin", s55.File()), OpenResult::Opened);
    EXPECT_EQ(settings_.ModelAndVersion, "S55v12");
    EXPECT_EQ(settings_.FullFlash, 0x400000);
    EXPECT_EQ(settings_.PITAdrMax, 16 << 20);  // the whole dump
    EXPECT_EQ(settings_.MaxSizeX, 101);
    EXPECT_EQ(newModels_, 1);
    ASSERT_EQ(prompt_.shown().size(), 1u);
    EXPECT_TRUE(prompt_.shown()[0].text.startsWith(
        "Настройки для данной модели и версии прошивки (S55v12) не найдены: взяты значения "
        "известной модели S55 (начало FullFlash 400000, картинки до 101×80)"))
        << prompt_.shown()[0].text.toStdString();
    EXPECT_EQ(session_.image().Size(), 0x1400000);
    ASSERT_EQ(Search(), 2);
    EXPECT_EQ(session_.Pictures[1]->DataPos(), 0x13FFFF0);
    EXPECT_EQ(session_.Pictures[1]->DecodedBitmap.pixel(1, 0), qRgb(0, 0, 0));

    ASSERT_TRUE(store_.WriteValue("S55v12", "MaxSizeX", "50").ok());
    ASSERT_EQ(Open(session_.FilePath), OpenResult::Opened);
    EXPECT_EQ(settings_.MaxSizeX, 50);

    // No build information: the choice decides, under the model's name.
    QStringList offered;
    QString answer = "a50";
    hooks_.chooseModel = [&](const QString& found) {
        offered << found;
        return ModelChoice{true, answer};
    };
    FlashBuilder a50(4 << 20, 0xC00000);
    a50.Pit(0xD00000, 0xD00100, {{4, 4, 0x01, 0xC10000}}).Bytes(0xC10000, {1, 2, 3, 4});
    prompt_.Clear();
    ASSERT_EQ(Open("a50.bin", a50.File()), OpenResult::Opened);
    EXPECT_EQ(offered, QStringList({""}));
    EXPECT_EQ(settings_.ModelAndVersion, "A50");
    EXPECT_EQ(settings_.FullFlash, 0xC00000);
    EXPECT_EQ(settings_.MaxSizeY, 64);
    EXPECT_EQ(Search(), 1);

    // A name the table lacks and the store does not hold is offered; a
    // model-and-version text chosen brings its stored settings.
    answer = "S55v12";
    FlashBuilder x = FlashBuilder::C55();
    x.BuildInfo(0x820000, "X99", 0x01);
    ASSERT_EQ(Open("x99.bin", x.File()), OpenResult::Opened);
    EXPECT_EQ(offered.last(), "X99v01");
    EXPECT_EQ(settings_.ModelAndVersion, "S55v12");
    EXPECT_EQ(settings_.MaxSizeX, 50);

    // None of these: as without a choice. The question was the new-model
    // warning, which is not shown again.
    answer.clear();
    prompt_.Clear();
    x.BuildInfo(0x820000, "X98", 0x01);
    ASSERT_EQ(Open("x98.bin", x.File()), OpenResult::Opened);
    EXPECT_EQ(settings_.ModelAndVersion, "X98v01");
    EXPECT_EQ(settings_.FullFlash, 0x800000);
    EXPECT_TRUE(prompt_.shown().empty());
    ASSERT_EQ(Open("other.bin", a50.File()), OpenResult::Opened);
    EXPECT_EQ(settings_.ModelAndVersion, "All");
    ASSERT_FALSE(prompt_.shown().empty());
    EXPECT_TRUE(prompt_.shown()[0].text.startsWith("Прошивка не опознана"));

    // A dump that names a known model is never asked about.
    offered.clear();
    ASSERT_EQ(Open("s55.bin", s55.File()), OpenResult::Opened);
    EXPECT_TRUE(offered.isEmpty());
}

TEST(FlashNoticesTest, NoPicturesSaysWhereTheSearchLooked) {
    QTemporaryDir dir;
    ScriptedPrompt prompt;
    SettingsStore store(dir.filePath("settings.ini"));
    Settings s(store);
    c55::SetC55ModelValues(s);
    EXPECT_EQ(NoPicturesText(s, false, "кнопкой"),
              "Картинки не найдены. Проверьте общие настройки (All) кнопкой (поиск по таблицам: "
              "sPIT C4625C, ExtPIT E7F856).");
    s.ModelAndVersion = "C55v50";
    s.sPITAdr = -1;
    s.ExtPITAdr = 0;
    EXPECT_EQ(NoPicturesText(s, false, "кнопкой"),
              "Картинки не найдены. Проверьте настройки модели C55v50 кнопкой (поиск по таблицам: "
              "sPIT не найден, ExtPIT нет).");
    EXPECT_EQ(NoPicturesText(s, true, "кнопкой"),
              "Картинки не найдены. Проверьте настройки модели C55v50 кнопкой (поиск по "
              "PIT-записям в диапазоне 660000–680000).");
}

}  // namespace
}  // namespace vorlix
