#pragma once

#include "platform/serial_device.h"

#include <memory>
#include <string>
#include <vector>

namespace quorel {

// A serial device present on this computer, as the operator may choose it for a port option.
struct PresentPort {
    std::string device;      // the name to open: /dev/serial/by-id/…, /dev/ttyACM0, COM5
    std::string description; // what it is or leads to: /dev/ttyACM0, "USB Serial Device (COM5)"
    std::string target;      // the device itself, the same for every name of one device
    bool operator==(const PresentPort&) const = default;
};

// The serial devices the system lists, and a fresh device to try one of them with.
class SerialPorts {
  public:
    virtual ~SerialPorts() = default;
    // The devices present now, in the order the operator is offered them.
    virtual std::vector<PresentPort> present() = 0;
    // The device a name leads to (a link followed, a name put in one case), as PresentPort::target.
    virtual std::string targetOf(const std::string& device) = 0;
    virtual std::unique_ptr<SerialDevice> newDevice() = 0;
};

} // namespace quorel
