#include <gtest/gtest.h>

#include "core/datetime.h"
#include "tests/platform/fbdriver/fbdriverfixture.h"

namespace contado {
namespace {

constexpr char kInsertTarifa[] =
    "insert into TARIFA (ID, NOMBRE, CODIGO, PORC, FECHA, NOTA, MOMENTO, HORA, GRANDE, REAL_) "
    "values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)";

TEST_F(FbDriverTest, DescribesColumnsSoThatFieldsCanBeBuilt) {
    const auto columns =
        Describe("select ID, NOMBRE, CODIGO, PORC, FECHA, NOTA, MOMENTO, HORA, GRANDE, REAL_ from TARIFA");
    ASSERT_EQ(columns.size(), 10u);
    EXPECT_EQ(columns[0].Name, "ID");
    EXPECT_EQ(columns[0].Type, TDriverType::Int32);
    EXPECT_FALSE(columns[0].Nullable);
    EXPECT_EQ(columns[1].Type, TDriverType::Text);
    EXPECT_EQ(columns[1].SubType, TDriverSubType::None);
    EXPECT_EQ(columns[1].Length, 4);
    EXPECT_TRUE(columns[1].Nullable);
    EXPECT_EQ(columns[2].Type, TDriverType::Text);
    EXPECT_EQ(columns[2].SubType, TDriverSubType::FixedChar);
    EXPECT_EQ(columns[2].Length, 3);
    EXPECT_EQ(columns[3].Type, TDriverType::Bcd);
    EXPECT_EQ(columns[3].Precision, 15);
    EXPECT_EQ(columns[3].Scale, 4);
    EXPECT_EQ(columns[4].Type, TDriverType::Date);
    EXPECT_EQ(columns[5].Type, TDriverType::Blob);
    EXPECT_EQ(columns[5].SubType, TDriverSubType::Memo);
    EXPECT_EQ(columns[6].Type, TDriverType::TimeStamp);
    EXPECT_EQ(columns[7].Type, TDriverType::Time);
    EXPECT_EQ(columns[8].Type, TDriverType::Int64);
    EXPECT_EQ(columns[9].Type, TDriverType::Float);
}

TEST_F(FbDriverTest, DecimalsOfProceduresAndExpressionsKeepTheirScale) {
    const auto procedure = Describe("select N as VALOR from NUMEROS");
    ASSERT_EQ(procedure.size(), 1u);
    EXPECT_EQ(procedure[0].Name, "VALOR");
    EXPECT_EQ(procedure[0].Type, TDriverType::Bcd);
    EXPECT_EQ(procedure[0].Precision, 15);
    EXPECT_EQ(procedure[0].Scale, 4);
    const auto computed = Describe("select cast(2.5 as numeric(9,2)) from rdb$database");
    EXPECT_EQ(computed[0].Type, TDriverType::Bcd);
    EXPECT_EQ(computed[0].Scale, 2);
    EXPECT_GE(computed[0].Precision, 9);
    const auto rows = Query(*connection_, "select N from NUMEROS");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0].Decimal.ToString('.'), "1.5");
}

TEST_F(FbDriverTest, BoundParametersComeBackUnchanged) {
    const std::int32_t leapDay = DateToDayNumber(EncodeDate(2024, 2, 29));
    TDriverValue stamp = Integer(TDriverType::TimeStamp, DateToDayNumber(EncodeDate(1999, 12, 31)));
    stamp.TimeOfDay = ((23 * 60 + 59) * 60 + 58) * 10000 + 1234;
    TDriverValue real;
    real.Type = TDriverType::Float;
    real.IsNull = false;
    real.Real = -1234.5625;
    const std::string note(100000, 'n');
    EXPECT_EQ(Execute(*connection_, kInsertTarifa,
                      {Integer(TDriverType::Int32, 7), Text("ñoño"), Text("AB"), Decimal("-12.3456"),
                       Integer(TDriverType::Date, leapDay), Text(note), stamp,
                       Integer(TDriverType::Time, 13 * 36000000 + 5),
                       Integer(TDriverType::Int64, 9007199254740993), real}),
              1);
    EXPECT_EQ(Execute(*connection_, kInsertTarifa,
                      {Integer(TDriverType::Int32, 8), Null(TDriverType::Text), Null(TDriverType::Text),
                       Null(TDriverType::Bcd), Null(TDriverType::Date)}),
              1);

    const auto rows = Query(*connection_,
                            "select NOMBRE, CODIGO, PORC, FECHA, NOTA, MOMENTO, HORA, GRANDE, REAL_ "
                            "from TARIFA order by ID");
    ASSERT_EQ(rows.size(), 2u);
    const auto& first = rows[0];
    EXPECT_EQ(first[0].Text, "ñoño");
    EXPECT_EQ(first[1].Text, "AB ");
    EXPECT_EQ(first[2].Decimal.ToString('.'), "-12.3456");
    EXPECT_EQ(first[2].Decimal.Scale(), 4);
    EXPECT_EQ(first[3].Integer, leapDay);
    EXPECT_EQ(first[4].Text, note);
    EXPECT_EQ(first[5].Integer, stamp.Integer);
    EXPECT_EQ(first[5].TimeOfDay, stamp.TimeOfDay);
    EXPECT_EQ(first[6].Integer, 13 * 36000000 + 5);
    EXPECT_EQ(first[7].Integer, 9007199254740993);
    EXPECT_EQ(first[8].Real, -1234.5625);
    for (const TDriverValue& value : rows[1]) {
        EXPECT_TRUE(value.IsNull);
    }
}

TEST_F(FbDriverTest, DatesMatchTheServersCalendar) {
    Execute(*connection_, "insert into TARIFA (ID, FECHA) values (1, date '1858-11-17')");
    Execute(*connection_, "insert into TARIFA (ID, FECHA) values (2, ?)",
            {Integer(TDriverType::Date, DateToDayNumber(EncodeDate(2000, 3, 1)))});
    const auto rows = Query(*connection_, "select FECHA, cast(FECHA as varchar(10)) from TARIFA order by ID");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][0].Integer, DateToDayNumber(EncodeDate(1858, 11, 17)));
    EXPECT_EQ(rows[1][1].Text, "2000-03-01");
}

TEST_F(FbDriverTest, ReportsAffectedRows) {
    for (int id = 1; id <= 3; ++id) {
        Execute(*connection_, "insert into TARIFA (ID, NOMBRE) values (?, ?)",
                {Integer(TDriverType::Int32, id), Text(id == 3 ? "B" : "A")});
    }
    EXPECT_EQ(Execute(*connection_, "update TARIFA set PORC = 1 where NOMBRE = ?", {Text("A")}), 2);
    EXPECT_EQ(Execute(*connection_, "delete from TARIFA where ID = ?", {Integer(TDriverType::Int32, 99)}), 0);
    EXPECT_EQ(Execute(*connection_, "delete from TARIFA"), 3);
}

TEST_F(FbDriverTest, ServerErrorsCarryFirebirdsText) {
    Execute(*connection_, "insert into TARIFA (ID) values (1)");
    std::string text;
    EXPECT_EQ(TryExecute(*connection_, "insert into TARIFA (ID) values (1)", text), sqlstatus::kServerError);
    EXPECT_EQ(text.rfind("violation of PRIMARY or UNIQUE KEY constraint", 0), 0u) << text;
    EXPECT_NE(text.find("\n-Problematic key value is (\"ID\" = 1)"), std::string::npos) << text;

    EXPECT_EQ(TryExecute(*connection_, "insert into AJUSTE (ID, TARIFA_ID) values (1, 2)", text),
              sqlstatus::kServerError);
    EXPECT_EQ(text.rfind("violation of FOREIGN KEY constraint", 0), 0u) << text;

    EXPECT_EQ(TryExecute(*connection_, "selct 1 from TARIFA", text), sqlstatus::kServerError);
    EXPECT_EQ(text.rfind("Dynamic SQL Error\n-SQL error code = -104", 0), 0u) << text;
}

TEST_F(FbDriverTest, AWrongDatabasePathIsAnIOError) {
    std::unique_ptr<ISQLConnection> connection;
    ASSERT_EQ(Driver().getSQLConnection(connection), sqlstatus::kSuccess);
    EXPECT_EQ(connection->connect(database_.Directory() + "/datos/99/tandrel.fdb", "SYSDBA", ""),
              sqlstatus::kServerError);
    std::string text;
    connection->getErrorMessage(text);
    EXPECT_NE(text.find("I/O error"), std::string::npos) << text;
    std::unique_ptr<ISQLCommand> command;
    EXPECT_EQ(connection->getSQLCommand(command), sqlstatus::kInvalidHandle);
}

TEST_F(FbDriverTest, StatementsOutsideATransactionCommitAtOnce) {
    Execute(*connection_, "insert into TARIFA (ID) values (1)");
    auto other = Connect();
    EXPECT_EQ(Count(*other, "TARIFA"), 1);
}

// A selectable block writes, then fails on its second row: everything it wrote is undone. The same
// block without the failure stores its row once the cursor is closed, not before.
TEST_F(FbDriverTest, ACursorsTransactionEndsWithTheCursor) {
    const char* failing =
        "execute block returns (X integer) as begin "
        "insert into TARIFA (ID) values (50); X = 1; suspend; X = 1 / 0; suspend; end";
    std::unique_ptr<ISQLCommand> command;
    ASSERT_EQ(connection_->getSQLCommand(command), sqlstatus::kSuccess);
    ASSERT_EQ(command->prepare(failing, 0), sqlstatus::kSuccess);
    std::unique_ptr<ISQLCursor> cursor;
    ASSERT_EQ(command->execute(cursor), sqlstatus::kSuccess);
    EXPECT_EQ(cursor->next(), sqlstatus::kSuccess);
    EXPECT_EQ(cursor->next(), sqlstatus::kServerError);
    std::string text;
    cursor->getErrorMessage(text);
    EXPECT_NE(text.find("divide by zero"), std::string::npos) << text;
    cursor.reset();
    EXPECT_EQ(Count(*connection_, "TARIFA"), 0);

    const char* succeeding =
        "execute block returns (X integer) as begin insert into TARIFA (ID) values (51); X = 1; suspend; end";
    ASSERT_EQ(command->prepare(succeeding, 0), sqlstatus::kSuccess);
    ASSERT_EQ(command->execute(cursor), sqlstatus::kSuccess);
    EXPECT_EQ(cursor->next(), sqlstatus::kSuccess);
    EXPECT_EQ(cursor->next(), sqlstatus::kNoData);
    auto other = Connect();
    EXPECT_EQ(Count(*other, "TARIFA"), 0);
    EXPECT_EQ(cursor->close(), sqlstatus::kSuccess);
    EXPECT_EQ(Count(*other, "TARIFA"), 1);
}

TEST_F(FbDriverTest, ExplicitTransactionsCommitAndRollBack) {
    const TTransactionDesc desc;
    ASSERT_EQ(connection_->beginTransaction(desc), sqlstatus::kSuccess);
    EXPECT_EQ(connection_->beginTransaction(desc), 19);
    Execute(*connection_, "insert into TARIFA (ID) values (1)");
    auto other = Connect();
    EXPECT_EQ(Count(*other, "TARIFA"), 0);
    ASSERT_EQ(connection_->rollback(desc), sqlstatus::kSuccess);
    EXPECT_EQ(Count(*connection_, "TARIFA"), 0);

    ASSERT_EQ(connection_->beginTransaction(desc), sqlstatus::kSuccess);
    Execute(*connection_, "insert into TARIFA (ID) values (2)");
    ASSERT_EQ(connection_->commit(desc), sqlstatus::kSuccess);
    EXPECT_EQ(Count(*other, "TARIFA"), 1);
    EXPECT_NE(connection_->commit(desc), sqlstatus::kSuccess);
}

TEST_F(FbDriverTest, QuotesNamesAndTellsItsCapabilities) {
    char buffer[256];
    std::int32_t length = 0;
    connection_->setOption(connoption::kObjectName, reinterpret_cast<std::intptr_t>("AJUSTE_CIERRE"));
    ASSERT_EQ(connection_->getOption(connoption::kQuotedObjectName, buffer, sizeof(buffer), length),
              sqlstatus::kSuccess);
    EXPECT_STREQ(buffer, "\"AJUSTE_CIERRE\"");
    connection_->setOption(connoption::kObjectName, reinterpret_cast<std::intptr_t>("SYSDBA.TARIFA"));
    connection_->getOption(connoption::kQuotedObjectName, buffer, sizeof(buffer), length);
    EXPECT_STREQ(buffer, "\"SYSDBA\".\"TARIFA\"");

    std::unique_ptr<ISQLMetaData> metaData;
    ASSERT_EQ(connection_->getSQLMetaData(metaData), sqlstatus::kSuccess);
    char quote = 0;
    EXPECT_EQ(metaData->getOption(metaoption::kObjectQuoteChar, &quote, 1, length), sqlstatus::kSuccess);
    EXPECT_EQ(quote, '"');
    std::int32_t supported = -1;
    metaData->getOption(metaoption::kSupportsTransactions, &supported, sizeof(supported), length);
    EXPECT_EQ(supported, 1);
    metaData->getOption(metaoption::kSupportsMultipleTransactions, &supported, sizeof(supported), length);
    EXPECT_EQ(supported, 0);
}

TEST_F(FbDriverTest, ExecuteProcedureAnswersOneRow) {
    const auto rows = Query(*connection_, "execute procedure DOBLE ?", {Integer(TDriverType::Int32, 21)});
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0].Integer, 42);
}

}  // namespace
}  // namespace contado
