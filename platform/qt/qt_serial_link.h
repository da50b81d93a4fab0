#pragma once

#include "platform/line_parameters.h"
#include "platform/serial_device.h"
#include "platform/serial_link.h"
#include "platform/settings_store.h"

#include <QDeadlineTimer>
#include <QSerialPort>
#include <QSocketNotifier>

namespace quorel {

// The serial link over QSerialPort. The port number is mapped to a device through the settings
// store at each open. When the device disappears (the module unplugged), the dead handle is
// closed at once while the link stays in service; the next byte or reconnect() reopens the same
// device. A byte that cannot leave within a second (a module that stopped reading) is dropped
// rather than kept for a late burst of stale commands.
class QtSerialLink final : public SerialLink {
  public:
    explicit QtSerialLink(SettingsStore& store);
    ~QtSerialLink() override;

    bool isOpen() const override { return inService_; }
    [[nodiscard]] SerialError setPortNumber(int16_t number) override;
    [[nodiscard]] SerialError setParameters(const std::string& text) override;
    [[nodiscard]] SerialError open() override;
    void close() override;
    using SerialLink::writeByte;
    [[nodiscard]] SerialError writeByte(uint8_t byte, double deadlineSeconds) override;
    [[nodiscard]] SerialError reconnect() override;
    uint32_t openings() const override { return openings_; }

    // Whether a device handle is held right now (false after the device went away).
    bool holdsDevice() const { return port_.isOpen(); }

  private:
    [[nodiscard]] SerialError openDevice();
    [[nodiscard]] SerialError applyLineParameters();
    enum class Sent { Yes, HandleDead, Stalled };
    Sent sendByte(uint8_t byte, double deadlineSeconds);
    bool outputQueueEmpties(const QDeadlineTimer& deadline);
    DeviceHandle deviceHandle() const;
    void dropDevice();
    void onPortError(QSerialPort::SerialPortError error);
    void onDeviceSignal();

    SettingsStore& store_;
    int16_t portNumber_ = 1;
    LineParameters parameters_;
    bool inService_ = false;
    uint32_t openings_ = 0;
    QSerialPort port_;
    // Wakes when the device hangs up; QSerialPort itself watches nothing on a write-only port.
    QSocketNotifier hangUpWatch_;
};

} // namespace quorel
