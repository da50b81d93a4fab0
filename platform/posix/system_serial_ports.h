#pragma once

#include "platform/serial_ports.h"

#include <string>

namespace quorel {

// The serial devices of a Linux system: the names under <dev>/serial/by-id/ with the device each
// leads to, then the USB serial devices <dev>/ttyACM* and <dev>/ttyUSB*, each set in natural
// order (ttyACM2 before ttyACM10).
class SystemSerialPorts final : public SerialPorts {
  public:
    explicit SystemSerialPorts(std::string devFolder = "/dev") : dev_(std::move(devFolder)) {}

    std::vector<PresentPort> present() override;
    std::string targetOf(const std::string& device) override;
    std::unique_ptr<SerialDevice> newDevice() override;

  private:
    std::string dev_;
};

} // namespace quorel
