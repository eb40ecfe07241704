#pragma once

#include "data/fields/floatfield.h"

namespace contado {

// A floating-point field that holds an amount of money.
class TCurrencyField : public TFloatField {
  public:
    explicit TCurrencyField(TComponent* owner = nullptr) : TFloatField(owner, ftCurrency) {}
};

}  // namespace contado
