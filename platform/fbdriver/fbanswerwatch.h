#pragma once

#include "platform/fbdriver/fbsession.h"

namespace contado {

// Watches one call into the client for the session's answer limit, from Begin to End or the end of
// the scope. A call made inside a watched one is covered by the outer watch.
class TFbAnswerWatch {
  public:
    explicit TFbAnswerWatch(TFbSession& session) : session_(session) {}
    ~TFbAnswerWatch() { End(); }
    TFbAnswerWatch(const TFbAnswerWatch&) = delete;
    TFbAnswerWatch& operator=(const TFbAnswerWatch&) = delete;

    // Fails when the watchdog cannot be started; the call is then not made.
    void Begin() { armed_ = session_.WatchAnswer(); }
    // For a destructor's calls: watched when the watchdog can be started, else made all the same.
    void BeginIfPossible() noexcept {
        try {
            Begin();
        } catch (...) {
            armed_ = false;
        }
    }
    // A watchdog that fired meanwhile leaves the session stalled.
    void End() noexcept {
        if (armed_) {
            armed_ = false;
            session_.EndAnswerWatch();
        }
    }

  private:
    TFbSession& session_;
    bool armed_ = false;
};

}  // namespace contado
