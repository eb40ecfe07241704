#include "data/fields/integerfield.h"

#include <cmath>
#include <limits>

#include "core/exceptions.h"
#include "core/formatfloat.h"
#include "core/formatsettings.h"
#include "core/textutil.h"

namespace contado {

namespace {

// An optional sign and decimal digits, nothing else.
bool TryParseInteger(const std::string& text, std::int64_t& value) {
    size_t i = text[0] == '+' || text[0] == '-' ? 1 : 0;
    if (i == text.size()) {
        return false;
    }
    __int128 magnitude = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return false;
        }
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > std::numeric_limits<std::int64_t>::max()) {
            return false;
        }
    }
    value = static_cast<std::int64_t>(text[0] == '-' ? -magnitude : magnitude);
    return true;
}

}  // namespace

TIntegerField::TIntegerField(TComponent* owner)
    : TIntegerField(owner, ftInteger, std::numeric_limits<std::int32_t>::min(),
                    std::numeric_limits<std::int32_t>::max()) {}

TIntegerField::TIntegerField(TComponent* owner, TFieldType type, std::int64_t lowest, std::int64_t highest)
    : TNumericField(owner), lowest_(lowest), highest_(highest) {
    SetDataType(type);
}

std::int64_t TIntegerField::AsLargeInt() const {
    const TVariant value = GetData();
    const auto* integer = std::get_if<std::int64_t>(&value);
    return integer != nullptr ? *integer : 0;
}

std::string TIntegerField::AsString() const {
    return IsNull() ? std::string() : ToText(AsLargeInt());
}

std::string TIntegerField::GetText(bool displayText) const {
    if (IsNull()) {
        return {};
    }
    const std::string& format = TextFormat(displayText);
    return format.empty()
               ? AsString()
               : FormatFloat(format, TBcd::FromInt64(AsLargeInt()), FormatSettings().DecimalSeparator);
}

void TIntegerField::SetAsString(const std::string& value) {
    if (value.empty()) {
        Clear();
        return;
    }
    std::int64_t parsed = 0;
    if (!TryParseInteger(value, parsed)) {
        throw EDatabaseError(
            FormatMessage("'%s' is not a valid integer value for field '%s'", value, DisplayName()));
    }
    SetAsLargeInt(parsed);
}

void TIntegerField::SetAsLargeInt(std::int64_t value) {
    CheckRange(value);
    SetData(value);
}

void TIntegerField::SetAsFloat(double value) {
    if (!std::isfinite(value) || std::fabs(value) >= 9.2e18) {
        RangeError(ToText(static_cast<std::int64_t>(0)), ToText(lowest_), ToText(highest_));
    }
    SetAsLargeInt(std::llround(value));
}

void TIntegerField::SetAsBCD(const TBcd& value) {
    SetAsLargeInt(static_cast<std::int64_t>(value.Normalized(TBcd::kMaxPrecision, 0).UnscaledValue()));
}

void TIntegerField::CheckRange(std::int64_t value) const {
    const bool limited = minValue_ != 0 || maxValue_ != 0;
    const std::int64_t min = limited ? minValue_ : lowest_;
    const std::int64_t max = limited ? maxValue_ : highest_;
    if (value < min || value > max) {
        RangeError(ToText(value), ToText(min), ToText(max));
    }
}

}  // namespace contado
