#pragma once

#include <QCache>
#include <QListView>
#include <QStyledItemDelegate>
#include <array>
#include <functional>

namespace vorlix {

class Picture;

// Thumbnails of pictures for the gallery, made from the decoded bitmaps
// (nothing is decoded again) and kept within a memory budget, the least
// recently used going first.
class ThumbnailCache {
  public:
    explicit ThumbnailCache(qsizetype budgetBytes = qsizetype(3) << 20);

    // `picture` magnified by the largest whole factor with which it fits a
    // square of `side` device pixels, or reduced to fit it (nearest pixel,
    // never smoothed) when it is larger.
    QImage Thumbnail(const QImage& picture, int side);
    static QImage Make(const QImage& picture, int side);

    int Made() const { return made_; }
    int Reused() const { return reused_; }

  private:
    struct Key {
        qint64 image;
        int side;
        friend bool operator==(const Key& a, const Key& b) {
            return a.image == b.image && a.side == b.side;
        }
        friend size_t qHash(const Key& k, size_t seed = 0) {
            return qHashMulti(seed, k.image, k.side);
        }
    };
    QCache<Key, QImage> cache_;  // cost in KiB
    int made_ = 0;
    int reused_ = 0;
};

// Draws one cell of the gallery: the thumbnail in a square of the cell size
// with a thin frame, a mark in its corner when the picture is modified, and
// the row's "№" beneath; its tooltip gives every column of the row.
class GalleryDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    using PictureOfRow = std::function<const Picture*(int row)>;
    GalleryDelegate(PictureOfRow pictureOf, QObject* parent = nullptr);

    int CellSize() const { return cell_; }
    void SetCellSize(int cell) { cell_ = cell; }
    ThumbnailCache& cache() { return cache_; }
    // The rectangle of the thumbnail's square within a cell at `cell`.
    QRect SquareIn(const QRect& cell) const;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

    // The tooltip of a row: each column's caption and text, one a line.
    static QString RowTip(const QModelIndex& index);

  private:
    PictureOfRow pictureOf_;
    int cell_ = 64;
    mutable ThumbnailCache cache_;
};

// The second view of the picture list: a grid of thumbnails over the same
// model as the list, meant to share its selection model, so that a row
// selected in one is selected in the other and every row command works
// from either.
class GalleryView : public QListView {
    Q_OBJECT
  public:
    static constexpr std::array<int, 3> kCellSizes = {32, 64, 128};

    explicit GalleryView(GalleryDelegate::PictureOfRow pictureOf, QWidget* parent = nullptr);

    int CellSize() const { return delegate_->CellSize(); }
    void SetCellSize(int cell);
    GalleryDelegate& delegate() { return *delegate_; }

  private:
    GalleryDelegate* delegate_;
};

}  // namespace vorlix
