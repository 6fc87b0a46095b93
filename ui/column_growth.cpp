#include "ui/column_growth.h"

#include <QEvent>
#include <QHeaderView>
#include <QTreeView>

namespace vorlix {

ColumnGrowth::ColumnGrowth(QTreeView* view) : QObject(view), view_(view) {
    const QHeaderView* header = view->header();
    for (int c = 0; c < header->count(); ++c) {
        designed_.push_back(header->sectionSize(c));
        total_ += designed_.back();
    }
    view->viewport()->installEventFilter(this);
}

bool ColumnGrowth::eventFilter(QObject* watched, QEvent* event) {
    if (watched == view_->viewport() && event->type() == QEvent::Resize) Apply();
    return QObject::eventFilter(watched, event);
}

void ColumnGrowth::Apply() {
    if (total_ <= 0) return;
    const int room = std::max(view_->viewport()->width(), total_);
    QHeaderView* header = view_->header();
    int given = 0;
    for (int c = 0; c < int(designed_.size()); ++c) {
        // The last column takes what rounding left over.
        const int width = c + 1 == int(designed_.size())
                              ? room - given
                              : int(std::int64_t{designed_[c]} * room / total_);
        header->resizeSection(c, width);
        given += width;
    }
}

}  // namespace vorlix
