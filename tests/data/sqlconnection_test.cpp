#include <gtest/gtest.h>

#include "core/datetime.h"
#include "core/exceptions.h"
#include "tests/data/connectionfixtures.h"

namespace contado {
namespace {

constexpr std::size_t kServerErrorPrefix = 18;  // "SQL Server Error: "

std::string ServerText(const std::string& message) {
    EXPECT_EQ(message.rfind("SQL Server Error: ", 0), 0u) << message;
    return message.size() > kServerErrorPrefix ? message.substr(kServerErrorPrefix) : std::string();
}

TEST_F(FbConnectionTest, ConnectsToTheCompanyDatabase) {
    connection_.SetConnected(true);
    EXPECT_TRUE(connection_.Connected());
    EXPECT_EQ(connection_.QuoteChar(), "\"");
    EXPECT_TRUE(connection_.TransactionsSupported());
    EXPECT_EQ(connection_.DriverQuotedName("AJUSTE_CIERRE"), "\"AJUSTE_CIERRE\"");
    connection_.SetConnected(false);
    EXPECT_FALSE(connection_.Connected());
    connection_.SetConnected(true);
    EXPECT_EQ(Count("TARIFA"), 0);
}

TEST_F(FbConnectionTest, AWrongCompanyGivesTheServersIOError) {
    connection_.Params().SetValue("Database", database_.Directory() + "/datos/99/tandrel.fdb");
    try {
        connection_.SetConnected(true);
        ADD_FAILURE() << "connected";
    } catch (const EDatabaseError& error) {
        EXPECT_NE(ServerText(error.Message()).find("I/O error"), std::string::npos) << error.Message();
    }
    EXPECT_FALSE(connection_.Connected());
    connection_.Params().SetValue("Database", database_.Path());
    connection_.SetConnected(true);
    EXPECT_TRUE(connection_.Connected());
}

TEST_F(FbConnectionTest, KeyViolationsKeepFirebirdsWording) {
    connection_.Execute("insert into TARIFA (ID) values (1)");
    EXPECT_EQ(
        ServerText(ExecuteMessage("insert into TARIFA (ID) values (1)")).rfind("violation of PRIMARY", 0),
        0u);
    EXPECT_EQ(ServerText(ExecuteMessage("insert into AJUSTE (ID, TARIFA_ID) values (1, 7)"))
                  .rfind("violation of FOREIGN", 0),
              0u);
    connection_.Execute("insert into AJUSTE (ID, TARIFA_ID) values (1, 1)");
    EXPECT_EQ(ServerText(ExecuteMessage("delete from TARIFA")).rfind("violation of FOREIGN", 0), 0u);
    EXPECT_EQ(Count("TARIFA"), 1);
}

TEST_F(FbConnectionTest, ExecuteAnswersAffectedRowsAndBindsNamedParameters) {
    TParams params;
    params.Add(TParam("ID", ftInteger, std::int64_t{0}));
    params.Add(TParam("NOMBRE", ftString, std::string("IVA")));
    params.Add(TParam("CODIGO", ftFixedChar, std::string("A")));
    params.Add(TParam("PORC", ftFMTBcd, TBcd::FromUnscaled(190000, 4)));
    params.Add(TParam("FECHA", ftDate, EncodeDate(2023, 12, 31)));
    params.Add(TParam("REAL_", ftFloat, 0.125));
    const char* insert =
        "insert into TARIFA (ID, NOMBRE, CODIGO, PORC, FECHA, REAL_) "
        "values (:ID, :NOMBRE, :CODIGO, :PORC, :FECHA, :REAL_)";
    for (std::int64_t id = 1; id <= 3; ++id) {
        params[0].SetValue(id);
        EXPECT_EQ(connection_.Execute(insert, &params), 1);
    }
    params[3].Clear();
    params[0].SetValue(std::int64_t{4});
    connection_.Execute(insert, &params);

    const auto rows = Query("select NOMBRE, CODIGO, PORC, FECHA, REAL_, PORC from TARIFA where ID = 2");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0].Text, "IVA");
    EXPECT_EQ(rows[0][1].Text, "A  ");
    EXPECT_EQ(rows[0][2].Decimal.ToCurrency().Raw(), 190000);
    EXPECT_EQ(DayNumberToDate(static_cast<std::int32_t>(rows[0][3].Integer)), EncodeDate(2023, 12, 31));
    EXPECT_EQ(rows[0][4].Real, 0.125);
    EXPECT_TRUE(Query("select PORC from TARIFA where ID = 4")[0][0].IsNull);

    TParams where;
    where.Add(TParam("NOMBRE", ftString, std::string("IVA")));
    EXPECT_EQ(connection_.Execute("update TARIFA set PORC = 16 where NOMBRE = :NOMBRE and PORC is not null",
                                  &where),
              3);
    EXPECT_EQ(connection_.Execute("delete from TARIFA where ID > 100"), 0);
}

TEST_F(FbConnectionTest, TransactionsDecideWhatStays) {
    const TTransactionDesc desc = connection_.TransactionDesc();
    connection_.StartTransaction(desc);
    connection_.Execute("insert into TARIFA (ID) values (1)");
    connection_.Rollback(desc);
    EXPECT_EQ(Count("TARIFA"), 0);
    connection_.StartTransaction(desc);
    connection_.Execute("insert into TARIFA (ID) values (2)");
    connection_.Commit(desc);
    EXPECT_EQ(connection_.TransactionCount(), 0);

    TSQLConnection other;
    ConfigureLikeTheMainWindow(other, "libfbdriver.so", "getSQLDriverFIREBIRD", database_.Path());
    other.StartTransaction(other.TransactionDesc());
    other.Execute("insert into TARIFA (ID) values (3)");
    EXPECT_EQ(Count("TARIFA"), 1);
    other.SetConnected(false);  // an open transaction ends with the connection, unstored
    EXPECT_EQ(Count("TARIFA"), 1);
}

TEST_F(FbConnectionTest, AFailedStatementLeavesNothing) {
    const std::string message = ExecuteMessage(
        "execute block as begin "
        "insert into TARIFA (ID) values (60); insert into AJUSTE (ID, TARIFA_ID) values (1, 60); "
        "insert into AJUSTE (ID, TARIFA_ID) values (2, 61); end");
    EXPECT_EQ(ServerText(message).rfind("violation of FOREIGN", 0), 0u);
    EXPECT_EQ(Count("TARIFA"), 0);
    EXPECT_EQ(Count("AJUSTE"), 0);
}

}  // namespace
}  // namespace contado
