#include "data/fields/floatfield.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "core/exceptions.h"
#include "core/formatfloat.h"
#include "core/formatsettings.h"
#include "core/textutil.h"

namespace contado {

TFloatField::TFloatField(TComponent* owner) : TFloatField(owner, ftFloat) {}

TFloatField::TFloatField(TComponent* owner, TFieldType type) : TNumericField(owner) {
    SetDataType(type);
}

double TFloatField::AsFloat() const {
    const TVariant value = GetData();
    const auto* real = std::get_if<double>(&value);
    return real != nullptr ? *real : 0.0;
}

std::int32_t TFloatField::AsInteger() const {
    return static_cast<std::int32_t>(std::lround(AsFloat()));
}

TBcd TFloatField::AsBCD() const {
    return TBcd::FromDouble(AsFloat(), 8);
}

std::string TFloatField::AsString() const {
    if (IsNull()) {
        return {};
    }
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*g", precision_, AsFloat());
    std::string text = buffer;
    for (char& c : text) {
        c = c == '.' ? FormatSettings().DecimalSeparator : c;
    }
    return text;
}

std::string TFloatField::GetText(bool displayText) const {
    if (IsNull()) {
        return {};
    }
    const std::string& format = TextFormat(displayText);
    return format.empty() ? AsString() : FormatFloat(format, AsBCD(), FormatSettings().DecimalSeparator);
}

void TFloatField::SetAsString(const std::string& value) {
    if (value.empty()) {
        Clear();
        return;
    }
    std::string plain = value;
    for (char& c : plain) {
        c = c == FormatSettings().DecimalSeparator ? '.' : (c == '.' ? ',' : c);
    }
    char* end = nullptr;
    const double parsed = std::strtod(plain.c_str(), &end);
    if (end == plain.c_str() || *end != '\0' || !std::isfinite(parsed)) {
        throw EDatabaseError(
            FormatMessage("'%s' is not a valid floating point value for field '%s'", value, DisplayName()));
    }
    SetAsFloat(parsed);
}

void TFloatField::SetAsFloat(double value) {
    SetData(value);
}

bool TFloatField::IsValidChar(char c) const {
    return TNumericField::IsValidChar(c) || c == FormatSettings().DecimalSeparator || c == 'e' || c == 'E';
}

}  // namespace contado
