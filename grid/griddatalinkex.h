#pragma once

#include "data/dataset/datalink.h"

namespace contado {

class TCustomDBGridEx;

// The grid's data link: turns every notice of the dataset into the grid's reaction.
class TGridDataLinkEx : public TDataLink {
  public:
    explicit TGridDataLinkEx(TCustomDBGridEx& grid);

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
};

}  // namespace contado
