#pragma once

#include "platform/clock.h"
#include "platform/line_parameters.h"
#include "platform/serial_device.h"
#include "platform/serial_link.h"
#include "platform/settings_store.h"

namespace quorel {

// The serial link over one serial device. The port number is mapped to a device through the
// settings store at each open. A device that went away (the module unplugged) is noticed at the
// next byte or reconnect(), which the relay logic calls at every tick: its dead handle is closed
// at once, so that the system gives the module its old name when it comes back, while the link
// stays in service and opens the same device again. A byte that cannot leave before its deadline
// (a module that stopped reading) is dropped rather than kept for a late burst of stale commands.
class DeviceSerialLink final : public SerialLink {
  public:
    // clock: the time the deadlines count and the short waits between two tries of a busy
    // device; its pause must not run other handlers.
    DeviceSerialLink(SettingsStore& store, SerialDevice& device, Clock& clock);
    ~DeviceSerialLink() override;
    DeviceSerialLink(const DeviceSerialLink&) = delete;
    DeviceSerialLink& operator=(const DeviceSerialLink&) = delete;

    bool isOpen() const override { return inService_; }
    [[nodiscard]] SerialError setPortNumber(int16_t number) override;
    [[nodiscard]] SerialError setParameters(const std::string& text) override;
    [[nodiscard]] SerialError open() override;
    void close() override;
    using SerialLink::writeByte;
    [[nodiscard]] SerialError writeByte(uint8_t byte, double deadlineSeconds) override;
    [[nodiscard]] SerialError reconnect() override;
    [[nodiscard]] size_t read(uint8_t* into, size_t capacity) override;
    void discardInput() override;
    uint32_t openings() const override { return openings_; }

    // Whether a device is held right now (false once the device went away).
    bool holdsDevice() const { return holdsDevice_; }

  private:
    [[nodiscard]] SerialError openDevice();
    enum class Sent { Yes, HandleDead, Stalled };
    Sent sendByte(uint8_t byte, double deadlineSeconds);
    void dropDevice();

    SettingsStore& store_;
    SerialDevice& device_;
    Clock& clock_;
    int16_t portNumber_ = 1;
    LineParameters parameters_;
    bool inService_ = false;
    bool holdsDevice_ = false;
    uint32_t openings_ = 0;
};

} // namespace quorel
