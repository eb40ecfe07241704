#pragma once

#include "data/dataset/datalink.h"

namespace contado {

class TCustomDBGridEx;

// The grid's data link: turns every notice of the dataset into the grid's reaction. It carries the
// cell-modified flag: set by the editor's first accepted change, cleared when the text is written
// into the field, when the cell is reverted and whenever the dataset changes or scrolls.
class TGridDataLinkEx : public TDataLink {
  public:
    explicit TGridDataLinkEx(TCustomDBGridEx& grid);

    bool CellModified() const { return cellModified_; }
    void SetCellModified(bool modified) { cellModified_ = modified; }

    void ActiveChanged() override;
    void DataSetChanged() override;
    void DataSetScrolled(int distance) override;
    void LayoutChanged() override;
    void EditingChanged() override;
    void RecordChanged(TField* field) override;
    void UpdateData() override;
    void FocusControl(TField** field) override;

  private:
    TCustomDBGridEx& grid_;
    bool cellModified_ = false;
};

}  // namespace contado
