#pragma once

#include <firebird/Interface.h>

#include <cstdint>

namespace contado {

// Firebird counts days from 17 November 1858 and time in units of 100 microseconds; the driver
// interfaces count days from 1 January of the year 1 as day 1 and time in milliseconds.
constexpr std::int32_t kFbDateDelta = 678576;

inline std::int32_t DayNumberFromFbDate(ISC_DATE date) {
    return date + kFbDateDelta;
}
inline ISC_DATE FbDateFromDayNumber(std::int64_t dayNumber) {
    return static_cast<ISC_DATE>(dayNumber - kFbDateDelta);
}
inline std::int32_t MillisecondsFromFbTime(ISC_TIME time) {
    return static_cast<std::int32_t>(time / 10);
}
inline ISC_TIME FbTimeFromMilliseconds(std::int64_t milliseconds) {
    return static_cast<ISC_TIME>(milliseconds * 10);
}

}  // namespace contado
