#pragma once

#include <string>
#include <string_view>

#include "core/bcd.h"

namespace contado {

// Formats a decimal with a number format: up to three sections separated by ";" (positive,
// negative, zero); "0" a digit always shown, "#" a digit shown when significant, "." the place of
// the decimal separator, "," grouping of thousands; text in quotes and other characters copied.
// The negative section shows the value without its sign.
std::string FormatFloat(std::string_view format, const TBcd& value, char decimalSeparator);

}  // namespace contado
