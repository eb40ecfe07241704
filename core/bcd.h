#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/currency.h"

namespace contado {

// Decimal number of up to 32 digits: an unscaled integer with a precision and a scale.
class TBcd {
  public:
    static constexpr int kMaxPrecision = 32;
    using Unscaled = __int128;

    TBcd() = default;
    // Throws EDatabaseError "BCD overflow" when the digits do not fit kMaxPrecision.
    static TBcd FromUnscaled(Unscaled unscaled, int scale);
    static TBcd FromInt64(std::int64_t value) { return FromUnscaled(value, 0); }
    static TBcd FromCurrency(TCurrency value);
    static TBcd FromDouble(double value, int scale);
    // Reads an optional sign, digits and at most one decimal separator; false when the text is no number.
    static bool TryParse(std::string_view text, char decimalSeparator, TBcd& result);

    Unscaled UnscaledValue() const { return unscaled_; }
    int Scale() const { return scale_; }
    // Digits of the value itself: significant digits of the unscaled integer (at least the scale).
    int Precision() const;
    bool IsNegative() const { return unscaled_ < 0; }
    bool IsZero() const { return unscaled_ == 0; }

    // The value rounded (half away from zero) to the given scale; "BCD overflow" when more than
    // precision digits would be needed.
    TBcd Normalized(int precision, int scale) const;
    bool FitsIn(int precision, int scale) const;
    // Taken to four decimal places, rounding half away from zero.
    TCurrency ToCurrency() const;
    double ToDouble() const;
    // Plain digits with the decimal separator; trailing fraction zeros and a bare separator dropped.
    std::string ToString(char decimalSeparator) const;

    friend int Compare(const TBcd& a, const TBcd& b);
    friend bool operator==(const TBcd& a, const TBcd& b) { return Compare(a, b) == 0; }
    friend bool operator<(const TBcd& a, const TBcd& b) { return Compare(a, b) < 0; }

  private:
    Unscaled unscaled_ = 0;
    int scale_ = 0;
};

int Compare(const TBcd& a, const TBcd& b);

}  // namespace contado
