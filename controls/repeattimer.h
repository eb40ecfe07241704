#pragma once

#include <functional>

namespace contado {

// The timer a held button repeats on. The program's runs on the event loop; tests drive one of
// their own, so no test waits for real time to pass.
class TRepeatTimer {
  public:
    virtual ~TRepeatTimer() = default;

    // Starts (or restarts) ticking every interval milliseconds.
    virtual void Start(int interval) = 0;
    // The next ticks come every interval milliseconds.
    virtual void SetInterval(int interval) = 0;
    virtual void Stop() = 0;
    virtual bool IsActive() const = 0;

    std::function<void()> OnTimer;
};

}  // namespace contado
