#pragma once

#include <cstdint>
#include <string>
#include <variant>

#include "core/bcd.h"

namespace contado {

struct TNull {
    friend bool operator==(const TNull&, const TNull&) { return true; }
};

// A value as it travels between packets, fields and parameters.
// std::monostate is "unassigned" (no value given at all), TNull the database null.
// Integers travel as int64, dates and times as TDateTime (double), decimals as TBcd.
using TVariant = std::variant<std::monostate, TNull, bool, std::int64_t, double, std::string, TBcd>;

inline bool VarIsUnassigned(const TVariant& value) {
    return std::holds_alternative<std::monostate>(value);
}
inline bool VarIsNull(const TVariant& value) {
    return std::holds_alternative<TNull>(value);
}
inline bool VarIsEmptyOrNull(const TVariant& value) {
    return VarIsUnassigned(value) || VarIsNull(value);
}

// The null value, for functions that answer values by reference.
inline const TVariant& NullVariant() {
    static const TVariant null = TNull{};
    return null;
}

}  // namespace contado
