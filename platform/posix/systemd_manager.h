#pragma once

#include "platform/service_manager.h"

namespace quorel {

// systemd, told through sd_notify(): READY=1, WATCHDOG=1 and STOPPING=1 go to $NOTIFY_SOCKET,
// and the watchdog's period is $WATCHDOG_USEC. Without those variables (started by hand) nothing
// is sent and nothing is watched.
class SystemdManager final : public ServiceManager {
  public:
    void ready() override;
    void alive() override;
    void stopping() override;
    int64_t watchdogMicroseconds() override;
};

} // namespace quorel
