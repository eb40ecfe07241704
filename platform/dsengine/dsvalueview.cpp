#include "platform/dsengine/dsvalueview.h"

#include <limits>

namespace contado {

namespace {

using Unscaled = TBcd::Unscaled;

bool FitsInt64(Unscaled value) {
    return value >= std::numeric_limits<std::int64_t>::min() &&
           value <= std::numeric_limits<std::int64_t>::max();
}

Unscaled PowerOfTen(int exponent) {
    Unscaled result = 1;
    for (int i = 0; i < exponent; ++i) {
        result *= 10;
    }
    return result;
}

// Widening by more places than this takes any value that is not zero out of 64 bits.
constexpr int kInt64Digits = 19;

}  // namespace

TDSValueView TDSValueView::Of(const TVariant& value) {
    if (const auto* integer = std::get_if<std::int64_t>(&value)) {
        return Integer(*integer);
    }
    if (const auto* real = std::get_if<double>(&value)) {
        return Float(*real);
    }
    if (const auto* text = std::get_if<std::string>(&value)) {
        return Text(*text);
    }
    if (const auto* decimal = std::get_if<TBcd>(&value)) {
        return OfDecimal(*decimal);
    }
    if (const auto* flag = std::get_if<bool>(&value)) {
        return Boolean(*flag);
    }
    return TDSValueView();
}

TDSValueView TDSValueView::OfDecimal(const TBcd& decimal) {
    if (FitsInt64(decimal.UnscaledValue())) {
        return Decimal(static_cast<std::int64_t>(decimal.UnscaledValue()), decimal.Scale());
    }
    TDSValueView view;
    view.kind_ = TKind::WideDecimal;
    view.wide_ = &decimal;
    return view;
}

TBcd TDSValueView::AsBcd() const {
    switch (kind_) {
        case TKind::Decimal:
            return TBcd::FromUnscaled(integer_, scale_);
        case TKind::WideDecimal:
            return *wide_;
        default:
            return TBcd::FromInt64(integer_);
    }
}

double TDSValueView::AsDouble() const {
    return kind_ == TKind::Float ? real_ : AsBcd().ToDouble();
}

bool TDSValueView::ConvertTo(TKind kind, int scale, TDSValueView& converted) const {
    if (kind_ == kind && (kind != TKind::Decimal || scale_ == scale)) {
        converted = *this;
        return true;
    }
    if (!IsNumber()) {
        return false;
    }
    switch (kind) {
        case TKind::Float:
            converted = Float(AsDouble());
            return true;
        case TKind::Integer:
            return IsExact() && ConvertToInteger(converted);
        case TKind::Decimal:
            return IsExact() && ConvertToDecimal(scale, converted);
        default:
            return false;
    }
}

bool TDSValueView::ConvertToInteger(TDSValueView& converted) const {
    TDSValueView whole;
    if (!ConvertToDecimal(0, whole)) {
        return false;
    }
    converted = Integer(whole.integer_);
    return true;
}

// Widened when the scale is larger; narrowed only when the dropped places are zeros.
bool TDSValueView::ConvertToDecimal(int scale, TDSValueView& converted) const {
    if (scale < 0 || scale > TBcd::kMaxPrecision) {
        return false;
    }
    const TBcd value = AsBcd();
    TBcd::Unscaled unscaled = value.UnscaledValue();
    if (scale >= value.Scale()) {
        if (!FitsInt64(unscaled) || (unscaled != 0 && scale - value.Scale() > kInt64Digits)) {
            return false;
        }
        unscaled *= PowerOfTen(scale - value.Scale());
    } else {
        const TBcd::Unscaled divisor = PowerOfTen(value.Scale() - scale);
        if (unscaled % divisor != 0) {
            return false;
        }
        unscaled /= divisor;
    }
    if (!FitsInt64(unscaled)) {
        return false;
    }
    converted = Decimal(static_cast<std::int64_t>(unscaled), scale);
    return true;
}

}  // namespace contado
