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

// A call held on a row that another connection has locked stands for a server that stopped
// answering: nothing comes back until the watchdog cuts the connection, as it cuts one to a server.
class FbAnswerLimitTest : public FbDriverTest {
  protected:
    std::unique_ptr<ISQLConnection> ConnectWithLimit() const {
        auto connection = Connect();
        EXPECT_EQ(connection->setOption(connoption::kAnswerTimeout, 1), sqlstatus::kSuccess);
        return connection;
    }
    // Locks row id in an explicit transaction of the test's connection.
    void Hold(int id) {
        ASSERT_EQ(connection_->beginTransaction(desc_), sqlstatus::kSuccess);
        Execute(*connection_, "update TARIFA set NOMBRE = 'HELD' where ID = " + std::to_string(id));
    }
    // Runs the statement on a thread of its own, waiting at most a minute; the lock is let go then,
    // so a statement the watchdog missed ends all the same and the test fails instead of hanging.
    std::pair<SQLResult, std::string> RunBlocked(ISQLConnection& connection, const std::string& sql,
                                                 std::chrono::milliseconds releaseAfter = 60s) {
        auto call = std::async(std::launch::async, [&] {
            std::string text;
            const SQLResult status = TryExecute(connection, sql, text);
            return std::make_pair(status, text);
        });
        const bool ended = call.wait_for(releaseAfter) == std::future_status::ready;
        EXPECT_EQ(connection_->rollback(desc_), sqlstatus::kSuccess);
        if (releaseAfter >= 60s) {
            EXPECT_TRUE(ended) << "the call was not cut";
        }
        return call.get();
    }

    TTransactionDesc desc_;
};

TEST_F(FbAnswerLimitTest, TheLimitTakesWholeSecondsUpToADay) {
    EXPECT_EQ(connection_->setOption(connoption::kAnswerTimeout, -1), sqlstatus::kInvalidParameter);
    EXPECT_EQ(connection_->setOption(connoption::kAnswerTimeout, 86401), sqlstatus::kInvalidParameter);
    ASSERT_EQ(connection_->setOption(connoption::kAnswerTimeout, 86400), sqlstatus::kSuccess);
    std::int32_t seconds = 0;
    std::int32_t length = 0;
    ASSERT_EQ(connection_->getOption(connoption::kAnswerTimeout, &seconds, sizeof(seconds), length),
              sqlstatus::kSuccess);
    EXPECT_EQ(seconds, 86400);
}

TEST_F(FbAnswerLimitTest, ACallLongerThanTheLimitIsCutEveryLaterCallSaysWhyAndNothingIsStored) {
    Execute(*connection_, "insert into TARIFA (ID) values (1)");
    auto waiting = ConnectWithLimit();
    ASSERT_EQ(waiting->beginTransaction(desc_), sqlstatus::kSuccess);
    Execute(*waiting, "insert into TARIFA (ID) values (2)");
    Hold(1);

    const auto [status, text] = RunBlocked(*waiting, "update TARIFA set NOMBRE = 'MINE' where ID = 1");
    EXPECT_EQ(status, sqlstatus::kServerError);
    EXPECT_EQ(text, kStalled);

    std::string later;
    EXPECT_EQ(TryExecute(*waiting, "select ID from TARIFA", later), sqlstatus::kServerError);
    EXPECT_EQ(later, kStalled);
    EXPECT_NE(waiting->commit(desc_), sqlstatus::kSuccess);
    waiting->getErrorMessage(later);
    EXPECT_EQ(later, kStalled);
    waiting->disconnect();
    waiting.reset();

    auto other = Connect();
    EXPECT_EQ(Count(*other, "TARIFA"), 1);
    EXPECT_EQ(Count(*other, "TARIFA where NOMBRE is not null"), 0);
}

// Only a call is timed: a connection idle for longer than the limit between calls goes on, and a
// connection reopened after a cut one is watched afresh.
TEST_F(FbAnswerLimitTest, TimeBetweenCallsDoesNotCountAndAReconnectedConnectionAnswersAgain) {
    auto connection = ConnectWithLimit();
    Execute(*connection, "insert into TARIFA (ID) values (1)");
    std::this_thread::sleep_for(1500ms);
    Execute(*connection, "insert into TARIFA (ID) values (2)");
    EXPECT_EQ(Count(*connection, "TARIFA"), 2);

    Hold(1);
    EXPECT_EQ(RunBlocked(*connection, "delete from TARIFA where ID = 1").second, kStalled);
    connection->disconnect();
    const auto reopened = connection->connect(database_.Path(), "SYSDBA", "");
    ASSERT_EQ(reopened, sqlstatus::kSuccess);
    EXPECT_EQ(Count(*connection, "TARIFA"), 2);
}

// A call that gets its answer just as its limit falls: either it is answered or it is cut, and once
// one call said the connection was cut, so does every later one. Run under ThreadSanitizer too.
TEST_F(FbAnswerLimitTest, ACallEndingAsTheLimitFallsIsAnsweredOrCutNeverHalfOfEach) {
    for (int round = 1; round <= 6; ++round) {
        Execute(*connection_, "insert into TARIFA (ID) values (" + std::to_string(round) + ")");
        auto waiting = ConnectWithLimit();
        Hold(round);
        const auto [status, text] =
            RunBlocked(*waiting, "update TARIFA set CODIGO = 'X' where ID = " + std::to_string(round),
                       std::chrono::milliseconds(900 + 40 * round));
        EXPECT_TRUE(status == sqlstatus::kSuccess || text == kStalled) << "round " << round << ": " << text;
        std::string later;
        const SQLResult next = TryExecute(*waiting, "select ID from TARIFA", later);
        if (status != sqlstatus::kSuccess) {
            EXPECT_EQ(later, kStalled) << "round " << round;
        }
        EXPECT_TRUE(next == sqlstatus::kSuccess || later == kStalled) << "round " << round << ": " << later;
    }
}

}  // namespace
}  // namespace contado
