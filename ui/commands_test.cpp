#include <QBuffer>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QDialog>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTest>
#include <QTreeView>
#include <cstring>

#include "cli/cli.h"
#include "cli/demo_flash.h"
#include "picture/picture.h"
#include "settings/version.h"
#include "ui/picture_list_model.h"
#include "ui/preview_pane.h"
#include "ui/ui_test_support.h"
#include "vkp/patch_apply.h"

using namespace vorlix;

namespace {

const QString kYes = QStringLiteral("yes");

QString Cell(TForm1& w, int row, int column) { return w.session().Rows.at(row)[column]; }
Picture& Pic(TForm1& w, int row) { return *w.session().PictureOfRow(row); }

// Opens `path` in a fresh window; a new firmware's settings dialog is accepted.
// These commands replace pictures by files of other sizes on purpose; the
// question a size change asks has tests of its own.
TForm1& Opened(ProgramRun& run, const QString& path) {
    TForm1& w = run.Start();
    w.settings().AskSizeChange = false;
    run.dialogs.modalSteps.push_back([](QDialog& d) { d.accept(); });
    w.OpenFullFlash(path);
    if (!WaitForSearch(w)) qFatal("search did not end");
    // The question before the first placement in a new firmware's area has
    // a test of its own.
    w.session().PlacementAreaAccepted = true;
    return w;
}

void Select(TForm1& w, std::initializer_list<int> rows) {
    auto* selection = w.ListView1->selectionModel();
    selection->clearSelection();
    for (int row : rows)
        selection->setCurrentIndex(w.model().index(row, 0),
                                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

// A colourful picture file, white in its first pixel.
QString WriteBmp(const QString& path, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgb(x * 40 % 256, y * 50 % 256, (x + y) * 30 % 256));
    image.setPixel(0, 0, qRgb(255, 255, 255));
    if (!image.save(path, "BMP")) qFatal("cannot write %s", qPrintable(path));
    return path;
}

QString WriteText(const QString& path, const QByteArray& text) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(text) != text.size()) qFatal("cannot write");
    return path;
}

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

std::vector<std::uint8_t> WorkCopy(TForm1& w) {
    const std::uint8_t* work = w.session().image().WorkImage();
    return {work, work + kImageSize};
}

bool WorkIs(TForm1& w, const std::vector<std::uint8_t>& image) {
    return std::memcmp(w.session().image().WorkImage(), image.data(), kImageSize) == 0;
}

QStringList PaneLines(TForm1& w) {
    return w.Memo1->toPlainText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

const ScriptedPrompt::Shown& LastBox(ProgramRun& run) {
    return run.dialogs.prompt().shown().back();
}

}  // namespace

class CommandsTest : public QObject {
    Q_OBJECT
  private slots:
    void replaceAndChangeDepth();
    void savePictures();
    void generateSaveAndApply();
    void batchLoad();
    void fillAndRowCommandsAfterIt();
    void windowAndCommandLineMakeTheSamePatch();
    void applyAndUndoSeveralPatches();
    void replacementsTellWhatFollows();
};

void CommandsTest::replaceAndChangeDepth() {
    TestFolder folder;
    const QString flash = folder.Write(FlashBuilder::SampleC55(), QStringLiteral("s.fls"));
    ProgramRun run(folder.Ini());
    TForm1& w = Opened(run, flash);
    const QString bmp = WriteBmp(folder.dir.filePath(QStringLiteral("new.bmp")), QSize(6, 5));

    // An 8-bit picture becomes 16-bit compressed at the file's size.
    Select(w, {1});
    run.dialogs.openAnswers.push_back(bmp);
    w.Load1Click();
    QVERIFY(run.dialogs.fileDialogsShown.back().filter.contains(QStringLiteral("*.png")));
    Picture& p = Pic(w, 1);
    QCOMPARE(int(p.Type()), 0x88);
    QCOMPARE(Cell(w, 1, ColCompressed), kYes);
    QCOMPARE(Cell(w, 1, ColDepth), QStringLiteral("16"));
    QCOMPARE(Cell(w, 1, ColX) + Cell(w, 1, ColY), QStringLiteral("65"));
    QCOMPARE(Cell(w, 1, ColData), Hex6(p.DataPos() - c55::kFullFlash));
    QCOMPARE(Cell(w, 1, ColModified), kYes);
    QCOMPARE(w.RadioGroup1ItemIndex(), 4);
    QVERIFY(w.CheckBox3->isChecked());
    QCOMPARE(w.Image2->bitmap().size(), QSize(8, 7));
    QCOMPARE(w.Image2->bitmap().pixel(1, 1), qRgb(247, 247, 247));  // white, colour-reduced
    QCOMPARE(w.StatusText(0), bmp);

    // A file that is no picture: the error, and nothing changes.
    Select(w, {1});
    const auto work = WorkCopy(w);
    const ListRow row = w.session().Rows[1];
    run.dialogs.openAnswers.push_back(WriteText(folder.dir.filePath("bad.bmp"), "no picture"));
    w.Load1Click();
    QCOMPARE(LastBox(run).caption, QStringLiteral("Ошибка"));
    QVERIFY(WorkIs(w, work));
    QVERIFY(w.session().Rows[1].texts == row.texts);
    QCOMPARE(int(p.Type()), 0x88);

    // Every offered depth, plain and compressed, from the loaded file.
    const int depths[] = {1, 0, 8, 12, 16};
    for (const bool compressed : {false, true}) {
        for (const int item : {0, 2, 3, 4}) {
            w.SetRadioGroup1ItemIndex(item);
            w.CheckBox3->setChecked(compressed);
            const int type = TForm1::kDepthCodes[item] | (compressed ? 0x80 : 0);
            QCOMPARE(int(p.Type()), type);
            QCOMPARE(int(w.session().image().MutableWorkImage()[p.RecordPos + 2]), type);
            QCOMPARE(Cell(w, 1, ColDepth), QString::number(depths[item]));
            QCOMPARE(Cell(w, 1, ColCompressed), compressed ? kYes : QString());
            QCOMPARE(p.DecodedBitmap.size(), QSize(6, 5));
        }
    }
    // "2 bit" with the compress box ticked encodes plain 2-bit, clears the
    // box and says why, without a question; ticking the box again keeps it.
    run.dialogs.prompt().Clear();
    w.SetRadioGroup1ItemIndex(1);
    for (int tick = 0; tick < 2; ++tick) {
        QCOMPARE(int(p.Type()), 0x03);
        QCOMPARE(int(w.session().image().MutableWorkImage()[p.RecordPos + 2]), 0x03);
        QCOMPARE(Cell(w, 1, ColDepth), QStringLiteral("2"));
        QVERIFY(Cell(w, 1, ColCompressed).isEmpty());
        QCOMPARE(w.RadioGroup1ItemIndex(), 1);
        QVERIFY(!w.CheckBox3->isChecked());
        QVERIFY(w.StatusText(2).startsWith(QStringLiteral(
            "Сжатие 2-битных картинок не поддерживается: картинка сохранена без сжатия")));
        w.CheckBox3->setChecked(true);
    }
    QVERIFY(run.dialogs.prompt().shown().empty());

    // A depth whose data finds no place: the picture keeps its type and the
    // controls show it.
    w.CheckBox3->setChecked(false);
    w.SetRadioGroup1ItemIndex(0);
    QCOMPARE(int(p.Type()), 0x01);
    std::uint8_t* working = w.session().image().MutableWorkImage();
    const Settings& settings = w.session().settings();
    std::memset(working + settings.FullFlash + settings.PlaceAdrMin, 0x00,
                settings.PlaceAdrMax - settings.PlaceAdrMin);
    std::memset(working + p.DataPos() + p.Length, 0x00, 64);
    w.SetRadioGroup1ItemIndex(4);
    QCOMPARE(int(p.Type()), 0x01);
    QCOMPARE(w.RadioGroup1ItemIndex(), 0);
    QVERIFY(!w.CheckBox3->isChecked());
}

void CommandsTest::savePictures() {
    TestFolder folder;
    const QString flash = folder.Write(FlashBuilder::SampleC55(), QStringLiteral("s.fls"));
    ProgramRun run(folder.Ini());
    TForm1& w = Opened(run, flash);
    QDir dir(folder.dir.path());
    dir.mkdir(QStringLiteral("auto"));
    dir.mkdir(QStringLiteral("sub"));
    const auto savedAs = [&](const QString& path, int row) {
        const QImage file(path);
        return !file.isNull() &&
               file.convertToFormat(QImage::Format_RGB32) ==
                   Pic(w, row).DecodedBitmap.convertToFormat(QImage::Format_RGB32);
    };

    // Automatic names go into the folder chosen last.
    Select(w, {0, 1, 2});
    w.RememberFolder(dir.filePath(QStringLiteral("auto/x.fls")));
    w.CheckBox1->setChecked(true);
    w.Save1Click();
    QVERIFY(savedAs(dir.filePath("auto/PIT_660010.bmp"), 0));
    QVERIFY(savedAs(dir.filePath("auto/PIT_660018.bmp"), 1));
    QVERIFY(savedAs(dir.filePath("auto/PIT_660020.bmp"), 2));
    QCOMPARE(w.StatusText(0), QStringLiteral("Сохранено 3 картинок в папку «%1»")
                                  .arg(QDir::toNativeSeparators(dir.filePath("auto"))));

    // Manual names: cancel + No skips the first; cancel + Yes names the
    // rest automatically, in the folder of the last file chosen.
    w.CheckBox1->setChecked(false);
    auto& prompt = run.dialogs.prompt();
    prompt.Clear();
    Select(w, {0, 1, 2, 3});
    run.dialogs.saveAnswers = {{}, {dir.filePath("sub/b.bmp"), 0}, {}};
    prompt.Script({Answer::No, Answer::Yes});
    w.Save1Click();
    QCOMPARE(run.dialogs.fileDialogsShown.size(), std::size_t{3});
    QCOMPARE(run.dialogs.fileDialogsShown[0].initialName, QStringLiteral("PIT_660010"));
    QCOMPARE(run.dialogs.fileDialogsShown[0].filter,
             QStringLiteral("Bitmap (*.bmp);;PNG (*.png);;Все файлы (*.*)"));
    QCOMPARE(prompt.shown()[0].caption, QStringLiteral("Отменить ручное именование файлов?"));
    QCOMPARE(prompt.shown()[0].text,
             QStringLiteral("Если Вы нажмёте \"Да\", то оставшиеся картинки будут сохранены в "
                            "последней выбранной папке с автоматически назначенным именем.\n"
                            "Если Вы нажмёте \"Нет\", то продолжите ручное задание имён для "
                            "остальных картинок\n"
                            "Если Вы нажмёте \"Отмена\", то сохранение будет прервано"));
    QVERIFY(prompt.shown()[0].buttons == Buttons::YesNoCancel);
    QVERIFY(!QFile::exists(dir.filePath("sub/PIT_660010.bmp")));
    QVERIFY(savedAs(dir.filePath("sub/b.bmp"), 1));
    QVERIFY(savedAs(dir.filePath("sub/PIT_660020.bmp"), 2));
    QVERIFY(savedAs(dir.filePath("sub/PIT_660028.bmp"), 3));
    QVERIFY(!w.CheckBox1->isChecked());

    // Cancel stops at once.
    run.dialogs.fileDialogsShown.clear();
    prompt.Script({Answer::Cancel});
    w.Save1Click();
    QCOMPARE(run.dialogs.fileDialogsShown.size(), std::size_t{1});

    // A file that cannot be written ends the save; earlier files stay.
    run.dialogs.fileDialogsShown.clear();
    run.dialogs.saveAnswers = {{dir.filePath("c.bmp"), 0}, {dir.filePath("no/such/d.bmp"), 0}};
    w.Save1Click();
    QCOMPARE(LastBox(run).caption, QStringLiteral("Ошибка"));
    QCOMPARE(run.dialogs.fileDialogsShown.size(), std::size_t{2});
    QVERIFY(savedAs(dir.filePath("c.bmp"), 0));
}

void CommandsTest::generateSaveAndApply() {
    TestFolder folder;
    const QString flash = folder.Write(FlashBuilder::SampleC55(), QStringLiteral("s.fls"));
    ProgramRun run(folder.Ini());
    TForm1& w = Opened(run, flash);
    w.settings().AuthorName = QStringLiteral("Автор");
    w.settings().PatchMaxLength = 4;
    // Width and height kept: the record lines begin at the type byte.
    for (const int row : {1, 2}) {
        Select(w, {row});
        run.dialogs.openAnswers.push_back(
            WriteBmp(folder.dir.filePath(QStringLiteral("%1.bmp").arg(row)),
                     row == 1 ? QSize(3, 2) : QSize(2, 2)));
        w.Load1Click();
    }
    const Picture& p1 = Pic(w, 1);
    const Picture& p2 = Pic(w, 2);
    const auto recordLine = [](const Picture& p) {
        return Hex6(p.RecordPos + 2 - c55::kFullFlash) + QLatin1Char(':');
    };
    const auto dataLines = [](const Picture& p) { return (p.Length + 3) / 4; };
    const QString author = QStringLiteral(";Автор патча: Автор");
    const QString version = QStringLiteral(";Сгенерировано vorlix, версия " VORLIX_VERSION_TEXT);

    // Records first, then the data blocks.
    w.MakePatchClick();
    QStringList lines = PaneLines(w);
    QCOMPARE(lines.size(), 4 + dataLines(p1) + dataLines(p2));
    QCOMPARE(lines.mid(0, 2), (QStringList{author, version}));
    QVERIFY(lines[2].startsWith(recordLine(p1)) && lines[3].startsWith(recordLine(p2)));
    QVERIFY(lines[4].startsWith(Hex6(p1.DataPos() - c55::kFullFlash) + QLatin1Char(':')));
    QCOMPARE(w.ProgressBar1->value(), 0);
    QVERIFY(!w.Memo1->isHidden());

    // New patch: No keeps the text, Yes clears it.
    run.dialogs.prompt().Script({Answer::No, Answer::Yes});
    w.EditDelete1Execute();
    QCOMPARE(LastBox(run).caption, QStringLiteral("Создание нового патча"));
    QCOMPARE(LastBox(run).text, QStringLiteral("Данные текущего патча будуь утеряны. Продолжить?"));
    QVERIFY(!w.Memo1->toPlainText().isEmpty());
    w.EditDelete1Execute();
    QVERIFY(w.Memo1->toPlainText().isEmpty());

    // Plain: each record line is followed by its own data.
    w.settings().PlainPatch = true;
    w.MakePatchClick();
    lines = PaneLines(w);
    QVERIFY(lines[2].startsWith(recordLine(p1)));
    QVERIFY(lines[3 + dataLines(p1)].startsWith(recordLine(p2)));
    w.settings().PlainPatch = false;

    // Only the selected rows; an unmodified selection makes no patch.
    run.dialogs.prompt().Script({Answer::Yes, Answer::Yes});
    w.EditDelete1Execute();
    w.CheckBox2->setChecked(true);
    Select(w, {2});
    w.MakePatchClick();
    lines = PaneLines(w);
    QCOMPARE(lines.size(), 3 + dataLines(p2));
    QVERIFY(lines[2].startsWith(recordLine(p2)));
    w.EditDelete1Execute();
    Select(w, {0});
    w.MakePatchClick();
    QVERIFY(w.Memo1->toPlainText().isEmpty());
    QCOMPARE(w.StatusText(2),
             QStringLiteral("Среди выделенных строк нет изменённых картинок: патч не создан"));
    w.CheckBox2->setChecked(false);

    // Copy, then save as a file: Windows-1251 with CR LF after every line.
    w.Memo1->clear();
    w.MakePatchClick();
    w.EditCopy1Execute();
    QCOMPARE(QGuiApplication::clipboard()->text(), w.Memo1->toPlainText());
    const QString patch = folder.dir.filePath(QStringLiteral("p"));
    run.dialogs.saveAnswers = {{patch, 0}, {patch + ".txt", 1}, {folder.dir.filePath("no/p"), 0}};
    w.SavePatch1Execute();
    QCOMPARE(run.dialogs.fileDialogsShown.back().filter,
             QStringLiteral("V_Klay Patch (*.vkp);;Все файлы (*.*)"));
    const QByteArray bytes = ReadAll(patch + ".vkp");
    QVERIFY(
        bytes.startsWith(";\xC0\xE2\xF2\xEE\xF0 \xEF\xE0\xF2\xF7\xE0: \xC0\xE2\xF2\xEE\xF0\r\n"));
    QVERIFY(bytes.endsWith("\r\n"));
    QCOMPARE(bytes.count("\r\n"), PaneLines(w).size());
    w.SavePatch1Execute();
    QCOMPARE(ReadAll(patch + ".txt"), bytes);
    // The name with ".vkp" appended is not replaced unasked.
    run.dialogs.saveAnswers.push_front({patch, 0});
    WriteText(patch + ".vkp", "kept");
    run.dialogs.prompt().Script({Answer::No});
    w.SavePatch1Execute();
    QCOMPARE(LastBox(run).caption, QStringLiteral("Подтверждение замены"));
    QCOMPARE(ReadAll(patch + ".vkp"), QByteArray("kept"));
    WriteText(patch + ".vkp", bytes);
    const QString text = w.Memo1->toPlainText();
    w.SavePatch1Execute();
    QCOMPARE(LastBox(run).caption, QStringLiteral("Ошибка"));
    QCOMPARE(w.Memo1->toPlainText(), text);

    // Applied to the refreshed image, the patch gives the records and data
    // of the replaced pictures, and nothing else, without a question.
    std::vector<std::uint8_t> expected(w.session().image().BaseImage(),
                                       w.session().image().BaseImage() + kImageSize);
    for (const Picture* p : {&p1, &p2}) {
        std::memcpy(&expected[p->RecordPos], p->WorkImage().data() + p->RecordPos, 8);
        std::memcpy(&expected[p->DataPos()], p->WorkImage().data() + p->DataPos(), p->Length);
    }
    // Every picture is in the saved patch: the refresh asks nothing.
    run.dialogs.prompt().Clear();
    w.RefreshClick();
    QVERIFY(WaitForSearch(w));
    QCOMPARE(run.dialogs.prompt().questions(), 0);
    run.dialogs.openFilesAnswers.push_back({patch + ".vkp"});
    w.Apply1Click();
    QCOMPARE(run.dialogs.fileDialogsShown.back().filter,
             QStringLiteral("*.vkp (*.vkp);;*.* (*.*)"));
    QVERIFY(run.dialogs.prompt().shown().empty());
    QVERIFY(WorkIs(w, expected));

    // A refused file changes nothing.
    run.dialogs.openFilesAnswers = {
        {WriteText(folder.dir.filePath("odd.vkp"), "000100: 0A0 0C0\r\n")}};
    w.Apply1Click();
    QCOMPARE(
        LastBox(run).text,
        QStringLiteral("«odd.vkp», строка 1, столбец 9: нечётное число шестнадцатеричных цифр"));
    QVERIFY(WorkIs(w, expected));

    // A mismatch the user refuses: the question is the only box.
    const QByteArray other =
        QByteArray(1, char(~w.session().image().BaseImage()[w.settings().FullFlash + 0x100]))
            .toHex();
    run.dialogs.openFilesAnswers = {
        {WriteText(folder.dir.filePath("other.vkp"), "000100: " + other + " " + other + "\r\n")}};
    run.dialogs.prompt().Clear();
    run.dialogs.prompt().Script({Answer::No});
    w.Apply1Click();
    QCOMPARE(run.dialogs.prompt().shown().size(), std::size_t{1});
    QCOMPARE(LastBox(run).text, QString(kMismatchQuestion));
    QVERIFY(WorkIs(w, expected));
}

void CommandsTest::batchLoad() {
    TestFolder folder;
    const QString flash = folder.Write(FlashBuilder::SampleC55(), QStringLiteral("s.fls"));
    ProgramRun run(folder.Ini());
    TForm1& w = run.Start();
    w.BatchLoad1Execute();  // no FullFlash open: no dialog
    QVERIFY(run.dialogs.fileDialogsShown.empty());
    run.Exit();
    TForm1& v = Opened(run, flash);

    QStringList files;
    for (const char* name : {"PIT_660018.bmp", "pit_660020 edited.BMP", "PIT_12.bmp",
                             "PIT_66001G.bmp", "PIT_ABCDEF.bmp", "foreign.bmp"})
        files << WriteBmp(folder.dir.filePath(QLatin1String(name)), QSize(4, 3));
    QSignalSpy changed(&v.model(), &QAbstractItemModel::dataChanged);
    // The panes show the selected row, here one the batch replaces.
    Select(v, {2});
    run.dialogs.openFilesAnswers.push_back(files);
    v.BatchLoad1Execute();
    // The files that match no picture are named; both pictures took the
    // files' size.
    const QString report = QStringLiteral(
        "Удачно заменено 2 картинок из 6 выбранных; нет такой картинки: PIT_12.bmp, "
        "PIT_66001G.bmp, PIT_ABCDEF.bmp, foreign.bmp; размер изменён: 2");
    QCOMPARE(v.StatusText(2), report);
    QCOMPARE(v.StatusText(0), files.first());
    QCOMPARE(changed.size(), 2);
    for (int row = 0; row < int(v.session().Rows.size()); ++row)
        QCOMPARE(Cell(v, row, ColModified), row == 1 || row == 2 ? kYes : QString());
    QCOMPARE(Cell(v, 2, ColX), QStringLiteral("4"));
    QCOMPARE(v.Image2->bitmap().pixel(2, 1), Pic(v, 2).DecodedBitmap.pixel(1, 0));
    QCOMPARE(v.ProgressBar1->value(), 0);

    // An unreadable file ends the command: the files before it stay
    // replaced, the closing texts are not written.
    const QString good = WriteBmp(folder.dir.filePath("PIT_660028.bmp"), QSize(2, 2));
    const QString bad = WriteText(folder.dir.filePath("PIT_660030.bmp"), "no picture");
    run.dialogs.openFilesAnswers.push_back({good, bad});
    v.BatchLoad1Execute();
    QCOMPARE(LastBox(run).caption, QStringLiteral("Ошибка"));
    QCOMPARE(Cell(v, 3, ColModified), kYes);
    QVERIFY(Cell(v, 4, ColModified).isEmpty());
    QCOMPARE(v.StatusText(2), report);
}

void CommandsTest::fillAndRowCommandsAfterIt() {
    TestFolder folder;
    const QString flash = folder.Write(FlashBuilder::SampleC55(), QStringLiteral("s.fls"));
    ProgramRun run(folder.Ini());
    TForm1& w = Opened(run, flash);
    const QString bmp = WriteBmp(folder.dir.filePath(QStringLiteral("a.bmp")), QSize(3, 3));
    Select(w, {1});
    run.dialogs.openAnswers.push_back(bmp);
    w.Load1Click();

    const auto work = WorkCopy(w);
    w.Button2Click();
    QCOMPARE(w.StatusText(1), QStringLiteral("Всего 10 картинок, из них 7 в PIT и 3 в ExtPIT"));
    const QStringList lines = PaneLines(w);
    QCOMPARE(lines.first(), QStringLiteral("660010: 0404010000004003 FFFFFFFFFFFFFFFF"));
    QVERIFY(WorkIs(w, work));
    QVERIFY(!w.ListView1->isHidden());
    QCOMPARE(w.ProgressBar1->value(), 0);

    // The pictures are kept with their rows: every row command works on.
    QCOMPARE(int(w.session().Pictures.size()), 10);
    Select(w, {2});
    QCOMPARE(w.Image2->bitmap().size(), Pic(w, 2).DecodedBitmap.size() + QSize(2, 2));
    run.dialogs.openAnswers.push_back(bmp);
    w.Load1Click();
    QCOMPARE(Cell(w, 2, ColModified), kYes);
    w.SetRadioGroup1ItemIndex(2);
    QCOMPARE(int(Pic(w, 2).Type()), 0x85);
    w.Memo1->clear();
    w.MakePatchClick();
    QVERIFY(PaneLines(w).size() > 4);

    // Re-create: unmodified rows lose their "Compressed" text.
    w.ReCreateClick();
    QCOMPARE(Cell(w, 2, ColCompressed), kYes);
    QVERIFY(Cell(w, 3, ColCompressed).isEmpty());

    // Rows whose picture is gone: the row commands pass them over.
    w.session().Pictures.clear();
    const auto now = WorkCopy(w);
    Select(w, {0, 1});
    const std::size_t dialogsBefore = run.dialogs.fileDialogsShown.size();
    w.Load1Click();
    w.CheckBox1->setChecked(true);
    w.RememberFolder(folder.dir.filePath(QStringLiteral("x")));
    w.Save1Click();
    w.SetRadioGroup1ItemIndex(0);
    QCOMPARE(run.dialogs.fileDialogsShown.size(), dialogsBefore);
    QVERIFY(!QFile::exists(folder.dir.filePath("PIT_660010.bmp")));
    run.dialogs.openFilesAnswers.push_back(
        {WriteBmp(folder.dir.filePath("PIT_660010.bmp"), {2, 2})});
    w.BatchLoad1Execute();
    QCOMPARE(w.StatusText(2), QStringLiteral("Удачно заменено 0 картинок из 1 выбранных"));
    w.MakePatchClick();
    QVERIFY(WorkIs(w, now));
}

void CommandsTest::windowAndCommandLineMakeTheSamePatch() {
    TestFolder folder;
    const QString flash = folder.dir.filePath(QStringLiteral("demo.fls"));
    WriteText(flash, BuildDemoFlash());
    folder.Store("", "AuthorName", "Tester");
    const QString one = WriteBmp(folder.dir.filePath("PIT_670010.bmp"), QSize(20, 16));
    const QStringList more = {WriteBmp(folder.dir.filePath("PIT_660118.bmp"), QSize(24, 20)),
                              WriteBmp(folder.dir.filePath("PIT_660050.bmp"), QSize(4, 4))};
    const QString windowPatch = folder.dir.filePath(QStringLiteral("window"));
    {
        ProgramRun run(folder.Ini());
        TForm1& w = Opened(run, flash);
        int row = 0;
        while (Cell(w, row, ColPIT) != QLatin1String("670010")) ++row;
        Select(w, {row});
        run.dialogs.openAnswers.push_back(one);
        w.Load1Click();
        run.dialogs.openFilesAnswers.push_back(more);
        w.BatchLoad1Execute();
        QCOMPARE(w.StatusText(2), QStringLiteral("Удачно заменено 2 картинок из 2 выбранных"));
        w.MakePatchClick();
        run.dialogs.saveAnswers.push_back({windowPatch, 0});
        w.SavePatch1Execute();
    }
    const QString cliPatch = folder.dir.filePath(QStringLiteral("cli.vkp"));
    QBuffer out, err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    QCOMPARE(
        RunCli({"patch", flash, one, more[0], more[1], "-o", cliPatch, "--settings", folder.Ini()},
               out, err),
        kExitOk);
    const QByteArray fromWindow = ReadAll(windowPatch + ".vkp");
    QVERIFY(fromWindow.contains("Tester\r\n"));
    QVERIFY(fromWindow.count("\r\n") > 10);
    QCOMPARE(fromWindow, ReadAll(cliPatch));
}

void CommandsTest::applyAndUndoSeveralPatches() {
    TestFolder folder;
    const QString flash = folder.Write(FlashBuilder::SampleC55(), QStringLiteral("s.fls"));
    ProgramRun run(folder.Ini());
    TForm1& w = Opened(run, flash);
    // Hidden like the apply item, and beside it.
    const QList<QAction*> items = w.PopupMenu1->actions();
    QVERIFY(!w.Undo1->isVisible());
    QCOMPARE(items.indexOf(w.Undo1), items.indexOf(w.Apply1) + 1);
    QCOMPARE(w.Undo1->text(), QStringLiteral("Откатить патч"));

    run.dialogs.prompt().Clear();
    const std::vector<std::uint8_t> before = WorkCopy(w);
    const std::int32_t at = w.settings().FullFlash + 0x1000;
    const QByteArray old = QByteArray(reinterpret_cast<const char*>(&before[at]), 2).toHex();
    const QStringList files = {
        WriteText(folder.dir.filePath("a.vkp"), "/* first */\r\n001000: " + old + " 1122\r\n"),
        WriteText(folder.dir.filePath("b.vkp"),
                  "001000: 11 33 ; relies on a.vkp\r\n#pragma disable undo\r\n001002: 44\r\n")};
    run.dialogs.openFilesAnswers.push_back(files);
    w.Apply1Click();
    QCOMPARE(run.dialogs.fileDialogsShown.back().filter,
             QStringLiteral("*.vkp (*.vkp);;*.* (*.*)"));
    // One box: the warning about the record without old data.
    QCOMPARE(run.dialogs.prompt().shown().size(), std::size_t{1});
    QCOMPARE(LastBox(run).caption, QStringLiteral("Предупреждение"));
    const std::uint8_t* work = w.session().image().WorkImage();
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(work + at), 3).toHex(), QByteArray("332244"));
    QCOMPARE(w.StatusText(2), QStringLiteral("Применено патчей: 2, записей: 3"));

    // Undo: b before a; the record left out of undo stays.
    run.dialogs.openFilesAnswers.push_back(files);
    w.Undo1Click();
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(work + at), 3).toHex(),
             old + QByteArray("44"));
    QCOMPARE(w.StatusText(2), QStringLiteral("Откачено патчей: 2, записей: 2"));
}

// On the demo firmware met for the first time: nothing is placed before the
// user accepts the area that takes in the whole file, which is asked once;
// a picture too large names the neighbour it takes out of the list; a
// reduction that merges colours says so.
void CommandsTest::replacementsTellWhatFollows() {
    TestFolder folder;
    const QString demo = folder.dir.filePath(QStringLiteral("demo.fls"));
    WriteText(demo, BuildDemoFlash());
    ProgramRun run(folder.Ini());
    TForm1& w = run.Start();
    w.settings().AskSizeChange = false;
    run.dialogs.modalSteps.push_back([](QDialog& d) { d.accept(); });
    w.OpenFullFlash(demo);
    QVERIFY(WaitForSearch(w));
    QCOMPARE(w.PlaceAreaLabel->text(),
             QStringLiteral("Размещение: 000000–800000 (весь файл, не проверено)"));
    auto& prompt = run.dialogs.prompt();
    const QString bmp = WriteBmp(folder.dir.filePath(QStringLiteral("p.bmp")), QSize(30, 30));
    const auto load = [&](int row, const QString& file) {
        Select(w, {row});
        run.dialogs.openAnswers.push_back(file);
        w.Load1Click();
    };

    prompt.Clear();
    const auto work = WorkCopy(w);
    load(0, bmp);
    QCOMPARE(prompt.questions(), 1);
    QVERIFY(LastBox(run).text.contains(QStringLiteral("000000–800000")));
    QVERIFY(WorkIs(w, work));
    QVERIFY(Cell(w, 0, ColModified).isEmpty());
    prompt.Script({Answer::Yes});
    load(0, bmp);
    load(1, bmp);
    QCOMPARE(prompt.questions(), 2);
    QCOMPARE(Cell(w, 0, ColModified) + Cell(w, 1, ColModified), kYes + kYes);

    Select(w, {0});
    w.SetRadioGroup1ItemIndex(1);
    QCOMPARE(int(Pic(w, 0).Type()), 0x03);
    QVERIFY(w.StatusText(2).contains(QStringLiteral("цветов сведены к")));

    int camera = -1;
    for (int r = 0; r < int(w.session().Rows.size()); ++r)
        if (Cell(w, r, ColPIT) == QStringLiteral("670010")) camera = r;
    QVERIFY(camera >= 0);
    const auto before = WorkCopy(w);
    load(camera, WriteBmp(folder.dir.filePath(QStringLiteral("big.bmp")), QSize(120, 90)));
    QCOMPARE(prompt.questions(), 3);
    QVERIFY(LastBox(run).text.contains(
        QStringLiteral("(PIT 670010), №%1 (PIT 670020)").arg(camera + 2)));
    QVERIFY(WorkIs(w, before));
    QVERIFY(Cell(w, camera, ColModified).isEmpty());
    // A batch asks once and names them too; No passes over the file.
    const QString named = folder.dir.filePath(QStringLiteral("PIT_670010.bmp"));
    QVERIFY(QFile::copy(folder.dir.filePath(QStringLiteral("big.bmp")), named));
    w.BatchLoadFiles({named});
    QCOMPARE(prompt.questions(), 4);
    QVERIFY(LastBox(run).text.contains(QStringLiteral("(PIT 670020)")));
    QVERIFY(WorkIs(w, before));
}

QTEST_MAIN(CommandsTest)
#include "commands_test.moc"
