#include <gtest/gtest.h>

#include "core/formatfloat.h"

namespace contado {
namespace {

TBcd Decimal(const char* text) {
    TBcd value;
    EXPECT_TRUE(TBcd::TryParse(text, '.', value));
    return value;
}

TEST(FormatFloat, PlaceholdersRoundAndPad) {
    EXPECT_EQ(FormatFloat("0.00", Decimal("3.14159"), '.'), "3.14");
    EXPECT_EQ(FormatFloat("0.00", Decimal("2.005"), ','), "2,01");
    EXPECT_EQ(FormatFloat("#.##", Decimal("0.5"), '.'), ".5");
    EXPECT_EQ(FormatFloat("000", Decimal("7"), '.'), "007");
    EXPECT_EQ(FormatFloat("0.####", Decimal("1.2000"), '.'), "1.2");
    EXPECT_EQ(FormatFloat("#,##0", Decimal("1234567"), '.'), "1,234,567");
    EXPECT_EQ(FormatFloat("#,##0.00", Decimal("-1234.5"), ','), "-1.234,50");
}

TEST(FormatFloat, SectionsAndLiterals) {
    EXPECT_EQ(FormatFloat("0.0;(0.0);'nada'", Decimal("-2.25"), '.'), "(2.3)");
    EXPECT_EQ(FormatFloat("0.0;(0.0);'nada'", Decimal("0"), '.'), "nada");
    EXPECT_EQ(FormatFloat("0 'kg'", Decimal("12"), '.'), "12 kg");
    EXPECT_EQ(FormatFloat("0", Decimal("-0.2"), '.'), "0") << "no sign when no digit is shown";
}

}  // namespace
}  // namespace contado
