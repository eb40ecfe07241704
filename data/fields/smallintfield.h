#pragma once

#include <cstdint>
#include <limits>

#include "data/fields/integerfield.h"

namespace contado {

// A 16-bit integer field.
class TSmallintField : public TIntegerField {
  public:
    explicit TSmallintField(TComponent* owner = nullptr)
        : TIntegerField(owner, ftSmallint, std::numeric_limits<std::int16_t>::min(),
                        std::numeric_limits<std::int16_t>::max()) {}

  protected:
    int DefaultWidth() const override { return 6; }
};

}  // namespace contado
