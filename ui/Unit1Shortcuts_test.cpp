// Every shortcut of the window, pressed as a user presses it, and the
// drop-down arrow of the recent files.
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTest>
#include <QToolButton>
#include <QTreeView>

#include "ui/picture_list_model.h"
#include "ui/ui_test_support.h"

using namespace vorlix;

class Unit1ShortcutsTest : public QObject {
    Q_OBJECT
  private slots:
    void everyShortcutAndTheRecentArrow();
    void tabMovesOnFromThePatchPane();
};

void Unit1ShortcutsTest::everyShortcutAndTheRecentArrow() {
    TestFolder folder;
    const QString flash = folder.Write(FlashBuilder::SampleC55(), QStringLiteral("s.fls"));
    // A firmware known already: no settings dialog takes the focus.
    folder.Store(QStringLiteral("C55v50"), QStringLiteral("Default"), QStringLiteral("1"));
    ProgramRun run(folder.Ini());
    TForm1& w = run.Start();
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    const auto press = [&](QWidget* focus, Qt::Key key, Qt::KeyboardModifiers modifiers) {
        focus->setFocus();
        QTest::keyClick(focus, key, modifiers);
    };
    QVERIFY(!w.RecentFiles->isEnabled());  // no recent file yet

    run.dialogs.openAnswers.push_back(flash);
    press(w.ListView1, Qt::Key_O, Qt::ControlModifier);
    QVERIFY(WaitForSearch(w));
    QCOMPARE(w.Edit4->text(), flash);
    press(w.ListView1, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(int(w.SelectedRows().size()), w.model().rowCount());
    w.Memo1->setPlainText(QStringLiteral("; mine"));
    press(w.Memo1, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(w.Memo1->textCursor().selectedText(), w.Memo1->toPlainText());
    press(w.ListView1, Qt::Key_G, Qt::ControlModifier);
    QCOMPARE(w.StatusText(2), QStringLiteral("Нет изменённых картинок: патч не создан"));
    run.dialogs.saveAnswers.push_back({folder.dir.filePath(QStringLiteral("mine")), 0});
    press(w.ListView1, Qt::Key_S, Qt::ControlModifier);
    QVERIFY(QFile::exists(folder.dir.filePath(QStringLiteral("mine.vkp"))));
    // F5 and Ctrl+W ask before the pane's new text is lost; No goes on.
    w.Memo1->setPlainText(QStringLiteral("; mine, more"));
    run.dialogs.prompt().Script({Answer::No, Answer::No});
    press(w.ListView1, Qt::Key_F5, Qt::NoModifier);
    QCOMPARE(run.dialogs.prompt().shown().back().caption,
             QStringLiteral("Подтверждение обновления"));
    QVERIFY(WaitForSearch(w));
    press(w.ListView1, Qt::Key_W, Qt::ControlModifier);
    QVERIFY(w.Edit4->text().isEmpty());

    // The arrow beside "Otevřít FF" drops the recent files down; an entry
    // opens its file.
    QVERIFY(w.RecentFiles->isVisible() && w.RecentFiles->isEnabled());
    QCOMPARE(w.RecentFiles->menu(), w.PopupMenu2);
    w.RecentFiles->menu()->actions().at(0)->trigger();
    QTRY_COMPARE(w.Edit4->text(), flash);
    QVERIFY(WaitForSearch(w));

    press(w.ListView1, Qt::Key_Q, Qt::ControlModifier);
    QVERIFY(!w.isVisible());
}

// Tab passes through the window, the patch pane included, without typing
// into the patch; Ctrl+Tab types a tab character there.
void Unit1ShortcutsTest::tabMovesOnFromThePatchPane() {
    TestFolder folder;
    ProgramRun run(folder.Ini());
    TForm1& w = run.Start();
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.Memo1->setPlainText(QStringLiteral("; mine"));
    w.ListView1->setFocus();
    bool passedThePane = false;
    for (int i = 0; i < 20 && !passedThePane; ++i) {
        QWidget* focus = QApplication::focusWidget();
        QVERIFY(focus);
        QTest::keyClick(focus, Qt::Key_Tab);
        passedThePane = focus == w.Memo1 && QApplication::focusWidget() != w.Memo1;
    }
    QVERIFY(passedThePane);
    QCOMPARE(w.Memo1->toPlainText(), QStringLiteral("; mine"));

    w.Memo1->setFocus();
    w.Memo1->moveCursor(QTextCursor::End);
    QTest::keyClick(w.Memo1, Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(w.Memo1->toPlainText(), QStringLiteral("; mine\t"));
    QVERIFY(w.Memo1->hasFocus());
}

QTEST_MAIN(Unit1ShortcutsTest)
#include "Unit1Shortcuts_test.moc"
