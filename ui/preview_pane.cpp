#include "ui/preview_pane.h"

#include <QMouseEvent>
#include <QPainter>

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
    setFixedSize(kWidth, kHeight);
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

void PreviewPane::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage((width() - bitmap_.width()) / 2, (height() - bitmap_.height()) / 2, bitmap_);
}

void PreviewPane::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit doubleClicked();
    QWidget::mouseDoubleClickEvent(event);
}

}  // namespace vorlix
