#pragma once

#include <cstdint>
#include <vector>

#include "core/variant.h"

namespace contado {

// Values that do not fit the fixed slot of their column (long texts, blobs, values of another type
// than the column's), kept beside the records, which hold their index. Indexes of released values
// are handed out again.
class TDSOutOfLineValues {
  public:
    std::uint32_t Add(const TVariant& value);
    const TVariant& Get(std::uint32_t index) const { return values_[index]; }
    void Set(std::uint32_t index, const TVariant& value) { values_[index] = value; }
    void Release(std::uint32_t index);
    void Clear();

  private:
    std::vector<TVariant> values_;
    std::vector<std::uint32_t> free_;
};

}  // namespace contado
