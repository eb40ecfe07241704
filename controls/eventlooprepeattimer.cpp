#include "controls/eventlooprepeattimer.h"

namespace contado {

TEventLoopRepeatTimer::TEventLoopRepeatTimer() {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        if (OnTimer) {
            OnTimer();
        }
    });
}

void TEventLoopRepeatTimer::Start(int interval) {
    timer_.start(interval);
}

void TEventLoopRepeatTimer::SetInterval(int interval) {
    timer_.setInterval(interval);
}

void TEventLoopRepeatTimer::Stop() {
    timer_.stop();
}

bool TEventLoopRepeatTimer::IsActive() const {
    return timer_.isActive();
}

}  // namespace contado
