#pragma once

#include <cstdint>

namespace contado {

// Days since 30 December 1899 (day 0); the fraction is the time of day.
using TDateTime = double;

constexpr double kMillisecondsPerDay = 86400000.0;
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

}  // namespace contado
