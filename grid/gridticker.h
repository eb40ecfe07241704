#pragma once

#include <QTimer>
#include <functional>

namespace contado {

// The clock of a column drag: every tick while it runs is one step of the drag. The grid uses a
// 60 ms timer; tests put a ticker of their own in its place and tick it by hand.
class TGridTicker {
  public:
    static constexpr int kInterval = 60;

    virtual ~TGridTicker() = default;
    virtual void Start(std::function<void()> tick) = 0;
    virtual void Stop() = 0;
    virtual bool Running() const = 0;
};

// Ticks every 60 ms on the event loop.
class TTimerTicker : public TGridTicker {
  public:
    TTimerTicker();
    void Start(std::function<void()> tick) override;
    void Stop() override;
    bool Running() const override { return timer_.isActive(); }

  private:
    QTimer timer_;
    std::function<void()> tick_;
};

}  // namespace contado
