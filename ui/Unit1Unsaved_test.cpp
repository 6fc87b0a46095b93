// The window's questions before work is lost, its size questions, and the
// status texts of commands with nothing to act on.
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTreeView>

#include "picture/picture.h"
#include "ui/picture_list_model.h"
#include "ui/ui_test_support.h"

using namespace vorlix;

namespace {

QString WriteBmp(const TestFolder& folder, const QString& name, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(qRgb(200, 30, 60));
    const QString path = folder.dir.filePath(name);
    if (!image.save(path, "BMP")) qFatal("cannot write %s", qPrintable(path));
    return path;
}

// The sample FullFlash as a.fls and b.fls, and a window; a new firmware's
// settings dialog is accepted.
struct Run {
    TestFolder folder;
    QString a = folder.Write(FlashBuilder::SampleC55(), QStringLiteral("a.fls"));
    QString b = folder.Write(FlashBuilder::SampleC55(), QStringLiteral("b.fls"));
    ProgramRun run{folder.Ini()};
    TForm1& w = run.Start();
    ScriptedPrompt& prompt = run.dialogs.prompt();

    void Open(const QString& path) {
        run.dialogs.modalSteps = {[](QDialog& d) { d.accept(); }};
        w.OpenFullFlash(path);
        QVERIFY(WaitForSearch(w));
        // The question before the first placement in a new firmware's area
        // has a test of its own.
        w.session().PlacementAreaAccepted = true;
    }
    // Loads a file of `size` (the picture's own size by default) into `row`.
    void Load(int row, QSize size = {}) {
        w.ListView1->selectionModel()->select(
            w.model().index(row, 0),
            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        const Picture& p = *w.session().PictureOfRow(row);
        if (size.isEmpty()) size = QSize(p.Width(), p.Height());
        run.dialogs.openAnswers.push_back(WriteBmp(folder, QStringLiteral("r.bmp"), size));
        w.Load1Click();
    }
    QString Last() const {
        return prompt.shown().back().caption + ": " + prompt.shown().back().text;
    }
};

}  // namespace

class Unit1UnsavedTest : public QObject {
    Q_OBJECT
  private slots:
    void exitAsksWhileWorkIsUnsaved();
    void openAsksBeforeWorkIsLost();
    void sizeQuestionsAndNothingToActOn();
    void aFailedSaveIsShownAndKeepsTheWindow();
};

namespace {
const QString kLost =
    QStringLiteral("Изменённых картинок, которых нет ни в одном сохранённом патче: %1.");
const QString kUnsaved = QStringLiteral("Текст патча не сохранён.");
const QString kSaveFirst = QStringLiteral(
    "Сохранить патч перед этим? «Да» — сохранить, «Нет» — продолжить без сохранения, «Отмена» — "
    "вернуться.");
}  // namespace

void Unit1UnsavedTest::exitAsksWhileWorkIsUnsaved() {
    Run t;
    t.Open(t.a);
    QVERIFY(t.w.ConfirmExit());  // nothing to lose, nothing asked
    t.Load(1);
    // Cancel keeps the window; Yes makes the patch of the pictures as they
    // are, and a cancelled save keeps it open too; Yes with a file saves
    // and lets it go; No lets it go.
    t.w.show();
    t.prompt.Script({Answer::Cancel, Answer::Yes, Answer::Yes, Answer::No});
    QVERIFY(!t.w.close() && t.w.isVisible());
    QCOMPARE(t.Last(), QStringLiteral("Подтверждение выхода: ") + kLost.arg(1) + "\n" + kSaveFirst);
    QVERIFY(!t.w.ConfirmExit());
    QVERIFY(t.w.PatchUnsaved() && !t.w.Memo1->toPlainText().isEmpty());
    t.run.dialogs.saveAnswers.push_back({t.folder.dir.filePath(QStringLiteral("p.vkp")), 0});
    QVERIFY(t.w.ConfirmExit());
    QCOMPARE(t.Last(), QStringLiteral("Подтверждение выхода: ") + kLost.arg(1) + "\n" + kUnsaved +
                           "\n" + kSaveFirst);
    QVERIFY(QFile::exists(t.folder.dir.filePath(QStringLiteral("p.vkp"))));
    QCOMPARE(t.prompt.questions(), 3);
    QVERIFY(t.w.ConfirmExit());  // saved: nothing asked
    t.Load(2);                   // a picture the saved patch lacks
    QVERIFY(t.w.close());
    QVERIFY(t.Last().contains(kLost.arg(1)));
}

void Unit1UnsavedTest::openAsksBeforeWorkIsLost() {
    Run t;
    t.Open(t.a);
    t.Load(1);
    t.w.MakePatchClick();
    const QString patch = t.w.Memo1->toPlainText();
    // Over a modified picture, from the open dialog and the recent menu:
    // Cancel keeps image and edits.
    t.prompt.Clear();
    t.prompt.Script({Answer::Cancel, Answer::Cancel});
    t.run.dialogs.openAnswers.push_back(t.b);
    t.w.OpenClick();
    t.w.PopupMenu2ItemsClick(0);
    QCOMPARE(t.Last(), QStringLiteral("Подтверждение открытия: ") + kLost.arg(1) + "\n" + kUnsaved +
                           "\n" + kSaveFirst);
    QVERIFY(t.w.Edit4->text() == t.a && t.w.HasModifiedPictures());
    // No opens b without saving (each open asks first, as the pane's patch
    // is not saved); the pane's patch of a: No keeps it, then Yes offers to
    // save it (Cancel keeps it, No drops it).
    t.prompt.Script({Answer::No, Answer::No, Answer::No, Answer::Yes, Answer::Cancel, Answer::No,
                     Answer::Yes, Answer::No});
    t.Open(t.b);
    QVERIFY(!t.w.HasModifiedPictures());
    QCOMPARE(t.Last(), QStringLiteral("Создание нового патча: Текст патча создан для другого "
                                      "FullFlash:\na.fls (C55v50).\nНачать новый патч? Если нет, "
                                      "в одном патче окажутся строки для двух прошивок."));
    t.Open(t.b);
    QCOMPARE(t.Last(), QStringLiteral("Сохранение патча: Патч не сохранён. Сохранить его?"));
    QCOMPARE(t.w.Memo1->toPlainText(), patch);
    t.Open(t.b);
    QVERIFY(t.w.Memo1->toPlainText().isEmpty());
    QCOMPARE(t.prompt.questions(), 10);
    // A patch of b itself: reopening b asks only before the unsaved patch.
    t.Load(1);
    t.w.MakePatchClick();
    t.prompt.Script({Answer::No});
    t.Open(t.b);
    QCOMPARE(t.prompt.questions(), 11);
    QVERIFY(!t.w.Memo1->toPlainText().isEmpty());
    // After close, the status bar says so.
    t.prompt.Script({Answer::No});
    t.w.CloseClick();
    QCOMPARE(t.w.StatusText(1), QStringLiteral("FullFlash не открыт"));
}

void Unit1UnsavedTest::sizeQuestionsAndNothingToActOn() {
    Run t;
    for (void (TForm1::*command)() :
         {&TForm1::Load1Click, &TForm1::BatchLoad1Execute, &TForm1::MakePatchClick,
          &TForm1::RefreshClick, &TForm1::Apply1Click, &TForm1::Undo1Click, &TForm1::Button2Click,
          &TForm1::ReCreateClick}) {
        t.w.SetStatus(2, QString());
        (t.w.*command)();
        QCOMPARE(t.w.StatusText(2), QStringLiteral("FullFlash не открыт"));
    }
    t.Open(t.a);
    t.w.Save1Click();
    QCOMPARE(t.w.StatusText(2), QStringLiteral("Не выбрана ни одна картинка"));
    t.w.MakePatchClick();
    QCOMPARE(t.w.StatusText(2), QStringLiteral("Нет изменённых картинок: патч не создан"));
    t.w.SavePatch1Execute();
    QCOMPARE(t.w.StatusText(2), QStringLiteral("Патч пуст: сохранять нечего"));
    QVERIFY(t.w.Memo1->toPlainText().isEmpty() && t.run.dialogs.fileDialogsShown.empty());
    QCOMPARE(t.prompt.questions(), 0);

    // Row 1 is 3 x 2, the C55's largest 101 x 80. Too large asks (No keeps
    // the picture); another size asks too, and is only named once
    // AskSizeChange is switched off.
    t.prompt.Script({Answer::No, Answer::Yes});
    t.Load(1, {120, 90});
    QVERIFY(
        t.Last().startsWith(QStringLiteral("Подтверждение замены картинки: Картинка в файле "
                                           "«r.bmp» имеет размер 120×90")));
    QVERIFY(!t.w.HasModifiedPictures());
    t.w.settings().AskSizeChange = false;
    t.Load(1, {6, 5});
    QCOMPARE(t.w.StatusText(2), QStringLiteral("Размер картинки изменён: 3×2 → 6×5"));
    t.w.settings().AskSizeChange = true;
    t.Load(1, {7, 5});
    QCOMPARE(t.prompt.questions(), 2);
    QCOMPARE(t.w.session().Rows[1][ColX], QStringLiteral("7"));

    // A batch asks once, listing the files: No passes over them.
    t.w.settings().AskSizeChange = false;
    t.run.dialogs.openFilesAnswers.push_back({WriteBmp(t.folder, "PIT_660020.bmp", {102, 2}),
                                              WriteBmp(t.folder, "PIT_660028.bmp", {8, 2})});
    t.prompt.Script({Answer::No});
    t.w.BatchLoad1Execute();
    QVERIFY(t.Last().contains(QStringLiteral("PIT_660020.bmp: 102×2 вместо 2×2")));
    QVERIFY(!t.Last().contains(QStringLiteral("PIT_660028")));
    QCOMPARE(t.w.StatusText(2), QStringLiteral("Удачно заменено 1 картинок из 2 выбранных; "
                                               "пропущены: PIT_660020.bmp"));
}

// Yes to the question, then a file that cannot be written: the error is
// shown after the question and the window stays with its work unsaved.
void Unit1UnsavedTest::aFailedSaveIsShownAndKeepsTheWindow() {
    Run t;
    t.Open(t.a);
    t.Load(1);
    t.prompt.Clear();
    t.prompt.Script({Answer::Yes});
    t.run.dialogs.saveAnswers.push_back(
        {t.folder.dir.filePath(QStringLiteral("no/such/folder/p.vkp")), 0});
    QVERIFY(!t.w.ConfirmExit());
    QCOMPARE(t.prompt.shown().size(), std::size_t{2});
    QCOMPARE(t.prompt.questions(), 1);
    QVERIFY(t.Last().startsWith(QStringLiteral("Ошибка: ")));
    QVERIFY(t.Last().contains(QStringLiteral("p.vkp")));
    QVERIFY(t.w.PatchUnsaved());
}

QTEST_MAIN(Unit1UnsavedTest)
#include "Unit1Unsaved_test.moc"
