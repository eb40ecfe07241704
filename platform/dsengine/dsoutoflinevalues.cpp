#include "platform/dsengine/dsoutoflinevalues.h"

namespace contado {

std::uint32_t TDSOutOfLineValues::Add(const TVariant& value) {
    if (free_.empty()) {
        values_.push_back(value);
        return static_cast<std::uint32_t>(values_.size() - 1);
    }
    const std::uint32_t index = free_.back();
    free_.pop_back();
    values_[index] = value;
    return index;
}

void TDSOutOfLineValues::Release(std::uint32_t index) {
    values_[index] = TVariant();
    free_.push_back(index);
}

void TDSOutOfLineValues::Clear() {
    values_.clear();
    free_.clear();
}

}  // namespace contado
