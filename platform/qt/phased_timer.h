#pragma once

#include "platform/timer.h"

#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>

namespace quorel {

// The scheduler's 200 ms timer, phased to the wall-clock second: its ticks fall a few
// milliseconds after .000, .200, .400, .600 and .800 of each second, so an entry's second is
// acted on at its very start. A tick that comes late fires once for its slot; the slots it
// missed are skipped. Disabled at creation.
class PhasedTimer final : public QObject, public Timer {
    Q_OBJECT

  public:
    static constexpr int64_t kPeriodMicroseconds = 200'000;
    static constexpr int64_t kOffsetMicroseconds = 5'000;

    explicit PhasedTimer(std::function<void()> onTick, QObject* parent = nullptr);

    void setEnabled(bool enabled) override;
    bool isEnabled() const override { return enabled_; }

  private:
    void armForNextSlot();
    void onExpiry();

    std::function<void()> onTick_;
    QTimer timer_;
    bool enabled_ = false;
    int64_t lastSlot_ = INT64_MIN;
};

} // namespace quorel
