#include "data/fields/datetimefield.h"

#include "core/datetime.h"
#include "core/exceptions.h"
#include "core/formatsettings.h"
#include "core/textutil.h"

namespace contado {

bool TryStrToTime(const std::string& text, TDateTime& value) {
    return TryParseTimeOfDay(Trim(text), value);
}

TDateTimeField::TDateTimeField(TComponent* owner) : TDateTimeField(owner, ftDateTime) {}

TDateTimeField::TDateTimeField(TComponent* owner, TFieldType type) : TField(owner) {
    SetDataType(type);
}

TDateTime TDateTimeField::AsDateTime() const {
    const TVariant value = GetData();
    const auto* date = std::get_if<double>(&value);
    return date != nullptr ? *date : 0.0;
}

void TDateTimeField::SetAsDateTime(TDateTime value) {
    SetData(Stored(value));
}

void TDateTimeField::SetAsString(const std::string& value) {
    if (value.empty()) {
        Clear();
        return;
    }
    SetAsDateTime(ParseText(value));
}

std::string TDateTimeField::GetText(bool displayText) const {
    if (IsNull()) {
        return {};
    }
    const TDateTime value = AsDateTime();
    return displayText && !displayFormat_.empty() ? FormatDateTime(displayFormat_, value)
                                                  : DefaultFormat(value);
}

std::string TDateTimeField::DefaultFormat(TDateTime value) const {
    const std::string date = DateToStr(value);
    return TimeOf(value) == 0 ? date : date + " " + TimeToStr(value);
}

TDateTime TDateTimeField::ParseText(const std::string& text) const {
    const std::string trimmed = Trim(text);
    const size_t blank = trimmed.find(' ');
    TDateTime date = 0;
    TDateTime time = 0;
    const bool valid = blank == std::string::npos ? TryStrToDate(trimmed, date)
                                                  : TryStrToDate(trimmed.substr(0, blank), date) &&
                                                        TryStrToTime(trimmed.substr(blank + 1), time);
    if (!valid) {
        throw EConvertError(FormatMessage("'%s' is not a valid date and time", text));
    }
    return date + time;
}

}  // namespace contado
