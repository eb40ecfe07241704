#pragma once

#include <cstdint>
#include <limits>

#include "data/fields/integerfield.h"

namespace contado {

// A 32-bit integer that the database assigns.
class TAutoIncField : public TIntegerField {
  public:
    explicit TAutoIncField(TComponent* owner = nullptr)
        : TIntegerField(owner, ftAutoInc, std::numeric_limits<std::int32_t>::min(),
                        std::numeric_limits<std::int32_t>::max()) {}
};

}  // namespace contado
