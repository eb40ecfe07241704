#include <gtest/gtest.h>

#include "data/sql/sqlfielddefs.h"

namespace contado {
namespace {

TColumnDescription Decimal(int precision, int scale) {
    TColumnDescription column;
    column.Name = "N";
    column.Type = TDriverType::Bcd;
    column.Precision = precision;
    column.Scale = scale;
    return column;
}

// Widths the server does not produce on demand (38 digits, money, autoincrement) come from
// descriptions written here.
TEST(SQLFieldDefs, DecimalsAreBCDUpToFourteenDigitsAndFourDecimalsElseFMTBcd) {
    struct TCase {
        int precision, scale;
        TFieldType type;
        int size, resultPrecision;
    };
    const TCase cases[] = {
        {15, 4, ftFMTBcd, 4, 15}, {14, 4, ftBCD, 4, 14},     {14, 5, ftFMTBcd, 5, 14},
        {9, 2, ftBCD, 2, 9},      {2, 3, ftBCD, 3, 3},       {40, 6, ftFMTBcd, 6, 32},
        {38, 0, ftFMTBcd, 8, 32}, {38, 38, ftFMTBcd, 8, 32}, {38, 10, ftFMTBcd, 10, 32},
    };
    for (const TCase& c : cases) {
        const TFieldDef def = TSQLFieldDefs::FromColumn(Decimal(c.precision, c.scale));
        EXPECT_EQ(def.DataType(), c.type) << c.precision << "," << c.scale;
        EXPECT_EQ(def.Size(), c.size) << c.precision << "," << c.scale;
        EXPECT_EQ(def.Precision(), c.resultPrecision) << c.precision << "," << c.scale;
    }
}

TEST(SQLFieldDefs, SubtypesAttributesAndRepeatedNames) {
    std::vector<TColumnDescription> columns(5);
    columns[0] = {"ID", TDriverType::Int32, TDriverSubType::AutoInc, 4, 0, 0, false, true};
    columns[1] = {"CODE", TDriverType::Text, TDriverSubType::FixedChar, 3, 0, 0, true, false};
    columns[2] = {"PRICE", TDriverType::Float, TDriverSubType::Money, 8, 0, 0, true, false};
    columns[3] = {"ID", TDriverType::Blob, TDriverSubType::Memo, 8, 0, 0, true, false};
    columns[4] = {"ID", TDriverType::Blob, TDriverSubType::Binary, 8, 0, 0, true, false};
    TFieldDefs defs;
    TSQLFieldDefs::Build(columns, defs);
    ASSERT_EQ(defs.Count(), 5);
    EXPECT_EQ(defs[0].DataType(), ftAutoInc);
    EXPECT_TRUE(defs[0].Required());
    EXPECT_TRUE(defs[0].ReadOnly());
    EXPECT_EQ(defs[1].DataType(), ftString);
    EXPECT_EQ(defs[1].Size(), 3);
    EXPECT_TRUE(defs[1].Fixed());
    EXPECT_FALSE(defs[1].Required());
    EXPECT_EQ(defs[2].DataType(), ftCurrency);
    EXPECT_EQ(defs[3].Name(), "ID_1");
    EXPECT_EQ(defs[3].DataType(), ftMemo);
    EXPECT_EQ(defs[4].Name(), "ID_2");
    EXPECT_EQ(defs[4].DataType(), ftBlob);
    EXPECT_EQ(defs[4].FieldNo(), 5);
}

}  // namespace
}  // namespace contado
