#pragma once

#include <QTimer>

#include "controls/repeattimer.h"

namespace contado {

// A repeat timer on the event loop.
class TEventLoopRepeatTimer : public TRepeatTimer {
  public:
    TEventLoopRepeatTimer();

    void Start(int interval) override;
    void SetInterval(int interval) override;
    void Stop() override;
    bool IsActive() const override;

  private:
    QTimer timer_;
};

}  // namespace contado
