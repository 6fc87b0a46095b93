#include "ui/pixel_zoom.h"

#include <QRgb>
#include <algorithm>
#include <cmath>
#include <vector>

namespace vorlix {

namespace {

// Source column (or row) of each of the `out` output pixels when the
// first and last of `n` source pixels become `frame` wide and the others k.
std::vector<int> FramedMap(int n, int k, int frame) {
    std::vector<int> map;
    if (n < 2) {
        for (int i = 0; i < n; ++i) map.insert(map.end(), static_cast<std::size_t>(k), i);
        return map;
    }
    map.insert(map.end(), static_cast<std::size_t>(frame), 0);
    for (int i = 1; i < n - 1; ++i) map.insert(map.end(), static_cast<std::size_t>(k), i);
    map.insert(map.end(), static_cast<std::size_t>(frame), n - 1);
    return map;
}

// The output pixels of `part` (all when null) of an image whose columns
// and rows come from the source columns and rows that the maps name.
QImage Resample(const QImage& source, std::vector<int> columns, std::vector<int> rows,
                const QRect& part) {
    if (!part.isNull()) {
        const QRect inside = part.intersected(QRect(0, 0, int(columns.size()), int(rows.size())));
        if (inside.isEmpty()) return {};
        columns =
            std::vector<int>(columns.begin() + inside.left(), columns.begin() + inside.right() + 1);
        rows = std::vector<int>(rows.begin() + inside.top(), rows.begin() + inside.bottom() + 1);
    }
    if (source.isNull() || columns.empty() || rows.empty()) return {};
    const QImage src =
        source.format() == QImage::Format_RGB32 || source.format() == QImage::Format_ARGB32
            ? source
            : source.convertToFormat(QImage::Format_RGB32);
    QImage out(int(columns.size()), int(rows.size()), src.format());
    int previous = -1;
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        if (rows[std::size_t(y)] == previous) {
            std::copy_n(reinterpret_cast<const QRgb*>(out.constScanLine(y - 1)), out.width(), line);
            continue;
        }
        previous = rows[std::size_t(y)];
        const auto* from = reinterpret_cast<const QRgb*>(src.constScanLine(previous));
        for (int x = 0; x < out.width(); ++x) line[x] = from[columns[std::size_t(x)]];
    }
    return out;
}

}  // namespace

int DeviceFactor(int zoom, qreal dpr) {
    return std::max(1, int(std::floor(std::max(zoom, 1) * dpr + 0.5)));
}

int DeviceLine(qreal dpr) { return DeviceFactor(1, dpr); }

int FitFactor(QSize picture, QSize room, int frame) {
    if (picture.width() <= 0 || picture.height() <= 0) return 1;
    const int kx = (room.width() - 2 * frame) / picture.width();
    const int ky = (room.height() - 2 * frame) / picture.height();
    return std::max(1, std::min(kx, ky));
}

QImage ScaleWhole(const QImage& image, int k, const QRect& part) {
    k = std::max(k, 1);
    std::vector<int> columns, rows;
    for (int x = 0; x < image.width(); ++x) columns.insert(columns.end(), std::size_t(k), x);
    for (int y = 0; y < image.height(); ++y) rows.insert(rows.end(), std::size_t(k), y);
    return Resample(image, std::move(columns), std::move(rows), part);
}

QImage ZoomFramed(const QImage& bitmap, int k, int frame, const QRect& part) {
    k = std::max(k, 1);
    frame = std::max(frame, 1);
    return Resample(bitmap, FramedMap(bitmap.width(), k, frame),
                    FramedMap(bitmap.height(), k, frame), part);
}

QSize ZoomFramedSize(QSize bitmap, int k, int frame) {
    k = std::max(k, 1);
    frame = std::max(frame, 1);
    const auto side = [&](int n) { return n < 2 ? n * k : (n - 2) * k + 2 * frame; };
    return {side(bitmap.width()), side(bitmap.height())};
}

int WheelZoom(int zoom, int fitted, int step) {
    const int shown = zoom == 0 ? fitted : zoom;
    if (step > 0) {
        for (const int choice : kPreviewZooms)
            if (choice > shown) return choice;
    } else if (step < 0) {
        for (auto it = kPreviewZooms.rbegin(); it != kPreviewZooms.rend(); ++it)
            if (*it != 0 && *it < shown) return *it;
    }
    return zoom;
}

}  // namespace vorlix
