#include "core/datetime.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>

#include "core/exceptions.h"

namespace contado {

namespace {

// Days from 1 January 1970 for a proleptic Gregorian date.
std::int64_t DaysFromCivil(int year, int month, int day) {
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int yearOfEra = static_cast<int>(year - era * 400);
    const int dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

TDateParts CivilFromDays(std::int64_t days) {
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const int dayOfEra = static_cast<int>(days - era * 146097);
    const int yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int monthIndex = (5 * dayOfYear + 2) / 153;
    TDateParts parts;
    parts.day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
    parts.month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
    parts.year = static_cast<int>(yearOfEra + era * 400) + (parts.month <= 2 ? 1 : 0);
    return parts;
}

// Days from 1 January 1970 to 30 December 1899.
constexpr std::int64_t kUnixToDelphiDays = 25569;

int DaysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

std::int64_t WholeDays(TDateTime value) {
    return static_cast<std::int64_t>(std::trunc(value));
}

// The fraction of a day counts the same way before and after 30 December 1899.
std::int64_t RoundedTimeUnits(TDateTime value) {
    return std::llround(std::fabs(TimeOf(value)) * static_cast<double>(kTimeUnitsPerDay));
}

// Reads one to maxDigits digits at position; false when there is none or more.
bool ReadNumber(std::string_view text, size_t& position, size_t maxDigits, int& number, size_t& digits) {
    number = 0;
    digits = 0;
    while (position < text.size() && text[position] >= '0' && text[position] <= '9') {
        if (++digits > maxDigits) {
            return false;
        }
        number = number * 10 + (text[position++] - '0');
    }
    return digits > 0;
}

}  // namespace

bool IsValidDate(int year, int month, int day) {
    return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
           day <= DaysInMonth(year, month);
}

TDateTime EncodeDate(int year, int month, int day) {
    if (!IsValidDate(year, month, day)) {
        throw EConvertError("Invalid argument to date encode");
    }
    return static_cast<double>(DaysFromCivil(year, month, day) + kUnixToDelphiDays);
}

TDateParts DecodeDate(TDateTime value) {
    return CivilFromDays(WholeDays(value) - kUnixToDelphiDays);
}

TDateTime EncodeTime(int hour, int minute, int second, int millisecond) {
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || millisecond < 0 ||
        millisecond > 999) {
        throw EConvertError("Invalid argument to time encode");
    }
    return ((hour * 3600.0 + minute * 60.0 + second) * 1000.0 + millisecond) / kMillisecondsPerDay;
}

TTimeParts DecodeTime(TDateTime value) {
    const double fraction = std::fabs(value - std::trunc(value));
    auto total = static_cast<std::int64_t>(std::llround(fraction * kMillisecondsPerDay));
    if (total >= static_cast<std::int64_t>(kMillisecondsPerDay)) {
        total = static_cast<std::int64_t>(kMillisecondsPerDay) - 1;
    }
    TTimeParts parts;
    parts.millisecond = static_cast<int>(total % 1000);
    total /= 1000;
    parts.second = static_cast<int>(total % 60);
    total /= 60;
    parts.minute = static_cast<int>(total % 60);
    parts.hour = static_cast<int>(total / 60);
    return parts;
}

TDateTime DateOf(TDateTime value) {
    return std::trunc(value);
}

TDateTime TimeOf(TDateTime value) {
    return value - std::trunc(value);
}

TDateTime ReplaceDate(TDateTime value, TDateTime newDate) {
    const double time = std::fabs(TimeOf(value));
    const double day = std::trunc(newDate);
    return day >= 0 ? day + time : day - time;
}

TDateTime Now() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&seconds, &local);
    const auto millis =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    return EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
           EncodeTime(local.tm_hour, local.tm_min, std::min(local.tm_sec, 59), static_cast<int>(millis));
}

TDateTime Today() {
    return DateOf(Now());
}

std::int32_t DateToDayNumber(TDateTime value) {
    return static_cast<std::int32_t>(WholeDays(value)) + kDateDelta;
}

TDateTime DayNumberToDate(std::int32_t dayNumber) {
    return static_cast<double>(dayNumber - kDateDelta);
}

std::int64_t TimeUnitsOfDay(TDateTime value) {
    return RoundedTimeUnits(value) % kTimeUnitsPerDay;
}

TDateTime TimeFromUnits(std::int64_t units) {
    return static_cast<double>(units) / static_cast<double>(kTimeUnitsPerDay);
}

void SplitDateTime(TDateTime value, std::int32_t& dayNumber, std::int64_t& timeUnits) {
    dayNumber = DateToDayNumber(value);
    timeUnits = RoundedTimeUnits(value);
    if (timeUnits >= kTimeUnitsPerDay) {
        timeUnits -= kTimeUnitsPerDay;
        ++dayNumber;
    }
}

TDateTime JoinDateTime(std::int32_t dayNumber, std::int64_t timeUnits) {
    const TDateTime day = DayNumberToDate(dayNumber);
    const TDateTime time = TimeFromUnits(timeUnits);
    return day >= 0 ? day + time : day - time;
}

bool TryParseTimeOfDay(std::string_view text, TDateTime& value) {
    int parts[3] = {0, 0, 0};
    int fraction = 0;
    size_t fractionDigits = 0;
    size_t position = 0;
    size_t digits = 0;
    int count = 0;
    while (true) {
        if (!ReadNumber(text, position, 2, parts[count], digits)) {
            return false;
        }
        ++count;
        if (count == 3 || position >= text.size() || text[position] != ':') {
            break;
        }
        ++position;
    }
    if (count == 3 && position < text.size() && text[position] == '.') {
        ++position;
        if (!ReadNumber(text, position, 4, fraction, fractionDigits)) {
            return false;
        }
    }
    if (count < 2 || position != text.size() || parts[0] > 23 || parts[1] > 59 || parts[2] > 59) {
        return false;
    }
    for (size_t digit = fractionDigits; digit < 4; ++digit) {
        fraction *= 10;
    }
    value = TimeFromUnits((parts[0] * 3600LL + parts[1] * 60LL + parts[2]) * 10000LL + fraction);
    return true;
}

std::string ExactTimeText(TDateTime value) {
    std::int64_t units = TimeUnitsOfDay(value);
    const auto fraction = static_cast<int>(units % 10000);
    units /= 10000;
    char text[24];
    std::snprintf(text, sizeof(text), "%02d:%02d:%02d", static_cast<int>(units / 3600),
                  static_cast<int>(units / 60 % 60), static_cast<int>(units % 60));
    std::string result = text;
    if (fraction != 0) {
        std::snprintf(text, sizeof(text), ".%04d", fraction);
        result += text;
        while (result.back() == '0') {
            result.pop_back();
        }
    }
    return result;
}

}  // namespace contado
