#pragma once

#include "data/dataset/datalink.h"

namespace contado {

class TDBNavigator;

// The navigator bar's link to its data source: passes on when the dataset opens or closes, when
// its rows or position change, and when editing starts or ends.
class TNavDataLink : public TDataLink {
  public:
    explicit TNavDataLink(TDBNavigator& navigator);

    void ActiveChanged() override;
    void DataSetChanged() override;
    void EditingChanged() override;

  private:
    TDBNavigator& navigator_;
};

}  // namespace contado
