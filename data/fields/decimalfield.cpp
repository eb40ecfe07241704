#include "data/fields/decimalfield.h"

#include "core/exceptions.h"
#include "core/formatfloat.h"
#include "core/formatsettings.h"
#include "core/textutil.h"

namespace contado {

namespace {

char Separator() {
    return FormatSettings().DecimalSeparator;
}

int IntegerDigits(const TBcd& value) {
    return std::max(value.Precision() - value.Scale(), 0);
}

}  // namespace

TDecimalField::TDecimalField(TComponent* owner, TFieldType type, int size, int precision)
    : TNumericField(owner), precision_(precision) {
    SetDataType(type);
    SetSize(size);
}

TBcd TDecimalField::AsBCD() const {
    const TVariant value = GetData();
    const auto* decimal = std::get_if<TBcd>(&value);
    return decimal != nullptr ? *decimal : TBcd();
}

std::int32_t TDecimalField::AsInteger() const {
    return static_cast<std::int32_t>(AsLargeInt());
}

std::int64_t TDecimalField::AsLargeInt() const {
    return static_cast<std::int64_t>(AsBCD().Normalized(TBcd::kMaxPrecision, 0).UnscaledValue());
}

std::string TDecimalField::AsString() const {
    return IsNull() ? std::string() : AsBCD().ToString(Separator());
}

std::string TDecimalField::GetText(bool displayText) const {
    if (IsNull()) {
        return {};
    }
    const std::string& format = TextFormat(displayText);
    try {
        return format.empty() ? GeneralText(AsBCD()) : FormatFloat(format, AsBCD(), Separator());
    } catch (const EDatabaseError&) {
        return "BCD overflow";
    }
}

// The value with at most Precision significant digits; "BCD overflow" when its whole part needs more.
std::string TDecimalField::GeneralText(const TBcd& value) const {
    const int precision = EffectivePrecision();
    const int wholeDigits = IntegerDigits(value);
    if (wholeDigits > precision) {
        throw EDatabaseError("BCD overflow");
    }
    const int fraction = std::min(value.Scale(), precision - wholeDigits);
    return value.Normalized(TBcd::kMaxPrecision, fraction).ToString(Separator());
}

void TDecimalField::SetAsString(const std::string& value) {
    if (value.empty()) {
        Clear();
        return;
    }
    TBcd parsed;
    if (!TBcd::TryParse(value, Separator(), parsed)) {
        throw EConvertError(FormatMessage("%s is not a valid BCD value", value));
    }
    SetAsBCD(parsed);
}

void TDecimalField::SetAsFloat(double value) {
    SetAsBCD(TBcd::FromDouble(value, Size()));
}

void TDecimalField::SetAsBCD(const TBcd& value) {
    CheckRange(value);
    SetData(value.Normalized(EffectivePrecision(), Size()));
}

void TDecimalField::CheckRange(const TBcd& value) const {
    if (minValue_.empty() && maxValue_.empty()) {
        return;
    }
    TBcd min;
    TBcd max;
    const bool hasMin = TBcd::TryParse(minValue_, '.', min);
    const bool hasMax = TBcd::TryParse(maxValue_, '.', max);
    if ((hasMin && value < min) || (hasMax && max < value)) {
        RangeError(value.ToString(Separator()), hasMin ? min.ToString(Separator()) : std::string(),
                   hasMax ? max.ToString(Separator()) : std::string());
    }
}

bool TDecimalField::IsValidChar(char c) const {
    return TNumericField::IsValidChar(c) || c == Separator();
}

}  // namespace contado
