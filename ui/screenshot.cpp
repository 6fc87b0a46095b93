// Renders the editor into a PNG for the README: a FullFlash opened, one
// picture replaced by a freshly drawn icon, the patch generated. Meant to
// run offscreen (QT_QPA_PLATFORM=offscreen, see scripts/screenshot.sh);
// its settings live in a temporary file, so no user settings are touched.
//
//   vorlix-screenshot FULLFLASH OUT.png [PIT]
//
// PIT is the "PIT" text of the row to replace (default 670010).
#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QDir>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QThread>
#include <QTreeView>
#include <cstdio>

#include "settings/settings.h"
#include "ui/Unit1.h"
#include "ui/picture_list_model.h"
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

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() < 3 || args.size() > 4) {
        std::fprintf(stderr, "usage: vorlix-screenshot FULLFLASH OUT.png [PIT]\n");
        return 2;
    }
    const QString pit = args.size() == 4 ? args[3].toUpper() : QStringLiteral("670010");

    QTemporaryDir temp(QDir::tempPath() + QStringLiteral("/vorlix-XXXXXX"));
    if (!temp.isValid()) return Fail("no temporary folder");
    SettingsStore store(temp.filePath(QStringLiteral("vorlix.ini")));
    ScriptedUserDialogs dialogs(Answer::Yes);
    Settings settings(store, dialogs);
    TForm1 window(settings, dialogs);
    if (window.StartupFailed()) return Fail("the window did not start");
    window.show();

    // A firmware met for the first time shows the settings dialog: accept it.
    dialogs.modalSteps.push_back([](QDialog& d) { d.accept(); });
    window.OpenFullFlash(args[1]);
    QDeadlineTimer deadline(60000);
    while (window.IsSearching() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    if (window.IsSearching() || window.session().Rows.empty())
        return Fail("no pictures found in the FullFlash");

    int row = -1;
    for (int r = 0; r < int(window.session().Rows.size()); ++r)
        if (window.session().Rows[r][ColPIT] == pit) row = r;
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

    // Opening a new firmware applied the stored window size; now a larger one.
    window.resize(1024, 640);
    Settle(300);
    if (!window.grab().save(args[2], "PNG")) return Fail("cannot write the PNG file");
    return 0;
}
