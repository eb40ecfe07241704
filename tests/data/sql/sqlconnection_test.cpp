#include <gtest/gtest.h>

#include "core/datetime.h"
#include "core/exceptions.h"
#include "tests/data/sql/connectionfixtures.h"

namespace contado {
namespace {

constexpr std::size_t kServerErrorPrefix = 18;  // "SQL Server Error: "

std::string ServerText(const std::string& message) {
    EXPECT_EQ(message.rfind("SQL Server Error: ", 0), 0u) << message;
    return message.size() > kServerErrorPrefix ? message.substr(kServerErrorPrefix) : std::string();
}

TParams AdjustmentParams(std::int64_t id, int day, const char* prefix) {
    TParams params;
    params.Add(TParam("ID", ftInteger, id));
    params.Add(TParam("FECINI", ftDate, EncodeDate(2024, 1, day)));
    params.Add(TParam("FECFIN", ftDate, EncodeDate(2024, 1, day)));
    params.Add(TParam("PORC", ftFMTBcd, TBcd::FromUnscaled(190000, 4)));
    params.Add(TParam("FACTOR", ftFMTBcd, TBcd::FromUnscaled(8000, 4)));
    params.Add(TParam("PREFNO", ftString, std::string(prefix)));
    return params;
}

constexpr char kInsertAdjustment[] =
    "insert into AJUSTE_CIERRE (AJCI_ID, AJCI_FECINI, AJCI_FECFIN, AJCI_PORC, AJCI_FACTOR, AJCI_PREFNO) "
    "values (:ID, :FECINI, :FECFIN, :PORC, :FACTOR, :PREFNO)";

TEST_F(FbConnectionTest, ConnectsToTheCompanyDatabase) {
    connection_.SetConnected(true);
    EXPECT_TRUE(connection_.Connected());
    EXPECT_EQ(connection_.QuoteChar(), "\"");
    EXPECT_TRUE(connection_.TransactionsSupported());
    EXPECT_EQ(connection_.DriverQuotedName("AJUSTE_CIERRE"), "\"AJUSTE_CIERRE\"");
    connection_.SetConnected(false);
    EXPECT_FALSE(connection_.Connected());
    connection_.SetConnected(true);
    EXPECT_EQ(CountTestAdjustments(), 0);
}

TEST_F(FbConnectionTest, AWrongCompanyGivesTheServersIOError) {
    connection_.Params().SetValue("Database", company_.ServerDir() + "/datos/99/tandrel.fdb");
    try {
        connection_.SetConnected(true);
        ADD_FAILURE() << "connected";
    } catch (const EDatabaseError& error) {
        EXPECT_NE(ServerText(error.Message()).find("I/O error"), std::string::npos) << error.Message();
    }
    EXPECT_FALSE(connection_.Connected());
    connection_.Params().SetValue("Database", company_.DatabasePath());
    connection_.SetConnected(true);
    EXPECT_TRUE(connection_.Connected());
}

TEST_F(FbConnectionTest, KeyViolationsKeepFirebirdsWording) {
    const TParams first = AdjustmentParams(9001, 1, "FV");
    connection_.Execute(kInsertAdjustment, &first);
    const TParams sameKey = AdjustmentParams(9001, 2, "FV");
    EXPECT_EQ(ServerText(ExecuteMessage(kInsertAdjustment, &sameKey)).rfind("violation of PRIMARY", 0), 0u);
    const TParams unknownPrefix = AdjustmentParams(9002, 3, "ZZ");
    EXPECT_EQ(ServerText(ExecuteMessage(kInsertAdjustment, &unknownPrefix)).rfind("violation of FOREIGN", 0),
              0u);
    EXPECT_EQ(ServerText(ExecuteMessage("delete from PREFIJO where PREF_CODIGO = 'FV'"))
                  .rfind("violation of FOREIGN", 0),
              0u);
    EXPECT_EQ(CountTestAdjustments(), 1);
}

TEST_F(FbConnectionTest, ColumnsAreDescribedForTheFields) {
    connection_.Open();
    std::unique_ptr<ISQLCommand> command = connection_.NewCommand();
    connection_.Check(command->prepare("select AJCI_ID, AJCI_FECINI, AJCI_PORC, AJCI_PREFNO, "
                                       "cast('A' as char(3)) as FIJO from AJUSTE_CIERRE",
                                       0),
                      command.get());
    std::unique_ptr<ISQLCursor> cursor;
    connection_.Check(command->execute(cursor), command.get());
    TColumnDescription columns[5];
    for (std::uint16_t column = 1; column <= 5; ++column) {
        connection_.Check(cursor->getColumnDescription(column, columns[column - 1]), cursor.get());
    }
    EXPECT_EQ(columns[0].Type, TDriverType::Int32);
    EXPECT_FALSE(columns[0].Nullable);
    EXPECT_EQ(columns[1].Type, TDriverType::Date);
    EXPECT_EQ(columns[2].Type, TDriverType::Bcd);
    EXPECT_EQ(columns[2].Precision, 15);
    EXPECT_EQ(columns[2].Scale, 4);
    EXPECT_EQ(columns[3].Type, TDriverType::Text);
    EXPECT_EQ(columns[3].Length, 4);
    EXPECT_EQ(columns[4].Name, "FIJO");
    EXPECT_EQ(columns[4].SubType, TDriverSubType::FixedChar);
    EXPECT_EQ(columns[4].Length, 3);
    connection_.Check(cursor->close(), cursor.get());
}

TEST_F(FbConnectionTest, ExecuteAnswersAffectedRowsAndBindsNamedParameters) {
    for (int id = 9001; id <= 9003; ++id) {
        const TParams params = AdjustmentParams(id, id - 9000, "FV");
        EXPECT_EQ(connection_.Execute(kInsertAdjustment, &params), 1);
    }
    TParams withNulls = AdjustmentParams(9004, 4, "");
    withNulls[3].Clear();
    withNulls[5].Clear();
    connection_.Execute(kInsertAdjustment, &withNulls);

    const auto rows = Query(
        "select AJCI_FECINI, AJCI_PORC, AJCI_FACTOR, AJCI_PREFNO from AJUSTE_CIERRE where AJCI_ID = 9002");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(DayNumberToDate(static_cast<std::int32_t>(rows[0][0].Integer)), EncodeDate(2024, 1, 2));
    EXPECT_EQ(rows[0][1].Decimal.ToCurrency().Raw(), 190000);
    EXPECT_EQ(rows[0][2].Decimal.ToCurrency().Raw(), 8000);
    EXPECT_EQ(rows[0][3].Text, "FV");
    const auto nulls = Query("select AJCI_PORC, AJCI_PREFNO from AJUSTE_CIERRE where AJCI_ID = 9004");
    EXPECT_TRUE(nulls[0][0].IsNull);
    EXPECT_TRUE(nulls[0][1].IsNull);

    TParams where;
    where.Add(TParam("PREFNO", ftString, std::string("FV")));
    EXPECT_EQ(connection_.Execute("update AJUSTE_CIERRE set AJCI_FACTOR = 1 where AJCI_PREFNO = :PREFNO "
                                  "and AJCI_ID >= 9000",
                                  &where),
              3);
    EXPECT_EQ(connection_.Execute("delete from AJUSTE_CIERRE where AJCI_ID = 8999"), 0);
}

TEST_F(FbConnectionTest, TransactionsDecideWhatStays) {
    const TTransactionDesc desc = connection_.TransactionDesc();
    const TParams first = AdjustmentParams(9001, 1, "FV");
    connection_.StartTransaction(desc);
    connection_.Execute(kInsertAdjustment, &first);
    connection_.Rollback(desc);
    EXPECT_EQ(CountTestAdjustments(), 0);
    connection_.StartTransaction(desc);
    connection_.Execute(kInsertAdjustment, &first);
    connection_.Commit(desc);
    EXPECT_EQ(connection_.TransactionCount(), 0);

    TSQLConnection other;
    ConfigureLikeTheMainWindow(other, "libfbdriver.so", "getSQLDriverFIREBIRD", company_.DatabasePath());
    other.StartTransaction(other.TransactionDesc());
    const TParams second = AdjustmentParams(9002, 2, "FV");
    other.Execute(kInsertAdjustment, &second);
    EXPECT_EQ(CountTestAdjustments(), 1);
    other.SetConnected(false);  // an open transaction ends with the connection, unstored
    EXPECT_EQ(CountTestAdjustments(), 1);
}

TEST_F(FbConnectionTest, AFailedStatementLeavesNothing) {
    const std::string message = ExecuteMessage(
        "execute block as begin "
        "insert into AJUSTE_CIERRE (AJCI_ID, AJCI_PREFNO) values (9060, 'FV'); "
        "insert into AJUSTE_CIERRE (AJCI_ID, AJCI_PREFNO) values (9061, 'ZZ'); end");
    EXPECT_EQ(ServerText(message).rfind("violation of FOREIGN", 0), 0u);
    EXPECT_EQ(CountTestAdjustments(), 0);
}

}  // namespace
}  // namespace contado
