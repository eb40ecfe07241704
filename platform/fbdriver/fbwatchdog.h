#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <set>
#include <thread>

#include "platform/fbdriver/fbanswerdeadlines.h"

namespace contado {

// One thread of the process that aborts calls which wait too long for the server. A call is armed
// with its limit and an abort; when it has not been disarmed by then, the abort runs on the
// watchdog's thread, without the watchdog's lock, so it may call into the client while the call
// itself is blocked there. The thread starts with the first armed call, sleeps on a condition
// variable until the earliest deadline (woken early only by an earlier one) and is joined when the
// process ends.
class TFbWatchdog {
  public:
    using TClock = std::chrono::steady_clock;

    // A ticket for Disarm; 0 once the process is ending (the call is then not watched).
    static std::uint64_t Arm(std::chrono::milliseconds limit, std::function<void()> abort);
    // Ends the watch of a call. True when its abort ran; it has finished when this returns.
    static bool Disarm(std::uint64_t ticket);
    // The process is told to end: every watched call is aborted now, and every one armed later at
    // once. Safe from any thread; it starts no watchdog where none was needed.
    static void AbortAll();
    static bool AbortingAll();

    TFbWatchdog(const TFbWatchdog&) = delete;
    TFbWatchdog& operator=(const TFbWatchdog&) = delete;

  private:
    TFbWatchdog();
    ~TFbWatchdog();
    static TFbWatchdog& Shared();
    std::uint64_t Add(TClock::time_point due, std::function<void()> abort);
    bool Remove(std::uint64_t ticket);
    void Run();

    std::mutex mutex_;
    std::condition_variable wake_;     // an earlier deadline, or the end
    std::condition_variable aborted_;  // aborts that were running have ended
    TFbAnswerDeadlines<TClock> deadlines_;
    std::set<std::uint64_t> aborting_;
    TClock::time_point sleepsUntil_ = TClock::time_point::max();
    bool ending_ = false;
    bool abortingAll_ = false;
    std::thread thread_;
};

}  // namespace contado
