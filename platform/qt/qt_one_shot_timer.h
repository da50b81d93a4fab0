#pragma once

#include "platform/one_shot_timer.h"

#include <QTimer>

namespace quorel {

// The one-shot timer of the Qt event loop: a precise QTimer, which counts whole milliseconds.
class QtOneShotTimer final : public OneShotTimer {
  public:
    QtOneShotTimer();

    void start(int64_t microseconds) override;
    void stop() override { timer_.stop(); }

  private:
    QTimer timer_;
};

} // namespace quorel
