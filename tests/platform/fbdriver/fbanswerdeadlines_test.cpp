#include "platform/fbdriver/fbanswerdeadlines.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

namespace contado {
namespace {

using namespace std::chrono_literals;

// A clock that is never read: the test hands the table the moments itself.
struct TTestClock {
    using duration = std::chrono::milliseconds;
    using rep = duration::rep;
    using period = duration::period;
    using time_point = std::chrono::time_point<TTestClock>;
    static constexpr bool is_steady = true;
};

const TTestClock::time_point kStart{};

TEST(FbAnswerDeadlines, ACallFallsDueAtItsDeadlineOnceAndItsEndThenFindsItTaken) {
    TFbAnswerDeadlines<TTestClock> deadlines;
    int aborts = 0;
    const std::uint64_t ticket = deadlines.Add(kStart + 3s, [&] { ++aborts; });
    EXPECT_NE(ticket, 0u);
    EXPECT_EQ(deadlines.NextDue(), kStart + 3s);
    EXPECT_TRUE(deadlines.TakeDue(kStart + 2999ms).empty());

    auto due = deadlines.TakeDue(kStart + 3s);
    ASSERT_EQ(due.size(), 1u);
    EXPECT_EQ(due[0].Ticket, ticket);
    due[0].Abort();
    EXPECT_EQ(aborts, 1);
    EXPECT_FALSE(deadlines.NextDue().has_value());
    EXPECT_TRUE(deadlines.TakeDue(kStart + 1h).empty());
    EXPECT_FALSE(deadlines.Remove(ticket)) << "the call's end learns that it was aborted";
}

TEST(FbAnswerDeadlines, ACallThatEndsInTimeGetsItsAbortBackAndNeverFallsDue) {
    TFbAnswerDeadlines<TTestClock> deadlines;
    int aborts = 0;
    const std::uint64_t ticket = deadlines.Add(kStart + 3s, [&] { ++aborts; });
    auto abort = deadlines.Remove(ticket);
    ASSERT_TRUE(abort);
    EXPECT_FALSE(deadlines.NextDue().has_value());
    EXPECT_TRUE(deadlines.TakeDue(kStart + 1h).empty());
    EXPECT_EQ(aborts, 0);
}

TEST(FbAnswerDeadlines, CallsFallDueByDeadlineAndThoseOfOneMomentInTheOrderTheyBegan) {
    TFbAnswerDeadlines<TTestClock> deadlines;
    std::string order;
    const std::uint64_t first = deadlines.Add(kStart + 5s, [&] { order += "A"; });
    const std::uint64_t second = deadlines.Add(kStart + 2s, [&] { order += "B"; });
    const std::uint64_t third = deadlines.Add(kStart + 5s, [&] { order += "C"; });
    const std::uint64_t ended = deadlines.Add(kStart + 4s, [&] { order += "D"; });
    EXPECT_TRUE(first != second && second != third && third != ended);
    EXPECT_EQ(deadlines.NextDue(), kStart + 2s);
    EXPECT_TRUE(deadlines.Remove(ended));

    for (auto& call : deadlines.TakeDue(kStart + 4s)) {
        call.Abort();
    }
    EXPECT_EQ(order, "B");
    EXPECT_EQ(deadlines.NextDue(), kStart + 5s);
    for (auto& call : deadlines.TakeDue(kStart + 6s)) {
        call.Abort();
    }
    EXPECT_EQ(order, "BAC");
}

}  // namespace
}  // namespace contado
