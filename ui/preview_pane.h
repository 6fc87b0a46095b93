#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>
#include <cstdint>

namespace vorlix {

// Colours are stored as Windows colour values, 0x00BBGGRR.
QColor ColorFromWin(std::int32_t value);
std::int32_t WinFromColor(const QColor& colour);

// An image pane of 103 x 82 pixels that owns a bitmap and shows it centred.
// A picture is shown inside a one-pixel frame, so the largest picture the
// list admits (101 x 80) fills the pane exactly.
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

    QSize sizeHint() const override { return {kWidth, kHeight}; }

  signals:
    void doubleClicked();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    QImage bitmap_;
};

}  // namespace vorlix
