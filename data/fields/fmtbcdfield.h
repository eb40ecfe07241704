#pragma once

#include "data/fields/decimalfield.h"

namespace contado {

// A decimal of up to 32 digits (ftFMTBcd); the program's NUMERIC(15,4) columns are such fields with
// Precision 15 and Size (scale) 4.
class TFMTBCDField : public TDecimalField {
  public:
    explicit TFMTBCDField(TComponent* owner = nullptr) : TDecimalField(owner, ftFMTBcd, 8, 15) {}
};

}  // namespace contado
