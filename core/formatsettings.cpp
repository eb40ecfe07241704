#include "core/formatsettings.h"

#include <langinfo.h>
#include <locale.h>

#include <cctype>
#include <cstdio>
#include <vector>

#include "core/exceptions.h"
#include "core/textutil.h"

namespace contado {

namespace {

std::string Padded(int value, int width) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%0*d", width, value);
    return buffer;
}

size_t RunLength(std::string_view text, size_t start) {
    size_t end = start;
    while (end < text.size() && std::tolower(static_cast<unsigned char>(text[end])) ==
                                    std::tolower(static_cast<unsigned char>(text[start]))) {
        ++end;
    }
    return end - start;
}

std::string FormatToken(char token, size_t length, const TDateParts& date, const TTimeParts& time) {
    switch (token) {
        case 'd':
            return Padded(date.day, length >= 2 ? 2 : 1);
        case 'm':
            return Padded(date.month, length >= 2 ? 2 : 1);
        case 'y':
            return length <= 2 ? Padded(date.year % 100, 2) : Padded(date.year, 4);
        case 'h':
            return Padded(time.hour, length >= 2 ? 2 : 1);
        case 'n':
            return Padded(time.minute, length >= 2 ? 2 : 1);
        case 's':
            return Padded(time.second, length >= 2 ? 2 : 1);
        case 'z':
            return Padded(time.millisecond, length >= 3 ? 3 : 1);
        default:
            return {};
    }
}

bool UsesAmPm(std::string_view format) {
    return UpperCase(format).find("AMPM") != std::string::npos;
}

// strftime directives of the locale turned into the program's format tokens.
std::string FromStrftime(std::string_view pattern, bool dateOnly) {
    std::string result;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '%' || i + 1 >= pattern.size()) {
            result += pattern[i];
            continue;
        }
        switch (pattern[++i]) {
            case 'd':
            case 'e':
                result += "dd";
                break;
            case 'm':
                result += "mm";
                break;
            case 'y':
            case 'Y':
                result += "yyyy";
                break;
            case 'H':
            case 'I':
                result += "hh";
                break;
            case 'M':
                result += "nn";
                break;
            case 'S':
                result += "ss";
                break;
            case 'p':
                result += "AMPM";
                break;
            case 'D':
                result += "mm/dd/yyyy";
                break;
            case 'F':
                result += "yyyy-mm-dd";
                break;
            case 'T':
                result += "hh:nn:ss";
                break;
            case 'r':
                result += "hh:nn:ss AMPM";
                break;
            case 'R':
                result += "hh:nn";
                break;
            default:
                break;
        }
    }
    if (dateOnly && result.find('d') == std::string::npos) {
        return "dd/mm/yyyy";
    }
    return Trim(result);
}

}  // namespace

char TFormatSettings::DateSeparator() const {
    for (char c : ShortDateFormat) {
        if (!std::isalpha(static_cast<unsigned char>(c))) {
            return c;
        }
    }
    return '/';
}

TFormatSettings TFormatSettings::FromProcessLocale() {
    TFormatSettings settings;
    locale_t locale = newlocale(LC_ALL_MASK, "", static_cast<locale_t>(nullptr));
    if (locale == static_cast<locale_t>(nullptr)) {
        locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    }
    settings.ShortDateFormat = FromStrftime(nl_langinfo_l(D_FMT, locale), true);
    const std::string time = FromStrftime(nl_langinfo_l(T_FMT, locale), false);
    if (!time.empty()) {
        settings.LongTimeFormat = time;
    }
    const char* radix = nl_langinfo_l(RADIXCHAR, locale);
    if (radix != nullptr && radix[0] != '\0' && radix[1] == '\0') {
        settings.DecimalSeparator = radix[0];
    }
    freelocale(locale);
    return settings;
}

TFormatSettings& FormatSettings() {
    static TFormatSettings settings = TFormatSettings::FromProcessLocale();
    return settings;
}

std::string FormatDateTime(std::string_view format, TDateTime value) {
    const TDateParts date = DecodeDate(value);
    TTimeParts time = DecodeTime(value);
    const bool twelveHours = UsesAmPm(format);
    const bool afternoon = time.hour >= 12;
    if (twelveHours) {
        time.hour = time.hour % 12 == 0 ? 12 : time.hour % 12;
    }
    std::string result;
    size_t i = 0;
    while (i < format.size()) {
        const char c = format[i];
        if (c == '"' || c == '\'') {
            const size_t close = format.find(c, i + 1);
            const size_t end = close == std::string_view::npos ? format.size() : close;
            result += format.substr(i + 1, end - i - 1);
            i = end + 1;
            continue;
        }
        if (UpperCase(format.substr(i, 4)) == "AMPM") {
            result += afternoon ? "PM" : "AM";
            i += 4;
            continue;
        }
        const char token = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (std::string_view("dmyhnsz").find(token) != std::string_view::npos) {
            const size_t length = RunLength(format, i);
            result += FormatToken(token, length, date, time);
            i += length;
            continue;
        }
        result += c;
        ++i;
    }
    return result;
}

std::string DateToStr(TDateTime value) {
    return FormatDateTime(FormatSettings().ShortDateFormat, value);
}

std::string TimeToStr(TDateTime value) {
    return FormatDateTime(FormatSettings().LongTimeFormat, value);
}

bool TryStrToDate(std::string_view text, TDateTime& value) {
    const std::string format = LowerCase(FormatSettings().ShortDateFormat);
    std::vector<char> order;
    for (char c : format) {
        if ((c == 'd' || c == 'm' || c == 'y') && (order.empty() || order.back() != c)) {
            order.push_back(c);
        }
    }
    std::vector<int> numbers;
    std::vector<int> widths;
    const std::string trimmed = Trim(text);
    size_t i = 0;
    while (i < trimmed.size()) {
        if (!std::isdigit(static_cast<unsigned char>(trimmed[i]))) {
            if (numbers.empty() || trimmed[i] != FormatSettings().DateSeparator()) {
                return false;
            }
            ++i;
            if (i >= trimmed.size() || !std::isdigit(static_cast<unsigned char>(trimmed[i]))) {
                return false;
            }
            continue;
        }
        size_t start = i;
        int number = 0;
        while (i < trimmed.size() && std::isdigit(static_cast<unsigned char>(trimmed[i])) && i - start < 4) {
            number = number * 10 + (trimmed[i] - '0');
            ++i;
        }
        numbers.push_back(number);
        widths.push_back(static_cast<int>(i - start));
    }
    if (order.size() != 3 || numbers.size() != 3) {
        return false;
    }
    int day = 0, month = 0, year = 0;
    for (size_t k = 0; k < 3; ++k) {
        if (order[k] == 'd')
            day = numbers[k];
        if (order[k] == 'm')
            month = numbers[k];
        if (order[k] == 'y') {
            year = numbers[k];
            if (widths[k] <= 2) {
                // Two-digit years fall within 50 years of the current one.
                const int current = DecodeDate(Today()).year;
                year += current / 100 * 100;
                if (year > current + 50)
                    year -= 100;
                if (year <= current - 50)
                    year += 100;
            }
        }
    }
    if (!IsValidDate(year, month, day)) {
        return false;
    }
    value = EncodeDate(year, month, day);
    return true;
}

TDateTime StrToDate(std::string_view text) {
    TDateTime value = 0;
    if (!TryStrToDate(text, value)) {
        throw EConvertError(FormatMessage("'%s' is not a valid date", std::string(text)));
    }
    return value;
}

std::string QuotedDateText(TDateTime value) {
    return QuotedStr(DateToStr(DateOf(value)));
}

std::string SqlDateText(TDateTime value) {
    return QuotedStr(FormatDateTime("yyyy-mm-dd", DateOf(value)));
}

}  // namespace contado
