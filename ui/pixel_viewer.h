#pragma once

#include <QImage>
#include <QWidget>

#include "picture/stored_pixels.h"

class QCheckBox;
class QLabel;
class QScrollArea;
class QSpinBox;

namespace vorlix {

class Picture;
struct ListRow;

// One picture magnified by a whole factor, every pixel a block of whole
// device pixels, with an optional grid between the pixels. It tells which
// picture pixel the pointer is over.
class PixelCanvas : public QWidget {
    Q_OBJECT
  public:
    explicit PixelCanvas(QWidget* parent = nullptr);

    void SetImage(const QImage& image);
    void SetZoom(int zoom);
    void SetGrid(bool grid);
    // Outlines pixel `pixel` (none when outside), so that the same pixel
    // shows on both sides.
    void SetMark(QPoint pixel);
    // The picture pixel under a point of the canvas; may lie outside.
    QPoint PixelAt(QPointF pos) const;
    // Device pixels per picture pixel.
    int Factor() const;
    // What the canvas shows, in device pixels: all of it, or the part in
    // `part`.
    QImage ShownImage(const QRect& part = {}) const;

    QSize sizeHint() const override;

  signals:
    // The pointer moved over pixel `pixel`; (-1, -1) when it left.
    void pointed(QPoint pixel);
    // The mouse wheel asked for a larger (+1) or smaller (-1) zoom at `pos`.
    void zoomStepped(int step, QPointF pos);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    QImage image_;
    int zoom_ = 8;
    bool grid_ = false;
    QPoint mark_{-1, -1};
};

// The pixel viewer: a window of its own with the old and the new picture of
// a row side by side, magnified up to 16 times, and under the pointer the
// pixel's position, the value it is stored as and its colour, for old and
// new alike. The main window keeps it on the selected row.
class PixelViewer : public QWidget {
    Q_OBJECT
  public:
    explicit PixelViewer(QWidget* parent = nullptr);

    // Shows a row's picture; null shows nothing. Nothing of the picture is
    // kept but copies, so the picture may go at any time.
    void ShowPicture(const Picture* picture, const ListRow* row);

    int Zoom() const { return zoom_; }
    void SetZoom(int zoom);
    bool Grid() const;
    void SetGrid(bool grid);
    // The readout for picture pixel `pixel`, as the pointer over it shows.
    void PointAt(QPoint pixel);
    QString Readout() const;

    PixelCanvas* OldCanvas;
    PixelCanvas* NewCanvas;
    QSpinBox* ZoomSpin;
    QCheckBox* GridBox;
    QLabel* ReadoutLabel;

    // The text of one side's pixel: its stored value and colour.
    static QString PixelText(const QImage& bitmap, const StoredPixels& stored, QPoint pixel);

  private:
    // Zooms in or out by one step, keeping the picture pixel at `pos` of
    // `canvas` under the pointer.
    void StepZoom(int step, PixelCanvas* canvas, QPointF pos);

    QScrollArea* oldArea_;
    QScrollArea* newArea_;
    QImage oldBitmap_;
    QImage newBitmap_;
    StoredPixels oldStored_;
    StoredPixels newStored_;
    QPoint pointed_{-1, -1};
    int zoom_ = 8;
};

}  // namespace vorlix
