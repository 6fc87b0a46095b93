// The window's ways of seeing the pictures: the designed size and the
// growing layout, the panes' zoom, the pixel viewer, the gallery and the
// filter.
#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>

#include "picture/color_tables.h"
#include "picture/picture.h"
#include "ui/gallery_view.h"
#include "ui/list_filter.h"
#include "ui/picture_list_model.h"
#include "ui/pixel_viewer.h"
#include "ui/pixel_zoom.h"
#include "ui/preview_pane.h"
#include "ui/ui_test_support.h"

using namespace vorlix;

namespace {

constexpr std::int32_t kPit = 0xE60010;
constexpr std::int32_t kData = 0xD00000;

// Two-pixel pictures of every depth, the second pixel of each holding a
// value worth reading: 1-bit, 2-bit, 8-bit, 12-bit, 16-bit, 16-bit
// compressed, and a 2-bit compressed one that nothing decodes.
FlashBuilder EveryDepth() {
    const std::uint8_t types[] = {0x01, 0x03, 0x05, 0x07, 0x08, 0x88, 0x83};
    const std::vector<std::vector<std::uint8_t>> data = {{0x40},
                                                         {0x2C},
                                                         {0x00, 0xC0},
                                                         {0x21, 0xF3, 0x43, 0x05},
                                                         {0x00, 0x00, 0x00, 0xE0},
                                                         {0x02, 0x1F, 0x00},
                                                         {0x00}};
    std::vector<RecordSpec> records;
    FlashBuilder flash = FlashBuilder::C55();
    for (std::size_t i = 0; i < data.size(); ++i) {
        const std::int32_t at = kData + std::int32_t(i) * 16;
        records.push_back({2, 1, types[i], at});
        flash.Bytes(at, std::span<const std::uint8_t>(data[i]));
    }
    flash.Pit(c55::kSpitAdr, kPit, records).ExtPit(c55::kExtPitAdr, {});
    return flash;
}

TForm1& Opened(ProgramRun& run, const QString& path) {
    TForm1& w = run.Start();
    run.dialogs.modalSteps.push_back([](QDialog& d) { d.accept(); });
    w.OpenFullFlash(path);
    if (!WaitForSearch(w)) qFatal("search did not end");
    // The question before the first placement in a new firmware's area has
    // a test of its own.
    w.session().PlacementAreaAccepted = true;
    return w;
}

QRect InWindow(const QWidget* widget, const QWidget* window) {
    return {widget->mapTo(window, QPoint(0, 0)), widget->size()};
}

// Lets posted layout requests run.
void Settle() {
    QTest::qWait(20);
    QCoreApplication::processEvents();
}

void Click(QAbstractItemView* view, int row, Qt::KeyboardModifiers modifiers = {}) {
    const QRect r = view->visualRect(view->model()->index(row, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, modifiers, r.center());
}

// The rows whose index record a line of the patch pane changes.
std::vector<int> PatchRows(TForm1& w) {
    std::vector<int> rows;
    for (const QString& line : w.Memo1->toPlainText().split(QLatin1Char('\n'))) {
        bool ok = false;
        const int at = line.section(QLatin1Char(':'), 0, 0).toInt(&ok, 16);
        if (!ok || line.startsWith(QLatin1Char(';'))) continue;
        for (int r = 0; r < int(w.session().Rows.size()); ++r) {
            const int pit = w.session().Rows[std::size_t(r)][ColPIT].toInt(nullptr, 16);
            if (at >= pit && at < pit + 8 && std::find(rows.begin(), rows.end(), r) == rows.end())
                rows.push_back(r);
        }
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

}  // namespace

class ViewTest : public QObject {
    Q_OBJECT
  private slots:
    void designedSizeKeepsEveryControl();
    void growingGivesRoomToPanesAndList();
    void roomGoesWhereItShowsSomething();
    void zoomDrawsWholePixelBlocks();
    void zoomIsAProgramSetting();
    void viewerReadsEveryDepth();
    void galleryAndListShareTheSelection();
    void filterNarrowsBothViews();
};

// The window at 778 x 540 as designed: every control where it was before
// the layout learnt to grow (measured with this platform's fonts). Only the
// list gives the top of its place to the row of view choice and filter.
void ViewTest::designedSizeKeepsEveryControl() {
    struct Place {
        const char* name;
        QRect rect;
    };
    const Place designed[] = {
        {"Panel2", {0, 0, 778, 169}},       {"Close", {156, 4, 146, 22}},
        {"Refresh", {4, 30, 146, 22}},      {"Button1", {156, 30, 146, 22}},
        {"Edit4", {4, 56, 298, 22}},        {"Edit1", {4, 82, 298, 22}},
        {"CheckBox1", {4, 108, 298, 20}},   {"CheckBox2", {4, 132, 298, 20}},
        {"Panel4", {308, 4, 103, 82}},      {"Image1", {308, 4, 103, 82}},
        {"Panel5", {417, 4, 103, 82}},      {"Image2", {417, 4, 103, 82}},
        {"RadioGroup1", {526, 4, 78, 127}}, {"CheckBox3", {308, 125, 212, 20}},
        {"ToolBar2", {308, 90, 212, 31}},   {"Panel3", {610, 4, 164, 161}},
        {"Label8", {620, 52, 144, 14}},     {"Label9", {620, 72, 144, 14}},
        {"Label1", {620, 92, 144, 14}},     {"Image3", {676, 14, 32, 32}},
        {"Panel1", {0, 169, 778, 333}},     {"Splitter1", {0, 169, 778, 333}},
        {"Memo1", {531, 169, 247, 333}},    {"ProgressBar1", {0, 502, 778, 16}},
        {"StatusBar1", {0, 518, 778, 22}},  {"ListSide", {0, 169, 528, 333}},
    };
    TestFolder folder;
    ProgramRun run(folder.Ini());
    TForm1& w = run.Start();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    Settle();
    QCOMPARE(w.size(), QSize(778, 540));
    const auto check = [&] {
        // "Otevřít FF" and the arrow of its recent files share the place
        // of the designed button.
        QCOMPARE(InWindow(w.Open, &w), QRect(4, 4, 146 - w.RecentFiles->width(), 22));
        QCOMPARE(InWindow(w.RecentFiles, &w).right(), 149);
        for (const Place& p : designed) {
            const auto* widget = w.findChild<QWidget*>(QLatin1String(p.name));
            QVERIFY2(widget, p.name);
            QVERIFY2(InWindow(widget, &w) == p.rect, qPrintable(QStringLiteral("%1 at %2,%3 %4x%5")
                                                                    .arg(QLatin1String(p.name))
                                                                    .arg(InWindow(widget, &w).x())
                                                                    .arg(InWindow(widget, &w).y())
                                                                    .arg(widget->width())
                                                                    .arg(widget->height())));
        }
        // The list keeps its sides and bottom; the zoom choice sits under
        // the depth choice, as wide, inside the top panel.
        const QRect list = InWindow(w.ListView1, &w);
        QCOMPARE(list.left(), 0);
        QCOMPARE(list.width(), 528);
        QCOMPARE(list.bottom(), 501);
        QVERIFY(list.top() > 169 && list.top() <= 169 + 30);
        const QRect zoom = InWindow(w.ZoomBox, &w);
        QCOMPARE(zoom.left(), 526);
        QCOMPARE(zoom.width(), 78);
        QVERIFY(zoom.top() > 131 && zoom.bottom() < 169);
    };
    check();

    // Larger and back: the same places again.
    w.resize(1600, 1000);
    Settle();
    w.resize(778, 540);
    Settle();
    check();
}

void ViewTest::growingGivesRoomToPanesAndList() {
    TestFolder folder;
    ProgramRun run(folder.Ini());
    TForm1& w = run.Start();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    Settle();
    const QSize list = w.ListView1->size(), memo = w.Memo1->size();

    w.resize(1600, 1000);
    Settle();
    // The panes take the width and part of the height...
    QCOMPARE(w.Image1->height(), 82 + (1000 - 540) * 2 / 5);
    QCOMPARE(w.Image2->height(), w.Image1->height());
    QVERIFY(w.Image1->width() > 3 * 103);
    QVERIFY(std::abs(w.Image1->width() - w.Image2->width()) <= 1);
    QCOMPARE(w.Panel2->height(), 169 + (1000 - 540) * 2 / 5);
    // ...the list the rest of the height and most of the width...
    QVERIFY(w.ListView1->height() > list.height() + 200);
    QVERIFY(w.ListView1->width() > list.width() + 400);
    QVERIFY(w.Memo1->width() > memo.width());
    // ...while buttons, fields and the panels beside the panes keep theirs.
    QCOMPARE(w.Open->width() + w.RecentFiles->width(), 146);
    QCOMPARE(w.Edit4->width(), 298);
    QCOMPARE(w.RadioGroup1->width(), 78);
    QCOMPARE(w.Panel3->width(), 164);
    QCOMPARE(w.ProgressBar1->width(), 1600);
}

// Each zoom factor: every picture pixel a block of that many pixels, the
// frame one pixel wide around them; "fit" the largest factor that fits.
// A generated patch shows its addresses, a message box is as wide as its
// title, and a grown window's room goes where it shows something: the
// list's columns share the list's width, and the panes' tool bar and
// compress box stay level with the depth choice, right beside it.
void ViewTest::roomGoesWhereItShowsSomething() {
    TestFolder folder;
    const QString path = folder.Write(EveryDepth(), QStringLiteral("depths.fls"));
    ProgramRun run(folder.Ini());
    TForm1& w = Opened(run, path);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    Settle();

    QImage picture(20, 10, QImage::Format_RGB32);
    picture.fill(qRgb(200, 30, 30));
    const QString file = folder.dir.filePath(QStringLiteral("red.png"));
    QVERIFY(picture.save(file));
    run.dialogs.prompt().Script({Answer::Yes, Answer::Yes});
    w.ReplaceFromFile(2, file);
    w.MakePatchClick();
    QVERIFY(!w.Memo1->document()->isEmpty());
    Settle();
    QScrollBar* across = w.Memo1->horizontalScrollBar();
    w.Memo1->moveCursor(QTextCursor::End);
    Settle();
    QVERIFY(across->value() > 0);
    w.MakePatchClick();
    Settle();
    QCOMPARE(across->value(), 0);

    QGuiApplication::setApplicationDisplayName(QStringLiteral("Vorlix Editor"));
    QtUserDialogs dialogs(&w);
    int boxWidth = 0, titleWidth = 0;
    QTimer::singleShot(0, &w, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        boxWidth = box->width();
        titleWidth = box->fontMetrics().horizontalAdvance(box->windowTitle() +
                                                          QStringLiteral(" — Vorlix Editor"));
        box->button(QMessageBox::No)->click();
    });
    QCOMPARE(dialogs.Ask(QStringLiteral("Подтверждение закрытия"), QStringLiteral("Закрыть?"),
                         Buttons::YesNo),
             Answer::No);
    QVERIFY2(boxWidth > titleWidth + 100, qPrintable(QStringLiteral("%1").arg(boxWidth)));

    for (const QSize size : {QSize(778, 540), QSize(1600, 1000)}) {
        w.resize(size);
        Settle();
        const int room = w.ListView1->viewport()->width();
        QVERIFY(std::abs(w.ListView1->header()->length() - room) <= 1);
        const QRect bits = InWindow(w.RadioGroup1, &w);
        for (QWidget* under :
             {static_cast<QWidget*>(w.ToolBar2), static_cast<QWidget*>(w.CheckBox3)}) {
            const QRect r = InWindow(under, &w);
            QVERIFY2(bits.left() - r.right() > 0 && bits.left() - r.right() <= 10,
                     qPrintable(under->objectName()));
            QVERIFY2(r.top() > bits.top() && r.top() < bits.bottom(),
                     qPrintable(under->objectName()));
        }
    }
}

void ViewTest::zoomDrawsWholePixelBlocks() {
    QImage picture(3, 2, QImage::Format_RGB32);
    const QRgb colours[2][3] = {{qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)},
                                {qRgb(10, 20, 30), qRgb(200, 100, 50), qRgb(255, 255, 255)}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) picture.setPixel(x, y, colours[y][x]);
    const QRgb frame = qRgb(0, 0, 0);

    PreviewPane pane;
    pane.ShowBitmap(picture, QColor(frame));
    pane.resize(103, 82);
    pane.show();
    QVERIFY(QTest::qWaitForWindowExposed(&pane));
    QCOMPARE(pane.bitmap().size(), QSize(5, 4));  // the picture at its own size
    for (const int zoom : {1, 2, 3, 4, 6, 8}) {
        pane.SetZoom(zoom);
        QCOMPARE(pane.Factor(), zoom);
        const QImage shown = pane.ShownImage();
        QCOMPARE(shown.size(), QSize(3 * zoom + 2, 2 * zoom + 2));
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x) {
                const bool edge =
                    x == 0 || y == 0 || x == shown.width() - 1 || y == shown.height() - 1;
                const QRgb expected = edge ? frame : colours[(y - 1) / zoom][(x - 1) / zoom];
                QVERIFY2(shown.pixel(x, y) == (expected | 0xFF000000u),
                         qPrintable(QStringLiteral("zoom %1 at %2,%3").arg(zoom).arg(x).arg(y)));
            }
        // What is painted is that image, centred on whole pixels.
        const QImage painted = pane.grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QPoint origin((103 - shown.width()) / 2, (82 - shown.height()) / 2);
        QCOMPARE(painted.pixel(origin), frame | 0xFF000000u);
        QCOMPARE(painted.pixel(origin + QPoint(1 + 2 * zoom, 1 + zoom)),
                 colours[1][2] | 0xFF000000u);
        QCOMPARE(painted.pixel(origin + QPoint(zoom, zoom)), colours[0][0] | 0xFF000000u);
    }
    // Fit: 33 keeps 3 x 2 pixels and their frame inside 103 x 82; a wider,
    // flatter pane lets the height decide.
    pane.SetZoom(0);
    QCOMPARE(pane.Factor(), 33);
    QCOMPARE(pane.ShownImage().size(), QSize(101, 68));
    pane.resize(300, 100);
    QCOMPARE(pane.Factor(), 49);
    QCOMPARE(FitFactor({101, 80}, {103, 82}, 1), 1);
    QCOMPARE(FitFactor({101, 80}, {102, 82}, 1), 1);  // too wide: still 1, centred and cut
    QCOMPARE(FitFactor({10, 8}, {512, 266}, 1), 33);

    // Larger than the pane: centred and cut, each block still whole.
    QImage large(101, 80, QImage::Format_RGB32);
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 101; ++x) large.setPixel(x, y, qRgb(x * 2, y * 3, (x + y) % 256));
    pane.resize(103, 82);
    pane.ShowBitmap(large, QColor(frame));
    pane.SetZoom(2);
    const QImage cut = pane.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QPoint origin((103 - (101 * 2 + 2)) / 2, (82 - (80 * 2 + 2)) / 2);
    for (const QPoint at : {QPoint(0, 0), QPoint(51, 40), QPoint(102, 81), QPoint(7, 70)}) {
        const QPoint inside = at - origin - QPoint(1, 1);
        QCOMPARE(cut.pixel(at), large.pixel(inside.x() / 2, inside.y() / 2));
    }
    pane.ShowBitmap(picture, QColor(frame));

    // A double click keeps its meaning: the frame colour, the picture stays.
    PreviewPane::connect(&pane, &PreviewPane::doubleClicked, &pane,
                         [&] { pane.DrawFrame(QColor(255, 0, 0)); });
    pane.SetZoom(2);
    QTest::mouseDClick(&pane, Qt::LeftButton);
    QCOMPARE(pane.ShownImage().pixel(0, 0), qRgb(255, 0, 0));
    QCOMPARE(pane.ShownImage().pixel(7, 5), qRgb(255, 0, 0));
    QCOMPARE(pane.ShownImage().pixel(1, 1), colours[0][0] | 0xFF000000u);
}

// The zoom is kept as "PreviewZoom": 1 without it, the choice at exit, and
// the wheel over a pane steps it. The gallery's cell size and whether the
// gallery is shown are kept the same way.
void ViewTest::zoomIsAProgramSetting() {
    TestFolder folder;
    const QString path = folder.Write(EveryDepth(), QStringLiteral("depths.fls"));
    {
        ProgramRun run(folder.Ini());
        TForm1& w = run.Start();
        QCOMPARE(w.Image1->Zoom(), 1);
        QCOMPARE(w.Gallery1->CellSize(), 64);
        QCOMPARE(w.Views->currentWidget(), w.ListView1);
        w.ZoomBox->setCurrentIndex(5);  // 6x
        QCOMPARE(w.Image2->Zoom(), 6);
        w.ViewTabs->setCurrentIndex(1);
        w.GallerySizeBox->setCurrentIndex(2);
        run.Exit();
    }
    QCOMPARE(folder.Stored("", "PreviewZoom"), QStringLiteral("6"));
    QCOMPARE(folder.Stored("", "GalleryCell"), QStringLiteral("128"));
    QCOMPARE(folder.Stored("", "ShowGallery"), QStringLiteral("1"));
    folder.Store("", "PreviewZoom", "0");
    ProgramRun run(folder.Ini());
    TForm1& w = Opened(run, path);
    QCOMPARE(w.Gallery1->CellSize(), 128);
    QCOMPARE(w.Views->currentWidget(), w.Gallery1);
    QVERIFY(w.GallerySizeBox->isVisibleTo(&w));
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.Image1->Zoom(), 0);
    w.ListView1->selectionModel()->select(
        w.model().index(2, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    // 2 x 1 pixels and the frame in the 103 x 82 pane: 50 each.
    QCOMPARE(w.Image2->Factor(), 50);
    QCOMPARE(w.Image2->ShownImage().pixel(51, 1), Palette8[0xC0] | 0xFF000000u);
    // The wheel steps from the factor shown: at fit nothing lies above 50,
    // so up keeps the fit, and down zooms out to the largest factor below.
    const auto wheel = [&](int delta) {
        QWheelEvent turn(QPointF(5, 5), w.Image2->mapToGlobal(QPointF(5, 5)), {}, QPoint(0, delta),
                         Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(w.Image2, &turn);
        return w.Image1->Zoom();
    };
    QCOMPARE(wheel(120), 0);
    QCOMPARE(wheel(-120), 8);
    QCOMPARE(wheel(-120), 6);
    QCOMPARE(wheel(120), 8);
    QCOMPARE(w.settings().PreviewZoom, 8);

    // zoom, factor fitted, step: the zoom chosen.
    const int steps[][4] = {
        {0, 3, 1, 4},  {0, 3, -1, 2}, {0, 5, 1, 6},   {0, 5, -1, 4}, {0, 1, -1, 0}, {0, 9, 1, 0},
        {0, 9, -1, 8}, {1, 33, 1, 2}, {1, 33, -1, 1}, {8, 1, 1, 8},  {6, 1, -1, 4},
    };
    for (const auto& s : steps)
        QVERIFY2(WheelZoom(s[0], s[1], s[2]) == s[3],
                 qPrintable(QStringLiteral("%1 %2 %3").arg(s[0]).arg(s[1]).arg(s[2])));
}

// The viewer opens with Enter on a row and reads, for old and new, the
// value each depth stores and the colour; it follows the selection and a
// replacement.
void ViewTest::viewerReadsEveryDepth() {
    TestFolder folder;
    const QString path = folder.Write(EveryDepth(), QStringLiteral("depths.fls"));
    ProgramRun run(folder.Ini());
    TForm1& w = Opened(run, path);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.model().rowCount(), 7);
    const char* second[] = {
        "индекс 1, RGB(0, 0, 0)",         "индекс 2, RGB(0, 0, 192)",
        "индекс 192, RGB(240, 240, 240)", "0x543, RGB(80, 64, 48)",
        "0xE000, RGB(255, 255, 255)",     "0x001F, RGB(0, 0, 255)",
        "нет данных, RGB(255, 255, 255)",
    };
    w.ListView1->setFocus();
    for (int row = 0; row < 7; ++row) {
        w.ListView1->selectionModel()->setCurrentIndex(
            w.model().index(row, 0),
            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        if (row == 0) {
            QVERIFY(!w.Viewer());
            QTest::keyClick(w.ListView1, Qt::Key_Return);
            QVERIFY(w.Viewer() && w.Viewer()->isVisible());
            QVERIFY(QTest::qWaitForWindowExposed(w.Viewer()));
        }
        PixelViewer& v = *w.Viewer();
        // The pointer over the second pixel at 8x (the viewer's start).
        QMouseEvent move(QEvent::MouseMove, QPointF(8 + 3, 3),
                         v.NewCanvas->mapToGlobal(QPointF(11, 3)), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(v.NewCanvas, &move);
        const QString expected =
            QStringLiteral("x: 1, y: 0\nСтарое: %1\nНовое: %1").arg(QString::fromUtf8(second[row]));
        QCOMPARE(v.Readout(), expected);
        v.PointAt({2, 0});
        QCOMPARE(v.Readout(),
                 QStringLiteral("x: 2, y: 0\nСтарое: вне картинки\nНовое: вне картинки"));
    }

    // Zoom by wheel and keys, 1 to 16; the grid.
    PixelViewer& v = *w.Viewer();
    QCOMPARE(v.Zoom(), 8);
    QTest::keyClick(&v, Qt::Key_Plus);
    QCOMPARE(v.Zoom(), 9);
    for (int i = 0; i < 20; ++i) QTest::keyClick(&v, Qt::Key_Minus);
    QCOMPARE(v.Zoom(), 1);
    QWheelEvent up(QPointF(1, 1), v.OldCanvas->mapToGlobal(QPointF(1, 1)), {}, QPoint(0, 120),
                   Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    for (int i = 0; i < 20; ++i) QApplication::sendEvent(v.OldCanvas, &up);
    QCOMPARE(v.Zoom(), 16);
    QCOMPARE(v.ZoomSpin->value(), 16);
    QCOMPARE(v.NewCanvas->ShownImage().size(), QSize(32, 16));
    v.SetGrid(true);
    const QImage grid = v.NewCanvas->ShownImage();
    QVERIFY(grid.pixel(0, 5) != grid.pixel(5, 5));  // a grid line, then the pixel's colour
    QCOMPARE(grid.pixel(5, 5), grid.pixel(15, 15));

    // A replacement: the new side reads the new data, the old side stays.
    w.ListView1->selectionModel()->setCurrentIndex(
        w.model().index(2, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    w.RadioGroup1Items->button(4)->click();  // 16 bit
    QCOMPARE(w.session().Rows[2][ColModified], QStringLiteral("yes"));
    v.PointAt({1, 0});
    const std::uint16_t stored = ColorTo16(240, 240, 240);
    const int level = qRed(Colors16[stored]);
    QCOMPARE(v.Readout(),
             QStringLiteral("x: 1, y: 0\nСтарое: индекс 192, RGB(240, 240, 240)\n"
                            "Новое: 0x%1, RGB(%2, %2, %2)")
                 .arg(QString::number(stored, 16).toUpper().rightJustified(4, QLatin1Char('0')))
                 .arg(level));
    QVERIFY(v.windowTitle().contains(QLatin1String("660020")));

    // A refresh leaves no row selected: the open viewer shows nothing. It
    // asks first, as a picture is modified: No refreshes without a patch.
    run.dialogs.prompt().Script({Answer::No});
    w.RefreshClick();
    QVERIFY(WaitForSearch(w));
    QCOMPARE(v.Readout(), QStringLiteral("Выберите картинку в списке или в галерее"));
}

// A click in the gallery selects in the list and shows the panes; a click
// in the list selects in the gallery; the row commands work from the
// gallery; a replaced picture shows its mark.
void ViewTest::galleryAndListShareTheSelection() {
    TestFolder folder;
    const QString path = folder.Write(FlashBuilder::SampleC55(), QStringLiteral("sample.fls"));
    ProgramRun run(folder.Ini());
    TForm1& w = Opened(run, path);
    w.resize(1000, 700);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.ViewTabs->setCurrentIndex(1);
    QVERIFY(w.Gallery1->isVisible() && !w.ListView1->isVisible());
    QVERIFY(w.GallerySizeBox->isVisible());
    Settle();

    Click(w.Gallery1, 3);
    QCOMPARE(w.SelectedRow(), 3);
    QCOMPARE(w.Image2->bitmap().pixel(1, 1),
             w.session().PictureOfRow(3)->DecodedBitmap.pixel(0, 0));
    Click(w.Gallery1, 5, Qt::ControlModifier);
    QCOMPARE(w.SelectedRows(), (std::vector<int>{3, 5}));
    // The selection is drawn in the gallery: the cell's corner in the
    // highlight colour.
    const QRect cell = w.Gallery1->visualRect(w.model().index(5, 0));
    const QImage gallery = w.Gallery1->viewport()->grab().toImage();
    QCOMPARE(QColor(gallery.pixel(cell.topLeft() + QPoint(1, 1))),
             w.Gallery1->palette().color(QPalette::Highlight));

    // Saving under automatic names takes both rows selected in the gallery.
    w.CheckBox1->setChecked(true);
    w.RememberFolder(folder.dir.filePath(QStringLiteral("x.fls")));
    w.Save1Click();
    QVERIFY(QFile::exists(
        folder.dir.filePath(QStringLiteral("PIT_") + w.session().Rows[3][ColPIT] + ".bmp")));
    QVERIFY(QFile::exists(
        folder.dir.filePath(QStringLiteral("PIT_") + w.session().Rows[5][ColPIT] + ".bmp")));

    // A depth chosen for the row clicked in the gallery re-encodes it; its
    // cell gets the mark of a replaced picture.
    Click(w.Gallery1, 1);
    w.RadioGroup1Items->button(3)->click();  // 12 bit
    QCOMPARE(w.session().Rows[1][ColModified], QStringLiteral("yes"));
    QCOMPARE(w.session().Rows[1][ColDepth], QStringLiteral("12"));
    Settle();
    const QRect marked =
        w.Gallery1->delegate().SquareIn(w.Gallery1->visualRect(w.model().index(1, 0)));
    QCOMPARE(
        QColor(w.Gallery1->viewport()->grab().toImage().pixel(marked.topRight() + QPoint(-1, 1))),
        QColor(220, 30, 30));
    QVERIFY(GalleryDelegate::RowTip(w.model().index(1, 0))
                .startsWith(QStringLiteral("№: 2\nCompressed: ")));
    QVERIFY(
        GalleryDelegate::RowTip(w.model().index(1, 0)).endsWith(QStringLiteral("Modifyed: yes")));

    // Enter in the gallery opens the viewer on its row.
    w.Gallery1->setFocus();
    QTest::keyClick(w.Gallery1, Qt::Key_Return);
    QVERIFY(w.Viewer() && w.Viewer()->isVisible());
    QVERIFY(w.Viewer()->windowTitle().contains(w.session().Rows[1][ColPIT]));

    // Back in the list the selection is the same; a click there selects in
    // the gallery.
    w.ViewTabs->setCurrentIndex(0);
    QVERIFY(w.ListView1->isVisible() && !w.GallerySizeBox->isVisible());
    Click(w.ListView1, 6);
    QCOMPARE(w.Gallery1->selectionModel()->selectedRows(), QModelIndexList{w.model().index(6, 0)});
    QVERIFY(w.Viewer()->windowTitle().contains(w.session().Rows[6][ColPIT]));

    // Thumbnails are made once and reused when painted again.
    w.ViewTabs->setCurrentIndex(1);
    Settle();
    const int made = w.Gallery1->delegate().cache().Made();
    w.Gallery1->viewport()->repaint();
    QCOMPARE(w.Gallery1->delegate().cache().Made(), made);
    QVERIFY(w.Gallery1->delegate().cache().Reused() > 0);
}

// The filter narrows list and gallery alike; rows keep their numbers; a
// range selected across hidden rows leaves them out, so patch generation
// for the selected rows does not take them.
void ViewTest::filterNarrowsBothViews() {
    TestFolder folder;
    const QString path = folder.Write(FlashBuilder::SampleC55(), QStringLiteral("sample.fls"));
    ProgramRun run(folder.Ini());
    TForm1& w = run.Start();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    // Typed before the rows come: they are filtered as they arrive.
    w.FilterEdit->setText(QStringLiteral("compressed"));
    run.dialogs.modalSteps.push_back([](QDialog& d) { d.accept(); });
    w.OpenFullFlash(path);
    QVERIFY(WaitForSearch(w));
    w.session().PlacementAreaAccepted = true;
    const int total = w.model().rowCount();
    const auto shownRows = [&] {
        std::vector<int> rows;
        for (int r = 0; r < total; ++r) {
            const bool inList = !w.ListView1->isRowHidden(r, QModelIndex());
            if (inList != !w.Gallery1->isRowHidden(r)) qFatal("list and gallery differ");
            if (inList) rows.push_back(r);
        }
        return rows;
    };
    std::vector<int> compressed;
    for (int r = 0; r < total; ++r)
        if (w.session().Rows[r][ColCompressed] == QLatin1String("yes")) compressed.push_back(r);
    QVERIFY(!compressed.empty() && int(compressed.size()) < total);
    QCOMPARE(shownRows(), compressed);
    QCOMPARE(w.FilterCount->text(), QStringLiteral("%1 из %2").arg(compressed.size()).arg(total));

    w.FilterEdit->setText(QStringLiteral("660018"));
    QCOMPARE(shownRows(), std::vector<int>{1});
    QCOMPARE(w.session().Rows[1][ColNumber], QStringLiteral("2"));  // numbers stay
    w.FilterEdit->clear();
    QCOMPARE(int(shownRows().size()), total);

    // Rows 1, 2 and 3 replaced as 12-bit pictures; then row 2 becomes
    // 8-bit, which the filter hides as soon as the row changes.
    for (int r = 1; r <= 3; ++r) {
        w.ListView1->selectionModel()->select(
            w.model().index(r, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        w.RadioGroup1Items->button(3)->click();
    }
    w.FilterEdit->setText(QStringLiteral("modified 12bit"));
    QCOMPARE(shownRows(), (std::vector<int>{1, 2, 3}));
    w.ListView1->selectionModel()->select(
        w.model().index(2, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    w.RadioGroup1Items->button(2)->click();
    QCOMPARE(w.session().Rows[2][ColDepth], QStringLiteral("8"));
    QCOMPARE(shownRows(), (std::vector<int>{1, 3}));
    QVERIFY(w.filter().IsHidden(2));

    // A range selected from row 1 to row 3 leaves the hidden row out, and
    // so does the patch of the selected rows.
    w.ListView1->selectionModel()->clearSelection();
    w.ListView1->setFocus();
    Click(w.ListView1, 1);
    Click(w.ListView1, 3, Qt::ShiftModifier);
    QCOMPARE(w.SelectedRows(), (std::vector<int>{1, 3}));
    w.ViewTabs->setCurrentIndex(1);
    Settle();
    Click(w.Gallery1, 3);
    Click(w.Gallery1, 1, Qt::ShiftModifier);
    QCOMPARE(w.SelectedRows(), (std::vector<int>{1, 3}));
    w.ViewTabs->setCurrentIndex(0);
    w.CheckBox2->setChecked(true);
    w.MakePatchClick();
    QCOMPARE(PatchRows(w), (std::vector<int>{1, 3}));

    // A hidden row that is selected is acted on: it stays selected.
    w.Memo1->clear();
    w.FilterEdit->clear();
    Click(w.ListView1, 2);
    w.FilterEdit->setText(QStringLiteral("12bit"));
    QVERIFY(w.filter().IsHidden(2));
    QCOMPARE(w.SelectedRows(), std::vector<int>{2});
    w.MakePatchClick();
    QCOMPARE(PatchRows(w), std::vector<int>{2});
}

QTEST_MAIN(ViewTest)
#include "view_test.moc"
