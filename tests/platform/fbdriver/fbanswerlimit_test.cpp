#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>
#include <utility>

#include "tests/platform/fbdriver/fbdriverfixture.h"

namespace contado {
namespace {

using namespace std::chrono_literals;

const std::string kStalled = "El servidor no respondió en 1 s (EsperaRespuesta)";

// A call held on a row that the test's connection has locked stands for a server that stopped
// answering: nothing comes back until the watchdog cuts the connection, as it cuts one to a server.
class FbAnswerLimitTest : public FbDriverTest {
  protected:
    std::unique_ptr<ISQLConnection> ConnectWithLimit() const {
        auto connection = Connect();
        EXPECT_EQ(connection->setOption(connoption::kAnswerTimeout, 1), sqlstatus::kSuccess);
        return connection;
    }
    // Runs the statement on a thread of its own while row id is locked, and lets the lock go after
    // releaseAfter (a minute: a statement the watchdog missed then fails the test, not hangs it).
    std::pair<SQLResult, std::string> RunHeld(ISQLConnection& connection, int id, const std::string& sql,
                                              std::chrono::milliseconds releaseAfter = 60s) {
        const TTransactionDesc desc;
        EXPECT_EQ(connection_->beginTransaction(desc), sqlstatus::kSuccess);
        Execute(*connection_, "update TARIFA set NOMBRE = 'HELD' where ID = " + std::to_string(id));
        auto call = std::async(std::launch::async, [&] {
            std::string text;
            const SQLResult status = TryExecute(connection, sql, text);
            return std::make_pair(status, text);
        });
        const bool ended = call.wait_for(releaseAfter) == std::future_status::ready;
        EXPECT_EQ(connection_->rollback(desc), sqlstatus::kSuccess);
        EXPECT_TRUE(ended || releaseAfter < 60s) << "the call was not cut";
        return call.get();
    }
};

TEST_F(FbAnswerLimitTest, ACallLongerThanTheLimitIsCutEveryLaterCallSaysWhyAndNothingIsStored) {
    EXPECT_EQ(connection_->setOption(connoption::kAnswerTimeout, 86401), sqlstatus::kInvalidParameter);
    Execute(*connection_, "insert into TARIFA (ID) values (1)");
    auto waiting = ConnectWithLimit();
    const TTransactionDesc desc;
    ASSERT_EQ(waiting->beginTransaction(desc), sqlstatus::kSuccess);
    Execute(*waiting, "insert into TARIFA (ID) values (2)");

    const auto [status, text] = RunHeld(*waiting, 1, "update TARIFA set NOMBRE = 'MINE' where ID = 1");
    EXPECT_EQ(status, sqlstatus::kServerError);
    EXPECT_EQ(text, kStalled);
    std::string later;
    EXPECT_EQ(TryExecute(*waiting, "select ID from TARIFA", later), sqlstatus::kServerError);
    EXPECT_EQ(later, kStalled);
    EXPECT_NE(waiting->commit(desc), sqlstatus::kSuccess);
    waiting->getErrorMessage(later);
    EXPECT_EQ(later, kStalled);
    waiting.reset();
    EXPECT_EQ(Count(*Connect(), "TARIFA where ID = 1 and NOMBRE is null"), 1);
    EXPECT_EQ(Count(*Connect(), "TARIFA"), 1);
}

// Only calls are timed, and a connection opened again after a cut is watched afresh.
TEST_F(FbAnswerLimitTest, TimeBetweenCallsDoesNotCountAndAReconnectedConnectionAnswersAgain) {
    auto connection = ConnectWithLimit();
    Execute(*connection, "insert into TARIFA (ID) values (1)");
    std::this_thread::sleep_for(1500ms);
    Execute(*connection, "insert into TARIFA (ID) values (2)");

    EXPECT_EQ(RunHeld(*connection, 1, "delete from TARIFA where ID = 1").second, kStalled);
    connection->disconnect();
    ASSERT_EQ(connection->connect(database_.Path(), "SYSDBA", ""), sqlstatus::kSuccess);
    EXPECT_EQ(Count(*connection, "TARIFA"), 2);
}

// Values of a fetched row lie in the row, so they are read without watching the server, also once the
// connection was cut; a blob is read from the server, so that read is watched and says why it fails.
// Then the cut connection and its open cursor are dropped, whose ends fail on the client: quietly.
TEST_F(FbAnswerLimitTest, AfterACutTheFetchedRowIsStillReadItsBlobSaysWhyAndTheHandlesGoQuietly) {
    Execute(*connection_, "insert into TARIFA (ID, NOMBRE, NOTA) values (1, 'Ñoñé', 'Año')");
    auto connection = ConnectWithLimit();
    std::unique_ptr<ISQLCommand> command;
    ASSERT_EQ(connection->getSQLCommand(command), sqlstatus::kSuccess);
    ASSERT_EQ(command->prepare("select ID, NOMBRE, NOTA from TARIFA", 0), sqlstatus::kSuccess);
    std::unique_ptr<ISQLCursor> cursor;
    ASSERT_EQ(command->execute(cursor), sqlstatus::kSuccess);
    ASSERT_EQ(cursor->next(), sqlstatus::kSuccess);

    EXPECT_EQ(RunHeld(*connection, 1, "delete from TARIFA where ID = 1").second, kStalled);
    TDriverValue value;
    ASSERT_EQ(cursor->getValue(1, value), sqlstatus::kSuccess);
    EXPECT_EQ(value.Integer, 1);
    ASSERT_EQ(cursor->getValue(2, value), sqlstatus::kSuccess);
    EXPECT_EQ(value.Text, "Ñoñé");
    EXPECT_EQ(cursor->getValue(3, value), sqlstatus::kServerError);
    std::string text;
    cursor->getErrorMessage(text);
    EXPECT_EQ(text, kStalled);
    connection.reset();
    cursor.reset();
    command.reset();
    EXPECT_EQ(Count(*connection_, "TARIFA"), 1);
}

// A call answered just as its limit falls is either answered or cut, and once one call said the
// connection was cut, so does every later one. Also run under ThreadSanitizer.
TEST_F(FbAnswerLimitTest, ACallEndingAsTheLimitFallsIsAnsweredOrCutNeverHalfOfEach) {
    for (int round = 1; round <= 6; ++round) {
        Execute(*connection_, "insert into TARIFA (ID) values (" + std::to_string(round) + ")");
        auto waiting = ConnectWithLimit();
        const auto [status, text] = RunHeld(*waiting, round, "update TARIFA set CODIGO = 'X' where ID = " +
                                            std::to_string(round), std::chrono::milliseconds(900 + 40 * round));
        EXPECT_TRUE(status == sqlstatus::kSuccess || text == kStalled) << "round " << round << ": " << text;
        std::string later;
        const SQLResult next = TryExecute(*waiting, "select ID from TARIFA", later);
        EXPECT_TRUE(next == sqlstatus::kSuccess ? status == sqlstatus::kSuccess : later == kStalled)
            << "round " << round << ": " << later;
    }
}

}  // namespace
}  // namespace contado
