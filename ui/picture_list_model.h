#pragma once

#include <QAbstractTableModel>
#include <QStyledItemDelegate>
#include <functional>
#include <vector>

#include "session/flash_session.h"

namespace vorlix {

// The picture list as the window shows it: a read-only table over the
// session's rows, which the window changes and then announces here. The
// model counts the rows it has announced, so a view never sees a row
// before its insertion is announced.
class PictureListModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit PictureListModel(const FlashSession& session, QObject* parent = nullptr)
        : QAbstractTableModel(parent), session_(session) {}

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // The rows behind the model grew at their end: announce the new ones in
    // one insertion.
    void RowsAppended();
    // The texts of `row` changed.
    void RowChanged(int row);
    // Runs `change` (which may empty or rebuild the rows) as one reset.
    void Reset(const std::function<void()>& change = {});

    // Width of each column in pixels, and its alignment.
    static int ColumnWidth(int column);
    static Qt::Alignment ColumnAlignment(int column);

  private:
    const FlashSession& session_;
    int announced_ = 0;
};

// Draws the list's grid lines: the right and bottom edge of every cell.
class GridLineDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};

}  // namespace vorlix
