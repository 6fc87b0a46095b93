#include "ui/gallery_view.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHelpEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QToolTip>
#include <algorithm>
#include <cmath>

#include "picture/picture.h"
#include "session/flash_session.h"
#include "ui/pixel_zoom.h"

namespace vorlix {

namespace {

constexpr int kPad = 4;  // around the thumbnail's square

}  // namespace

// ---- thumbnails

ThumbnailCache::ThumbnailCache(qsizetype budgetBytes) : cache_(budgetBytes / 1024) {}

QImage ThumbnailCache::Make(const QImage& picture, int side) {
    if (picture.isNull() || side <= 0) return {};
    const int w = picture.width(), h = picture.height();
    if (w <= side && h <= side) return ScaleWhole(picture, std::min(side / w, side / h));
    return picture.scaled(side, side, Qt::KeepAspectRatio, Qt::FastTransformation);
}

QImage ThumbnailCache::Thumbnail(const QImage& picture, int side) {
    const Key key{picture.cacheKey(), side};
    if (const QImage* kept = cache_.object(key)) {
        ++reused_;
        return *kept;
    }
    auto* made = new QImage(Make(picture, side));
    ++made_;
    const QImage result = *made;
    cache_.insert(key, made, std::max<qsizetype>(1, made->sizeInBytes() / 1024));
    return result;
}

// ---- one cell

GalleryDelegate::GalleryDelegate(PictureOfRow pictureOf, QObject* parent)
    : QStyledItemDelegate(parent), pictureOf_(std::move(pictureOf)) {}

QRect GalleryDelegate::SquareIn(const QRect& cell) const {
    return {cell.left() + (cell.width() - cell_) / 2, cell.top() + kPad, cell_, cell_};
}

QSize GalleryDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const {
    return {cell_ + 2 * kPad, cell_ + 2 * kPad + option.fontMetrics.height()};
}

void GalleryDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const {
    const bool selected = option.state & QStyle::State_Selected;
    if (selected) painter->fillRect(option.rect, option.palette.brush(QPalette::Highlight));
    if (option.state & QStyle::State_HasFocus) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(option);
        focus.backgroundColor =
            option.palette.color(selected ? QPalette::Highlight : QPalette::Base);
        const QWidget* widget = option.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, widget);
    }

    const QRect square = SquareIn(option.rect);
    const Picture* picture = pictureOf_ ? pictureOf_(index.row()) : nullptr;
    if (picture && !picture->DecodedBitmap.isNull()) {
        // The thumbnail is made in device pixels and drawn on whole device
        // pixels, so that magnified pixels stay sharp blocks.
        const qreal dpr = painter->device()->devicePixelRatioF();
        const int side = int(std::floor(cell_ * dpr));
        QImage thumb = cache_.Thumbnail(picture->DecodedBitmap, side);
        const int x = int(std::round(square.left() * dpr)) + (side - thumb.width()) / 2;
        const int y = int(std::round(square.top() * dpr)) + (side - thumb.height()) / 2;
        thumb.setDevicePixelRatio(dpr);
        painter->save();
        painter->drawImage(QPointF(x / dpr, y / dpr), thumb);
        // A thin frame just outside the thumbnail, in whole device pixels,
        // so that white pictures show on white.
        const int line = DeviceLine(dpr);
        const int w = thumb.width(), h = thumb.height();
        const QColor frame = option.palette.color(QPalette::Mid);
        const auto fill = [&](int fx, int fy, int fw, int fh) {
            painter->fillRect(QRectF(fx / dpr, fy / dpr, fw / dpr, fh / dpr), frame);
        };
        fill(x - line, y - line, w + 2 * line, line);
        fill(x - line, y + h, w + 2 * line, line);
        fill(x - line, y, line, h);
        fill(x + w, y, line, h);
        painter->restore();
    }
    if (picture && picture->Modified) {
        // A red corner: the picture has been replaced.
        const int m = std::max(6, cell_ / 6);
        const QPoint corner(square.right() + 1, square.top());
        const QPoint points[] = {corner, corner - QPoint(m, 0), corner + QPoint(0, m)};
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing, false);
        painter->setPen(Qt::NoPen);
        painter->setBrush(QColor(220, 30, 30));
        painter->drawPolygon(points, 3);
        painter->restore();
    }
    const QRect caption(option.rect.left(), square.bottom() + 1 + kPad / 2, option.rect.width(),
                        option.fontMetrics.height());
    painter->save();
    painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    painter->drawText(caption, Qt::AlignHCenter | Qt::AlignTop,
                      index.sibling(index.row(), ColNumber).data().toString());
    painter->restore();
}

QString GalleryDelegate::RowTip(const QModelIndex& index) {
    QStringList lines;
    const QAbstractItemModel* model = index.model();
    for (int c = 0; c < model->columnCount(); ++c) {
        const QString caption = model->headerData(c, Qt::Horizontal).toString();
        lines << caption + QStringLiteral(": ") + index.sibling(index.row(), c).data().toString();
    }
    return lines.join(QLatin1Char('\n'));
}

bool GalleryDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                const QStyleOptionViewItem& option, const QModelIndex& index) {
    if (event->type() != QEvent::ToolTip || !index.isValid())
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    QToolTip::showText(event->globalPos(), RowTip(index), view);
    return true;
}

// ---- the view

GalleryView::GalleryView(GalleryDelegate::PictureOfRow pictureOf, QWidget* parent)
    : QListView(parent), delegate_(new GalleryDelegate(std::move(pictureOf), this)) {
    setItemDelegate(delegate_);
    setViewMode(QListView::IconMode);
    setMovement(QListView::Static);
    setResizeMode(QListView::Adjust);
    setWrapping(true);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionRectVisible(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragEnabled(false);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setModelColumn(ColNumber);
    SetCellSize(64);
}

void GalleryView::SetCellSize(int cell) {
    delegate_->SetCellSize(cell);
    QStyleOptionViewItem option;
    option.initFrom(this);
    const QSize size = delegate_->sizeHint(option, {});
    setGridSize(size + QSize(4, 4));
    scheduleDelayedItemsLayout();
    viewport()->update();
}

}  // namespace vorlix
