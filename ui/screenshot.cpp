// Renders the editor into PNG files for the README: a FullFlash opened, one
// picture replaced by a freshly drawn icon, the patch generated; the window
// with its preview panes at a zoom, and optionally the gallery and the
// pixel viewer. Meant to run offscreen (QT_QPA_PLATFORM=offscreen, see
// scripts/screenshot.sh); its settings live in a temporary file, so no user
// settings are touched.
//
//   vorlix-screenshot FULLFLASH OUT.png [PIT] [--size WxH] [--zoom N]
//                     [--gallery FILE] [--filter TEXT] [--viewer FILE]
//                     [--settings-dialog FILE] [--lang en|original]
//
// PIT is the "PIT" text of the row to replace (default 670010).
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCommandLineParser>
#include <QDeadlineTimer>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTabBar>
#include <QTemporaryDir>
#include <QThread>
#include <QTreeView>
#include <cstdio>

#include "settings/settings.h"
#include "translations/translation.h"
#include "ui/Unit1.h"
#include "ui/Unit3.h"
#include "ui/gallery_view.h"
#include "ui/picture_list_model.h"
#include "ui/pixel_viewer.h"
#include "ui/pixel_zoom.h"
#include "ui/user_dialogs.h"

namespace {

using namespace vorlix;

int Fail(const char* message) {
    std::fprintf(stderr, "vorlix-screenshot: %s\n", message);
    return 1;
}

void Settle(int ms) {
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
}

// A new icon of `size`: a smiling face on a blue field.
QImage DrawIcon(QSize size) {
    QImage icon(size, QImage::Format_RGB32);
    icon.fill(QColor(40, 90, 200));
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF face = QRectF(icon.rect()).adjusted(2, 2, -3, -3);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(255, 215, 0));
    p.drawEllipse(face);
    p.setBrush(Qt::black);
    const qreal w = face.width(), h = face.height();
    p.drawEllipse(QPointF(face.left() + w * 0.33, face.top() + h * 0.38), w * 0.07, h * 0.09);
    p.drawEllipse(QPointF(face.left() + w * 0.67, face.top() + h * 0.38), w * 0.07, h * 0.09);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::black, std::max(1.0, w / 16)));
    p.drawArc(QRectF(face.left() + w * 0.25, face.top() + h * 0.35, w * 0.5, h * 0.4), 200 * 16,
              140 * 16);
    return icon;
}

bool Save(QWidget& widget, const QString& path) {
    Settle(300);
    return widget.grab().save(path, "PNG");
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addPositionalArgument(QStringLiteral("FULLFLASH"), QStringLiteral("the FullFlash"));
    parser.addPositionalArgument(QStringLiteral("OUT.png"), QStringLiteral("the window's picture"));
    parser.addPositionalArgument(QStringLiteral("PIT"), QStringLiteral("row to replace"),
                                 QStringLiteral("[PIT]"));
    const QCommandLineOption sizeOption(QStringLiteral("size"), QStringLiteral("window size"),
                                        QStringLiteral("WxH"), QStringLiteral("1024x640"));
    const QCommandLineOption zoomOption(QStringLiteral("zoom"),
                                        QStringLiteral("zoom of the panes, 0 to fit"),
                                        QStringLiteral("N"), QStringLiteral("1"));
    const QCommandLineOption galleryOption(QStringLiteral("gallery"),
                                           QStringLiteral("also the gallery into FILE"),
                                           QStringLiteral("FILE"));
    const QCommandLineOption filterOption(QStringLiteral("filter"),
                                          QStringLiteral("filter text for the gallery"),
                                          QStringLiteral("TEXT"));
    const QCommandLineOption viewerOption(QStringLiteral("viewer"),
                                          QStringLiteral("also the pixel viewer into FILE"),
                                          QStringLiteral("FILE"));
    const QCommandLineOption dialogOption(QStringLiteral("settings-dialog"),
                                          QStringLiteral("also the settings dialog into FILE"),
                                          QStringLiteral("FILE"));
    const QCommandLineOption langOption(QStringLiteral("lang"),
                                        QStringLiteral("the interface's language"),
                                        QStringLiteral("en|original"), QStringLiteral("original"));
    parser.addOptions({sizeOption, zoomOption, galleryOption, filterOption, viewerOption,
                       dialogOption, langOption});
    parser.process(app);
    const std::optional<UiLanguage> language = LanguageFromText(parser.value(langOption));
    if (!language) return Fail("--lang takes en or original");
    InstallTranslation(*language, true);
    const QStringList args = parser.positionalArguments();
    const QRegularExpressionMatch size =
        QRegularExpression(QStringLiteral("^(\\d+)x(\\d+)$")).match(parser.value(sizeOption));
    if (args.size() < 2 || args.size() > 3 || !size.hasMatch()) {
        std::fprintf(stderr, "%s", qPrintable(parser.helpText()));
        return 2;
    }
    const QString pit = args.size() == 3 ? args[2].toUpper() : QStringLiteral("670010");

    QTemporaryDir temp(QDir::tempPath() + QStringLiteral("/vorlix-XXXXXX"));
    if (!temp.isValid()) return Fail("no temporary folder");
    SettingsStore store(temp.filePath(QStringLiteral("vorlix.ini")));
    ScriptedUserDialogs dialogs(Answer::Yes);
    Settings settings(store);
    TForm1 window(settings, dialogs);
    if (window.StartupFailed()) return Fail("the window did not start");
    window.show();

    // A firmware met for the first time shows the settings dialog: accept it.
    dialogs.modalSteps.push_back([](QDialog& d) { d.accept(); });
    window.OpenFullFlash(args[0]);
    QDeadlineTimer deadline(60000);
    while (window.IsSearching() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    if (window.IsSearching() || window.session().Slots.empty())
        return Fail("no pictures found in the FullFlash");

    int row = -1;
    for (int r = 0; r < int(window.session().Slots.size()); ++r)
        if (RowText(window.session(), r, ColPIT) == pit) row = r;
    const Picture* picture = window.session().PictureOfRow(row);
    if (!picture) return Fail("no picture with that PIT text");
    const QModelIndex index = window.model().index(row, 0);
    window.ListView1->selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    window.ListView1->scrollTo(index, QAbstractItemView::PositionAtCenter);

    const QString bmp = temp.filePath(QStringLiteral("PIT_%1.bmp").arg(pit));
    if (!DrawIcon(QSize(picture->Width(), picture->Height())).save(bmp, "BMP"))
        return Fail("cannot write the replacement picture");
    dialogs.openAnswers.push_back(bmp);
    window.Load1Click();
    settings.AuthorName = QStringLiteral("modder");
    window.MakePatchClick();
    window.Memo1->moveCursor(QTextCursor::Start);
    if (!dialogs.prompt().shown().empty() &&
        dialogs.prompt().shown().back().caption == kCaptionError)
        return Fail(qPrintable(dialogs.prompt().shown().back().text));

    // Opening a new firmware applied the stored window size; now the one asked for.
    window.resize(size.captured(1).toInt(), size.captured(2).toInt());
    const int zoom = parser.value(zoomOption).toInt();
    const auto* zoomAt = std::find(kPreviewZooms.begin(), kPreviewZooms.end(), zoom);
    if (zoomAt == kPreviewZooms.end()) return Fail("no such zoom");
    window.ZoomBox->setCurrentIndex(int(zoomAt - kPreviewZooms.begin()));
    if (!Save(window, args[1])) return Fail("cannot write the PNG file");

    if (parser.isSet(viewerOption)) {
        window.PixelViewer1Execute();
        PixelViewer& viewer = *window.Viewer();
        viewer.resize(900, 520);
        viewer.SetZoom(12);
        viewer.SetGrid(true);
        viewer.PointAt(QPoint(picture->Width() / 3, picture->Height() / 3));
        if (!Save(viewer, parser.value(viewerOption))) return Fail("cannot write the viewer's PNG");
        viewer.close();
    }
    if (parser.isSet(dialogOption)) {
        window.Form3->show();
        if (!Save(*window.Form3, parser.value(dialogOption)))
            return Fail("cannot write the settings dialog's PNG");
        window.Form3->hide();
    }
    if (parser.isSet(galleryOption)) {
        window.ViewTabs->setCurrentIndex(1);
        window.FilterEdit->setText(parser.value(filterOption));
        if (!Save(window, parser.value(galleryOption)))
            return Fail("cannot write the gallery's PNG");
    }
    return 0;
}
