#include "ui/preview_pane.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <cmath>

#include "ui/pixel_zoom.h"

namespace vorlix {

QColor ColorFromWin(std::int32_t value) {
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

std::int32_t WinFromColor(const QColor& colour) {
    return colour.red() | (colour.green() << 8) | (colour.blue() << 16);
}

namespace {

// A one-pixel outline of the rectangle [0, w) x [0, h), clipped by the
// bitmap.
void Outline(QImage& bitmap, int w, int h, const QColor& colour) {
    QPainter p(&bitmap);
    p.fillRect(0, 0, w, 1, colour);
    p.fillRect(0, h - 1, w, 1, colour);
    p.fillRect(0, 0, 1, h, colour);
    p.fillRect(w - 1, 0, 1, h, colour);
}

}  // namespace

PreviewPane::PreviewPane(QWidget* parent) : QWidget(parent) {
    setMinimumSize(kWidth, kHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    ResetSize();
    bitmap_.fill(Qt::white);
}

void PreviewPane::ShowBitmap(const QImage& picture, const QColor& frame) {
    bitmap_ = QImage(picture.width() + 2, picture.height() + 2, QImage::Format_RGB32);
    bitmap_.fill(Qt::white);
    {
        QPainter p(&bitmap_);
        p.drawImage(1, 1, picture);
    }
    Outline(bitmap_, bitmap_.width(), bitmap_.height(), frame);
    update();
}

void PreviewPane::DrawEmpty(const QColor& frame) {
    if (bitmap_.isNull()) ResetSize();
    {
        QPainter p(&bitmap_);
        p.fillRect(1, 1, kWidth - 2, kHeight - 2, Qt::white);
    }
    Outline(bitmap_, kWidth, kHeight, frame);
    update();
}

void PreviewPane::ResetSize() {
    bitmap_ = QImage(kWidth, kHeight, QImage::Format_RGB32);
    bitmap_.fill(Qt::white);
}

void PreviewPane::DrawFrame(const QColor& frame) {
    Outline(bitmap_, bitmap_.width(), bitmap_.height(), frame);
    update();
}

void PreviewPane::SetZoom(int zoom) {
    if (zoom == zoom_) return;
    zoom_ = zoom;
    update();
}

int PreviewPane::Factor() const {
    const qreal dpr = devicePixelRatioF();
    if (zoom_ > 0) return DeviceFactor(zoom_, dpr);
    const int line = DeviceLine(dpr);
    const QSize room(int(std::floor(width() * dpr)), int(std::floor(height() * dpr)));
    return FitFactor(bitmap_.size() - QSize(2, 2), room, line);
}

QImage PreviewPane::ShownImage() const {
    return ZoomFramed(bitmap_, Factor(), DeviceLine(devicePixelRatioF()));
}

void PreviewPane::paintEvent(QPaintEvent*) {
    const qreal dpr = devicePixelRatioF();
    const int factor = Factor();
    const int line = DeviceLine(dpr);
    // Centred on whole device pixels, so that every block stays whole; only
    // the part inside the pane is made.
    const QSize room(int(std::floor(width() * dpr)), int(std::floor(height() * dpr)));
    const QSize whole = ZoomFramedSize(bitmap_.size(), factor, line);
    const QPoint origin((room.width() - whole.width()) / 2, (room.height() - whole.height()) / 2);
    const QRect part = QRect(QPoint(0, 0), whole).intersected(QRect(-origin, room));
    if (shown_.isNull() || shownKey_ != bitmap_.cacheKey() || shownFactor_ != factor ||
        shownLine_ != line || shownPart_ != part) {
        shown_ = ZoomFramed(bitmap_, factor, line, part);
        shownKey_ = bitmap_.cacheKey();
        shownFactor_ = factor;
        shownLine_ = line;
        shownPart_ = part;
    }
    if (shown_.isNull()) return;
    QImage shown = shown_;
    shown.setDevicePixelRatio(dpr);
    QPainter p(this);
    p.drawImage(QPointF(origin + part.topLeft()) / dpr, shown);
}

void PreviewPane::wheelEvent(QWheelEvent* event) {
    const int delta = event->angleDelta().y();
    if (delta == 0) return QWidget::wheelEvent(event);
    emit zoomStepped(delta > 0 ? 1 : -1);
    event->accept();
}

void PreviewPane::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit doubleClicked();
    QWidget::mouseDoubleClickEvent(event);
}

}  // namespace vorlix
