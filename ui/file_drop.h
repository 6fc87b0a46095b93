#pragma once

#include <QObject>
#include <QPoint>
#include <QStringList>
#include <functional>

class QAbstractItemView;
class QMimeData;
class QModelIndex;
class QWidget;

namespace vorlix {

// The local files a drag carries, in its order; empty when it carries none
// (text, or addresses of other places).
QStringList DroppedFiles(const QMimeData* mime);

// The row of the model behind any proxy models (a QSortFilterProxyModel, for
// instance) that `index` stands for; -1 for an invalid index.
int SourceRow(const QModelIndex& index);

// Makes a widget take files dragged onto it from the desktop: a drag that
// carries local files is accepted, and once dropped the files are handed to
// `dropped` with the list row they were dropped on, after the drop itself
// has ended (so that what follows may ask questions). Drags of anything
// else go on to the widget as before: a text pane still takes text.
class FileDropTarget : public QObject {
    Q_OBJECT
  public:
    using Dropped = std::function<void(const QStringList& files, int row)>;

    // For an item view (the list, a gallery): the row under the drop,
    // through the view's model and any proxy models to the row of the
    // model behind them; -1 beside the rows.
    static FileDropTarget* OnView(QAbstractItemView* view, Dropped dropped);
    // For any other widget: `row` tells which row it stands for when the
    // files are dropped (-1: none).
    static FileDropTarget* OnWidget(QWidget* widget, std::function<int()> row, Dropped dropped);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    FileDropTarget(QWidget* target, std::function<int(const QPoint&)> rowAt, Dropped dropped);

    std::function<int(const QPoint&)> rowAt_;
    Dropped dropped_;
};

}  // namespace vorlix
