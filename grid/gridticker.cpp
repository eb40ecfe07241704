#include "grid/gridticker.h"

namespace contado {

TTimerTicker::TTimerTicker() {
    timer_.setInterval(kInterval);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        if (tick_) {
            tick_();
        }
    });
}

void TTimerTicker::Start(std::function<void()> tick) {
    tick_ = std::move(tick);
    timer_.start();
}

void TTimerTicker::Stop() {
    timer_.stop();
    tick_ = nullptr;
}

}  // namespace contado
