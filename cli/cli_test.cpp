#include "cli/cli.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include "builder/flash_builder.h"
#include "cli/demo_flash.h"
#include "common/prompt.h"
#include "settings/known_models.h"
#include "settings/settings.h"
#include "settings/version.h"

// Lets a failing check show the texts it compared.
inline std::ostream& operator<<(std::ostream& os, const QString& text) {
    return os << text.toStdString();
}

namespace vorlix {
namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Runs commands in-process against a settings file of its own; the demo
// FullFlash is written once for all tests.
class CliTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        demoDir_ = new QTemporaryDir;
        demo_ = demoDir_->filePath("demo.fls");
        WriteAll(demo_, BuildDemoFlash());
    }
    static void TearDownTestSuite() { delete demoDir_; }

    int Run(QStringList args) {
        out_.clear();
        err_.clear();
        QBuffer out(&out_), err(&err_);
        out.open(QIODevice::WriteOnly);
        err.open(QIODevice::WriteOnly);
        args << "--settings" << settingsPath();
        return RunCli(args, out, err);
    }
    QString Path(const QString& name) const { return dir_.filePath(name); }
    QString settingsPath() const { return Path("settings.ini"); }
    QStringList OutLines() const { return QString::fromUtf8(out_).split('\n', Qt::SkipEmptyParts); }
    QString Err() const { return QString::fromUtf8(err_); }
    QString StoredValue(const QString& subKey, const QString& name) {
        SettingsStore store(settingsPath());
        return store.HasValue(subKey, name) ? store.ReadValue(subKey, name, "") : "<none>";
    }

    static inline QTemporaryDir* demoDir_ = nullptr;
    static inline QString demo_;
    QTemporaryDir dir_;
    QByteArray out_, err_;
};

TEST_F(CliTest, InfoAndListOfTheDemoFirmware) {
    ASSERT_EQ(Run({"info", demo_}), kExitOk) << Err();
    const QStringList info = OutLines();
    EXPECT_TRUE(info.contains("ModelAndVersion: C55v50"));
    EXPECT_TRUE(info.contains("sPITAdr: 0xC4625C"));
    EXPECT_TRUE(info.contains("ExtPITAdr: 0xE7F856"));
    const DemoCounts counts = DemoPictureCounts();
    EXPECT_TRUE(info.contains(QString("Pictures: %1").arg(counts.pit + counts.ext)));
    EXPECT_TRUE(info.contains(QString("InExtPIT: %1").arg(counts.ext)));
    // A model met the first time: the warning, then its settings are stored.
    EXPECT_TRUE(Err().contains("Настройки для данной модели"));
    EXPECT_EQ(StoredValue("C55v50", "Default"), "1");

    ASSERT_EQ(Run({"list", demo_}), kExitOk) << Err();
    const QStringList rows = OutLines();
    ASSERT_EQ(rows.size(), counts.pit + counts.ext);
    EXPECT_EQ(rows[0], "1\tyes\t1\t4\t4\t660050\t500000\t3\t");
    EXPECT_TRUE(Err().isEmpty());
}

TEST_F(CliTest, ListByRecordsOverridesTheSearchForOneRunOnly) {
    {
        ScriptedPrompt prompt;
        SettingsStore store(settingsPath());
        Settings settings(store);
        settings.ModelAndVersion = "C55v50";
        ASSERT_TRUE(settings.ResetModelSettings().ok());
        ASSERT_TRUE(store.WriteValue("C55v50", "Default", "1").ok());
    }
    ASSERT_EQ(Run({"list", demo_}), kExitOk);
    const QStringList byTables = OutLines();
    ASSERT_EQ(Run({"list", demo_, "--search", "records"}), kExitOk);
    const QStringList byRecords = OutLines();
    // The scan reaches the PIT from its first record on.
    const int pit = DemoPictureCounts().pit;
    ASSERT_GE(byRecords.size(), pit);
    for (int i = 0; i < pit; ++i) EXPECT_EQ(byRecords[i], byTables[i]);
    EXPECT_EQ(StoredValue("C55v50", "SearchType"), "0");
}

TEST_F(CliTest, ModelWithoutTablesIsSearchedByRecords) {
    // Build information but no sPIT: discovery finds no tables.
    const QString flash = Path("notables.fls");
    FlashBuilder builder = FlashBuilder::C55();
    builder.BuildInfo(0x820000, "X75", 0x11);
    ASSERT_TRUE(builder.WriteFile(flash));
    ASSERT_EQ(Run({"list", flash}), kExitOk);
    EXPECT_EQ(StoredValue("X75v11", "SearchType"), "1");
    EXPECT_EQ(StoredValue("X75v11", "sPITAdr"), "0xFFFFFFFF");
}

// The window's view settings are stored back as they were when a new
// model's settings are stored, and the command line's own rule for size
// changes is not among them.
TEST_F(CliTest, ViewSettingsStayAsStoredWhenANewModelIsStored) {
    {
        SettingsStore store(settingsPath());
        ASSERT_TRUE(store.WriteValue("", "PreviewZoom", "3").ok());
        ASSERT_TRUE(store.WriteValue("", "ShowGallery", "1").ok());
        ASSERT_TRUE(store.WriteValue("", "PictureFormat", "png").ok());
        ASSERT_TRUE(store.WriteValue("", "Language", "en").ok());
    }
    ASSERT_EQ(Run({"list", demo_}), kExitOk) << Err();
    EXPECT_EQ(StoredValue("C55v50", "Default"), "1");
    EXPECT_EQ(StoredValue("", "PreviewZoom"), "3");
    EXPECT_EQ(StoredValue("", "ShowGallery"), "1");
    EXPECT_EQ(StoredValue("", "PictureFormat"), "png");
    EXPECT_EQ(StoredValue("", "Language"), "en");
    EXPECT_EQ(StoredValue("", "AskSizeChange"), "1");
    EXPECT_EQ(StoredValue("", "GalleryCell"), "64");
}

TEST_F(CliTest, ProgramSettingsAndRecentFilesStayAsStored) {
    {
        SettingsStore store(settingsPath());
        ASSERT_TRUE(store.WriteValue("", "WindowWidth", "1000").ok());
        ASSERT_TRUE(store.WriteValue("", "Recent0", "/old.fls").ok());
        ASSERT_TRUE(store.WriteValue("", "PatchMaxLength", "5").ok());
    }
    ASSERT_EQ(Run({"list", demo_}), kExitOk);  // a new model: settings are stored
    ASSERT_EQ(Run({"patch", demo_, Path("none.bmp"), "--line-length", "9", "-o", Path("p.vkp")}),
              kExitOk);
    EXPECT_EQ(StoredValue("", "WindowWidth"), "1000");
    EXPECT_EQ(StoredValue("", "Recent0"), "/old.fls");
    EXPECT_EQ(StoredValue("", "Recent1"), "");
    EXPECT_EQ(StoredValue("", "PatchMaxLength"), "5");
    EXPECT_EQ(StoredValue("", "InternalVersion"), "<none>");
}

TEST_F(CliTest, ExportPatchApplyRoundTrip) {
    ASSERT_EQ(Run({"list", demo_}), kExitOk);
    const QStringList before = OutLines();
    ASSERT_EQ(Run({"export", demo_, Path("pics")}), kExitOk) << Err();
    QStringList files;
    for (const QString& name : QDir(Path("pics")).entryList({"*.bmp"}, QDir::Files, QDir::Name))
        files << Path("pics/" + name);
    ASSERT_EQ(files.size(), before.size());

    ASSERT_EQ(Run(QStringList{"patch", demo_} + files + QStringList{"-o", Path("all.vkp")}),
              kExitOk)
        << Err();
    EXPECT_EQ(Err().trimmed(),
              QString("Удачно заменено %1 картинок из %1 выбранных").arg(files.size()));
    const QString patch = QString::fromLatin1(ReadAll(Path("all.vkp")));
    // A compressed 1-bit picture comes back uncompressed, an 8-bit one as
    // 16-bit compressed: their record lines start at the type byte.
    EXPECT_TRUE(patch.contains("\r\n660082: 81")) << "signal bars 0x81 -> 0x01";
    EXPECT_TRUE(patch.contains("\r\n660112: 05")) << "heart 0x05 -> 0x88";

    ASSERT_EQ(Run({"apply", demo_, Path("all.vkp"), "-o", Path("patched.fls")}), kExitOk) << Err();
    EXPECT_TRUE(OutLines().contains("Checked: all"));
    EXPECT_EQ(QFileInfo(Path("patched.fls")).size(), QFileInfo(demo_).size());

    ASSERT_EQ(Run({"list", Path("patched.fls")}), kExitOk);
    const QStringList after = OutLines();
    ASSERT_EQ(after.size(), before.size());
    for (int i = 0; i < before.size(); ++i) {
        const QStringList was = before[i].split('\t'), now = after[i].split('\t');
        const bool mono = was[2] == "1";
        EXPECT_EQ(now[1], mono ? "" : "yes") << before[i];
        EXPECT_EQ(now[2], mono ? "1" : "16") << before[i];
        EXPECT_EQ(now.mid(3, 3), was.mid(3, 3)) << before[i];  // X, Y, PIT
    }

    // The patched firmware shows the pictures as the files held them, up
    // to the 16-bit colour reduction.
    ASSERT_EQ(Run({"export", Path("patched.fls"), Path("again")}), kExitOk);
    for (const QString& file : files) {
        const QImage a(file), b(Path("again/" + QFileInfo(file).fileName()));
        ASSERT_EQ(a.size(), b.size()) << file.toStdString();
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x)
                ASSERT_LE(std::abs(qRed(a.pixel(x, y)) - qRed(b.pixel(x, y))) +
                              std::abs(qGreen(a.pixel(x, y)) - qGreen(b.pixel(x, y))) +
                              std::abs(qBlue(a.pixel(x, y)) - qBlue(b.pixel(x, y))),
                          30)
                    << file.toStdString() << " " << x << "," << y;
    }
}

// PNG files carry the same pixels as BMP files: exported either way and
// patched back, they make the same patch.
TEST_F(CliTest, PngRoundTripThroughExportAndPatch) {
    ASSERT_EQ(Run({"export", demo_, Path("bmp")}), kExitOk) << Err();
    ASSERT_EQ(Run({"export", demo_, Path("png"), "--format", "png"}), kExitOk) << Err();
    const QStringList bmps = QDir(Path("bmp")).entryList({"*"}, QDir::Files, QDir::Name);
    const QStringList pngs = QDir(Path("png")).entryList({"*"}, QDir::Files, QDir::Name);
    ASSERT_EQ(pngs.size(), bmps.size());
    QStringList bmpFiles, pngFiles;
    for (int i = 0; i < bmps.size(); ++i) {
        ASSERT_EQ(QFileInfo(pngs[i]).completeBaseName(), QFileInfo(bmps[i]).completeBaseName());
        ASSERT_EQ(QFileInfo(pngs[i]).suffix(), "png");
        bmpFiles << Path("bmp/" + bmps[i]);
        pngFiles << Path("png/" + pngs[i]);
        EXPECT_EQ(ReadAll(pngFiles.back()).left(4), QByteArray("\x89PNG"));
        EXPECT_EQ(QImage(pngFiles.back()).convertToFormat(QImage::Format_RGB32),
                  QImage(bmpFiles.back()).convertToFormat(QImage::Format_RGB32))
            << pngs[i].toStdString();
    }
    ASSERT_EQ(Run(QStringList{"patch", demo_} + bmpFiles + QStringList{"-o", Path("bmp.vkp")}),
              kExitOk);
    ASSERT_EQ(Run(QStringList{"patch", demo_} + pngFiles + QStringList{"-o", Path("png.vkp")}),
              kExitOk);
    EXPECT_GT(ReadAll(Path("png.vkp")).count("\r\n"), bmps.size());
    EXPECT_EQ(ReadAll(Path("png.vkp")), ReadAll(Path("bmp.vkp")));

    EXPECT_EQ(Run({"export", demo_, Path("gif"), "--format", "gif"}), kExitUsage);
    EXPECT_TRUE(Err().contains("--format")) << Err();
    EXPECT_EQ(Run({"export", demo_, Path("x"), "--format", "png", "--format", "bmp"}), kExitUsage);
}

TEST_F(CliTest, PatchOfEditedFilesHonoursTheOptions) {
    ASSERT_EQ(Run({"export", demo_, Path("pics")}), kExitOk);
    QImage heart(Path("pics/PIT_660110.bmp"));
    heart.setPixel(7, 6, qRgb(0, 0, 255));
    ASSERT_TRUE(heart.save(Path("PIT_660110 edited.bmp"), "BMP"));
    QImage digit = QImage(Path("pics/PIT_6600A8.bmp")).scaled(12, 15);
    ASSERT_TRUE(digit.save(Path("pit_6600a8.bmp"), "BMP"));
    const QStringList args = {"patch",
                              demo_,
                              Path("PIT_660110 edited.bmp"),
                              Path("pit_6600a8.bmp"),
                              Path("unrelated.bmp"),
                              "--line-length",
                              "4",
                              "--plain",
                              "--author",
                              "Иван"};
    ASSERT_EQ(Run(args), kExitOk) << Err();
    EXPECT_TRUE(Err().contains("Удачно заменено 2 картинок из 3 выбранных"));
    const QByteArray stdoutBytes = out_;
    ASSERT_EQ(Run(args + QStringList{"-o", Path("p.vkp")}), kExitOk);
    EXPECT_EQ(ReadAll(Path("p.vkp")), stdoutBytes);

    const QList<QByteArray> lines = stdoutBytes.split('\n');
    // Windows-1251: ";Автор патча: Иван", ";Сгенерировано vorlix, версия <version>".
    EXPECT_EQ(lines[0], ";\xC0\xE2\xF2\xEE\xF0 \xEF\xE0\xF2\xF7\xE0: \xC8\xE2\xE0\xED\r");
    EXPECT_EQ(lines[1], ";\xD1\xE3\xE5\xED\xE5\xF0\xE8\xF0\xEE\xE2\xE0\xED\xEE vorlix, "
                        "\xE2\xE5\xF0\xF1\xE8\xFF " VORLIX_VERSION_TEXT "\r");
    EXPECT_TRUE(lines.last().isEmpty());  // CR LF after the last line too
    // Plain order, list order: the digit (row 12) with its data, then the heart.
    EXPECT_TRUE(lines[2].startsWith("6600A8: "));
    int heartRecord = -1;
    for (int i = 3; i < lines.size() - 1; ++i) {
        if (lines[i].startsWith("660112: "))
            heartRecord = i;  // from its type byte on
        else
            EXPECT_LE(lines[i].size(), 8 + 8 + 1 + 8 + 1) << lines[i].toStdString();
    }
    EXPECT_GT(heartRecord, 3);
}

TEST_F(CliTest, ApplyAsksOnMismatchAndNeverWritesTheFlash) {
    ASSERT_EQ(Run({"export", demo_, Path("pics")}), kExitOk);
    ASSERT_EQ(Run({"patch", demo_, Path("pics/PIT_660110.bmp"), "-o", Path("p.vkp")}), kExitOk);
    const QString other = Path("other.fls");
    ASSERT_TRUE(FlashBuilder::SampleC55().WriteFile(other));
    ASSERT_EQ(Run({"apply", other, Path("p.vkp"), "-o", Path("o.fls")}), kExitError);
    EXPECT_TRUE(Err().contains("Ошибка: Данные отката не совпадают. Применять патч? [no]"));
    EXPECT_FALSE(QFile::exists(Path("o.fls")));
    ASSERT_EQ(Run({"apply", other, Path("p.vkp"), "--yes", "-o", Path("o.fls")}), kExitOk);
    EXPECT_TRUE(OutLines().contains("Checked: partly"));

    const QByteArray flash = ReadAll(other);
    QStringList sameFile = {other, Path("./other.fls")};
#ifndef Q_OS_WIN
    // On Windows QFile::link makes a shell shortcut, which the file system
    // does not follow.
    ASSERT_TRUE(QFile::link(other, Path("link.fls")));
    sameFile << Path("link.fls");
#endif
    for (const QString& out : sameFile) {
        EXPECT_EQ(Run({"apply", other, Path("p.vkp"), "--yes", "-o", out}), kExitError);
        EXPECT_TRUE(Err().contains("must not be the FullFlash")) << Err().toStdString();
        EXPECT_EQ(Run({"patch", other, "-o", out, Path("pics/PIT_660110.bmp")}), kExitError);
    }
    EXPECT_EQ(ReadAll(other), flash);

    WriteAll(Path("bad.vkp"), "; header\r\n660110: 0A0 0B0\r\n");
    EXPECT_EQ(Run({"apply", demo_, Path("bad.vkp")}), kExitError);
    EXPECT_TRUE(Err().contains("bad.vkp:2:9: нечётное число шестнадцатеричных цифр")) << Err();
    EXPECT_EQ(Run({"apply", demo_, Path("missing.vkp")}), kExitError);
}

TEST_F(CliTest, ParsePrintsEveryRecordAndNamesEveryProblem) {
    WriteAll(Path("a.vkp"),
             "/* header */\r\n#pragma enable old_equal_ff\r\n10: \"Hi\"\r\n+0x1000\r\n"
             "0xABCDE: 0x1234,0i255 0A0B0C ; c\r\n#pragma disable old_equal_ff\r\n"
             "FFFF0000: 01\r\n");
    ASSERT_EQ(Run({"parse", Path("a.vkp")}), kExitOk) << Err();
    EXPECT_EQ(OutLines(),
              (QStringList{"000010 FFFF 4869", "0ACCDE 3412FF 0A0B0C", "FFFF1000 - 01"}));
    EXPECT_TRUE(Err().isEmpty()) << Err();

    WriteAll(Path("b.vkp"), "; warned\n10: AA BB */\n11: 0A0 BB\n12: CC DD\n");
    WriteAll(Path("empty.vkp"), "; a file that only points to an attachment\n");
    EXPECT_EQ(Run({"parse", Path("a.vkp"), Path("b.vkp"), Path("empty.vkp")}), kExitError);
    const QStringList out = OutLines();
    ASSERT_EQ(out.size(), 5);
    EXPECT_EQ(out[0], Path("a.vkp") + "\t000010 FFFF 4869");
    EXPECT_EQ(out[3], Path("b.vkp") + "\t000010 AA BB");
    EXPECT_EQ(out[4], Path("b.vkp") + "\t000012 CC DD");
    EXPECT_EQ(Err(), Path("b.vkp") + ":2:11: предупреждение: «*/» без открывающего «/*»\n" +
                         Path("b.vkp") + ":3:5: нечётное число шестнадцатеричных цифр\n" +
                         Path("empty.vkp") + ": предупреждение: нет данных патча\n");

    EXPECT_EQ(Run({"parse", Path("empty.vkp")}), kExitOk);
    EXPECT_TRUE(out_.isEmpty());
    EXPECT_EQ(Run({"parse", Path("missing.vkp")}), kExitError);
    EXPECT_TRUE(Err().contains("missing.vkp"));
    EXPECT_EQ(Run({"parse"}), kExitUsage);
}

TEST_F(CliTest, ApplyAndUndoSeveralPatches) {
    const QString flash = Path("s.fls");
    ASSERT_TRUE(FlashBuilder::SampleC55().WriteFile(flash));
    const QByteArray original = ReadAll(flash);
    auto hex = [&](int pos, int n) { return original.mid(pos, n).toHex().toUpper(); };
    // The second patch relies on the first; it also writes where the first did not.
    WriteAll(Path("a.vkp"), "001000: " + hex(0x1000, 4) + " 11223344\r\n");
    WriteAll(Path("b.vkp"), "001000: 1122 5566\r\n+10\r\n001000: " + hex(0x1010, 2) + " 7788\r\n");

    ASSERT_EQ(Run({"apply", flash, Path("a.vkp"), Path("b.vkp"), "-o", Path("p.fls")}), kExitOk)
        << Err();
    EXPECT_EQ(OutLines(), (QStringList{"Entries: 3", "Bytes: 8", "Checked: all", "Skipped: 0"}));
    const QByteArray patched = ReadAll(Path("p.fls"));
    ASSERT_EQ(patched.size(), original.size());
    EXPECT_EQ(patched.mid(0x1000, 4).toHex(), "55663344");
    EXPECT_EQ(patched.mid(0x1010, 2).toHex(), "7788");

    // Undo on the patched image takes both out again, the last one first.
    ASSERT_EQ(Run({"apply", Path("p.fls"), Path("a.vkp"), Path("b.vkp"), "--undo", "-o",
                   Path("back.fls")}),
              kExitOk)
        << Err();
    EXPECT_TRUE(ReadAll(Path("back.fls")) == original);
    // On the original it finds them undone already.
    ASSERT_EQ(Run({"apply", flash, Path("a.vkp"), "--undo"}), kExitOk);
    EXPECT_TRUE(Err().contains("Патч уже откачен: «" + Path("a.vkp") + "»: ")) << Err();
    EXPECT_TRUE(OutLines().contains("Skipped: 1"));

    // All or nothing: an error in the second file writes nothing.
    WriteAll(Path("bad.vkp"), "; x\r\n001000: 5566 XX\r\n");
    EXPECT_EQ(Run({"apply", flash, Path("a.vkp"), Path("bad.vkp"), "-o", Path("no.fls")}),
              kExitError);
    EXPECT_EQ(Err(), Path("bad.vkp") +
                         ":2:14: заполнитель «XX» вместо данных: это шаблон, а не готовый патч\n");
    EXPECT_FALSE(QFile::exists(Path("no.fls")));
    // A record without old data cannot be undone.
    WriteAll(Path("new.vkp"), "001000: 01\r\n");
    EXPECT_EQ(Run({"apply", flash, Path("new.vkp"), "--undo"}), kExitError);
    EXPECT_TRUE(Err().contains("new.vkp:1:1: у записи нет данных отката")) << Err();
    ASSERT_EQ(Run({"apply", flash, Path("new.vkp")}), kExitOk);
    EXPECT_TRUE(Err().contains("new.vkp:1:1: предупреждение: записи без данных отката (1)"));
}

// Patches installed on the phone: a picture patch made on top of one never
// touches its bytes, the check tells the two ways apart, and every command
// that opens a FullFlash sees it as the phone does.
TEST_F(CliTest, InstalledPatchesAndTheConflictCheck) {
    auto picture = [&](const QString& name, int seed) {
        QImage image(30, 20, QImage::Format_RGB32);
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 30; ++x)
                image.setPixel(x, y,
                               qRgb((x * 37 + y * 11 + seed) % 256, (x * 13 + y * 71) % 256,
                                    (x * y * 7) % 256));
        EXPECT_TRUE(image.save(Path(name), "BMP"));
        return Path(name);
    };
    const QString first = picture("PIT_660110.bmp", 0), second = picture("PIT_660100.bmp", 9);
    const QString a = Path("a.vkp"), onTop = Path("on-top.vkp"), alone = Path("alone.vkp");
    ASSERT_EQ(Run({"patch", demo_, first, "-o", a}), kExitOk) << Err();
    ASSERT_EQ(Run({"patch", demo_, second, "-o", alone}), kExitOk) << Err();
    ASSERT_EQ(Run({"patch", demo_, second, "--with", a, "-o", onTop}), kExitOk) << Err();
    EXPECT_TRUE(Err().startsWith(a + ": применён, записей: ")) << Err();

    EXPECT_EQ(Run({"check", demo_, a, onTop}), kExitOk) << Err();
    EXPECT_TRUE(out_.isEmpty()) << out_.toStdString();
    EXPECT_EQ(Run({"check", demo_, a, alone}), kExitError) << Err();
    const QStringList findings = OutLines();
    ASSERT_FALSE(findings.isEmpty());
    for (const QString& line : findings) {
        EXPECT_TRUE(line.startsWith(alone + ":")) << line;
        EXPECT_TRUE(line.contains("пересекается с " + a + ":") ||
                    line.contains("данные отката не совпадают"))
            << line;
    }

    // The FullFlash as the flasher leaves it lists what --with lists, and
    // holds the patch already.
    ASSERT_EQ(Run({"apply", demo_, a, "-o", Path("flashed.fls")}), kExitOk) << Err();
    ASSERT_EQ(Run({"list", Path("flashed.fls")}), kExitOk);
    const QByteArray flashed = out_;
    ASSERT_EQ(Run({"list", demo_, "--with", a}), kExitOk);
    EXPECT_EQ(out_, flashed);
    ASSERT_EQ(Run({"info", Path("flashed.fls"), "--with", a}), kExitOk);
    EXPECT_TRUE(Err().startsWith(a + ": уже в дампе, записей: ")) << Err();
    EXPECT_EQ(Run({"check", Path("flashed.fls"), a}), kExitOk);
    EXPECT_EQ(OutLines(), QStringList{a + ": патч уже есть в дампе"});

    // A patch that does not fit calls the run off, as the question's "No".
    EXPECT_EQ(Run({"export", demo_, Path("pics"), "--with", alone, "--with", a}), kExitError);
    EXPECT_TRUE(Err().contains("Установленные патчи: Патч «a.vkp» не подходит")) << Err();
    EXPECT_TRUE(Err().contains("Открытие отменено")) << Err();
    EXPECT_TRUE(QDir(Path("pics")).isEmpty());
    // With --yes it is skipped instead.
    ASSERT_EQ(Run({"patch", demo_, first, "--with", alone, "--with", a, "--yes"}), kExitOk);
    EXPECT_TRUE(Err().contains(a + ": пропущен, записей: ")) << Err();

    EXPECT_EQ(Run({"check", demo_, Path("missing.vkp")}), kExitError);
    EXPECT_EQ(Run({"apply", demo_, a, "--with", a}), kExitUsage);
    EXPECT_EQ(Run({"check", demo_}), kExitUsage);
}

TEST_F(CliTest, FillPatchErasesEveryPicture) {
    ASSERT_EQ(Run({"fill", demo_}), kExitOk) << Err();
    const DemoCounts counts = DemoPictureCounts();
    EXPECT_TRUE(Err().endsWith(QString("Всего %1 картинок, из них %2 в PIT и %3 в ExtPIT\n")
                                   .arg(counts.pit + counts.ext)
                                   .arg(counts.pit)
                                   .arg(counts.ext)));
    EXPECT_TRUE(out_.startsWith("660050: 04048100"));
    WriteAll(Path("fill.vkp"), out_);
    ASSERT_EQ(Run({"apply", demo_, Path("fill.vkp"), "-o", Path("erased.fls")}), kExitOk) << Err();
    ASSERT_EQ(Run({"list", Path("erased.fls")}), kExitOk);
    EXPECT_TRUE(out_.isEmpty());
}

TEST_F(CliTest, WrongUsageExitsWithTwo) {
    const QList<QStringList> wrong = {
        {},
        {"bogus", demo_},
        {"list"},
        {"list", demo_, "extra"},
        {"list", demo_, "--search", "sideways"},
        {"info", demo_, "--yes"},
        {"patch", demo_},
        {"patch", demo_, "a.bmp", "--line-length", "many"},
        {"apply", demo_, "p.vkp", "-o"},
        {"export", demo_, Path("x"), "--plain"},
    };
    for (const QStringList& args : wrong) {
        EXPECT_EQ(Run(args), kExitUsage) << args.join(' ').toStdString();
        EXPECT_TRUE(Err().contains("Usage: vorlix-cli")) << args.join(' ').toStdString();
    }
    EXPECT_EQ(Run({"info", Path("missing.fls")}), kExitError);
    EXPECT_TRUE(Err().contains("missing.fls"));
}

// A picture larger than the model's maximum would vanish from the list once
// patched: without --yes no patch is written, and the message names it.
TEST_F(CliTest, PatchRefusesOversizedPicturesWithoutYes) {
    QImage big(120, 90, QImage::Format_RGB32);
    big.fill(Qt::red);
    ASSERT_TRUE(big.save(Path("PIT_660110.bmp"), "BMP"));
    const QStringList args = {"patch", demo_, Path("PIT_660110.bmp"), "-o", Path("p.vkp")};
    EXPECT_EQ(Run(args), kExitError);
    EXPECT_TRUE(Err().contains("PIT_660110.bmp: 120×90 вместо ")) << Err();
    EXPECT_TRUE(Err().contains("Патч не записан")) << Err();
    EXPECT_FALSE(QFile::exists(Path("p.vkp")));
    ASSERT_EQ(Run(args + QStringList{"--yes"}), kExitOk) << Err();
    EXPECT_TRUE(Err().contains("Удачно заменено 1 картинок из 1 выбранных; размер изменён: 1"));
}

// Every model of the table, from a dump whose build information names
// none and no stored settings: --model alone places it, finds its pictures
// at the dump's start, middle and end, and the patch made from them
// addresses file offsets of that dump, as a flasher writes them.
TEST_F(CliTest, EveryKnownModelWorksWithOnlyItsName) {
    for (const KnownModel& model : KnownModels()) {
        SCOPED_TRACE(model.name);
        const std::int32_t ff = model.fullFlash;
        const auto size = static_cast<std::int32_t>(model.dumpSize);
        const std::int32_t middle = ff + size / 2;
        const std::int32_t pit = middle + 0x10000;
        std::vector<RecordSpec> records = {
            {4, 4, 0x01, ff + 0x100},        // the dump's first bytes
            {3, 2, 0x05, middle},            // 8-bit
            {5, 1, 0x85, middle + 0x100},    // 8-bit compressed
            {2, 1, 0x87, middle + 0x200},    // 12-bit compressed
            {2, 2, 0x08, ff + size - 0x100}  // in the dump's last MiB
        };
        FlashBuilder b(size, ff);
        b.Pit(pit - 0x100, pit, records);
        b.Bytes(ff + 0x100, {0x90, 0x60, 0x60, 0x90});
        b.Bytes(middle, {0x00, 0xC0, 0xFF, 0x1F, 0x20, 0xE3});
        b.Bytes(middle + 0x100, {0x03, 0x2A, 0xFE, 0x01, 0x02});
        b.Bytes(middle + 0x200, {0xFE, 0x21, 0x03, 0x43, 0x05});
        b.Bytes(ff + size - 0x100, {0x00, 0xE0, 0x1F, 0x00, 0xE0, 0x07, 0x00, 0xF8});
        const QString dir = Path(model.name);
        ASSERT_TRUE(QDir().mkpath(dir));
        const QString flash = dir + "/dump.bin";
        ASSERT_TRUE(b.WriteFile(flash));
        const QString name = QString::fromLatin1(model.name);

        ASSERT_EQ(Run({"list", flash, "--model", name}), kExitOk) << Err();
        EXPECT_TRUE(Err().contains("известной модели " + name)) << Err();
        EXPECT_EQ(StoredValue(name, "FullFlash"), HexSetting(ff));
        EXPECT_EQ(StoredValue(name, "MaxSizeX"), QString::number(model.maxSizeX));
        const QStringList rows = OutLines();
        ASSERT_EQ(rows.size(), int(records.size()));
        for (std::size_t i = 0; i < records.size(); ++i) {
            const QStringList cells = rows[i].split('\t');
            EXPECT_EQ(cells[5], Hex6(pit + 8 * int(i) - ff));
            EXPECT_EQ(cells[6], Hex6(records[i].dataPos - ff));
        }

        ASSERT_EQ(Run({"export", flash, dir + "/pics", "--model", name}), kExitOk) << Err();
        QStringList files;
        for (const QString& f : QDir(dir + "/pics").entryList({"*.bmp"}, QDir::Files))
            files << dir + "/pics/" + f;
        ASSERT_EQ(files.size(), int(records.size()));
        ASSERT_EQ(Run(QStringList{"patch", flash, "--model", name, "-o", dir + "/all.vkp"} + files),
                  kExitOk)
            << Err();
        // Every line writes inside the dump, by file offset.
        const QStringList lines =
            QString::fromLatin1(ReadAll(dir + "/all.vkp")).split("\r\n", Qt::SkipEmptyParts);
        int written = 0;
        for (const QString& line : lines) {
            if (line.startsWith(';') || !line.contains(':')) continue;
            bool ok = false;
            const int at = line.section(':', 0, 0).toInt(&ok, 16);
            ASSERT_TRUE(ok) << line;
            EXPECT_LT(at, size) << line;
            ++written;
        }
        EXPECT_GT(written, 0);
        // The 8-bit record turns 16-bit compressed: its line starts at the type byte.
        EXPECT_TRUE(lines.join('\n').contains(Hex6(pit + 8 + 2 - ff) + ": 050000"))
            << lines.join('\n').toStdString();

        ASSERT_EQ(Run({"apply", flash, dir + "/all.vkp", "--model", name, "-o", dir + "/new.bin"}),
                  kExitOk)
            << Err();
        ASSERT_EQ(Run({"list", dir + "/new.bin", "--model", name}), kExitOk) << Err();
        const QStringList after = OutLines();
        ASSERT_EQ(after.size(), rows.size());
        for (int i = 0; i < rows.size(); ++i)
            EXPECT_EQ(after[i].split('\t').mid(3, 3), rows[i].split('\t').mid(3, 3)) << after[i];
    }
}

// A dump without build information after a known one takes the general
// settings, not those of the model opened before; --model names another.
TEST_F(CliTest, ModelOptionNamesTheModelOfADumpThatNamesNone) {
    const QString odd = Path("odd.bin");
    QByteArray bytes = ReadAll(demo_);
    // The build information ends with the model's name, 62 bytes in.
    const qsizetype name = bytes.indexOf(QByteArray("C55\0", 4));
    ASSERT_GE(name, 62);
    bytes.replace(name - 62, 66, QByteArray(66, char(0xFF)));
    WriteAll(odd, bytes);
    ASSERT_EQ(Run({"info", odd, "--model", "C55v50"}), kExitOk) << Err();
    EXPECT_TRUE(OutLines().contains("ModelAndVersion: C55v50"));
    ASSERT_EQ(Run({"info", odd}), kExitOk) << Err();
    EXPECT_TRUE(OutLines().contains("ModelAndVersion: All"));
    // A dump that names its model keeps it.
    ASSERT_EQ(Run({"info", demo_, "--model", "S55"}), kExitOk) << Err();
    EXPECT_TRUE(OutLines().contains("ModelAndVersion: C55v50"));
    EXPECT_EQ(Run({"info", demo_, "--model", ""}), kExitUsage);
    EXPECT_EQ(Run({"sample", Path("s.fls"), "--model", "C55"}), kExitUsage);
}

// Another size within the model's largest is no question: it is named on
// stderr and counted in the closing line. A picture too large names the
// neighbour that would vanish with it (the ExtPIT run's walk ends at its
// record) and needs --yes.
TEST_F(CliTest, PatchNamesSizeChangesAndAsksOnlyAboutVanishingPictures) {
    QImage other(30, 30, QImage::Format_RGB32);
    other.fill(Qt::blue);
    ASSERT_TRUE(other.save(Path("PIT_670010.bmp"), "BMP"));
    const QStringList args = {"patch", demo_, Path("PIT_670010.bmp"), "-o", Path("p.vkp")};
    ASSERT_EQ(Run(args), kExitOk) << Err();
    EXPECT_TRUE(Err().contains("PIT_670010.bmp: 30×30 вместо 28×22\n")) << Err();
    EXPECT_TRUE(Err().contains("Удачно заменено 1 картинок из 1 выбранных; размер изменён: 1"));
    EXPECT_TRUE(QFile::exists(Path("p.vkp")));

    QImage big(120, 90, QImage::Format_RGB32);
    big.fill(Qt::red);
    ASSERT_TRUE(big.save(Path("PIT_670010.bmp"), "BMP"));
    QFile::remove(Path("p.vkp"));
    EXPECT_EQ(Run(args), kExitError);
    EXPECT_TRUE(Err().contains("(PIT 670010), №")) << Err();
    EXPECT_TRUE(Err().contains("(PIT 670020).")) << Err();
    EXPECT_TRUE(Err().contains("Патч не записан")) << Err();
    EXPECT_FALSE(QFile::exists(Path("p.vkp")));
}

TEST_F(CliTest, InfoAndListWarnAboutFilesThatAreNotWhatTheySeem) {
    // 26 MiB of something that is no firmware: opened, with the same words
    // as in the window, and nothing listed.
    const QString odd = Path("odd.bin");
    WriteAll(odd, QByteArray(26 << 20, char(0x3C)));
    const QStringList expected = {
        "Предупреждение: Прошивка не опознана: блок сведений о сборке не найден, модель и версия "
        "не определены. Действуют общие настройки (All).",
        "",
        "Файл «" + QDir::toNativeSeparators(odd) +
            "» (26 МиБ) не помещается в образ целиком: используются только его первые 24 МиБ, "
            "остальное не читается.",
        "Предупреждение: Картинки не найдены. Проверьте общие настройки (All) в окне настроек "
        "редактора или в файле «" +
            QDir::toNativeSeparators(settingsPath()) +
            "» (поиск по таблицам: sPIT C4625C, ExtPIT E7F856).",
        ""};
    ASSERT_EQ(Run({"info", odd}), kExitOk) << Err();
    EXPECT_EQ(Err().split('\n'), expected);
    EXPECT_TRUE(OutLines().contains("Pictures: 0"));
    ASSERT_EQ(Run({"list", odd}), kExitOk) << Err();
    EXPECT_EQ(Err().split('\n'), expected);
    EXPECT_TRUE(out_.isEmpty());

    // Refused with the reason.
    EXPECT_EQ(Run({"list", dir_.path()}), kExitError);
    EXPECT_EQ(Err(), "Ошибка: «" + QDir::toNativeSeparators(dir_.path()) +
                         "» — это папка, а не файл FullFlash.\n");
    WriteAll(Path("empty.fls"), QByteArray());
    EXPECT_EQ(Run({"info", Path("empty.fls")}), kExitError);
    EXPECT_EQ(Err(), "Ошибка: Файл «" + QDir::toNativeSeparators(Path("empty.fls")) +
                         "» пуст: в нём нет ни одного байта FullFlash.\n");
}

TEST_F(CliTest, TheBuiltProgramRunsEndToEnd) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("VORLIX_SETTINGS", settingsPath());
    process.setProcessEnvironment(env);
    process.start(VORLIX_CLI_PATH, {"sample", Path("demo.fls")});
    ASSERT_TRUE(process.waitForFinished(60000));
    ASSERT_EQ(process.exitCode(), kExitOk);
    EXPECT_EQ(ReadAll(Path("demo.fls")), ReadAll(demo_));

    process.start(VORLIX_CLI_PATH, {"info", Path("demo.fls")});
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), kExitOk);
    EXPECT_TRUE(process.readAllStandardOutput().contains("ModelAndVersion: C55v50"));
    EXPECT_TRUE(QFile::exists(settingsPath()));

    process.start(VORLIX_CLI_PATH, {"list"});
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), kExitUsage);
    EXPECT_TRUE(process.readAllStandardError().contains("Usage:"));
}

// A patch written to standard output is the bytes of the patch file: its
// CR LF line ends pass as they are (Windows adds a CR of its own to each LF
// of a stream in text mode).
TEST_F(CliTest, PatchOnStandardOutputIsTheFileByteForByte) {
    ASSERT_EQ(Run({"fill", demo_}), kExitOk) << Err();
    const QByteArray patch = out_;
    ASSERT_TRUE(patch.contains("\r\n"));
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("VORLIX_SETTINGS", settingsPath());
    process.setProcessEnvironment(env);
    process.start(VORLIX_CLI_PATH, {"fill", demo_});
    ASSERT_TRUE(process.waitForFinished(60000));
    ASSERT_EQ(process.exitCode(), kExitOk);
    const QByteArray written = process.readAllStandardOutput();
    EXPECT_FALSE(written.contains("\r\r"));
    EXPECT_EQ(written, patch);
}

// The built program speaks the stored language, --lang overrides it for the
// run; the lines that programs read stay the same in every language.
TEST_F(CliTest, LanguageFollowsTheSettingUnlessGiven) {
    const auto run = [this](const QString& stored, const QStringList& args,
                            QString* out = nullptr) {
        SettingsStore store(settingsPath());
        EXPECT_TRUE(store.WriteValue(QString(), "Language", stored).ok());
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("VORLIX_SETTINGS", settingsPath());
        process.setProcessEnvironment(env);
        process.start(VORLIX_CLI_PATH, args);
        EXPECT_TRUE(process.waitForFinished(60000));
        if (out) *out = QString::fromUtf8(process.readAllStandardOutput());
        // Messages go to a text stream, whose lines end with CR LF on Windows.
        return std::make_pair(
            process.exitCode(),
            QString::fromUtf8(process.readAllStandardError()).replace("\r\n", "\n"));
    };
    // Messages show paths with the platform's separators.
    const QString folder = QDir::toNativeSeparators(dir_.path());
    const QString english = "Error: “" + folder + "” is a folder, not a FullFlash file.\n";
    const QString original = "Ошибка: «" + folder + "» — это папка, а не файл FullFlash.\n";
    EXPECT_EQ(run("en", {"info", dir_.path()}), std::make_pair(kExitError, english));
    EXPECT_EQ(run("original", {"info", dir_.path()}), std::make_pair(kExitError, original));
    EXPECT_EQ(run("", {"info", dir_.path()}), std::make_pair(kExitError, original));
    EXPECT_EQ(run("en", {"info", dir_.path(), "--lang", "original"}),
              std::make_pair(kExitError, original));
    EXPECT_EQ(run("original", {"info", dir_.path(), "--lang", "en"}),
              std::make_pair(kExitError, english));

    // A patch read with errors, in English.
    WriteAll(Path("bad.vkp"), "012345: 0A0 0C0\n");
    EXPECT_EQ(run("en", {"parse", Path("bad.vkp")}),
              std::make_pair(kExitError,
                             Path("bad.vkp") + ":1:9: an odd number of hexadecimal digits\n"));

    const auto [status, err] = run("original", {"info", folder, "--lang", "fr"});
    EXPECT_EQ(status, kExitUsage);
    EXPECT_TRUE(err.startsWith("vorlix-cli: --lang takes \"en\" or \"original\"\n")) << err;
    QString help;
    EXPECT_EQ(run("en", {"--help"}, &help).first, kExitOk);
    EXPECT_TRUE(help.contains("[--lang en|original]")) << help;

    // What programs read: the same keys and values.
    QString info;
    EXPECT_EQ(run("en", {"info", demo_}, &info).first, kExitOk);
    EXPECT_TRUE(info.contains("ModelAndVersion: C55v50\n")) << info;
    EXPECT_TRUE(info.contains("SearchType: tables\n")) << info;
    QString list;
    EXPECT_EQ(run("en", {"list", demo_}, &list).first, kExitOk);
    QString listOriginal;
    EXPECT_EQ(run("original", {"list", demo_}, &listOriginal).first, kExitOk);
    EXPECT_EQ(list, listOriginal);
}

}  // namespace
}  // namespace vorlix
