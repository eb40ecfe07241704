#include "data/fields/datetimefield.h"

#include <cctype>

#include "core/exceptions.h"
#include "core/formatsettings.h"
#include "core/textutil.h"

namespace contado {

bool TryStrToTime(const std::string& text, TDateTime& value) {
    const std::vector<std::string> parts = SplitText(Trim(text), ':');
    if (parts.size() < 2 || parts.size() > 3) {
        return false;
    }
    int numbers[3] = {0, 0, 0};
    for (size_t i = 0; i < parts.size(); ++i) {
        if (parts[i].empty() || parts[i].size() > 2) {
            return false;
        }
        for (char c : parts[i]) {
            if (!std::isdigit(static_cast<unsigned char>(c))) {
                return false;
            }
            numbers[i] = numbers[i] * 10 + (c - '0');
        }
    }
    if (numbers[0] > 23 || numbers[1] > 59 || numbers[2] > 59) {
        return false;
    }
    value = EncodeTime(numbers[0], numbers[1], numbers[2], 0);
    return true;
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
