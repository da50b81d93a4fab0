#pragma once

#include "platform/serial_device.h"

#include <termios.h>

namespace quorel {

// A serial device of this system: a terminal device, set up through termios.
class SystemSerialDevice final : public SerialDevice {
  public:
    SystemSerialDevice() = default;
    SystemSerialDevice(const SystemSerialDevice&) = delete;
    SystemSerialDevice& operator=(const SystemSerialDevice&) = delete;
    ~SystemSerialDevice() override { close(); }

    [[nodiscard]] SerialError open(const std::string& path, const LineParameters& line) override;
    [[nodiscard]] DeviceWrite write(uint8_t byte) override;
    [[nodiscard]] bool outputPending() override;
    void discardOutput() override;
    [[nodiscard]] size_t read(uint8_t* into, size_t capacity) override;
    void discardInput() override;
    [[nodiscard]] bool hungUp() override;
    void close() override;

  private:
    int descriptor_ = -1;
    // The line as the device had it, put back at close.
    termios found_{};
};

} // namespace quorel
