#include "core/bcd.h"

#include <cmath>

#include "core/exceptions.h"

namespace contado {

namespace {

using Unscaled = TBcd::Unscaled;

constexpr Unscaled PowerOfTen(int exponent) {
    Unscaled result = 1;
    for (int i = 0; i < exponent; ++i) {
        result *= 10;
    }
    return result;
}

int DigitCount(Unscaled value) {
    if (value < 0) {
        value = -value;
    }
    int digits = 0;
    while (value != 0) {
        value /= 10;
        ++digits;
    }
    return digits;
}

Unscaled RoundDivide(Unscaled value, Unscaled divisor) {
    Unscaled quotient = value / divisor;
    Unscaled remainder = value % divisor;
    if (remainder < 0) {
        remainder = -remainder;
    }
    if (remainder * 2 >= divisor) {
        quotient += value < 0 ? -1 : 1;
    }
    return quotient;
}

// More digits than a decimal may have, found by magnitude rather than by counting them one by one.
bool ExceedsMaxPrecision(Unscaled value) {
    constexpr Unscaled kLimit = PowerOfTen(TBcd::kMaxPrecision);
    return value >= kLimit || value <= -kLimit;
}

[[noreturn]] void Overflow() {
    throw EDatabaseError("BCD overflow");
}

}  // namespace

TBcd TBcd::FromUnscaled(Unscaled unscaled, int scale) {
    if (scale < 0 || scale > kMaxPrecision || ExceedsMaxPrecision(unscaled)) {
        Overflow();
    }
    TBcd result;
    result.unscaled_ = unscaled;
    result.scale_ = scale;
    return result;
}

TBcd TBcd::FromCurrency(TCurrency value) {
    return FromUnscaled(value.Raw(), 4);
}

TBcd TBcd::FromDouble(double value, int scale) {
    const double scaled = std::round(value * std::pow(10.0, scale));
    if (!std::isfinite(scaled) || std::fabs(scaled) >= 1e32) {
        Overflow();
    }
    return FromUnscaled(static_cast<Unscaled>(scaled), scale);
}

bool TBcd::TryParse(std::string_view text, char decimalSeparator, TBcd& result) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    Unscaled unscaled = 0;
    int scale = 0;
    int digits = 0;
    bool separatorSeen = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c == decimalSeparator && !separatorSeen) {
            separatorSeen = true;
            continue;
        }
        if (c < '0' || c > '9') {
            return false;
        }
        if (digits == 0 && c == '0' && !separatorSeen) {
            digits = 0;  // leading zeros take no precision
        } else {
            ++digits;
        }
        if (digits > kMaxPrecision) {
            return false;
        }
        unscaled = unscaled * 10 + (c - '0');
        if (separatorSeen) {
            ++scale;
        }
    }
    const bool anyDigit = text.find_first_of("0123456789") != std::string_view::npos;
    if (!anyDigit) {
        return false;
    }
    result.unscaled_ = negative ? -unscaled : unscaled;
    result.scale_ = scale;
    return true;
}

int TBcd::Precision() const {
    const int digits = DigitCount(unscaled_);
    return digits > scale_ ? digits : scale_;
}

bool TBcd::FitsIn(int precision, int scale) const {
    Unscaled value = unscaled_;
    if (scale > scale_) {
        if (DigitCount(value) + (scale - scale_) > kMaxPrecision + 6) {
            return false;
        }
        value *= PowerOfTen(scale - scale_);
    } else if (scale < scale_) {
        value = RoundDivide(value, PowerOfTen(scale_ - scale));
    }
    return DigitCount(value) <= precision;
}

TBcd TBcd::Normalized(int precision, int scale) const {
    if (!FitsIn(precision, scale)) {
        Overflow();
    }
    Unscaled value = unscaled_;
    if (scale > scale_) {
        value *= PowerOfTen(scale - scale_);
    } else if (scale < scale_) {
        value = RoundDivide(value, PowerOfTen(scale_ - scale));
    }
    return FromUnscaled(value, scale);
}

TCurrency TBcd::ToCurrency() const {
    Unscaled value = unscaled_;
    if (scale_ < 4) {
        value *= PowerOfTen(4 - scale_);
    } else if (scale_ > 4) {
        value = RoundDivide(value, PowerOfTen(scale_ - 4));
    }
    return TCurrency::FromRaw(static_cast<std::int64_t>(value));
}

double TBcd::ToDouble() const {
    return static_cast<double>(unscaled_) / std::pow(10.0, scale_);
}

std::string TBcd::ToString(char decimalSeparator) const {
    Unscaled magnitude = unscaled_ < 0 ? -unscaled_ : unscaled_;
    std::string digits;
    do {
        digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(magnitude % 10)));
        magnitude /= 10;
    } while (magnitude != 0);
    while (static_cast<int>(digits.size()) <= scale_) {
        digits.insert(digits.begin(), '0');
    }
    std::string whole = digits.substr(0, digits.size() - scale_);
    std::string fraction = digits.substr(digits.size() - scale_);
    while (!fraction.empty() && fraction.back() == '0') {
        fraction.pop_back();
    }
    std::string text = unscaled_ < 0 ? "-" + whole : whole;
    if (!fraction.empty()) {
        text += decimalSeparator;
        text += fraction;
    }
    return text;
}

int Compare(const TBcd& a, const TBcd& b) {
    // Whole parts first, then fractions widened to a common 32 places; nothing can overflow.
    const Unscaled wholeA = a.unscaled_ / PowerOfTen(a.scale_);
    const Unscaled wholeB = b.unscaled_ / PowerOfTen(b.scale_);
    if (wholeA != wholeB) {
        return wholeA < wholeB ? -1 : 1;
    }
    const Unscaled fractionA =
        (a.unscaled_ % PowerOfTen(a.scale_)) * PowerOfTen(TBcd::kMaxPrecision - a.scale_);
    const Unscaled fractionB =
        (b.unscaled_ % PowerOfTen(b.scale_)) * PowerOfTen(TBcd::kMaxPrecision - b.scale_);
    if (fractionA != fractionB) {
        return fractionA < fractionB ? -1 : 1;
    }
    return 0;
}

}  // namespace contado
