#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace contado {

// Days since 30 December 1899 (day 0); the fraction is the time of day.
using TDateTime = double;

constexpr double kMillisecondsPerDay = 86400000.0;
// Times are kept to the ten-thousandth of a second, the unit Firebird stores them in.
constexpr std::int64_t kTimeUnitsPerDay = 864000000;
// Day number of 30 December 1899 counted from 1 January of the year 1 as day 1.
constexpr std::int32_t kDateDelta = 693594;

struct TDateParts {
    int year = 0;
    int month = 0;
    int day = 0;
};

struct TTimeParts {
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

bool IsValidDate(int year, int month, int day);
// Throws EConvertError for a day that does not exist.
TDateTime EncodeDate(int year, int month, int day);
TDateParts DecodeDate(TDateTime value);
TDateTime EncodeTime(int hour, int minute, int second, int millisecond);
TTimeParts DecodeTime(TDateTime value);

TDateTime DateOf(TDateTime value);
TDateTime TimeOf(TDateTime value);
// Replaces the date part, keeping the time of day.
TDateTime ReplaceDate(TDateTime value, TDateTime newDate);
TDateTime Now();
TDateTime Today();

// Whole-day counts used by the database driver.
std::int32_t DateToDayNumber(TDateTime value);
TDateTime DayNumberToDate(std::int32_t dayNumber);

// The time of day in ten-thousandths of a second, rounded to the nearest; a time that rounds to the
// next midnight is 0.
std::int64_t TimeUnitsOfDay(TDateTime value);
TDateTime TimeFromUnits(std::int64_t units);
// A moment as a day number and ten-thousandths of a second, rounded to the nearest; a time that
// rounds to the next midnight moves to the next day.
void SplitDateTime(TDateTime value, std::int32_t& dayNumber, std::int64_t& timeUnits);
TDateTime JoinDateTime(std::int32_t dayNumber, std::int64_t timeUnits);

// Reads "h:n", "h:n:s" or "h:n:s.f" with one to four fraction digits; false when the text is no
// time of day.
bool TryParseTimeOfDay(std::string_view text, TDateTime& value);
// "hh:nn:ss", with the fraction to the ten-thousandth of a second when there is one
// ("13:14:15.6789", "08:00:00.5"); read back by TryParseTimeOfDay to the same value.
std::string ExactTimeText(TDateTime value);

}  // namespace contado
