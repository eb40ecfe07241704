#include <gtest/gtest.h>

#include <algorithm>

#include "core/datetime.h"
#include "core/exceptions.h"
#include "tests/data/sql/connectionfixtures.h"

namespace contado {
namespace {

int CountLines(const std::vector<std::string>& lines, const std::string& prefix) {
    return static_cast<int>(std::count_if(
        lines.begin(), lines.end(), [&](const std::string& line) { return line.rfind(prefix, 0) == 0; }));
}

TEST_F(FakeConnectionTest, ConnectsWithTheParamsInTheDriversOrder) {
    connection_.Params().SetValue("password", "");
    ASSERT_EQ(ConnectMessage(), "");
    EXPECT_TRUE(connection_.Connected());
    EXPECT_EQ(CallLog(),
              "factory libfbclient.so.2|\n"
              "option 3 RoleName\n"
              "option 4 1\n"
              "option 5 0\n"
              "option 6 0\n"
              "option 16 3\n"
              "connect /srv/x/datos/01/tandrel.fdb|sysdba|\n"
              "get option 14\n"
              "metadata option 1 sysdba\n"
              "option 2 -1\n");
    EXPECT_EQ(connection_.QuoteChar(), "\"");
    EXPECT_TRUE(connection_.TransactionsSupported());
    EXPECT_FALSE(connection_.MultipleTransactionsSupported());
    EXPECT_EQ(connection_.LocaleCode(), 0);
    EXPECT_EQ(connection_.RowsetSize(), 20);
}

TEST_F(FakeConnectionTest, SettingsAreCheckedBeforeTheLibraryLoads) {
    connection_.SetVendorLib(" ");
    EXPECT_EQ(ConnectMessage(), "Tandrel: DLL/Shared Library Name not Set");
    connection_.SetVendorLib("libfbclient.so.2");
    connection_.Params().SetValue("Database", " ");
    EXPECT_EQ(ConnectMessage(), "Missing Database property");
    connection_.SetConnectionName("");
    EXPECT_EQ(ConnectMessage(), "Connection name missing");
    connection_.SetDriverName("");
    EXPECT_EQ(ConnectMessage(), "Missing DriverName property");
    EXPECT_EQ(CallLog(), "");
    connection_.SetDriverName("Interbase");
    connection_.Params().SetValue("Database", "x");
    connection_.SetLibraryName("libnothere.so");
    EXPECT_EQ(ConnectMessage(), "Unable to Load libnothere.so");
    connection_.SetLibraryName("libfakedriver.so");
    connection_.SetGetDriverFunc(" getSQLDriverNONE ");
    EXPECT_EQ(ConnectMessage(), "Unable to Find Procedure getSQLDriverNONE");
    connection_.SetGetDriverFunc("getSQLDriverFAKE");
    Script("factory.status", "22");
    EXPECT_EQ(ConnectMessage(), "Unable to Load libfbclient.so.2");
}

TEST_F(FakeConnectionTest, AFailedConnectStaysClosedAndStartsAfreshNextTime) {
    Script("connect.status", "21");
    Script("connect.text", "Unable to complete network request to host \"dbhost\".");
    EXPECT_EQ(ConnectMessage(),
              "SQLDriver Error: [0x0015]: Connection failed\r\n"
              "SQL Server Error: Unable to complete network request to host \"dbhost\".");
    EXPECT_FALSE(connection_.Connected());
    EXPECT_EQ(connection_.ConnectionState(), csStateClosed);
    Script("connect.status", "");
    EXPECT_EQ(ConnectMessage(), "");
    EXPECT_EQ(CountLines(CallLines(), "factory "), 2);
}

// The message rule: a listed status alone, with a server text, a server status with text, an
// unknown status, and the previous text standing in when the driver gives none.
TEST_F(FakeConnectionTest, FailingStatusesBecomeMessages) {
    Script("connect.status", "12");
    EXPECT_EQ(ConnectMessage(), "SQLDriver Error: [0x000C] Invalid Username/Password");
    Script("connect.status", "11");
    EXPECT_EQ(ConnectMessage(), "SQLDriver Error: SQLDriver Error [0x000B]: Parameter Not Set");
    Script("connect.status", "101");
    Script("connect.text", "Your user name and password are not defined.");
    EXPECT_EQ(ConnectMessage(), "SQL Server Error: Your user name and password are not defined.");
    Script("connect.text", "");
    EXPECT_EQ(ConnectMessage(), "SQL Server Error: Your user name and password are not defined.");
    EXPECT_EQ(connection_.LastErrorText(), "SQL Server Error: Your user name and password are not defined.");

    TSQLConnection fresh;
    ConfigureLikeTheMainWindow(fresh, "libfakedriver.so", "getSQLDriverFAKE", "db");
    Script("connect.status", "18");
    try {
        fresh.SetConnected(true);
        ADD_FAILURE() << "connected";
    } catch (const EDatabaseError& error) {
        EXPECT_EQ(error.Message(), "SQLDriver Error: Unknown Error Code '18'");
    }
    EXPECT_EQ(TSQLError::Message(100, "", ""), "SQLDriver Error: [0x0064]: No more data");
}

TEST_F(FakeConnectionTest, TransactionsCountAndTellWhatIsWrong) {
    const TTransactionDesc desc = connection_.TransactionDesc();
    EXPECT_NO_THROW(connection_.Commit(desc));  // nothing is known of transactions before connecting
    connection_.StartTransaction(desc);
    EXPECT_TRUE(connection_.Connected());
    EXPECT_EQ(connection_.TransactionCount(), 1);
    try {
        connection_.StartTransaction(desc);
        ADD_FAILURE() << "second transaction";
    } catch (const EDatabaseError& error) {
        EXPECT_EQ(error.Message(), "Tandrel: A transaction is already active");
    }
    connection_.Commit(desc);
    try {
        connection_.Rollback(desc);
        ADD_FAILURE() << "rollback without transaction";
    } catch (const EDatabaseError& error) {
        EXPECT_EQ(error.Message(), "Tandrel: There is no active transaction");
    }
    Script("begin.status", "5");
    connection_.StartTransaction(desc);
    EXPECT_EQ(connection_.TransactionCount(), 0);
    Script("begin.status", "19");
    EXPECT_THROW(connection_.StartTransaction(desc), EDatabaseError);
    EXPECT_EQ(connection_.TransactionCount(), 0);
    connection_.Params().SetValue("Interbase TransIsolation", "RepeatableRead");
    EXPECT_EQ(connection_.TransactionDesc().IsolationLevel, 1u);
}

TEST_F(FakeConnectionTest, ExecuteBindsByPositionAndPreparesATextOnce) {
    connection_.Open();
    TParams params;
    params.Add(TParam("NAME", ftString, std::string("x")));
    params.Add(TParam("DAY", ftDate, TDateTime{1.0}));
    params.Add(TParam("RATE", ftFMTBcd, TBcd::FromUnscaled(8000, 4)));
    params.Add(TParam("ID", ftInteger, TNull{}));
    for (int run = 0; run < 3; ++run) {
        EXPECT_EQ(connection_.Execute("update T set N = :NAME, D = :DAY, R = :RATE where ID = :ID", &params),
                  1);
    }
    const auto lines = CallLines();
    EXPECT_EQ(CountLines(lines, "prepare update T set N =  ? , D =  ? , R =  ?  where ID =  ? |4"), 1);
    EXPECT_EQ(CountLines(lines, "execute"), 3);
    EXPECT_EQ(CountLines(lines, "parameter 1 1 x"), 3);
    EXPECT_EQ(CountLines(lines, "parameter 2 2 693595"), 3);
    EXPECT_EQ(CountLines(lines, "parameter 3 8 0.8/4,4"), 3);
    EXPECT_EQ(CountLines(lines, "parameter 4 6 null"), 3);

    params.Add(TParam("WHAT", ftCursor, std::int64_t{1}));
    try {
        connection_.Execute("select :WHAT from T", &params);
        ADD_FAILURE() << "bound a cursor";
    } catch (const EDatabaseError& error) {
        EXPECT_EQ(error.Message(), "No value for parameter 'WHAT'");
    }
    Script("execute.status", "101");
    Script("execute.text", "deadlock");
    try {
        connection_.Execute("delete from T");
        ADD_FAILURE() << "executed";
    } catch (const EDatabaseError& error) {
        EXPECT_EQ(error.Message(), "SQL Server Error: deadlock");
    }
    EXPECT_EQ(connection_.ConnectionState(), csStateOpen);
}

class TRecordingClient : public TConnectionClient {
  public:
    explicit TRecordingClient(std::string& log) : log_(log) {}
    void ConnectionChanged(bool connected) override { log_ += connected ? "notice open;" : "notice close;"; }
    void CloseForDisconnect() override { log_ += "close dataset;"; }

  private:
    std::string& log_;
};

TEST_F(FakeConnectionTest, EventsAndDatasetsFollowTheConnection) {
    std::string log;
    TRecordingClient client(log);
    connection_.RegisterClient(&client);
    connection_.BeforeConnect = [&](TComponent* sender) {
        log += sender == &connection_ ? "before connect;" : "?";
    };
    connection_.AfterConnect = [&](TComponent*) { log += "after connect;"; };
    connection_.BeforeDisconnect = [&](TComponent*) { log += "before disconnect;"; };
    connection_.AfterDisconnect = [&](TComponent*) { log += "after disconnect;"; };
    connection_.SetConnected(true);
    connection_.SetConnected(true);
    connection_.SetConnected(false);
    connection_.SetConnected(false);
    EXPECT_EQ(log,
              "before connect;notice open;after connect;"
              "before disconnect;notice close;close dataset;after disconnect;");
    EXPECT_EQ(CountLines(CallLines(), "disconnect"), 1);
    connection_.UnRegisterClient(&client);
}

}  // namespace
}  // namespace contado
