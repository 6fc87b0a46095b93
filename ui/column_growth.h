#pragma once

#include <QObject>
#include <vector>

class QTreeView;
class QWidget;

namespace vorlix {

// Lets the columns of a list share the room of a list wider than they are:
// each column keeps the width it has when this is made as its least, and
// what the list has beyond their sum is shared out in proportion to those
// widths, so that a maximised window shows its rows across the whole list.
class ColumnGrowth : public QObject {
    Q_OBJECT
  public:
    explicit ColumnGrowth(QTreeView* view);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Apply();

    QTreeView* view_;
    QWidget* viewport_;
    std::vector<int> designed_;
    int total_ = 0;
};

}  // namespace vorlix
