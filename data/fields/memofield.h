#pragma once

#include "data/fields/blobfield.h"

namespace contado {

// A text of any length; shown as "(MEMO)", or "(memo)" when empty.
class TMemoField : public TBlobField {
  public:
    explicit TMemoField(TComponent* owner = nullptr) : TBlobField(owner, ftMemo) {}

  protected:
    std::string KindText() const override { return "MEMO"; }
};

}  // namespace contado
