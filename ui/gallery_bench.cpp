// Benchmark: the gallery of a FullFlash with 3000 pictures of 101 x 80
// (the largest the built-in settings admit), in a shown window. Prints
// the time to the gallery's first paint (target: 150 ms), the time per
// page when scrolling through it and how many thumbnails were made and
// reused, the time to search again with the gallery shown, whether any
// picture was decoded again (none should be), and the
// heap that pictures, rows and gallery hold beyond the image arrays
// (target: 100 MiB). It checks only that the gallery paints and that no
// picture is decoded again, never a time.
#include <malloc.h>

#include <QComboBox>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTabBar>
#include <QTest>

#include "picture/picture.h"
#include "ui/gallery_view.h"
#include "ui/picture_list_model.h"
#include "ui/ui_test_support.h"

using namespace vorlix;

namespace {

constexpr int kCount = 3000;

// 3000 one-bit pictures of 101 x 80, each with data of its own.
FlashBuilder LargestPictures() {
    constexpr std::int32_t kPitStart = 0xE60000;
    constexpr std::int32_t kData = 0x900000;
    constexpr std::int32_t kBytes = 13 * 80;  // 101 pixels a row: 13 bytes
    std::vector<RecordSpec> records;
    for (int i = 0; i < kCount; ++i) records.push_back({101, 80, 0x01, kData + i * kBytes});
    FlashBuilder flash = FlashBuilder::C55();
    flash.Pit(c55::kSpitAdr, kPitStart, records)
        .Random(kData, kCount * kBytes, 11)
        .ExtPit(c55::kExtPitAdr, {});
    return flash;
}

double MiB(std::size_t bytes) { return double(bytes) / (1 << 20); }

}  // namespace

class GalleryBench : public QObject {
    Q_OBJECT
  private slots:
    void gallery();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints_;
        return QObject::eventFilter(watched, event);
    }

  private:
    int paints_ = 0;
};

void GalleryBench::gallery() {
    TestFolder folder;
    const QString path = folder.Write(LargestPictures(), QStringLiteral("largest.fls"));
    ProgramRun run(folder.Ini());
    TForm1& w = run.Start();
    w.resize(1600, 1000);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCoreApplication::processEvents();
    const std::size_t heapBefore = mallinfo2().uordblks;

    w.OpenFullFlash(path);
    QVERIFY(WaitForSearch(w, 60000));
    QCOMPARE(w.model().rowCount(), kCount);
    const std::size_t heapListed = mallinfo2().uordblks;

    std::vector<qint64> keys;
    for (const auto& p : w.session().Pictures) keys.push_back(p->DecodedBitmap.cacheKey());

    GalleryView& gallery = *w.Gallery1;
    gallery.viewport()->installEventFilter(this);
    for (const int cell : GalleryView::kCellSizes) {
        w.ViewTabs->setCurrentIndex(0);
        w.GallerySizeBox->setCurrentIndex(
            int(std::find(GalleryView::kCellSizes.begin(), GalleryView::kCellSizes.end(), cell) -
                GalleryView::kCellSizes.begin()));
        QCoreApplication::processEvents();
        paints_ = 0;
        QElapsedTimer clock;
        clock.start();
        w.ViewTabs->setCurrentIndex(1);
        while (paints_ == 0 && clock.elapsed() < 10000) QCoreApplication::processEvents();
        const qint64 firstPaint = clock.elapsed();
        QVERIFY(paints_ > 0);

        // Down page by page to the end, then back up: every page painted.
        QScrollBar* bar = gallery.verticalScrollBar();
        const int madeBefore = gallery.delegate().cache().Made();
        const int reusedBefore = gallery.delegate().cache().Reused();
        int pages = 0;
        clock.restart();
        for (int v = 0; v <= bar->maximum(); v += bar->pageStep(), ++pages) {
            bar->setValue(v);
            gallery.viewport()->repaint();
        }
        const qint64 down = clock.restart();
        for (int v = bar->maximum(); v >= 0; v -= bar->pageStep()) {
            bar->setValue(v);
            gallery.viewport()->repaint();
        }
        const qint64 up = clock.elapsed();
        qInfo(
            "cell %3d: first paint of the %d-picture gallery %lld ms; %d pages down in %lld ms "
            "(%.1f ms a page), back up in %lld ms; thumbnails made %d, reused %d",
            cell, kCount, firstPaint, pages, down, double(down) / std::max(pages, 1), up,
            gallery.delegate().cache().Made() - madeBefore,
            gallery.delegate().cache().Reused() - reusedBefore);
    }

    // Searching again, the list shown and then the gallery: with the
    // gallery every slice of rows is laid out and painted as it comes.
    for (const int tab : {0, 1}) {
        w.ViewTabs->setCurrentIndex(tab);
        QCoreApplication::processEvents();
        QElapsedTimer clock;
        qint64 lastRow = -1;
        const auto watch = connect(&w.model(), &QAbstractItemModel::rowsInserted, &w, [&] {
            if (w.model().rowCount() == kCount) lastRow = clock.elapsed();
        });
        run.dialogs.prompt().Script({Answer::Yes});
        clock.start();
        w.RefreshClick();
        QVERIFY(WaitForSearch(w, 60000));
        disconnect(watch);
        QCOMPARE(w.model().rowCount(), kCount);
        qInfo("search again to the last of %d rows with the %s shown: %lld ms", kCount,
              tab == 0 ? "list" : "gallery", lastRow);
    }
    keys.clear();
    for (const auto& p : w.session().Pictures) keys.push_back(p->DecodedBitmap.cacheKey());
    gallery.verticalScrollBar()->setValue(gallery.verticalScrollBar()->maximum());
    gallery.viewport()->repaint();

    int decodedAgain = 0;
    for (std::size_t i = 0; i < keys.size(); ++i)
        decodedAgain += w.session().Pictures[i]->DecodedBitmap.cacheKey() != keys[i];
    const std::size_t heapAfter = mallinfo2().uordblks;
    qInfo("pictures decoded again while scrolling: %d", decodedAgain);
    qInfo(
        "heap beyond the image arrays: %.1f MiB with %d pictures listed, %.1f MiB after the "
        "gallery (its thumbnails %.1f MiB)",
        MiB(heapListed - heapBefore), kCount, MiB(heapAfter - heapBefore),
        MiB(heapAfter - heapListed));
    QCOMPARE(decodedAgain, 0);
}

QTEST_MAIN(GalleryBench)
#include "gallery_bench.moc"
