#pragma once

#include "platform/line_parameters.h"
#include "platform/serial_link.h"
#include "platform/settings_store.h"

#include <QSerialPort>
#include <QSocketNotifier>

namespace quorel {

// The serial link over QSerialPort. The port number is mapped to a device through the settings
// store at each open. When the device disappears (the module unplugged), the dead handle is
// closed at once while the link stays in service; the next byte reopens the same device first.
class QtSerialLink final : public SerialLink {
  public:
    explicit QtSerialLink(SettingsStore& store);
    ~QtSerialLink() override;

    bool isOpen() const override { return inService_; }
    SerialError setPortNumber(int16_t number) override;
    SerialError setParameters(const std::string& text) override;
    SerialError open() override;
    void close() override;
    SerialError writeByte(uint8_t byte) override;

    // Whether a device handle is held right now (false after the device went away).
    bool holdsDevice() const { return port_.isOpen(); }

  private:
    SerialError openDevice();
    SerialError applyLineParameters();
    bool sendByte(uint8_t byte);
    void dropDevice();
    void onPortError(QSerialPort::SerialPortError error);
    void onDeviceSignal();

    SettingsStore& store_;
    int16_t portNumber_ = 1;
    LineParameters parameters_;
    bool inService_ = false;
    QSerialPort port_;
    // Wakes when the device hangs up; QSerialPort itself watches nothing on a write-only port.
    QSocketNotifier hangUpWatch_;
};

} // namespace quorel
