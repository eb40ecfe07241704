#pragma once

#include <cstdint>
#include <limits>

#include "data/fields/integerfield.h"

namespace contado {

// A 64-bit integer field.
class TLargeintField : public TIntegerField {
  public:
    explicit TLargeintField(TComponent* owner = nullptr)
        : TIntegerField(owner, ftLargeint, std::numeric_limits<std::int64_t>::min(),
                        std::numeric_limits<std::int64_t>::max()) {}

    std::int32_t AsInteger() const override;

  protected:
    int DefaultWidth() const override { return 20; }
};

}  // namespace contado
