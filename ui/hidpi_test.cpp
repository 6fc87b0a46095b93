// The window on a screen of two device pixels per logical pixel, as on a
// 4K laptop (run with QT_SCALE_FACTOR=2): the layout is the designed one in
// logical pixels, and every picture pixel is a block of whole device
// pixels of its own colour, never smoothed.
#include <QComboBox>
#include <QDialog>
#include <QTabBar>
#include <QTest>
#include <QTreeView>

#include "picture/picture.h"
#include "ui/gallery_view.h"
#include "ui/picture_list_model.h"
#include "ui/pixel_viewer.h"
#include "ui/preview_pane.h"
#include "ui/ui_test_support.h"

using namespace vorlix;

namespace {

// True when `shown` (device pixels) holds `picture` with each pixel a
// k x k block from `origin` on.
bool Blocks(const QImage& shown, const QImage& picture, QPoint origin, int k) {
    for (int y = 0; y < picture.height() * k; ++y)
        for (int x = 0; x < picture.width() * k; ++x)
            if ((shown.pixel(origin + QPoint(x, y)) | 0xFF000000u) !=
                (picture.pixel(x / k, y / k) | 0xFF000000u))
                return false;
    return true;
}

}  // namespace

class HiDpiTest : public QObject {
    Q_OBJECT
  private slots:
    void picturesStaySharp();
};

void HiDpiTest::picturesStaySharp() {
    TestFolder folder;
    const QString path = folder.Write(FlashBuilder::SampleC55(), QStringLiteral("sample.fls"));
    ProgramRun run(folder.Ini());
    TForm1& w = run.Start();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.devicePixelRatioF(), 2.0);
    // The designed layout, in logical pixels.
    QCOMPARE(w.size(), QSize(778, 540));
    QCOMPARE(w.Image1->size(), QSize(103, 82));
    QVERIFY(w.minimumSizeHint().width() <= 778 && w.minimumSizeHint().height() <= 540);

    run.dialogs.modalSteps.push_back([](QDialog& d) { d.accept(); });
    w.OpenFullFlash(path);
    QVERIFY(WaitForSearch(w));
    const int row = 7;  // 6 x 3 pixels of many colours
    w.ListView1->selectionModel()->setCurrentIndex(
        w.model().index(row, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    const QImage& picture = w.session().PictureOfRow(row)->DecodedBitmap;

    // The panes at 1x and at "fit": two device pixels, then the most that fits.
    for (const int item : {1, 0}) {
        w.ZoomBox->setCurrentIndex(item);
        const int k = w.Image2->Factor();
        // A frame two device pixels wide on each side.
        const int fit = std::min((206 - 4) / picture.width(), (164 - 4) / picture.height());
        QCOMPARE(k, item == 1 ? 2 : fit);
        const QImage painted = w.Image2->grab().toImage();
        QCOMPARE(painted.size(), QSize(206, 164));
        const QImage shown = w.Image2->ShownImage();
        const QPoint origin((206 - shown.width()) / 2 + 2, (164 - shown.height()) / 2 + 2);
        QVERIFY2(Blocks(painted, picture, origin, k), qPrintable(QString::number(k)));
        QCOMPARE(painted.pixel(origin - QPoint(1, 1)), qRgb(0, 0, 0));  // the frame, two wide
        QCOMPARE(painted.pixel(origin - QPoint(2, 2)), qRgb(0, 0, 0));
    }

    // The gallery's thumbnail: whole blocks too.
    w.ViewTabs->setCurrentIndex(1);
    QTest::qWait(50);
    GalleryView& gallery = *w.Gallery1;
    const QRect square = gallery.delegate().SquareIn(gallery.visualRect(w.model().index(row, 0)));
    const int side = 2 * gallery.CellSize();
    const int k = std::min(side / picture.width(), side / picture.height());
    const QImage cells = gallery.viewport()->grab().toImage();
    const QPoint origin(2 * square.left() + (side - k * picture.width()) / 2,
                        2 * square.top() + (side - k * picture.height()) / 2);
    QVERIFY(Blocks(cells, picture, origin, k));

    // The viewer at 3x: six device pixels a picture pixel.
    w.PixelViewer1Execute();
    PixelViewer& viewer = *w.Viewer();
    QVERIFY(QTest::qWaitForWindowExposed(&viewer));
    viewer.SetZoom(3);
    QCOMPARE(viewer.NewCanvas->Factor(), 6);
    QVERIFY(Blocks(viewer.NewCanvas->grab().toImage(), picture, {0, 0}, 6));
    QCOMPARE(viewer.NewCanvas->PixelAt(QPointF(3.5, 0)), QPoint(1, 0));
}

int main(int argc, char* argv[]) {
    // Before the application exists, as the variable would be set outside.
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    HiDpiTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "hidpi_test.moc"
