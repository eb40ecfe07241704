#include <gtest/gtest.h>

#include "core/bcd.h"
#include "core/exceptions.h"

namespace contado {
namespace {

TBcd Parse(const char* text, char separator = '.') {
    TBcd value;
    EXPECT_TRUE(TBcd::TryParse(text, separator, value)) << text;
    return value;
}

TEST(Bcd, TextDropsTrailingFractionZerosAndUsesTheSeparator) {
    EXPECT_EQ(TBcd::FromCurrency(TCurrency::FromRaw(160000)).ToString(','), "16");
    EXPECT_EQ(TBcd::FromCurrency(TCurrency::FromRaw(8000)).ToString(','), "0,8");
    EXPECT_EQ(TBcd::FromCurrency(TCurrency::FromRaw(0)).ToString('.'), "0");
    EXPECT_EQ(TBcd::FromCurrency(TCurrency::FromRaw(-5)).ToString('.'), "-0.0005");
    EXPECT_EQ(TCurrency::FromRaw(190000).ToString('.'), "19");
}

TEST(Bcd, ParsesWithTheGivenSeparatorOnly) {
    EXPECT_EQ(Parse("0,8", ',').ToCurrency().Raw(), 8000);
    EXPECT_EQ(Parse("-12.3456").ToCurrency().Raw(), -123456);
    TBcd value;
    EXPECT_FALSE(TBcd::TryParse("0,8", '.', value));
    EXPECT_FALSE(TBcd::TryParse("", '.', value));
    EXPECT_FALSE(TBcd::TryParse("-", '.', value));
    EXPECT_FALSE(TBcd::TryParse("1.2.3", '.', value));
    EXPECT_FALSE(TBcd::TryParse("12a", '.', value));
}

TEST(Bcd, NormalizesToPrecisionAndScaleOrOverflows) {
    EXPECT_EQ(Parse("0.12345").Normalized(15, 4).ToString('.'), "0.1235");
    EXPECT_EQ(Parse("-0.12345").Normalized(15, 4).ToString('.'), "-0.1235");
    EXPECT_EQ(Parse("12345678901").Normalized(15, 4).Scale(), 4);
    EXPECT_THROW(Parse("123456789012").Normalized(15, 4), EDatabaseError);
    try {
        Parse("123456789012").Normalized(15, 4);
    } catch (const EDatabaseError& error) {
        EXPECT_EQ(error.Message(), "BCD overflow");
    }
}

TEST(Bcd, ComparesAcrossScalesAndKeepsOwnDigits) {
    EXPECT_EQ(Parse("0.80"), Parse("0.8"));
    EXPECT_LT(Parse("-1.5"), Parse("-1.25"));
    EXPECT_LT(Parse("19"), Parse("19.0001"));
    EXPECT_EQ(Parse("16.0000").Precision(), 6);
    EXPECT_EQ(Parse("0.0005").Precision(), 4);
    EXPECT_EQ(Parse("99999999999999999999999999999999").Precision(), 32);
}

}  // namespace
}  // namespace contado
