#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QTreeView>
#include <cstring>

#include "settings/version.h"
#include "ui/Unit3.h"
#include "ui/picture_list_model.h"
#include "ui/preview_pane.h"
#include "ui/ui_test_support.h"

using namespace vorlix;

namespace {

QString Cell(TForm1& w, int row, int column) { return w.session().Rows.at(row)[column]; }

bool EmptyPane(const PreviewPane& pane, QRgb frame) {
    const QImage& b = pane.bitmap();
    return b.size() == QSize(103, 82) && b.pixel(0, 0) == frame && b.pixel(102, 81) == frame &&
           b.pixel(50, 40) == qRgb(255, 255, 255);
}

QStringList MenuCaptions(const QMenu& menu) {
    QStringList captions;
    for (const QAction* a : menu.actions()) captions << a->text();
    return captions;
}

}  // namespace

class Unit1Test : public QObject {
    Q_OBJECT
  private slots:
    void startUpOnEmptyStore();
    void exitStoresStateAndSize();
    void badStoredValueEndsStartUp();
    void recentMenu();
    void openNewThenKnownModel();
    void openFailureAndQuestions();
    void plainWordsForOddFiles();
    void refreshDuringSearch();
    void closeAndDestroyDuringSearch();
    void selectRowAndFrameColour();
    void settingsButtonAndSelectAll();
};

void Unit1Test::startUpOnEmptyStore() {
    TestFolder folder;
    ProgramRun run(folder.Ini());
    TForm1& w = run.Start();
    QVERIFY(!w.StartupFailed());
    QCOMPARE(w.windowTitle(), QStringLiteral("Vorlix Editor"));
    QCOMPARE(w.size(), QSize(778, 540));
    QVERIFY(!(w.windowState() & Qt::WindowMaximized));
    QCOMPARE(w.FrameColor(), 0);
    QVERIFY(!w.CheckBox1->isChecked() && !w.CheckBox2->isChecked());
    QVERIFY(EmptyPane(*w.Image1, qRgb(0, 0, 0)) && EmptyPane(*w.Image2, qRgb(0, 0, 0)));
    QCOMPARE(w.Label8->text(), QStringLiteral("Vytvořili: " VORLIX_VERSION_TEXT));
    QCOMPARE(w.RadioGroup1ItemIndex(), 4);
    QVERIFY(run.dialogs.prompt().shown().empty());
    QCOMPARE(folder.Stored("", "InternalVersion"), QStringLiteral("4"));
    QCOMPARE(folder.Stored("All", "Default"), QStringLiteral("0"));

    // Every control and command is there; the three hidden commands too.
    for (const char* name :
         {"Open",           "Close",      "Refresh",     "Button1",        "Edit4",
          "Edit1",          "CheckBox1",  "CheckBox2",   "CheckBox3",      "Image1",
          "Image2",         "Panel4",     "Panel5",      "RadioGroup1",    "ToolBar2",
          "Panel3",         "Label8",     "Label9",      "Label1",         "Image3",
          "ListView1",      "Splitter1",  "Memo1",       "ProgressBar1",   "StatusBar1",
          "PopupMenu1",     "PopupMenu2", "Form3",       "Timer1",         "Load1",
          "Batch1",         "Save1",      "Apply1",      "EditSelectAll1", "SavePatch1",
          "GeneratePatch1", "EditCopy1",  "EditDelete1", "LoadPicture1",   "SavePicture1",
          "BatchLoad1"})
        QVERIFY2(w.findChild<QObject*>(QLatin1String(name)), name);
    QVERIFY(w.ReCreate->isHidden() && !w.ReCreate->isEnabled());
    QVERIFY(w.MakePatch->isHidden() && w.Button2->isHidden() && !w.Apply1->isVisible());
    QCOMPARE(w.BatchLoad1->toolTip(), QStringLiteral("Пакетная загрузка картинок"));
    QCOMPARE(w.EditSelectAll1->shortcut(), QKeySequence(QStringLiteral("Ctrl+A")));
    QCOMPARE(w.ToolBar2->actions().size(), 8);

    QHeaderView* header = w.ListView1->header();
    QCOMPARE(w.model().columnCount(), 9);
    QCOMPARE(w.model().headerData(8, Qt::Horizontal).toString(), QStringLiteral("Modifyed"));
    // The designed widths at least; wider where the caption needs it.
    const int designed[] = {30, 70, 45, 25, 25, 70, 70, 50, 70};
    for (int c = 0; c < 9; ++c) {
        QVERIFY(header->sectionSize(c) >= designed[c]);
        const QString caption = w.model().headerData(c, Qt::Horizontal).toString();
        QVERIFY2(header->sectionSize(c) > header->fontMetrics().horizontalAdvance(caption),
                 qPrintable(caption));
    }
    QCOMPARE(w.ListView1->selectionMode(), QAbstractItemView::ExtendedSelection);
}

void Unit1Test::exitStoresStateAndSize() {
    TestFolder folder;
    {
        ProgramRun run(folder.Ini());
        TForm1& w = run.Start();
        w.resize(900, 600);
        w.CheckBox1->setChecked(true);
        run.Exit();
    }
    QCOMPARE(folder.Stored("", "WindowWidth"), QStringLiteral("900"));
    QCOMPARE(folder.Stored("", "AutoName"), QStringLiteral("1"));

    // Maximised: state 2, the normal size kept; the next start maximises.
    {
        ProgramRun run(folder.Ini());
        run.Start().setWindowState(Qt::WindowMaximized);
        run.Exit();
    }
    QCOMPARE(folder.Stored("", "WindowState"), QStringLiteral("2"));
    QCOMPARE(folder.Stored("", "WindowWidth"), QStringLiteral("900"));
    {
        ProgramRun run(folder.Ini());
        TForm1& w = run.Start();
        QVERIFY(w.windowState() & Qt::WindowMaximized);
        QVERIFY(w.CheckBox1->isChecked());
        // Minimised: state 1, the size kept; the next start opens normal.
        w.setWindowState(Qt::WindowMinimized);
        run.Exit();
    }
    QCOMPARE(folder.Stored("", "WindowState"), QStringLiteral("1"));
    QCOMPARE(folder.Stored("", "WindowHeight"), QStringLiteral("600"));
    ProgramRun run(folder.Ini());
    TForm1& w = run.Start();
    QVERIFY(!(w.windowState() & (Qt::WindowMaximized | Qt::WindowMinimized)));
    QCOMPARE(w.size(), QSize(900, 600));
}

void Unit1Test::badStoredValueEndsStartUp() {
    TestFolder folder;
    folder.Store("", "InternalVersion", "4");
    folder.Store("", "WindowWidth", "wide");
    ProgramRun run(folder.Ini());
    QVERIFY(run.Start().StartupFailed());
    run.Exit();
    QCOMPARE(run.dialogs.prompt().shown().size(), std::size_t{1});
    QCOMPARE(run.dialogs.prompt().shown()[0].text,
             QStringLiteral("'wide' is not a valid integer value"));
    // Nothing is written back at the end of the failed run.
    QCOMPARE(folder.Stored("", "WindowWidth"), QStringLiteral("wide"));
    QVERIFY(folder.Stored("", "AutoName").isEmpty());
}

void Unit1Test::recentMenu() {
    TestFolder folder;
    for (int i = 0; i < 8; ++i)
        folder.Store("", QStringLiteral("Recent%1").arg(i), QStringLiteral("/f%1").arg(i));
    {
        ProgramRun run(folder.Ini());
        const QStringList captions = MenuCaptions(*run.Start().PopupMenu2);
        QCOMPARE(captions.size(), 8);
        QCOMPARE(captions.first(), QStringLiteral("&0 /f0"));
        QCOMPARE(captions.last(), QStringLiteral("&7 /f7"));
    }
    // An empty entry ends the menu even when later entries are filled.
    folder.Store("", "Recent3", "");
    ProgramRun run(folder.Ini());
    QCOMPARE(MenuCaptions(*run.Start().PopupMenu2).size(), 3);
}

void Unit1Test::openNewThenKnownModel() {
    TestFolder folder;
    const QString path = folder.Write(FlashBuilder::SampleC55(), QStringLiteral("sample.fls"));
    {
        ProgramRun run(folder.Ini());
        TForm1& w = run.Start();
        run.dialogs.openAnswers.push_back(path);
        // A new model: the settings dialog shows what discovery found.
        QString shownModel, shownSpit;
        run.dialogs.modalSteps.push_back([&](QDialog& d) {
            auto& form = static_cast<TForm3&>(d);
            shownModel = form.ModelAndVersionEdit->text();
            shownSpit = form.sPITAdrEdit->text();
            form.Button1->click();
        });
        w.OpenClick();
        QCOMPARE(run.dialogs.fileDialogsShown.at(0).filter,
                 QStringLiteral("Full Flash (*.fls *bin);;Все файлы (*.*)"));
        QCOMPARE(shownModel, QStringLiteral("C55v50"));
        QCOMPARE(shownSpit, Hex6(c55::kSpitAdr));
        QCOMPARE(run.dialogs.prompt().shown().at(0).caption, kCaptionWarning);
        QVERIFY(WaitForSearch(w));
        const int count = sample::kPitCount + sample::kExtCount;
        QCOMPARE(int(w.session().Rows.size()), count);
        QCOMPARE(w.model().rowCount(), count);
        QCOMPARE(Cell(w, 0, ColNumber), QStringLiteral("1"));
        QCOMPARE(Cell(w, 0, ColPIT), QStringLiteral("660010"));
        QCOMPARE(Cell(w, count - 1, ColNumber), QString::number(count));
        QCOMPARE(w.StatusText(0), QStringLiteral("Поиск картинок завершён"));
        QCOMPARE(w.StatusText(1), QStringLiteral("Всего 10 картинок, из них 7 в PIT и 3 в ExtPIT"));
        QCOMPARE(w.Edit4->text(), path);
        QCOMPARE(w.Edit1->text(), QStringLiteral("C55v50"));
        QCOMPARE(MenuCaptions(*w.PopupMenu2).value(0), QStringLiteral("&0 ") + path);
        QCOMPARE(w.ProgressBar1->value(), 0);
        run.Exit();
    }
    QCOMPARE(folder.Stored("C55v50", "Default"), QStringLiteral("1"));
    QCOMPARE(folder.Stored("C55v50", "sPITAdr"), HexSetting(c55::kSpitAdr));

    // Known now: opened from the recent menu without warning or dialog.
    ProgramRun run(folder.Ini());
    TForm1& w = run.Start();
    w.PopupMenu2->actions().at(0)->trigger();
    QTRY_VERIFY(w.IsSearching());
    QVERIFY(WaitForSearch(w));
    QCOMPARE(int(w.session().Rows.size()), sample::kPitCount + sample::kExtCount);
    QVERIFY(run.dialogs.prompt().shown().empty());
    QCOMPARE(run.dialogs.modalsShown, 0);
}

void Unit1Test::openFailureAndQuestions() {
    TestFolder folder;
    const QString path = folder.Write(ManyPictures(20), QStringLiteral("a.bin"));
    ProgramRun run(folder.Ini());
    TForm1& w = run.Start();
    w.OpenFullFlash(path);
    QVERIFY(WaitForSearch(w));
    QCOMPARE(w.model().rowCount(), 20);

    // Refresh asks when work would be lost (here the pane's own text),
    // answered Cancel then No: the working copy is the base image again.
    auto& prompt = run.dialogs.prompt();
    w.session().image().MutableWorkImage()[0xC00000] ^= 0xFF;
    w.Memo1->setPlainText(QStringLiteral("; mine"));
    prompt.Script({Answer::Cancel, Answer::No});
    w.RefreshClick();
    QVERIFY(!w.IsSearching());
    w.RefreshClick();
    QCOMPARE(prompt.shown().back().caption, QStringLiteral("Подтверждение обновления"));
    QVERIFY(WaitForSearch(w));
    w.Memo1->clear();
    QCOMPARE(w.model().rowCount(), 20);
    QCOMPARE(
        std::memcmp(w.session().image().WorkImage(), w.session().image().BaseImage(), kImageSize),
        0);

    // A path that cannot be opened empties Edit4 and keeps the rows; then
    // refresh and close have nothing to act on.
    w.OpenFullFlash(folder.dir.filePath(QStringLiteral("gone.fls")));
    QVERIFY(w.Edit4->text().isEmpty());
    QCOMPARE(w.model().rowCount(), 20);
    prompt.Clear();
    w.RefreshClick();
    w.CloseClick();
    QCOMPARE(prompt.questions(), 0);

    w.OpenFullFlash(path);
    QVERIFY(WaitForSearch(w));
    prompt.Script({Answer::No, Answer::Yes});
    w.CloseClick();
    QCOMPARE(w.model().rowCount(), 20);
    w.CloseClick();
    QCOMPARE(prompt.shown().back().text, QStringLiteral("Закрыть этот фуллфлеш?"));
    QCOMPARE(w.model().rowCount(), 0);
    QVERIFY(w.Edit4->text().isEmpty() && w.Edit1->text().isEmpty());
    QCOMPARE(w.settings().ModelAndVersion, QStringLiteral("All"));
    QCOMPARE(w.session().image().BaseImage()[0xE60010], 0xFF);
    QVERIFY(EmptyPane(*w.Image1, qRgb(0, 0, 0)));
}

void Unit1Test::plainWordsForOddFiles() {
    TestFolder folder;
    ProgramRun run(folder.Ini());
    TForm1& w = run.Start();
    auto& prompt = run.dialogs.prompt();

    // A folder is refused with a message; nothing else happens.
    w.OpenFullFlash(folder.dir.path());
    QCOMPARE(int(prompt.shown().size()), 1);
    QCOMPARE(prompt.shown()[0].caption, kCaptionError);
    QCOMPARE(prompt.shown()[0].text,
             QStringLiteral("«%1» — это папка, а не файл FullFlash.").arg(folder.dir.path()));
    QVERIFY(w.Edit4->text().isEmpty() && !w.IsSearching());

    // A file without build information and without pictures: one warning
    // names the settings in force; the search's end says that nothing was
    // found and where to look.
    prompt.Clear();
    w.OpenFullFlash(folder.Write(FlashBuilder::C55(), QStringLiteral("blank.fls")));
    QCOMPARE(int(prompt.shown().size()), 1);
    QCOMPARE(prompt.shown()[0].caption, kCaptionWarning);
    QVERIFY(prompt.shown()[0].text.endsWith(QStringLiteral("Действуют общие настройки (All).")));
    QVERIFY(WaitForSearch(w));
    QCOMPARE(w.StatusText(0), QStringLiteral("Поиск картинок завершён"));
    QCOMPARE(w.StatusText(1), QStringLiteral("Всего 0 картинок, из них 0 в PIT и 0 в ExtPIT"));
    const QString none = QStringLiteral(
        "Картинки не найдены. Проверьте общие настройки (All) кнопкой «Nastavení» (поиск по "
        "таблицам: sPIT C4625C, ExtPIT E7F856).");
    QCOMPARE(w.StatusBar1->currentMessage(), none);
    QCOMPARE(w.StatusBar1->toolTip(), none);

    // The next search that finds pictures takes the words back; so does
    // closing.
    w.OpenFullFlash(folder.Write(ManyPictures(3), QStringLiteral("three.fls")));
    QVERIFY(WaitForSearch(w));
    QCOMPARE(w.model().rowCount(), 3);
    QVERIFY(w.StatusBar1->currentMessage().isEmpty() && w.StatusBar1->toolTip().isEmpty());
    w.OpenFullFlash(folder.dir.filePath(QStringLiteral("blank.fls")));
    QVERIFY(WaitForSearch(w));
    QCOMPARE(w.StatusBar1->currentMessage(), none);
    prompt.Script({Answer::Yes});
    w.CloseClick();
    QVERIFY(w.StatusBar1->currentMessage().isEmpty());

    // Only the file whose pictures were found entered the recent files: not
    // the folder, nor the file without pictures (opened twice).
    const QString three = folder.dir.filePath(QStringLiteral("three.fls"));
    QCOMPARE(MenuCaptions(*w.PopupMenu2), QStringList{QStringLiteral("&0 ") + three});
    // A file whose open stops (a stored value of its settings does not
    // convert) leaves no path behind, and no recent entry either.
    folder.Store("All", "PITAdrMin", "zz");
    prompt.Clear();
    w.OpenFullFlash(folder.dir.filePath(QStringLiteral("blank.fls")));
    QCOMPARE(prompt.shown().back().caption, kCaptionError);
    QVERIFY(w.Edit4->text().isEmpty() && !w.IsSearching());
    QCOMPARE(MenuCaptions(*w.PopupMenu2), QStringList{QStringLiteral("&0 ") + three});
    QCOMPARE(w.settings().Recent[0], three);
    QVERIFY(w.settings().Recent[1].isEmpty());
}

void Unit1Test::refreshDuringSearch() {
    TestFolder folder;
    const int count = 3000;
    const QString path = folder.Write(ManyPictures(count), QStringLiteral("many.fls"));
    ProgramRun run(folder.Ini());
    TForm1& w = run.Start();
    run.dialogs.prompt().Script({Answer::Yes, Answer::Yes});
    // Once before anything of the first search is listed, once while the
    // second one's rows come in: only the last search's rows and pictures
    // remain.
    w.OpenFullFlash(path);
    w.RefreshClick();
    int refreshed = 0;
    connect(&w.model(), &QAbstractItemModel::rowsInserted, &w, [&] {
        if (refreshed++ == 0) w.RefreshClick();
    });
    QVERIFY(WaitForSearch(w));
    QVERIFY(refreshed > 1);
    QCOMPARE(w.model().rowCount(), count);
    QCOMPARE(int(w.session().Pictures.size()), count);
    for (int row = 0; row < count; ++row)
        QCOMPARE(Cell(w, row, ColNumber), QString::number(row + 1));
}

void Unit1Test::closeAndDestroyDuringSearch() {
    TestFolder folder;
    const QString path = folder.Write(ManyPictures(3000), QStringLiteral("many.fls"));
    ProgramRun run(folder.Ini());
    TForm1& w = run.Start();
    // Closing while rows come in stops the search: nothing of the closed
    // image is listed later.
    run.dialogs.prompt().Script({Answer::Yes});
    const auto closing =
        connect(&w.model(), &QAbstractItemModel::rowsInserted, &w, [&] { w.CloseClick(); });
    w.OpenFullFlash(path);
    QTRY_VERIFY(!w.IsSearching());
    disconnect(closing);
    QTest::qWait(600);
    QCOMPARE(w.model().rowCount(), 0);
    QCOMPARE(w.StatusText(0), QStringLiteral("Поиск картинок завершён"));

    // Destroying the window in the middle of a search ends it cleanly.
    w.OpenFullFlash(path);
    QTest::qWait(1);
    run.Exit();
    QCOMPARE(folder.Stored("", "Recent0"), path);
}

void Unit1Test::selectRowAndFrameColour() {
    TestFolder folder;
    const QString path = folder.Write(FlashBuilder::SampleC55(), QStringLiteral("sample.fls"));
    ProgramRun run(folder.Ini());
    TForm1& w = run.Start();
    run.dialogs.modalSteps.push_back([](QDialog& d) { d.accept(); });
    w.OpenFullFlash(path);
    QVERIFY(WaitForSearch(w));

    const auto select = [&](int row) {
        w.ListView1->selectionModel()->select(
            w.model().index(row, 0),
            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    };
    // Each row shows its type in the depth controls without encoding.
    for (int row = 0; row < w.model().rowCount(); ++row) {
        select(row);
        const Picture& p = *w.session().PictureOfRow(row);
        const int item =
            int(std::find(TForm1::kDepthCodes.begin(), TForm1::kDepthCodes.end(), p.Type() & 0x7F) -
                TForm1::kDepthCodes.begin());
        QCOMPARE(w.RadioGroup1ItemIndex(), item);
        QCOMPARE(w.CheckBox3->isChecked(), bool(p.Type() & 0x80));
        QCOMPARE(w.Image2->bitmap().size(), p.DecodedBitmap.size() + QSize(2, 2));
        QCOMPARE(w.Image1->bitmap().pixel(1, 1), p.OldBitmap.pixel(0, 0));
        QCOMPARE(w.Image2->bitmap().pixel(0, 0), qRgb(0, 0, 0));
        QVERIFY(!p.Modified);
    }
    QCOMPARE(
        std::memcmp(w.session().image().WorkImage(), w.session().image().BaseImage(), kImageSize),
        0);

    // The colour chooser: cancelled, nothing changes; a colour redraws the
    // frames only.
    const QImage before = w.Image1->bitmap();
    w.Image1Click();
    QCOMPARE(w.FrameColor(), 0);
    run.dialogs.colourAnswers.push_back(QColor(255, 0, 0));
    w.Image1Click();
    QCOMPARE(run.dialogs.coloursAsked, 2);
    QCOMPARE(w.FrameColor(), 0x0000FF);
    QCOMPARE(w.settings().FrameColor, 0x0000FF);
    QCOMPARE(w.Image1->bitmap().pixel(0, 0), qRgb(255, 0, 0));
    QCOMPARE(w.Image2->bitmap().pixel(0, 0), qRgb(255, 0, 0));
    QCOMPARE(w.Image1->bitmap().pixel(1, 1), before.pixel(1, 1));
}

void Unit1Test::settingsButtonAndSelectAll() {
    TestFolder folder;
    ProgramRun run(folder.Ini());
    TForm1& w = run.Start();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    // The designed size holds everything.
    QVERIFY(w.minimumSizeHint().width() <= 778 && w.minimumSizeHint().height() <= 540);
    QCOMPARE(w.size(), QSize(778, 540));

    // Cancel still saves both groups; a window maximised since the start
    // stays maximised, as OK leaves it too.
    w.setWindowState(Qt::WindowMaximized);
    w.settings().AuthorName = QStringLiteral("Tester");
    w.Button1Click();
    QCOMPARE(run.dialogs.modalsShown, 1);
    QCOMPARE(folder.Stored("", "AuthorName"), QStringLiteral("Tester"));
    QVERIFY(w.windowState() & Qt::WindowMaximized);
    run.dialogs.modalSteps.push_back(
        [](QDialog& d) { d.findChild<QPushButton*>(QStringLiteral("Button1"))->click(); });
    w.Button1Click();
    QVERIFY(w.windowState() & Qt::WindowMaximized);
    QCOMPARE(folder.Stored("", "WindowState"), QStringLiteral("2"));
    // A reset of the program settings in the dialog brings the window back
    // to its designed normal size.
    run.dialogs.prompt().Script({Answer::Yes});
    run.dialogs.modalSteps.push_back(
        [](QDialog& d) { d.findChild<QPushButton*>(QStringLiteral("SetDefault"))->click(); });
    w.Button1Click();
    QVERIFY(!(w.windowState() & Qt::WindowMaximized));
    QTRY_COMPARE(w.size(), QSize(778, 540));

    // Ctrl+A selects the patch text only when the patch pane has the focus.
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.Memo1->setPlainText(QStringLiteral("line one\nline two"));
    w.ListView1->setFocus();
    QTest::keyClick(w.ListView1, Qt::Key_A, Qt::ControlModifier);
    QVERIFY(!w.Memo1->textCursor().hasSelection());
    w.Memo1->setFocus();
    QTest::keyClick(w.Memo1, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(w.Memo1->textCursor().selectedText().size(), w.Memo1->toPlainText().size());
}

QTEST_MAIN(Unit1Test)
#include "Unit1_test.moc"
