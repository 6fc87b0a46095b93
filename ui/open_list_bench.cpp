// Benchmark: the way from the open command to the last row of a FullFlash
// with 3000 pictures, with the window shown and repainting. Prints the
// figures (target: 1 s); it checks only that every row arrives while the
// list repaints, never a time.
#include <QElapsedTimer>
#include <QTest>
#include <QTreeView>

#include "ui/picture_list_model.h"
#include "ui/ui_test_support.h"

using namespace vorlix;

class OpenListBench : public QObject {
    Q_OBJECT
  private slots:
    void openToLastRow_data() {
        QTest::addColumn<bool>("scanRecords");
        QTest::newRow("by tables") << false;
        QTest::newRow("by records") << true;
    }
    void openToLastRow() {
        QFETCH(bool, scanRecords);
        constexpr int kCount = 3000;
        TestFolder folder;
        folder.Store("All", "SearchType", scanRecords ? "1" : "0");
        const QString path = folder.Write(ManyPictures(kCount), QStringLiteral("many.fls"));
        ProgramRun run(folder.Ini());
        TForm1& w = run.Start();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        int repaints = 0;
        w.ListView1->viewport()->installEventFilter(this);
        connect(this, &OpenListBench::painted, &w, [&] { ++repaints; });

        QElapsedTimer clock;
        qint64 lastRowMs = -1;
        connect(&w.model(), &QAbstractItemModel::rowsInserted, &w, [&] {
            if (w.model().rowCount() == kCount) lastRowMs = clock.elapsed();
        });
        clock.start();
        w.OpenFullFlash(path);
        const qint64 openedMs = clock.elapsed();
        QVERIFY(WaitForSearch(w));
        QCOMPARE(w.model().rowCount(), kCount);
        qInfo(
            "open to the last of %d rows (%s): %lld ms (open procedure %lld ms), %d repaints "
            "of the list",
            kCount, scanRecords ? "by records" : "by tables", lastRowMs, openedMs, repaints);
        QVERIFY(repaints > 1);
    }

  signals:
    void painted();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) emit painted();
        return QObject::eventFilter(watched, event);
    }
};

QTEST_MAIN(OpenListBench)
#include "open_list_bench.moc"
