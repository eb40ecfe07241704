#pragma once

#include <string>
#include <string_view>

#include "core/datetime.h"

namespace contado {

// The regional settings the program formats and reads dates, times and numbers with.
// Taken from the process locale at start (years always with four digits); tests set them.
struct TFormatSettings {
    std::string ShortDateFormat = "dd/mm/yyyy";
    std::string LongTimeFormat = "hh:nn:ss";
    char DecimalSeparator = '.';

    // The first character of the short date format that is not part of a day, month or year.
    char DateSeparator() const;
    static TFormatSettings FromProcessLocale();
};

TFormatSettings& FormatSettings();

// Formats with the tokens d, dd, m, mm, yy, yyyy, h, hh, n, nn, s, ss, z, zzz and AMPM;
// anything else is copied; text between double or single quotes is copied without its quotes.
std::string FormatDateTime(std::string_view format, TDateTime value);
std::string DateToStr(TDateTime value);
std::string TimeToStr(TDateTime value);
// Reads a date written in the short date format; throws EConvertError "'%s' is not a valid date".
TDateTime StrToDate(std::string_view text);
bool TryStrToDate(std::string_view text, TDateTime& value);

// The date part written in the short date format, in single quotes, inner quotes doubled.
std::string QuotedDateText(TDateTime value);
// The date part as 'yyyy-mm-dd', which the database server reads one way only.
std::string SqlDateText(TDateTime value);

}  // namespace contado
