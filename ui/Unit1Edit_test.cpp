// Files dropped on the window, the picture on the clipboard, revert, undo and
// redo with their keys, and pictures saved as PNG.
#include <QCheckBox>
#include <QClipboard>
#include <QDialog>
#include <QDir>
#include <QDragEnterEvent>
#include <QGuiApplication>
#include <QImageReader>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QSortFilterProxyModel>
#include <QTest>
#include <QTreeView>
#include <QUndoStack>
#include <cstring>

#include "picture/picture.h"
#include "ui/file_drop.h"
#include "ui/gallery_view.h"
#include "ui/picture_list_model.h"
#include "ui/preview_pane.h"
#include "ui/ui_test_support.h"

using namespace vorlix;

namespace {

const QString kYes = QStringLiteral("yes");

// A picture of one colour with a black corner; without a colour, one whose
// every pixel differs, which does not shrink when encoded.
QString WriteImage(const TestFolder& folder, const QString& name, QSize size, QRgb colour = 0) {
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, colour ? colour : qRgb(x * 20, y * 25, 90));
    image.setPixel(0, 0, qRgb(0, 0, 0));
    const QString path = folder.dir.filePath(name);
    if (!image.save(path)) qFatal("cannot write %s", qPrintable(path));
    return path;
}

// Drags `files` onto `target` at `pos` and drops them there, as the desktop
// does, then lets the window handle them. False when the drag was refused.
bool DropOn(QWidget* target, QPoint pos, const QStringList& files) {
    QMimeData mime;
    QList<QUrl> urls;
    for (const QString& file : files) urls << QUrl::fromLocalFile(file);
    mime.setUrls(urls);
    QDragEnterEvent enter(pos, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent drop(QPointF(pos), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
    QCoreApplication::processEvents();
    return drop.isAccepted();
}

// The sample FullFlash open in a shown window. The firmware is known
// already, so no settings dialog comes up; sizes do not ask.
struct Window {
    TestFolder folder;
    QString flash = folder.Write(FlashBuilder::SampleC55(), QStringLiteral("s.fls"));
    bool known =
        (folder.Store(QStringLiteral("C55v50"), QStringLiteral("Default"), QStringLiteral("1")),
         true);
    ProgramRun run{folder.Ini()};
    TForm1& w = run.Start();

    Window() {
        w.settings().AskSizeChange = false;
        w.show();
        w.activateWindow();
        if (!QTest::qWaitForWindowActive(&w)) qFatal("the window is not active");
        w.OpenFullFlash(flash);
        if (!WaitForSearch(w)) qFatal("search did not end");
    }
    Picture& Pic(int row) { return *w.session().PictureOfRow(row); }
    QString Cell(int row, int column) { return w.session().Rows.at(row)[column]; }
    QPoint RowCentre(int row) { return w.ListView1->visualRect(w.model().index(row, 3)).center(); }
    bool WorkIsBase() {
        return std::memcmp(w.session().image().WorkImage(), w.session().image().BaseImage(),
                           kImageSize) == 0;
    }
    void Press(QWidget* focus, Qt::Key key, Qt::KeyboardModifiers modifiers) {
        focus->setFocus();
        QTest::keyClick(focus, key, modifiers);
    }
};

}  // namespace

class Unit1EditTest : public QObject {
    Q_OBJECT
  private slots:
    void everyDropTarget();
    void copyAndPasteThroughTheClipboard();
    void revertUndoAndRedo();
    void savePicturesAsPng();
};

void Unit1EditTest::everyDropTarget() {
    Window t;
    TForm1& w = t.w;
    const QString red = WriteImage(t.folder, "red.png", {6, 4}, qRgb(255, 0, 0));

    // A picture dropped on a row replaces that row's picture and selects it;
    // on a pane, the selected row's picture.
    QVERIFY(DropOn(w.ListView1->viewport(), t.RowCentre(2), {red}));
    QCOMPARE(t.Cell(2, ColX) + t.Cell(2, ColModified), QStringLiteral("6yes"));
    QCOMPARE(w.SelectedRow(), 2);
    QCOMPARE(w.Image2->bitmap().size(), QSize(8, 6));
    w.SelectRow(4);
    QVERIFY(DropOn(w.Image1, {10, 10}, {red}));
    QCOMPARE(t.Cell(4, ColModified), kYes);

    // Several files named after pictures, anywhere on the list: one batch,
    // one step to undo.
    const QStringList named = {WriteImage(t.folder, "PIT_660010.bmp", {4, 4}, qRgb(0, 0, 255)),
                               WriteImage(t.folder, "PIT_660018 new.png", {3, 2}, qRgb(0, 255, 0)),
                               WriteImage(t.folder, "other.png", {3, 2}, qRgb(0, 255, 0))};
    QVERIFY(DropOn(w.ListView1->viewport(), t.RowCentre(6), named));
    QCOMPARE(t.Cell(0, ColModified) + t.Cell(1, ColModified) + t.Cell(6, ColModified), kYes + kYes);
    QVERIFY(w.StatusText(2).startsWith(QStringLiteral("Удачно заменено 2 картинок из 3")));
    w.EditUndo1Execute();
    QVERIFY(t.Cell(0, ColModified).isEmpty() && t.Cell(1, ColModified).isEmpty());
    QCOMPARE(t.Cell(2, ColModified), kYes);

    // A patch dropped on the patch pane joins the installed patches; the
    // image opened again with it holds its bytes, the pane keeps its text,
    // and the edits before are gone with the reopened image.
    const QString patch = t.folder.dir.filePath(QStringLiteral("p.vkp"));
    QFile file(patch);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write("500000: 90 11\r\n") > 0);
    file.close();
    w.Memo1->setPlainText(QStringLiteral("; mine"));
    t.run.dialogs.prompt().Script({Answer::Yes});
    QVERIFY(DropOn(w.Memo1->viewport(), {20, 20}, {patch}));
    QVERIFY(WaitForSearch(w));
    QCOMPARE(w.InstalledPatches().size(), std::size_t{1});
    QCOMPARE(int(w.session().image().WorkImage()[0xD00000]), 0x11);
    QCOMPARE(w.Memo1->toPlainText(), QStringLiteral("; mine"));
    QVERIFY(!w.UndoStack1->canUndo());
    QVERIFY(!w.HasModifiedPictures());

    // A FullFlash dropped anywhere on the window opens, asking first as an
    // open does over modified pictures (No: without saving a patch first).
    QVERIFY(DropOn(w.ListView1->viewport(), t.RowCentre(2), {red}));
    t.run.dialogs.prompt().Script({Answer::No});
    QVERIFY(DropOn(w.Edit4, {5, 5}, {t.flash}));
    QCOMPARE(t.run.dialogs.prompt().shown().back().caption,
             QStringLiteral("Подтверждение открытия"));
    QVERIFY(WaitForSearch(w));
    QVERIFY(!w.HasModifiedPictures());

    // A picture dropped on a gallery cell replaces that cell's picture.
    w.ViewTabsChange(1);
    QCoreApplication::processEvents();
    QVERIFY(DropOn(w.Gallery1->viewport(), w.Gallery1->visualRect(w.model().index(3, 0)).center(),
                   {red}));
    QCOMPARE(t.Cell(3, ColX) + t.Cell(3, ColModified), QStringLiteral("6yes"));
    w.ViewTabsChange(0);

    // A view over a sorting proxy of the list gives the row behind it.
    QSortFilterProxyModel proxy;
    proxy.setSourceModel(&w.model());
    proxy.sort(ColPIT, Qt::DescendingOrder);
    QTreeView gallery;
    gallery.setModel(&proxy);
    gallery.show();
    int droppedRow = -2;
    FileDropTarget::OnView(&gallery, [&](const QStringList&, int row) { droppedRow = row; });
    QVERIFY(DropOn(gallery.viewport(), gallery.visualRect(proxy.index(0, 0)).center(), {red}));
    QCOMPARE(droppedRow, int(w.session().Rows.size()) - 1);
}

void Unit1EditTest::copyAndPasteThroughTheClipboard() {
    Window t;
    TForm1& w = t.w;
    QClipboard* clipboard = QGuiApplication::clipboard();

    // Ctrl+C on the list: the row's new picture as an image; Ctrl+V on
    // another row replaces that picture by the load rules.
    w.SelectRow(3);
    t.Press(w.ListView1, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(clipboard->image().convertToFormat(QImage::Format_RGB32),
             t.Pic(3).DecodedBitmap.convertToFormat(QImage::Format_RGB32));
    w.SelectRow(1);
    t.Press(w.ListView1, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(QSize(t.Pic(1).Width(), t.Pic(1).Height()), t.Pic(3).DecodedBitmap.size());
    QCOMPARE(int(t.Pic(1).Type()), 0x88);
    QCOMPARE(w.UndoStack1->undoText(), QStringLiteral("замена картинки 660018"));

    // In the patch pane Ctrl+A and Ctrl+C copy its text; text is no picture.
    w.Memo1->setPlainText(QStringLiteral("660010: 00 01"));
    t.Press(w.Memo1, Qt::Key_A, Qt::ControlModifier);
    t.Press(w.Memo1, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(clipboard->text(), QStringLiteral("660010: 00 01"));
    w.SelectRow(2);
    t.Press(w.ListView1, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(w.StatusText(2), QStringLiteral("В буфере обмена нет картинки"));

    // A picture file copied in a file manager goes in like a dropped one.
    auto* files = new QMimeData;
    files->setUrls({QUrl::fromLocalFile(WriteImage(t.folder, "f.bmp", {5, 5}, qRgb(9, 9, 9)))});
    clipboard->setMimeData(files);
    w.PastePicture1Execute();
    QCOMPARE(t.Cell(2, ColX), QStringLiteral("5"));

    // The size question names the clipboard.
    w.settings().AskSizeChange = true;
    QImage big(7, 7, QImage::Format_RGB32);
    big.fill(Qt::blue);
    clipboard->setImage(big);
    w.SelectRow(5);
    w.PastePicture1Execute();
    QVERIFY(t.run.dialogs.prompt().shown().back().text.startsWith(
        QStringLiteral("Картинка в буфере обмена имеет размер 7×7")));
    QVERIFY(t.Cell(5, ColModified).isEmpty());
}

void Unit1EditTest::revertUndoAndRedo() {
    Window t;
    TForm1& w = t.w;
    const std::vector<ListRow> found = w.session().Rows;
    const QString big = WriteImage(t.folder, "big.bmp", {14, 12});
    const auto load = [&](int row) {
        w.SelectRow(row);
        t.run.dialogs.openAnswers.push_back(big);
        w.Load1Click();
    };

    // A picture that grows moves into the placement area; then its depth.
    load(1);
    QVERIFY(t.Pic(1).DataPos() >= c55::kFullFlash + c55::kPlaceAdrMin);
    w.SetRadioGroup1ItemIndex(2);
    QCOMPARE(int(t.Pic(1).Type()), 0x85);
    load(2);

    // Ctrl+Z steps back, Ctrl+Shift+Z forth; the row, the panes and the
    // depth controls follow.
    t.Press(w.ListView1, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(w.StatusText(2), QStringLiteral("Отменено: замена картинки 660020"));
    QVERIFY(w.session().Rows[2].texts == found[2].texts);
    t.Press(w.ListView1, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(int(t.Pic(1).Type()), 0x88);
    QCOMPARE(w.SelectedRow(), 1);
    QCOMPARE(w.RadioGroup1ItemIndex(), 4);
    t.Press(w.ListView1, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(w.RadioGroup1ItemIndex(), 2);
    // Ctrl+Y redoes as well.
    t.Press(w.ListView1, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(w.RadioGroup1ItemIndex(), 4);
    t.Press(w.ListView1, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(w.RadioGroup1ItemIndex(), 2);
    QCOMPARE(w.Image2->bitmap().size(), QSize(16, 14));
    // In the patch pane Ctrl+Z undoes the typing, not the pictures.
    QTest::keyClicks(w.Memo1, QStringLiteral("ab"));
    t.Press(w.Memo1, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(int(t.Pic(1).Type()), 0x85);
    QVERIFY(w.Memo1->toPlainText().size() < 2);

    // "Вернуть исходную": the picture as found, out of the patch; undo
    // brings the change back.
    w.RevertPicture1Execute();
    QVERIFY(w.session().Rows[1].texts == found[1].texts);
    QCOMPARE(w.Image2->bitmap(), w.Image1->bitmap());
    QVERIFY(t.WorkIsBase());
    w.MakePatchClick();
    QCOMPARE(w.StatusText(2), QStringLiteral("Нет изменённых картинок: патч не создан"));
    w.EditUndo1Execute();
    QCOMPARE(int(t.Pic(1).Type()), 0x85);

    // "Вернуть все", and its undo.
    load(3);
    const std::vector<std::uint8_t> work(w.session().image().WorkImage(),
                                         w.session().image().WorkImage() + kImageSize);
    w.RevertAll1Execute();
    QCOMPARE(w.StatusText(2), QStringLiteral("Возвращено картинок: 2"));
    QVERIFY(t.WorkIsBase() && !w.HasModifiedPictures());
    w.RevertAll1Execute();
    QCOMPARE(w.StatusText(2), QStringLiteral("Нет изменённых картинок: возвращать нечего"));
    w.EditUndo1Execute();
    QVERIFY(std::memcmp(w.session().image().WorkImage(), work.data(), kImageSize) == 0);

    // Refresh, close and open leave nothing to undo. Each asks first, as
    // pictures are modified: No goes on without saving a patch.
    t.run.dialogs.prompt().Script({Answer::No, Answer::No, Answer::No});
    w.RefreshClick();
    QVERIFY(WaitForSearch(w) && !w.UndoStack1->canUndo());
    load(1);
    w.CloseClick();
    QVERIFY(!w.UndoStack1->canUndo() && !w.EditUndo1->isEnabled());
    w.EditUndo1Execute();
    QCOMPARE(w.StatusText(2), QStringLiteral("Отменять нечего"));
    w.OpenFullFlash(t.flash);
    QVERIFY(WaitForSearch(w));
    load(1);
    w.OpenFullFlash(t.flash);
    QVERIFY(WaitForSearch(w) && !w.UndoStack1->canUndo());
}

void Unit1EditTest::savePicturesAsPng() {
    Window t;
    TForm1& w = t.w;
    const QDir dir(t.folder.dir.path());
    const auto format = [&](const char* name) { return QImageReader(dir.filePath(name)).format(); };
    w.SelectRow(1);
    // The PNG filter adds ".png"; with "all files" the name's extension tells.
    t.run.dialogs.saveAnswers = {{dir.filePath("a"), 1}, {dir.filePath("b.png"), 2}};
    w.Save1Click();
    w.Save1Click();
    QCOMPARE(format("a.png") + format("b.png"), QByteArray("pngpng"));
    QCOMPARE(QImage(dir.filePath("a.png")).convertToFormat(QImage::Format_RGB32),
             t.Pic(1).DecodedBitmap.convertToFormat(QImage::Format_RGB32));
    // A typed picture extension decides the format, whichever file type is
    // chosen, and nothing is added to the name.
    t.run.dialogs.saveAnswers = {{dir.filePath("q.bmp"), 1}, {dir.filePath("p31.png"), 0}};
    w.Save1Click();
    w.Save1Click();
    QCOMPARE(format("q.bmp") + format("p31.png"), QByteArray("bmppng"));
    QVERIFY(!QFile::exists(dir.filePath("p31.png.bmp")) &&
            !QFile::exists(dir.filePath("q.bmp.png")));
    // Automatic names take the format chosen last, which the settings keep.
    w.CheckBox1->setChecked(true);
    w.RememberFolder(dir.filePath("x"));
    w.Save1Click();
    QCOMPARE(format("PIT_660018.png"), QByteArray("png"));
    // Many pictures under automatic names: the status bar says how many and
    // where, not only the last file.
    w.ListView1->selectAll();
    w.Save1Click();
    QCOMPARE(w.StatusText(0), QStringLiteral("Сохранено %1 картинок в папку «%2»")
                                  .arg(w.model().rowCount())
                                  .arg(QDir::toNativeSeparators(dir.absolutePath())));
    t.run.Exit();
    QCOMPARE(t.folder.Stored("", "PictureFormat"), QStringLiteral("png"));
}

QTEST_MAIN(Unit1EditTest)
#include "Unit1Edit_test.moc"
