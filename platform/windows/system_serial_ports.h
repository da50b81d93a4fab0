#pragma once

#include "platform/serial_ports.h"

namespace quorel {

// The COM ports Windows lists (the system's serial device map), in the order of their numbers,
// each with the name Device Manager gives it ("USB Serial Device (COM5)") where the system knows
// one, else the driver's device name.
class SystemSerialPorts final : public SerialPorts {
  public:
    std::vector<PresentPort> present() override;
    std::string targetOf(const std::string& device) override;
    std::unique_ptr<SerialDevice> newDevice() override;
};

} // namespace quorel
