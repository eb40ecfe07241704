#include "data/fields/largeintfield.h"

#include "core/textutil.h"

namespace contado {

std::int32_t TLargeintField::AsInteger() const {
    const std::int64_t value = AsLargeInt();
    if (value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max()) {
        RangeError(ToText(value), ToText(std::numeric_limits<std::int32_t>::min()),
                   ToText(std::numeric_limits<std::int32_t>::max()));
    }
    return static_cast<std::int32_t>(value);
}

}  // namespace contado
