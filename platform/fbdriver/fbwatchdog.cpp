#include "platform/fbdriver/fbwatchdog.h"

#include <pthread.h>
#include <signal.h>

#include <atomic>
#include <utility>
#include <vector>

namespace contado {

namespace {

// Set when the watchdog of the process is destroyed at its end: later calls go unwatched.
std::atomic<bool> watchdogGone{false};
// Set once a call has been armed, so that the watchdog exists; and once every call is to be cut.
std::atomic<bool> watchdogMade{false};
std::atomic<bool> abortAll{false};

// Signals stay with the program's own threads, which route them.
class TSignalsBlocked {
  public:
    TSignalsBlocked() {
        sigset_t all;
        sigfillset(&all);
        pthread_sigmask(SIG_SETMASK, &all, &previous_);
    }
    ~TSignalsBlocked() { pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }
    TSignalsBlocked(const TSignalsBlocked&) = delete;
    TSignalsBlocked& operator=(const TSignalsBlocked&) = delete;

  private:
    sigset_t previous_;
};

}  // namespace

TFbWatchdog::TFbWatchdog() {
    const TSignalsBlocked blocked;
    thread_ = std::thread(&TFbWatchdog::Run, this);
}

TFbWatchdog::~TFbWatchdog() {
    watchdogGone = true;
    {
        const std::lock_guard lock(mutex_);
        ending_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

TFbWatchdog& TFbWatchdog::Shared() {
    static TFbWatchdog watchdog;
    return watchdog;
}

std::uint64_t TFbWatchdog::Arm(std::chrono::milliseconds limit, std::function<void()> abort) {
    if (watchdogGone) {
        return 0;
    }
    watchdogMade = true;
    return Shared().Add(TClock::now() + limit, std::move(abort));
}

void TFbWatchdog::AbortAll() {
    abortAll = true;
    if (!watchdogMade || watchdogGone) {
        return;
    }
    TFbWatchdog& watchdog = Shared();
    {
        const std::lock_guard lock(watchdog.mutex_);
        watchdog.abortingAll_ = true;
    }
    watchdog.wake_.notify_all();
}

bool TFbWatchdog::AbortingAll() {
    return abortAll;
}

bool TFbWatchdog::Disarm(std::uint64_t ticket) {
    if (ticket == 0 || watchdogGone) {
        return false;
    }
    return Shared().Remove(ticket);
}

// The thread is woken only when the new call falls due before the moment it sleeps until; with
// calls of one limit that is when none was watched, so a run of short calls wakes it rarely.
std::uint64_t TFbWatchdog::Add(TClock::time_point due, std::function<void()> abort) {
    std::unique_lock lock(mutex_);
    const std::uint64_t ticket = deadlines_.Add(due, std::move(abort));
    const bool earlier = due < sleepsUntil_;
    lock.unlock();
    if (earlier) {
        wake_.notify_one();
    }
    return ticket;
}

// A call taken already has its abort running or run; the caller learns of it only once it ended,
// so the connection is cut by the time the call's error is reported.
bool TFbWatchdog::Remove(std::uint64_t ticket) {
    std::function<void()> abort;
    std::unique_lock lock(mutex_);
    abort = deadlines_.Remove(ticket);
    if (abort) {
        lock.unlock();
        return false;  // the abort is dropped here, outside the lock
    }
    aborted_.wait(lock, [&] { return !aborting_.contains(ticket); });
    return true;
}

void TFbWatchdog::Run() {
    std::unique_lock lock(mutex_);
    while (!ending_) {
        std::vector<TFbAnswerDeadlines<TClock>::TDue> due =
            deadlines_.TakeDue(abortingAll_ ? TClock::time_point::max() : TClock::now());
        if (due.empty()) {
            const auto next = deadlines_.NextDue();
            sleepsUntil_ = next.value_or(TClock::time_point::max());
            if (next) {
                wake_.wait_until(lock, *next);
            } else {
                wake_.wait(lock);
            }
            continue;
        }
        std::vector<std::uint64_t> tickets;
        for (const auto& call : due) {
            tickets.push_back(call.Ticket);
            aborting_.insert(call.Ticket);
        }
        sleepsUntil_ = TClock::time_point::min();  // awake: a call added now is seen on the next turn
        lock.unlock();
        for (auto& call : due) {
            try {
                call.Abort();
            } catch (...) {
                // An abort that fails leaves the call to end as it may; nothing to tell here.
            }
            call.Abort = nullptr;  // what it holds goes before its caller hears of it
        }
        lock.lock();
        for (const std::uint64_t ticket : tickets) {
            aborting_.erase(ticket);
        }
        aborted_.notify_all();
    }
}

}  // namespace contado
