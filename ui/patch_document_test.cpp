// The window and its editing state end to end: what the panes show, what
// the questions say and what the saved patch holds agree.
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTreeView>

#include "patch/patch_generator.h"
#include "picture/picture.h"
#include "ui/picture_list_model.h"
#include "ui/preview_pane.h"
#include "ui/ui_test_support.h"
#include "vkp/patch_file.h"

using namespace vorlix;

namespace {

QString WriteBmp(const TestFolder& folder, const QString& name, QSize size, QRgb colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    const QString path = folder.dir.filePath(name);
    if (!image.save(path, "BMP")) qFatal("cannot write %s", qPrintable(path));
    return path;
}

QByteArray Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct Run {
    TestFolder folder;
    QString a = folder.Write(FlashBuilder::SampleC55(), QStringLiteral("a.fls"));
    QString b = folder.Write(FlashBuilder::SampleC55(), QStringLiteral("b.fls"));
    ProgramRun run{folder.Ini()};
    TForm1& w = run.Start();
    ScriptedPrompt& prompt = run.dialogs.prompt();
    int files = 0;

    void Open(const QString& path) {
        run.dialogs.modalSteps = {[](QDialog& d) { d.accept(); }};
        w.OpenFullFlash(path);
        QVERIFY(WaitForSearch(w));
        // The question before the first placement in a new firmware's area
        // has a test of its own.
        w.session().PlacementAreaAccepted = true;
    }
    void Select(int row) {
        w.ListView1->selectionModel()->setCurrentIndex(
            w.model().index(row, 0),
            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    // Replaces the picture of `row` by a plain picture of its own size.
    void Load(int row, QRgb colour) {
        Select(row);
        const Picture& p = *w.session().PictureOfRow(row);
        run.dialogs.openAnswers.push_back(WriteBmp(folder, QStringLiteral("r%1.bmp").arg(files++),
                                                   QSize(p.Width(), p.Height()), colour));
        w.Load1Click();
    }
    // The answer of the next save dialog.
    QString SaveTo(const QString& name) {
        const QString path = folder.dir.filePath(name);
        run.dialogs.saveAnswers.push_back({path, 0});
        return path;
    }
    // The patch of the pictures as the window shows them now.
    QByteArray PatchNow() {
        QStringList lines;
        GeneratePatch(w.session(), lines);
        return EncodePatchText(lines);
    }
};

}  // namespace

class PatchDocumentTest : public QObject {
    Q_OBJECT
  private slots:
    void generatingTwiceKeepsOnePatch();
    void exitSavesThePicturesAsTheyAreAfterAnUndo();
    void closeSavesAPictureChangedAfterTheLastSave();
    void openingAnotherFlashOffersToSaveFirst();
    void panesShowTheSelectedRowOrNothing();
};

void PatchDocumentTest::generatingTwiceKeepsOnePatch() {
    Run t;
    t.Open(t.a);
    t.Load(1, qRgb(200, 30, 60));
    t.w.MakePatchClick();
    const QString once = t.w.Memo1->toPlainText();
    QVERIFY(!once.isEmpty());
    t.w.MakePatchClick();
    QCOMPARE(t.w.Memo1->toPlainText(), once);
    // A picture changed since: the pane holds the one patch of both.
    t.Load(2, qRgb(10, 200, 60));
    t.w.MakePatchClick();
    QStringList lines;
    GeneratePatch(t.w.session(), lines);
    QCOMPARE(t.w.Memo1->toPlainText(), lines.join(QLatin1Char('\n')));
    const QString path = t.SaveTo(QStringLiteral("p.vkp"));
    QVERIFY(t.w.SavePatchNow());
    QCOMPARE(Read(path), t.PatchNow());
    QCOMPARE(t.prompt.questions(), 0);
    // F5 with every picture saved asks nothing.
    t.w.RefreshClick();
    QVERIFY(WaitForSearch(t.w));
    QCOMPARE(t.prompt.questions(), 0);
}

void PatchDocumentTest::exitSavesThePicturesAsTheyAreAfterAnUndo() {
    Run t;
    t.Open(t.a);
    t.Load(1, qRgb(200, 30, 60));
    t.w.MakePatchClick();
    t.Load(2, qRgb(10, 200, 60));
    t.Load(3, qRgb(10, 20, 250));
    t.w.EditUndo1Execute();  // row 3 as the firmware holds it again
    const QByteArray expected = t.PatchNow();
    const QString path = t.SaveTo(QStringLiteral("exit.vkp"));
    t.prompt.Script({Answer::Yes});
    QVERIFY(t.w.ConfirmExit());
    QCOMPARE(t.prompt.shown().back().caption, QStringLiteral("Подтверждение выхода"));
    QVERIFY(t.prompt.shown().back().text.startsWith(
        QStringLiteral("Изменённых картинок, которых нет ни в одном сохранённом патче: 2.\n"
                       "Текст патча не сохранён.")));
    QCOMPARE(Read(path), expected);
    QVERIFY(t.w.ConfirmExit());  // all saved now: nothing asked
    QCOMPARE(t.prompt.questions(), 1);
}

void PatchDocumentTest::closeSavesAPictureChangedAfterTheLastSave() {
    Run t;
    t.Open(t.a);
    t.Load(1, qRgb(200, 30, 60));
    t.w.MakePatchClick();
    t.SaveTo(QStringLiteral("first.vkp"));
    QVERIFY(t.w.SavePatchNow());
    t.Load(2, qRgb(10, 200, 60));
    const QByteArray expected = t.PatchNow();
    const QString path = t.SaveTo(QStringLiteral("close.vkp"));
    // Cancel keeps everything; Yes saves both pictures and closes.
    t.prompt.Script({Answer::Cancel, Answer::Yes});
    t.w.CloseClick();
    QVERIFY(!t.w.Edit4->text().isEmpty() && t.w.HasModifiedPictures());
    t.w.CloseClick();
    QCOMPARE(t.prompt.shown().back().text,
             QStringLiteral("Изменённых картинок, которых нет ни в одном сохранённом патче: 1.\n"
                            "Сохранить патч перед этим? «Да» — сохранить, «Нет» — продолжить без "
                            "сохранения, «Отмена» — вернуться."));
    QCOMPARE(Read(path), expected);
    QVERIFY(t.w.Edit4->text().isEmpty());
    QCOMPARE(t.w.model().rowCount(), 0);
}

void PatchDocumentTest::openingAnotherFlashOffersToSaveFirst() {
    Run t;
    t.Open(t.a);
    t.Load(1, qRgb(200, 30, 60));
    const QByteArray expected = t.PatchNow();
    const QString path = t.SaveTo(QStringLiteral("open.vkp"));
    // Cancel stays on a; Yes saves first, then opens b.
    t.prompt.Script({Answer::Cancel, Answer::Yes});
    t.run.dialogs.openAnswers.push_back(t.b);
    t.w.OpenClick();
    QCOMPARE(t.w.Edit4->text(), t.a);
    QCOMPARE(t.prompt.shown().back().caption, QStringLiteral("Подтверждение открытия"));
    t.Open(t.b);
    QCOMPARE(Read(path), expected);
    QCOMPARE(t.w.Edit4->text(), t.b);
    QVERIFY(!t.w.HasModifiedPictures());
}

void PatchDocumentTest::panesShowTheSelectedRowOrNothing() {
    Run t;
    const QImage blank = t.w.Image2->bitmap();
    t.Open(t.a);
    t.Select(0);
    const QImage first = t.w.Image2->bitmap();
    QVERIFY(first != blank);
    // A drop of several named files: the panes still show row 0.
    const QString pit1 = t.w.session().Rows[1][ColPIT];
    const QString pit2 = t.w.session().Rows[2][ColPIT];
    const Picture& p1 = *t.w.session().PictureOfRow(1);
    const Picture& p2 = *t.w.session().PictureOfRow(2);
    t.w.DropFiles({WriteBmp(t.folder, QStringLiteral("PIT_%1.bmp").arg(pit1),
                            QSize(p1.Width(), p1.Height()), qRgb(1, 2, 3)),
                   WriteBmp(t.folder, QStringLiteral("PIT_%1.bmp").arg(pit2),
                            QSize(p2.Width(), p2.Height()), qRgb(4, 5, 6))},
                  -1);
    QVERIFY(t.w.session().PictureOfRow(1)->Modified && t.w.session().PictureOfRow(2)->Modified);
    QCOMPARE(t.w.Image2->bitmap(), first);
    // No row selected: nothing shown.
    t.w.ListView1->selectionModel()->clearSelection();
    QCOMPARE(t.w.Image2->bitmap(), blank);
    // A file with no pictures: the previous firmware's picture is gone.
    t.Select(0);
    const QString empty = t.folder.Write(FlashBuilder::C55(), QStringLiteral("empty.fls"));
    t.prompt.Script({Answer::No});
    t.Open(empty);
    QCOMPARE(t.w.model().rowCount(), 0);
    QCOMPARE(t.w.Image1->bitmap(), blank);
    QCOMPARE(t.w.Image2->bitmap(), blank);
}

QTEST_MAIN(PatchDocumentTest)
#include "patch_document_test.moc"
