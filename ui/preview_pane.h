#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>
#include <cstdint>

namespace vorlix {

// Colours are stored as Windows colour values, 0x00BBGGRR.
QColor ColorFromWin(std::int32_t value);
std::int32_t WinFromColor(const QColor& colour);

// An image pane, 103 x 82 pixels as designed and larger when the window
// grows, that owns a bitmap and shows it centred. A picture is shown inside
// a one-pixel frame, so the largest picture the list admits (101 x 80)
// fills the designed pane exactly.
//
// The bitmap holds the picture at its own size; the pane shows it
// magnified by the zoom: every picture pixel a block of whole device
// pixels, the frame one (logical) pixel wide around the magnified picture.
class PreviewPane : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kWidth = 103;
    static constexpr int kHeight = 82;

    explicit PreviewPane(QWidget* parent = nullptr);

    const QImage& bitmap() const { return bitmap_; }

    // The bitmap becomes (width + 2) x (height + 2) with `picture` at (1, 1)
    // inside a one-pixel frame of colour `frame`.
    void ShowBitmap(const QImage& picture, const QColor& frame);
    // Draws the empty pane on the bitmap as it is: the rectangle from (0, 0)
    // to (103, 82) outlined in `frame` and filled white. On a smaller bitmap
    // the right and bottom edges fall outside it.
    void DrawEmpty(const QColor& frame);
    // Gives the bitmap the pane's own size.
    void ResetSize();
    // Draws the one-pixel frame anew around the whole bitmap; what is inside
    // stays.
    void DrawFrame(const QColor& frame);

    // The zoom: a whole factor, or 0 for the largest one that fits.
    int Zoom() const { return zoom_; }
    void SetZoom(int zoom);
    // Device pixels per picture pixel as the pane now shows the bitmap.
    int Factor() const;
    // What the pane shows, in device pixels: the bitmap magnified by
    // Factor(), its frame one logical pixel wide.
    QImage ShownImage() const;

    QSize sizeHint() const override { return {kWidth, kHeight}; }
    QSize minimumSizeHint() const override { return {kWidth, kHeight}; }

  signals:
    void doubleClicked();
    // The mouse wheel turned over the pane: +1 for a larger zoom, -1 for a
    // smaller one.
    void zoomStepped(int step);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    QImage bitmap_;
    int zoom_ = 1;
    // The part of the magnification last painted, kept while bitmap,
    // factor, frame and pane stay.
    QImage shown_;
    qint64 shownKey_ = 0;
    int shownFactor_ = 0;
    int shownLine_ = 0;
    QRect shownPart_;
};

}  // namespace vorlix
