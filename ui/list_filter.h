#pragma once

#include <QObject>
#include <vector>

#include "session/row_filter.h"

class QAbstractItemModel;
class QListView;
class QTreeView;

namespace vorlix {

// Narrows the list and the gallery to the rows that match the filter text.
// Rows only disappear from view: they keep their numbers, their place in
// the model and their selection, so every command works on the rows it
// worked on before. Rows that arrive, or whose texts change, are filtered
// as they come.
class ListFilter : public QObject {
    Q_OBJECT
  public:
    ListFilter(const FlashSession& session, QAbstractItemModel* model, QTreeView* list,
               QListView* gallery, QObject* parent = nullptr);

    void SetText(const QString& text);
    bool IsHidden(int row) const;
    int Shown() const { return int(hidden_.size()) - hiddenCount_; }
    int Total() const { return int(hidden_.size()); }

  signals:
    void countsChanged();

  private:
    void Reset();
    // Shows or hides rows first..last by the filter.
    void Apply(int first, int last);

    const FlashSession& session_;
    QAbstractItemModel* model_;
    QTreeView* list_;
    QListView* gallery_;
    RowFilter filter_;
    std::vector<char> hidden_;  // one per row of the model
    int hiddenCount_ = 0;
};

}  // namespace vorlix
