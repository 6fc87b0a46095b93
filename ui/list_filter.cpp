#include "ui/list_filter.h"

#include <QAbstractItemModel>
#include <QListView>
#include <QTreeView>

namespace vorlix {

ListFilter::ListFilter(const FlashSession& session, QAbstractItemModel* model, QTreeView* list,
                       QListView* gallery, QObject* parent)
    : QObject(parent), session_(session), model_(model), list_(list), gallery_(gallery) {
    // The views forget hidden rows when the model is reset; they learn of
    // every change before the filter does, as they connected first.
    connect(model_, &QAbstractItemModel::modelReset, this, &ListFilter::Reset);
    connect(model_, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex&, int first, int last) {
                hidden_.insert(hidden_.begin() + first, std::size_t(last - first + 1), 0);
                Apply(first, last);
                emit countsChanged();
            });
    connect(model_, &QAbstractItemModel::rowsRemoved, this,
            [this](const QModelIndex&, int first, int last) {
                for (int r = first; r <= last; ++r) hiddenCount_ -= hidden_[std::size_t(r)];
                hidden_.erase(hidden_.begin() + first, hidden_.begin() + last + 1);
                emit countsChanged();
            });
    connect(model_, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& topLeft, const QModelIndex& bottomRight) {
                Apply(topLeft.row(), bottomRight.row());
                emit countsChanged();
            });
    Reset();
}

void ListFilter::SetText(const QString& text) {
    filter_ = RowFilter(text);
    Apply(0, Total() - 1);
    emit countsChanged();
}

bool ListFilter::IsHidden(int row) const {
    return row >= 0 && row < Total() && hidden_[std::size_t(row)];
}

void ListFilter::Reset() {
    hidden_.assign(std::size_t(model_->rowCount()), 0);
    hiddenCount_ = 0;
    Apply(0, Total() - 1);
    emit countsChanged();
}

void ListFilter::Apply(int first, int last) {
    first = std::max(first, 0);
    last = std::min(last, Total() - 1);
    for (int row = first; row <= last; ++row) {
        const bool hide = !filter_.IsEmpty() && row < int(session_.Slots.size()) &&
                          !filter_.Matches(session_, row);
        char& was = hidden_[std::size_t(row)];
        if (bool(was) == hide) continue;
        was = hide;
        hiddenCount_ += hide ? 1 : -1;
        list_->setRowHidden(row, QModelIndex(), hide);
        gallery_->setRowHidden(row, hide);
    }
}

}  // namespace vorlix
