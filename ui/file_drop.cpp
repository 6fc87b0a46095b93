#include "ui/file_drop.h"

#include <QAbstractItemView>
#include <QAbstractProxyModel>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace vorlix {

QStringList DroppedFiles(const QMimeData* mime) {
    QStringList files;
    if (!mime || !mime->hasUrls()) return files;
    for (const QUrl& url : mime->urls())
        if (url.isLocalFile()) files << url.toLocalFile();
    return files;
}

int SourceRow(const QModelIndex& index) {
    QModelIndex at = index;
    while (at.isValid()) {
        const auto* proxy = qobject_cast<const QAbstractProxyModel*>(at.model());
        if (!proxy) break;
        at = proxy->mapToSource(at);
    }
    return at.isValid() ? at.row() : -1;
}

FileDropTarget* FileDropTarget::OnView(QAbstractItemView* view, Dropped dropped) {
    view->setAcceptDrops(true);
    return new FileDropTarget(
        view->viewport(), [view](const QPoint& pos) { return SourceRow(view->indexAt(pos)); },
        std::move(dropped));
}

FileDropTarget* FileDropTarget::OnWidget(QWidget* widget, std::function<int()> row,
                                         Dropped dropped) {
    return new FileDropTarget(
        widget, [row = std::move(row)](const QPoint&) { return row ? row() : -1; },
        std::move(dropped));
}

FileDropTarget::FileDropTarget(QWidget* target, std::function<int(const QPoint&)> rowAt,
                               Dropped dropped)
    : QObject(target), rowAt_(std::move(rowAt)), dropped_(std::move(dropped)) {
    target->setAcceptDrops(true);
    target->installEventFilter(this);
}

bool FileDropTarget::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (DroppedFiles(drag->mimeData()).isEmpty()) break;
            drag->setDropAction(Qt::CopyAction);
            drag->accept();
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            const QStringList files = DroppedFiles(drop->mimeData());
            if (files.isEmpty()) break;
            drop->setDropAction(Qt::CopyAction);
            drop->accept();
            const int row = rowAt_(drop->position().toPoint());
            // The drag's source waits until the drop returns; a question
            // shown from here would keep it waiting.
            QMetaObject::invokeMethod(
                this, [this, files, row] { dropped_(files, row); }, Qt::QueuedConnection);
            return true;
        }
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace vorlix
