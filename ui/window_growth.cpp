#include "ui/window_growth.h"

#include <QBoxLayout>
#include <QEvent>
#include <QGridLayout>
#include <QResizeEvent>
#include <QSpacerItem>
#include <QWidget>

namespace vorlix {

namespace {

// An item of no height that asks for `width`, so that the column holding
// it is as wide as designed; it does not keep the column from shrinking.
QSpacerItem* WidthHolder(int width) {
    return new QSpacerItem(std::max(width, 0), 0, QSizePolicy::Preferred, QSizePolicy::Minimum);
}

// Makes the column `item` of the top row ask for `width` pixels.
void HoldWidth(QLayoutItem* item, int width) {
    if (auto* grid = qobject_cast<QGridLayout*>(item->layout())) {
        const QMargins m = grid->contentsMargins();
        grid->addItem(WidthHolder(width - m.left() - m.right()), grid->rowCount(), 0, 1,
                      std::max(grid->columnCount(), 1));
    } else if (auto* box = qobject_cast<QBoxLayout*>(item->layout())) {
        const QMargins m = box->contentsMargins();
        box->addItem(WidthHolder(width - m.left() - m.right()));
    } else if (QWidget* widget = item->widget(); widget && widget->layout()) {
        const QMargins m = widget->layout()->contentsMargins();
        const QMargins frame = widget->contentsMargins();
        widget->layout()->addItem(
            WidthHolder(width - m.left() - m.right() - frame.left() - frame.right()));
    }
}

}  // namespace

WindowGrowth::WindowGrowth(QWidget* window, QWidget* topPanel, QBoxLayout* top, QGridLayout* images,
                           std::array<QWidget*, 2> panes)
    : QObject(window), topPanel_(topPanel), panes_(panes) {
    // The designed layout once, at the designed width: each column's width
    // is kept from now on, and only the images column takes more.
    top->setGeometry(QRect(0, 0, kDesignedWidth, kDesignedTopHeight));
    for (int i = 0; i < top->count(); ++i) {
        QLayoutItem* item = top->itemAt(i);
        HoldWidth(item, item->geometry().width());
        top->setStretch(i, item->layout() == images ? 1 : 0);
    }
    images->setColumnStretch(0, 1);
    images->setColumnStretch(1, 1);
    // What stands under the panes' row (their tool bar, the compress box) keeps
    // its designed width beside the depth choice it belongs with, rather
    // than drifting off to the far side of the grown panes.
    for (int i = 0; i < images->count(); ++i) {
        QLayoutItem* item = images->itemAt(i);
        QWidget* widget = item->widget();
        int row = 0, column = 0, rows = 0, columns = 0;
        images->getItemPosition(i, &row, &column, &rows, &columns);
        if (!widget || row == 0) continue;
        widget->setFixedWidth(item->geometry().width());
        images->setAlignment(widget, Qt::AlignRight);
    }
    // The column beside them (the depth choice) moves down as far as the
    // panes grow, so that it stays level with what stands under them.
    const int beside = top->indexOf(images) + 1;
    if (auto* column = beside > 0 && beside < top->count()
                           ? qobject_cast<QBoxLayout*>(top->itemAt(beside)->layout())
                           : nullptr) {
        sink_ = new QSpacerItem(0, 0, QSizePolicy::Minimum, QSizePolicy::Fixed);
        column->insertItem(0, sink_);
        sinkColumn_ = column;
    }
    window->installEventFilter(this);
    Apply(window->height());
}

int WindowGrowth::TopGrowth(int height) { return std::max(0, height - kDesignedHeight) * 2 / 5; }

bool WindowGrowth::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize) Apply(static_cast<QResizeEvent*>(event)->size().height());
    return QObject::eventFilter(watched, event);
}

void WindowGrowth::Apply(int windowHeight) {
    const int growth = TopGrowth(windowHeight);
    topPanel_->setFixedHeight(kDesignedTopHeight + growth);
    for (QWidget* pane : panes_) pane->setFixedHeight(kDesignedPaneHeight + growth);
    if (sink_ && sink_->sizeHint().height() != growth) {
        sink_->changeSize(0, growth, QSizePolicy::Minimum, QSizePolicy::Fixed);
        sinkColumn_->invalidate();
    }
}

}  // namespace vorlix
