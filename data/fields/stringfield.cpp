#include "data/fields/stringfield.h"

#include "core/exceptions.h"
#include "core/formatsettings.h"
#include "core/textutil.h"
#include "core/utf8text.h"

namespace contado {

TStringField::TStringField(TComponent* owner) : TField(owner) {
    SetDataType(ftString);
    SetSize(20);
}

std::string TStringField::AsString() const {
    const TVariant value = GetData();
    const auto* text = std::get_if<std::string>(&value);
    return text != nullptr ? *text : std::string();
}

// Size counts characters: the cut never splits one.
void TStringField::SetAsString(const std::string& value) {
    SetData(Size() > 0 ? std::string(LeftCharacters(value, static_cast<std::size_t>(Size()))) : value);
}

std::int32_t TStringField::AsInteger() const {
    const std::string text = Trim(AsString());
    TBcd value;
    if (!TBcd::TryParse(text, '.', value) || value.Scale() != 0 || !value.FitsIn(10, 0)) {
        throw EConvertError(FormatMessage("'%s' is not a valid integer value", text));
    }
    return static_cast<std::int32_t>(value.UnscaledValue());
}

double TStringField::AsFloat() const {
    return AsBCD().ToDouble();
}

void TStringField::SetAsFloat(double value) {
    SetAsString(TBcd::FromDouble(value, 8).ToString('.'));
}

TDateTime TStringField::AsDateTime() const {
    return StrToDate(AsString());
}

void TStringField::SetAsDateTime(TDateTime value) {
    SetAsString(DateToStr(value));
}

TBcd TStringField::AsBCD() const {
    const std::string text = Trim(AsString());
    TBcd value;
    if (!TBcd::TryParse(text, FormatSettings().DecimalSeparator, value)) {
        throw EConvertError(FormatMessage("%s is not a valid BCD value", text));
    }
    return value;
}

void TStringField::SetAsBCD(const TBcd& value) {
    SetAsString(value.ToString(FormatSettings().DecimalSeparator));
}

}  // namespace contado
