#include "ui/picture_list_model.h"

#include <QPainter>

namespace vorlix {

namespace {
constexpr int kShownColumns = 9;
}

int PictureListModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid()) return 0;
    return announced_;
}

int PictureListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kShownColumns;
}

QVariant PictureListModel::data(const QModelIndex& index, int role) const {
    const int row = index.row();
    const int column = index.column();
    // The rows can shrink behind the model while a reset is being prepared;
    // such rows read as empty until the reset ends.
    if (!index.isValid() || row < 0 || row >= announced_ || row >= int(session_.Slots.size()) ||
        column < 0 || column >= kShownColumns)
        return {};
    switch (role) {
        case Qt::DisplayRole:
            return RowText(session_, row, column);
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(ColumnAlignment(column));
        default:
            return {};
    }
}

QVariant PictureListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kShownColumns) return {};
    if (role == Qt::DisplayRole) return ColumnCaption(section);
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(ColumnAlignment(section));
    return {};
}

void PictureListModel::RowsAppended() {
    const int count = int(session_.Slots.size());
    if (count <= announced_) return;
    beginInsertRows(QModelIndex(), announced_, count - 1);
    announced_ = count;
    endInsertRows();
}

void PictureListModel::RowChanged(int row) {
    if (row < 0 || row >= announced_) return;
    emit dataChanged(index(row, 0), index(row, kShownColumns - 1));
}

void PictureListModel::Reset(const std::function<void()>& change) {
    beginResetModel();
    if (change) change();
    announced_ = int(session_.Slots.size());
    endResetModel();
}

int PictureListModel::ColumnWidth(int column) {
    switch (column) {
        case ColNumber:
            return 30;
        case ColDepth:
            return 45;
        case ColX:
        case ColY:
            return 25;
        case ColLength:
            return 50;
        default:
            return 70;
    }
}

Qt::Alignment PictureListModel::ColumnAlignment(int column) {
    switch (column) {
        case ColNumber:
            return Qt::AlignLeft | Qt::AlignVCenter;
        case ColCompressed:
        case ColModified:
            return Qt::AlignCenter;
        default:
            return Qt::AlignRight | Qt::AlignVCenter;
    }
}

void GridLineDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    QStyledItemDelegate::paint(painter, option, index);
    painter->save();
    painter->setPen(option.palette.color(QPalette::Mid));
    const QRect r = option.rect;
    painter->drawLine(r.topRight(), r.bottomRight());
    painter->drawLine(r.bottomLeft(), r.bottomRight());
    painter->restore();
}

}  // namespace vorlix
