#include <gtest/gtest.h>

#include "core/datetime.h"
#include "core/exceptions.h"
#include "data/provider/updatesqlgenerator.h"

namespace contado {
namespace {

TBcd Decimal(const char* text) {
    TBcd value;
    TBcd::TryParse(text, '.', value);
    return value;
}

TDeltaField Column(const char* name, TFieldType type, int size = 0, int precision = 0) {
    TDeltaField field;
    field.Name = name;
    field.Origin = name;
    field.DataType = type;
    field.Size = size;
    field.Precision = precision;
    return field;
}

// The six columns of AJUSTE_CIERRE as its change packets carry them.
class UpdateStatements : public testing::Test {
  protected:
    UpdateStatements() {
        fields = {Column("AJCI_ID", ftInteger),           Column("AJCI_FECINI", ftDate),
                  Column("AJCI_FECFIN", ftDate),          Column("AJCI_PORC", ftFMTBcd, 4, 15),
                  Column("AJCI_FACTOR", ftFMTBcd, 4, 15), Column("AJCI_PREFNO", ftString, 4)};
        generator.SetTarget(TUpdateSQLGenerator::QuoteTableName("AJUSTE_CIERRE", "\""), "\"", upWhereAll);
        row = {std::int64_t{7},    EncodeDate(2024, 3, 1), EncodeDate(2024, 3, 31),
               Decimal("16.0000"), Decimal("0.8000"),      TNull{}};
    }

    std::vector<TDeltaField> fields;
    TUpdateSQLGenerator generator;
    std::vector<TVariant> row;
    const std::vector<TVariant> unassigned = std::vector<TVariant>(6);
};

TEST_F(UpdateStatements, UpdateOfOneColumnMatchesEveryColumnAndNullsWithIsNull) {
    std::vector<TVariant> changed = unassigned;
    changed[4] = Decimal("0.9");
    const TGeneratedStatement statement = generator.Generate(ukModify, fields, row, changed);
    EXPECT_EQ(statement.SQL,
              "update \"AJUSTE_CIERRE\"  set\r\n"
              " \"AJCI_FACTOR\" = ?\r\n"
              "where\r\n"
              " \"AJCI_ID\" = ? and\r\n"
              " \"AJCI_FECINI\" = ? and\r\n"
              " \"AJCI_FECFIN\" = ? and\r\n"
              " \"AJCI_PORC\" = ? and\r\n"
              " \"AJCI_FACTOR\" = ? and\r\n"
              " \"AJCI_PREFNO\" is null\r\n");
    ASSERT_EQ(statement.Params.Count(), 6);
    EXPECT_EQ(statement.Params[0].Value(), TVariant(Decimal("0.9")));
    EXPECT_EQ(statement.Params[0].NumericScale(), 4);
    EXPECT_EQ(statement.Params[1].Value(), row[0]);
    EXPECT_EQ(statement.Params[1].DataType(), ftInteger);
    EXPECT_EQ(statement.Params[2].Value(), row[1]);
    EXPECT_EQ(statement.Params[3].Value(), row[2]);
    EXPECT_EQ(statement.Params[4].Value(), row[3]);
    EXPECT_EQ(statement.Params[5].Value(), row[4]);
}

TEST_F(UpdateStatements, InsertAndDeleteTexts) {
    std::vector<TVariant> inserted = row;
    inserted[5] = std::string("FV");
    const TGeneratedStatement insert = generator.Generate(ukInsert, fields, unassigned, inserted);
    EXPECT_EQ(insert.SQL,
              "insert into \"AJUSTE_CIERRE\"\r\n"
              "  (\"AJCI_ID\", \"AJCI_FECINI\", \"AJCI_FECFIN\", \"AJCI_PORC\", \"AJCI_FACTOR\", "
              "\"AJCI_PREFNO\")\r\n"
              "values\r\n"
              "  (?, ?, ?, ?, ?, ?)\r\n");
    ASSERT_EQ(insert.Params.Count(), 6);
    EXPECT_EQ(insert.Params[5].Value(), TVariant(std::string("FV")));
    EXPECT_EQ(insert.Params[5].DataType(), ftString);

    row[5] = std::string();
    const TGeneratedStatement removal = generator.Generate(ukDelete, fields, row, unassigned);
    EXPECT_EQ(removal.SQL.substr(0, removal.SQL.find("where")), "delete from \"AJUSTE_CIERRE\" \r\n");
    EXPECT_NE(removal.SQL.find(" \"AJCI_PREFNO\" = ?\r\n"), std::string::npos) << "an empty text is a value";
    EXPECT_EQ(removal.Params.Count(), 6);
}

TEST_F(UpdateStatements, NothingToSendWithoutAChangedColumn) {
    EXPECT_TRUE(generator.Generate(ukModify, fields, row, unassigned).SQL.empty());
}

TEST_F(UpdateStatements, FieldsThatTakeNoPartAreLeftOut) {
    fields[0].ProviderFlags = TProviderFlags{pfInWhere, pfInKey};  // not updatable
    fields[1].ReadOnly = true;
    fields[2].ServerCalculated = true;
    fields[5].FixedChar = true;
    const TGeneratedStatement insert = generator.Generate(ukInsert, fields, unassigned, row);
    EXPECT_EQ(insert.SQL,
              "insert into \"AJUSTE_CIERRE\"\r\n"
              "  (\"AJCI_PORC\", \"AJCI_FACTOR\", \"AJCI_PREFNO\")\r\n"
              "values\r\n"
              "  (?, ?, ?)\r\n");
    EXPECT_EQ(insert.Params[2].DataType(), ftFixedChar);

    generator.SetTarget("\"AJUSTE_CIERRE\"", "\"", upWhereKeyOnly);
    std::vector<TVariant> changed = unassigned;
    changed[3] = Decimal("19");
    EXPECT_EQ(generator.Generate(ukModify, fields, row, changed).SQL,
              "update \"AJUSTE_CIERRE\"  set\r\n"
              " \"AJCI_PORC\" = ?\r\n"
              "where\r\n"
              " \"AJCI_ID\" = ?\r\n");
    fields[0].ProviderFlags = TProviderFlags{pfInUpdate, pfInWhere};
    try {
        generator.Generate(ukModify, fields, row, changed);
        FAIL();
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.Message(), "Unable to find record.  No key specified");
    }
}

TEST(TableNames, QuotedPartByPart) {
    EXPECT_EQ(TUpdateSQLGenerator::QuoteTableName("AJUSTE_CIERRE", "\""), "\"AJUSTE_CIERRE\"");
    EXPECT_EQ(TUpdateSQLGenerator::QuoteTableName("owner.table", "\""), "\"owner\".\"table\"");
    EXPECT_EQ(TUpdateSQLGenerator::QuoteTableName("`ready`", "\""), "`ready`");
    EXPECT_EQ(TUpdateSQLGenerator::QuoteTableName("plain", ""), "plain");
}

}  // namespace
}  // namespace contado
