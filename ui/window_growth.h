#pragma once

#include <QObject>
#include <array>

class QBoxLayout;
class QGridLayout;
class QSpacerItem;
class QWidget;

namespace vorlix {

// Lets the main window grow without changing how it looks at its designed
// size of 778 x 540. At that size every column of the top panel keeps the
// width the designed layout gives it; what the window gains beyond it goes
// to the preview panes (width and height) and to the list below the top
// panel, while buttons, fields, the depth choice and the information panel
// keep their width. The panes' tool bar and compress box keep theirs too,
// under the panes' right edge, and the depth choice beside them moves down
// with the panes, so that they stay together as designed.
class WindowGrowth : public QObject {
    Q_OBJECT
  public:
    static constexpr int kDesignedWidth = 778;
    static constexpr int kDesignedHeight = 540;
    static constexpr int kDesignedTopHeight = 169;
    static constexpr int kDesignedPaneHeight = 82;

    // `top` is the top panel's row of columns (files, images, depth,
    // information panel), `images` the images column, `panes` the two
    // preview panes. Watches `window` for its size.
    WindowGrowth(QWidget* window, QWidget* topPanel, QBoxLayout* top, QGridLayout* images,
                 std::array<QWidget*, 2> panes);

    // Pixels the top panel and the panes grow by in a window `height` high.
    static int TopGrowth(int height);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Apply(int windowHeight);

    QWidget* topPanel_;
    std::array<QWidget*, 2> panes_;
    // Above the column beside the images: as high as the panes grew.
    QSpacerItem* sink_ = nullptr;
    QBoxLayout* sinkColumn_ = nullptr;
};

}  // namespace vorlix
