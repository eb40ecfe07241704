#pragma once

#include <firebird/Interface.h>

#include <cstdint>
#include <string>

#include "platform/fbdriver/fbdrivererror.h"

namespace contado {

// Firebird counts days from 17 November 1858; the driver interfaces count days from 1 January of the
// year 1 as day 1. Both count time in units of 100 microseconds, so times pass as they are.
constexpr std::int32_t kFbDateDelta = 678576;
constexpr std::int64_t kFbTimeUnitsPerDay = 864000000;

inline std::int32_t DayNumberFromFbDate(ISC_DATE date) {
    return date + kFbDateDelta;
}
inline ISC_DATE FbDateFromDayNumber(std::int64_t dayNumber) {
    return static_cast<ISC_DATE>(dayNumber - kFbDateDelta);
}
// The time of day as Firebird stores it; throws EFbDriverError for a time outside the day.
inline ISC_TIME FbTimeFromTimeUnits(std::int64_t units) {
    if (units < 0 || units >= kFbTimeUnitsPerDay) {
        throw EFbDriverError(sqlstatus::kOutOfRange, "Time of day out of range: " + std::to_string(units));
    }
    return static_cast<ISC_TIME>(units);
}

}  // namespace contado
