#include <gtest/gtest.h>

#include "core/datetime.h"
#include "tests/platform/fbdriver/fbdriverfixture.h"

// Times to the ten-thousandth of a second and 64-bit decimals of 19 digits pass the driver whole.

namespace contado {
namespace {

constexpr std::int64_t kTime = ((13 * 60 + 14) * 60 + 15) * 10000LL + 6789;  // 13:14:15.6789

class FbTimeDecimalTest : public FbDriverTest {
  protected:
    void SetUp() override {
        database_.RunScript(
            "create table GRANDES (ID integer not null primary key, N numeric(18,4), D decimal(18,2));\n"
            "commit;\n"
            "insert into GRANDES values (1, 922337203685477.5807, 92233720368547758.07);\n"
            "insert into GRANDES values (2, -922337203685477.5808, -92233720368547758.08);\n"
            "insert into TARIFA (ID, MOMENTO, HORA) values (1, '2026-12-09 13:14:15.6789', "
            "'13:14:15.6789');\n"
            "commit;\n");
        FbDriverTest::SetUp();
    }
};

TEST_F(FbTimeDecimalTest, TimesReadToTheTenThousandthOfASecond) {
    const auto rows = Query(*connection_, "select HORA, MOMENTO from TARIFA");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0].Integer, kTime);
    EXPECT_EQ(rows[0][1].Integer, DateToDayNumber(EncodeDate(2026, 12, 9)));
    EXPECT_EQ(rows[0][1].TimeOfDay, kTime);
}

TEST_F(FbTimeDecimalTest, TimesWrittenKeepTheirLastDigit) {
    TDriverValue stamp = Integer(TDriverType::TimeStamp, DateToDayNumber(EncodeDate(2026, 12, 9)));
    stamp.TimeOfDay = kTime + 1;
    EXPECT_EQ(Execute(*connection_, "update TARIFA set HORA = ?, MOMENTO = ?",
                      {Integer(TDriverType::Time, kTime + 1), stamp}),
              1);
    const auto rows =
        Query(*connection_, "select cast(HORA as varchar(20)), cast(MOMENTO as varchar(30)) from TARIFA");
    EXPECT_EQ(rows[0][0].Text, "13:14:15.6790");
    EXPECT_EQ(rows[0][1].Text, "2026-12-09 13:14:15.6790");
    EXPECT_EQ(Count(*connection_, "TARIFA where HORA = '13:14:15.6790'"), 1);
}

TEST_F(FbTimeDecimalTest, AWhereClauseFindsTheRowByItsExactTime) {
    TDriverValue stamp = Integer(TDriverType::TimeStamp, DateToDayNumber(EncodeDate(2026, 12, 9)));
    stamp.TimeOfDay = kTime;
    EXPECT_EQ(Execute(*connection_, "delete from TARIFA where HORA = ? and MOMENTO = ?",
                      {Integer(TDriverType::Time, kTime), stamp}),
              1);
}

TEST_F(FbTimeDecimalTest, ATimeOutsideTheDayIsRefused) {
    for (std::int64_t units : {std::int64_t{-1}, std::int64_t{864000000}}) {
        std::string text;
        EXPECT_EQ(
            TryExecute(*connection_, "update TARIFA set HORA = ?", text, {Integer(TDriverType::Time, units)}),
            sqlstatus::kOutOfRange);
        EXPECT_NE(text.find("Time of day out of range"), std::string::npos) << text;
    }
    EXPECT_EQ(Count(*connection_, "TARIFA where HORA = '13:14:15.6789'"), 1);
}

TEST_F(FbTimeDecimalTest, DecimalsOfEighteenDigitsAreDescribedWithTheNineteenTheyHold) {
    const auto columns = Describe("select N, D, PORC from GRANDES, TARIFA");
    EXPECT_EQ(columns[0].Precision, 19);
    EXPECT_EQ(columns[0].Scale, 4);
    EXPECT_EQ(columns[1].Precision, 19);
    EXPECT_EQ(columns[1].Scale, 2);
    EXPECT_EQ(columns[2].Precision, 15) << "narrower declarations keep their precision";
}

TEST_F(FbTimeDecimalTest, TheLargestDecimalsReadAndWriteWhole) {
    auto rows = Query(*connection_, "select N, D from GRANDES order by ID");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][0].Decimal.ToString('.'), "922337203685477.5807");
    EXPECT_EQ(rows[0][1].Decimal.ToString('.'), "92233720368547758.07");
    EXPECT_EQ(rows[1][0].Decimal.ToString('.'), "-922337203685477.5808");
    EXPECT_EQ(rows[1][1].Decimal.ToString('.'), "-92233720368547758.08");
    EXPECT_EQ(Execute(*connection_, "update GRANDES set N = ?, D = ? where N = ? and D = ?",
                      {Decimal("-922337203685477.5808"), Decimal("-92233720368547758.08"),
                       Decimal("922337203685477.5807"), Decimal("92233720368547758.07")}),
              1);
    rows = Query(*connection_,
                 "select cast(N as varchar(30)), cast(D as varchar(30)) from GRANDES where ID = 1");
    EXPECT_EQ(rows[0][0].Text, "-922337203685477.5808");
    EXPECT_EQ(rows[0][1].Text, "-92233720368547758.08");
}

}  // namespace
}  // namespace contado
