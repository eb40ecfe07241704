#include "core/currency.h"

#include <cmath>

#include "core/bcd.h"

namespace contado {

TCurrency TCurrency::FromDouble(double value) {
    return TCurrency(std::llround(value * kScale));
}

std::string TCurrency::ToString(char decimalSeparator) const {
    return TBcd::FromCurrency(*this).ToString(decimalSeparator);
}

}  // namespace contado
