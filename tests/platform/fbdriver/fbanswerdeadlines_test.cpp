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

TEST(FbAnswerDeadlines, CallsFallDueOnceByDeadlineThenInTheOrderTheyBeganAndTheirEndLearnsIt) {
    TFbAnswerDeadlines<TTestClock> deadlines;
    std::string aborted;
    const std::uint64_t late = deadlines.Add(kStart + 5s, [&] { aborted += "A"; });
    const std::uint64_t early = deadlines.Add(kStart + 2s, [&] { aborted += "B"; });
    deadlines.Add(kStart + 5s, [&] { aborted += "C"; });
    EXPECT_EQ(deadlines.NextDue(), kStart + 2s);
    EXPECT_TRUE(deadlines.TakeDue(kStart + 1999ms).empty());

    for (auto& call : deadlines.TakeDue(kStart + 4s)) {
        EXPECT_EQ(call.Ticket, early);
        call.Abort();
    }
    EXPECT_FALSE(deadlines.Remove(early)) << "the call's end learns that it was aborted";
    EXPECT_EQ(deadlines.NextDue(), kStart + 5s);
    for (auto& call : deadlines.TakeDue(kStart + 1h)) {
        call.Abort();
    }
    EXPECT_EQ(aborted, "BAC");
    EXPECT_FALSE(deadlines.Remove(late));
    EXPECT_FALSE(deadlines.NextDue().has_value());
}

TEST(FbAnswerDeadlines, ACallThatEndsInTimeGetsItsAbortBackAndNeverFallsDue) {
    TFbAnswerDeadlines<TTestClock> deadlines;
    int aborts = 0;
    const std::uint64_t ticket = deadlines.Add(kStart + 3s, [&] { ++aborts; });
    EXPECT_TRUE(deadlines.Remove(ticket));
    EXPECT_FALSE(deadlines.NextDue().has_value());
    EXPECT_TRUE(deadlines.TakeDue(kStart + 1h).empty());
    EXPECT_EQ(aborts, 0);
}

}  // namespace
}  // namespace contado
