#pragma once

#include <cstdint>

namespace quorel {

// The service manager that runs the station (systemd): it is told when the start-up is done,
// that the station is still alive, and when the shut-down begins, so that it can restart a
// station that hangs.
class ServiceManager {
  public:
    virtual ~ServiceManager() = default;
    virtual void ready() = 0;
    virtual void alive() = 0;
    virtual void stopping() = 0;
    // How long the manager waits for alive() before it restarts the station; 0 when it does not
    // watch it.
    virtual int64_t watchdogMicroseconds() = 0;
};

} // namespace quorel
