#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <array>

// Whole-factor magnification of pictures for the preview panes, the pixel
// viewer and the gallery. A picture pixel always becomes a block of whole
// device pixels of one colour: never smoothed, so that what the modder sees
// is what the phone shows.
namespace vorlix {

// The zoom choices of the preview panes; 0 stands for "fit": the largest
// whole factor with which the picture fits the pane.
inline constexpr std::array<int, 7> kPreviewZooms = {0, 1, 2, 3, 4, 6, 8};
// The zoom choice one wheel step (`step` +1 larger, -1 smaller) away from
// `zoom`: the next whole factor of kPreviewZooms above or below the factor
// shown, which at "fit" (0) is `fitted`. Where no choice lies that way the
// zoom stays, so that a step never turns the picture the other way.
int WheelZoom(int zoom, int fitted, int step);
// The pixel viewer's range of factors.
inline constexpr int kViewerMinZoom = 1;
inline constexpr int kViewerMaxZoom = 16;

// Device pixels per picture pixel for a factor `zoom` of logical pixels on
// a screen with `dpr` device pixels per logical pixel: whole and at least 1.
int DeviceFactor(int zoom, qreal dpr);
// Device pixels of a line one logical pixel wide: whole and at least 1.
int DeviceLine(qreal dpr);
// The largest whole factor k >= 1 with which a picture of `picture` pixels,
// with a frame `frame` pixels wide on every side, fits into `room`; 1 when
// even that does not fit.
int FitFactor(QSize picture, QSize room, int frame);
// Every pixel of `image` as a k x k block; with `part`, only that
// rectangle of the magnified image (so that a large magnification costs no
// more memory than the part on screen).
QImage ScaleWhole(const QImage& image, int k, const QRect& part = {});
// A framed pane bitmap magnified: its outer rows and columns (the frame)
// become `frame` pixels wide, every inner pixel a k x k block. With k and
// frame 1 the result is the bitmap itself. `part` as for ScaleWhole.
QImage ZoomFramed(const QImage& bitmap, int k, int frame, const QRect& part = {});
// The size of ZoomFramed's whole result.
QSize ZoomFramedSize(QSize bitmap, int k, int frame);

}  // namespace vorlix
