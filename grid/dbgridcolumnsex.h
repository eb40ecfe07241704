#pragma once

#include <memory>
#include <vector>

#include "grid/dbgridcolumnex.h"

namespace contado {

class TCustomDBGridEx;
class TDataSet;

// The grid's columns in display order; owns them.
class TDBGridColumnsEx {
  public:
    explicit TDBGridColumnsEx(TCustomDBGridEx* grid) : grid_(grid) {}

    TDBGridColumnEx* Add();
    void Clear();
    int Count() const { return static_cast<int>(items_.size()); }
    TDBGridColumnEx* Items(int index) const { return items_.at(index).get(); }
    // The index of a column in display order; -1 when it is not one of these.
    int IndexOf(const TDBGridColumnEx* column) const;
    // Takes the column at one index out and puts it in at the other.
    void Move(int from, int to);
    // The visible columns, in display order.
    std::vector<TDBGridColumnEx*> VisibleColumns() const;
    void Bind(const TDataSet* dataSet);

  private:
    TCustomDBGridEx* grid_;
    std::vector<std::unique_ptr<TDBGridColumnEx>> items_;
};

}  // namespace contado
