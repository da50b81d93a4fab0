#pragma once

#include "platform/timer.h"

#include <QObject>
#include <QTimer>
#include <functional>

namespace quorel {

// A plain repeating timer: while enabled, calls onExpiry every interval. Disabled at creation.
class IntervalTimer final : public QObject, public Timer {
    Q_OBJECT

  public:
    IntervalTimer(int intervalMilliseconds, std::function<void()> onExpiry,
                  QObject* parent = nullptr);

    void setEnabled(bool enabled) override;
    bool isEnabled() const override { return timer_.isActive(); }

  private:
    QTimer timer_;
};

} // namespace quorel
