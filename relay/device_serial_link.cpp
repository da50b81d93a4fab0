#include "relay/device_serial_link.h"

#include "platform/port_devices.h"

namespace quorel {

namespace {

// The wait between two tries of a device that takes nothing, or whose queue has not emptied.
constexpr double kRetryStepSeconds = 0.002;

// A device whose line was refused is open all the same, and used.
bool failed(SerialError error) {
    return error != SerialError::None && error != SerialError::LineNotApplied;
}

} // namespace

DeviceSerialLink::DeviceSerialLink(SettingsStore& store, SerialDevice& device, Clock& clock)
    : store_(store), device_(device), clock_(clock),
      parameters_(*parseLineParameters(kLineParameters)) {}

DeviceSerialLink::~DeviceSerialLink() {
    dropDevice();
}

SerialError DeviceSerialLink::setPortNumber(int16_t number) {
    if (inService_) {
        return SerialError::PortAlreadyOpen;
    }
    if (number < 1) {
        return SerialError::BadPortNumber;
    }
    portNumber_ = number;
    return SerialError::None;
}

SerialError DeviceSerialLink::setParameters(const std::string& text) {
    if (inService_) {
        return SerialError::PortAlreadyOpen;
    }
    const std::optional<LineParameters> parsed = parseLineParameters(text);
    if (!parsed) {
        return SerialError::BadParameters;
    }
    parameters_ = *parsed;
    return SerialError::None;
}

SerialError DeviceSerialLink::open() {
    if (inService_) {
        return SerialError::PortAlreadyOpen;
    }
    const SerialError error = openDevice();
    inService_ = !failed(error);
    return error;
}

void DeviceSerialLink::close() {
    inService_ = false;
    dropDevice();
}

SerialError DeviceSerialLink::writeByte(uint8_t byte, double deadlineSeconds) {
    if (!inService_) {
        return SerialError::PortNotOpen;
    }
    // The device went away since the last byte: it may be back under the same name.
    const uint32_t openingsBefore = openings_;
    if (const SerialError error = reconnect(); error != SerialError::None) {
        return error;
    }
    const Sent sent = sendByte(byte, deadlineSeconds);
    if (sent == Sent::Yes) {
        return SerialError::None;
    }
    if (openings_ != openingsBefore || sent == Sent::Stalled) {
        return SerialError::WriteFailed;
    }
    // The handle died without a hang-up to see (it was unplugged and back between two looks):
    // opened once more, and the byte sent again.
    dropDevice();
    if (const SerialError error = reconnect(); error != SerialError::None) {
        return error;
    }
    return sendByte(byte, deadlineSeconds) == Sent::Yes ? SerialError::None
                                                        : SerialError::WriteFailed;
}

SerialError DeviceSerialLink::reconnect() {
    if (!inService_) {
        return SerialError::PortNotOpen;
    }
    if (holdsDevice_ && device_.hungUp()) {
        dropDevice();
    }
    if (holdsDevice_) {
        return SerialError::None;
    }
    const SerialError error = openDevice();
    return failed(error) ? error : SerialError::None;
}

SerialError DeviceSerialLink::openDevice() {
    const SerialError error = device_.open(deviceForPort(store_, portNumber_), parameters_);
    if (!failed(error)) {
        holdsDevice_ = true;
        ++openings_;
    }
    return error;
}

DeviceSerialLink::Sent DeviceSerialLink::sendByte(uint8_t byte, double deadlineSeconds) {
    const double deadline = clock_.monotonicSeconds() + deadlineSeconds;
    for (;;) {
        const DeviceWrite written = device_.write(byte);
        if (written == DeviceWrite::Written) {
            break;
        }
        if (written == DeviceWrite::Failed) {
            return Sent::HandleDead;
        }
        // The device takes nothing now (a module that stopped reading): tried again a little
        // later, until the deadline.
        if (clock_.monotonicSeconds() >= deadline) {
            return Sent::Stalled;
        }
        clock_.pause(kRetryStepSeconds);
    }
    // The driver's own queue: a byte the system took may still wait for the device.
    while (device_.outputPending()) {
        if (clock_.monotonicSeconds() >= deadline) {
            // Dropped in the driver, so that it never reaches the module late.
            device_.discardOutput();
            return Sent::Stalled;
        }
        clock_.pause(kRetryStepSeconds);
    }
    return Sent::Yes;
}

void DeviceSerialLink::dropDevice() {
    if (holdsDevice_) {
        device_.close();
        holdsDevice_ = false;
    }
}

size_t DeviceSerialLink::read(uint8_t* into, size_t capacity) {
    return holdsDevice_ ? device_.read(into, capacity) : 0;
}

void DeviceSerialLink::discardInput() {
    if (holdsDevice_) {
        device_.discardInput();
    }
}

} // namespace quorel
