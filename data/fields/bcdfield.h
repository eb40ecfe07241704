#pragma once

#include "data/fields/decimalfield.h"

namespace contado {

// A decimal of at most 18 digits and 4 fraction digits (ftBCD).
class TBCDField : public TDecimalField {
  public:
    explicit TBCDField(TComponent* owner = nullptr) : TDecimalField(owner, ftBCD, 4, 0) {}
};

}  // namespace contado
