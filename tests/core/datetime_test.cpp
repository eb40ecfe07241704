#include <gtest/gtest.h>

#include "core/datetime.h"
#include "core/exceptions.h"

namespace contado {
namespace {

TEST(DateTime, DayZeroIsThe30thOfDecember1899) {
    EXPECT_DOUBLE_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_DOUBLE_EQ(EncodeDate(1900, 1, 1), 2.0);
    EXPECT_DOUBLE_EQ(EncodeDate(1899, 12, 29), -1.0);
    const TDateParts parts = DecodeDate(0);
    EXPECT_EQ(parts.year, 1899);
    EXPECT_EQ(parts.month, 12);
    EXPECT_EQ(parts.day, 30);
}

TEST(DateTime, TheStartValueOfTheDatePickersIs20January2003At064423) {
    const TDateTime start = 37641.280825;
    const TDateParts date = DecodeDate(start);
    EXPECT_EQ(date.year, 2003);
    EXPECT_EQ(date.month, 1);
    EXPECT_EQ(date.day, 20);
    const TTimeParts time = DecodeTime(start);
    EXPECT_EQ(time.hour, 6);
    EXPECT_EQ(time.minute, 44);
    EXPECT_EQ(time.second, 23);
    EXPECT_DOUBLE_EQ(DateOf(start), 37641.0);
}

TEST(DateTime, EncodesLeapDaysAndRefusesDaysThatDoNotExist) {
    EXPECT_DOUBLE_EQ(EncodeDate(2024, 2, 29) + 1, EncodeDate(2024, 3, 1));
    EXPECT_THROW(EncodeDate(2026, 2, 29), EConvertError);
    EXPECT_THROW(EncodeDate(1900, 2, 29), EConvertError);
    EXPECT_NO_THROW(EncodeDate(2000, 2, 29));
    EXPECT_THROW(EncodeDate(2026, 13, 1), EConvertError);
    EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
}

TEST(DateTime, RoundTripsEveryDayOfFourCenturies) {
    for (TDateTime day = EncodeDate(1801, 1, 1); day < EncodeDate(2201, 1, 1); day += 1) {
        const TDateParts parts = DecodeDate(day);
        ASSERT_DOUBLE_EQ(EncodeDate(parts.year, parts.month, parts.day), day);
    }
}

TEST(DateTime, ReplaceDateKeepsTheTimeOfDay) {
    const TDateTime value = ReplaceDate(37641.280825, EncodeDate(2026, 12, 9));
    EXPECT_DOUBLE_EQ(DateOf(value), EncodeDate(2026, 12, 9));
    EXPECT_NEAR(TimeOf(value), 0.280825, 1e-9);
}

TEST(DateTime, DayNumbersCountFromTheFirstOfJanuaryOfYearOne) {
    EXPECT_EQ(DateToDayNumber(EncodeDate(1, 1, 1)), 1);
    EXPECT_EQ(DateToDayNumber(0), kDateDelta);
    EXPECT_DOUBLE_EQ(DayNumberToDate(DateToDayNumber(EncodeDate(2026, 12, 9))), EncodeDate(2026, 12, 9));
}

}  // namespace
}  // namespace contado

namespace contado {
namespace {

constexpr std::int64_t kTime = ((13 * 60 + 14) * 60 + 15) * 10000LL + 6789;  // 13:14:15.6789

TEST(DateTimeUnits, TimesRoundToTheNearestTenThousandthOfASecond) {
    const TDateTime time = TimeFromUnits(kTime);
    EXPECT_EQ(TimeUnitsOfDay(time), kTime);
    EXPECT_EQ(TimeUnitsOfDay(time + 0.4 / kTimeUnitsPerDay), kTime);
    EXPECT_EQ(TimeUnitsOfDay(time + 0.6 / kTimeUnitsPerDay), kTime + 1);
    EXPECT_EQ(TimeUnitsOfDay(EncodeDate(2026, 12, 9) + time), kTime);
    EXPECT_EQ(TimeUnitsOfDay(1.0 - 0.1 / kTimeUnitsPerDay), 0) << "rounds to the next midnight";
}

TEST(DateTimeUnits, SplitAndJoinKeepAMomentAndCarryMidnight) {
    const TDateTime moment = JoinDateTime(DateToDayNumber(EncodeDate(2026, 12, 9)), kTime);
    std::int32_t day = 0;
    std::int64_t units = 0;
    SplitDateTime(moment, day, units);
    EXPECT_EQ(day, DateToDayNumber(EncodeDate(2026, 12, 9)));
    EXPECT_EQ(units, kTime);
    SplitDateTime(EncodeDate(2026, 12, 9) + 1.0 - 0.1 / kTimeUnitsPerDay, day, units);
    EXPECT_EQ(day, DateToDayNumber(EncodeDate(2026, 12, 10)));
    EXPECT_EQ(units, 0);
    const TDateTime early = JoinDateTime(DateToDayNumber(EncodeDate(1899, 12, 29)), kTime);
    SplitDateTime(early, day, units);
    EXPECT_EQ(day, DateToDayNumber(EncodeDate(1899, 12, 29)));
    EXPECT_EQ(units, kTime);
}

TEST(DateTimeUnits, TimeTextsCarryTheFraction) {
    TDateTime value = 0;
    ASSERT_TRUE(TryParseTimeOfDay("13:14:15.6789", value));
    EXPECT_EQ(value, TimeFromUnits(kTime));
    EXPECT_EQ(ExactTimeText(value), "13:14:15.6789");
    ASSERT_TRUE(TryParseTimeOfDay("8:00:00.5", value));
    EXPECT_EQ(ExactTimeText(value), "08:00:00.5");
    ASSERT_TRUE(TryParseTimeOfDay("13:14", value));
    EXPECT_EQ(ExactTimeText(value), "13:14:00");
    EXPECT_EQ(value, EncodeTime(13, 14, 0, 0));
    for (const char* wrong : {"", "13", "13:", "13:14:", "13:14:15.", "13:14:15.67891", "24:00", "13:60",
                              "13:14.5", "1:2:3:4", "13:14:15,5", "-1:00", "130:00"}) {
        EXPECT_FALSE(TryParseTimeOfDay(wrong, value)) << wrong;
    }
}

}  // namespace
}  // namespace contado
