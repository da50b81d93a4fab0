#pragma once

#include "platform/serial_device.h"

namespace quorel {

// A serial device of this system: a COM port, opened by Quorel itself for overlapped writing and
// reading.
class SystemSerialDevice final : public SerialDevice {
  public:
    SystemSerialDevice() = default;
    SystemSerialDevice(const SystemSerialDevice&) = delete;
    SystemSerialDevice& operator=(const SystemSerialDevice&) = delete;
    ~SystemSerialDevice() override { close(); }

    // path: "COM3" (ports above 9 included) or "\\.\COM10"; a path with a folder in it is
    // opened as it is written.
    [[nodiscard]] SerialError open(const std::string& path, const LineParameters& line) override;
    [[nodiscard]] DeviceWrite write(uint8_t byte) override;
    [[nodiscard]] bool outputPending() override;
    void discardOutput() override;
    [[nodiscard]] size_t read(uint8_t* into, size_t capacity) override;
    void discardInput() override;
    [[nodiscard]] bool hungUp() override;
    void close() override;

  private:
    void* handle_ = nullptr; // the port's HANDLE, or none
};

} // namespace quorel
