#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/variant.h"

namespace contado {

// A value read where it lies, in a record's slot or in a variant, without copying texts or building
// decimals: what filters and searches compare. A text view lives as long as the bytes it views; a
// wide decimal (one whose unscaled value needs more than 64 bits) as long as its TBcd.
class TDSValueView {
  public:
    enum class TKind : std::uint8_t { Null, Boolean, Integer, Float, Decimal, WideDecimal, Text };

    // The null value; unassigned values read as null too.
    TDSValueView() = default;
    static TDSValueView Of(const TVariant& value);
    static TDSValueView Boolean(bool value) { return TDSValueView(TKind::Boolean, value ? 1 : 0); }
    static TDSValueView Integer(std::int64_t value) { return TDSValueView(TKind::Integer, value); }
    static TDSValueView Float(double value);
    static TDSValueView Decimal(std::int64_t unscaled, int scale);
    static TDSValueView Text(std::string_view text);

    TKind Kind() const { return kind_; }
    bool IsNull() const { return kind_ == TKind::Null; }
    bool IsText() const { return kind_ == TKind::Text; }
    bool IsNumber() const { return !IsNull() && !IsText(); }
    bool IsExact() const { return IsNumber() && kind_ != TKind::Float; }
    // Same kind, and for decimals the same scale: two such values compare without converting either.
    bool SameForm(const TDSValueView& other) const {
        return kind_ == other.kind_ && (kind_ != TKind::Decimal || scale_ == other.scale_);
    }

    // Orders two numbers of the same form (SameForm); negative, zero or positive.
    int CompareSameForm(const TDSValueView& other) const {
        if (kind_ == TKind::Float) {
            return (real_ > other.real_) - (real_ < other.real_);
        }
        return (integer_ > other.integer_) - (integer_ < other.integer_);
    }

    std::int64_t IntegerValue() const { return integer_; }
    double FloatValue() const { return real_; }
    std::string_view TextValue() const { return std::string_view(text_, size_); }
    // An exact number (boolean, integer, decimal) as a decimal.
    TBcd AsBcd() const;
    // Any number as a float, as it compares with a float.
    double AsDouble() const;
    // The unscaled value and scale of an exact number that is not a wide decimal.
    std::int64_t Unscaled() const { return integer_; }
    int Scale() const { return scale_; }

    // This number as a value of the given kind (and scale, for decimals) that compares with every
    // value of that form exactly as this one does; false when there is no such value.
    bool ConvertTo(TKind kind, int scale, TDSValueView& converted) const;

  private:
    TDSValueView(TKind kind, std::int64_t integer) : kind_(kind), integer_(integer) {}
    static TDSValueView OfDecimal(const TBcd& decimal);
    bool ConvertToInteger(TDSValueView& converted) const;
    bool ConvertToDecimal(int scale, TDSValueView& converted) const;

    TKind kind_ = TKind::Null;
    std::uint8_t scale_ = 0;
    std::size_t size_ = 0;  // bytes of a text
    // The one that the kind reads: booleans as 0 and 1 and decimals' unscaled values in integer_.
    union {
        std::int64_t integer_ = 0;
        double real_;
        const char* text_;
        const TBcd* wide_;
    };
};

inline TDSValueView TDSValueView::Float(double value) {
    TDSValueView view;
    view.kind_ = TKind::Float;
    view.real_ = value;
    return view;
}

inline TDSValueView TDSValueView::Decimal(std::int64_t unscaled, int scale) {
    TDSValueView view(TKind::Decimal, unscaled);
    view.scale_ = static_cast<std::uint8_t>(scale);
    return view;
}

inline TDSValueView TDSValueView::Text(std::string_view text) {
    TDSValueView view;
    view.kind_ = TKind::Text;
    view.text_ = text.data();
    view.size_ = text.size();
    return view;
}

}  // namespace contado
