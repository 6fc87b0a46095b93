#include "ui/column_growth.h"

#include <QEvent>
#include <QHeaderView>
#include <QTreeView>

namespace vorlix {

ColumnGrowth::ColumnGrowth(QTreeView* view)
    : QObject(view), view_(view), viewport_(view->viewport()) {
    const QHeaderView* header = view->header();
    for (int c = 0; c < header->count(); ++c) {
        designed_.push_back(header->sectionSize(c));
        total_ += designed_.back();
    }
    viewport_->installEventFilter(this);
}

bool ColumnGrowth::eventFilter(QObject* watched, QEvent* event) {
    // The viewport is compared as it was kept: while the list is being
    // destroyed its viewport still sends events, and the list is then no
    // longer a list to ask.
    if (watched == viewport_ && event->type() == QEvent::Resize) Apply();
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
