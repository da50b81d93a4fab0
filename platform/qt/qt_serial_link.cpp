#include "platform/qt/qt_serial_link.h"

#include "platform/port_devices.h"
#include "platform/serial_device.h"

#include <type_traits>

namespace quorel {

namespace {

constexpr const char* kDefaultParameters = "9600,N,8,1";

bool failed(SerialError error) {
    return error != SerialError::None && error != SerialError::LineNotApplied;
}

[[nodiscard]] SerialError openErrorOf(QSerialPort::SerialPortError error) {
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return SerialError::DeviceMissing;
    case QSerialPort::PermissionError:
        return SerialError::DeviceBusy;
    case QSerialPort::UnsupportedOperationError:
        return SerialError::NotSerialDevice;
    default:
        return SerialError::OpenFailed;
    }
}

// QSerialPort's handle is a descriptor on POSIX systems and a HANDLE (a pointer) on Windows.
template <typename Handle> DeviceHandle toDeviceHandle(Handle handle) {
    if constexpr (std::is_pointer_v<Handle>) {
        return reinterpret_cast<DeviceHandle>(handle);
    } else {
        return static_cast<DeviceHandle>(handle);
    }
}

QSerialPort::Parity qtParity(Parity parity) {
    switch (parity) {
    case Parity::Even:
        return QSerialPort::EvenParity;
    case Parity::Odd:
        return QSerialPort::OddParity;
    case Parity::Mark:
        return QSerialPort::MarkParity;
    case Parity::Space:
        return QSerialPort::SpaceParity;
    case Parity::None:
        break;
    }
    return QSerialPort::NoParity;
}

QSerialPort::StopBits qtStopBits(StopBits stopBits) {
    switch (stopBits) {
    case StopBits::OneAndHalf:
        return QSerialPort::OneAndHalfStop;
    case StopBits::Two:
        return QSerialPort::TwoStop;
    case StopBits::One:
        break;
    }
    return QSerialPort::OneStop;
}

} // namespace

QtSerialLink::QtSerialLink(SettingsStore& store)
    : store_(store), parameters_(*parseLineParameters(kDefaultParameters)),
      hangUpWatch_(QSocketNotifier::Read) {
    hangUpWatch_.setEnabled(false);
    QObject::connect(&port_, &QSerialPort::errorOccurred, &port_,
                     [this](QSerialPort::SerialPortError error) { onPortError(error); });
    QObject::connect(&hangUpWatch_, &QSocketNotifier::activated, &hangUpWatch_,
                     [this] { onDeviceSignal(); });
}

QtSerialLink::~QtSerialLink() {
    dropDevice();
}

SerialError QtSerialLink::setPortNumber(int16_t number) {
    if (inService_) {
        return SerialError::PortAlreadyOpen;
    }
    if (number < 1) {
        return SerialError::BadPortNumber;
    }
    portNumber_ = number;
    return SerialError::None;
}

SerialError QtSerialLink::setParameters(const std::string& text) {
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

SerialError QtSerialLink::open() {
    if (inService_) {
        return SerialError::PortAlreadyOpen;
    }
    const SerialError error = openDevice();
    inService_ = !failed(error);
    return error;
}

void QtSerialLink::close() {
    inService_ = false;
    dropDevice();
}

SerialError QtSerialLink::writeByte(uint8_t byte, double deadlineSeconds) {
    if (!inService_) {
        return SerialError::PortNotOpen;
    }
    // The device went away since the last byte: it may be back under the same name.
    const bool reopened = !port_.isOpen();
    if (const SerialError error = reconnect(); error != SerialError::None) {
        return error;
    }
    const Sent sent = sendByte(byte, deadlineSeconds);
    if (sent == Sent::Yes) {
        return SerialError::None;
    }
    if (reopened || sent == Sent::Stalled) {
        return SerialError::WriteFailed;
    }
    // The handle died without notice (the byte was written before the hang-up was seen).
    dropDevice();
    if (const SerialError error = reconnect(); error != SerialError::None) {
        return error;
    }
    return sendByte(byte, deadlineSeconds) == Sent::Yes ? SerialError::None
                                                        : SerialError::WriteFailed;
}

SerialError QtSerialLink::reconnect() {
    if (!inService_) {
        return SerialError::PortNotOpen;
    }
    if (port_.isOpen()) {
        return SerialError::None;
    }
    const SerialError error = openDevice();
    return failed(error) ? error : SerialError::None;
}

SerialError QtSerialLink::openDevice() {
    const std::string device = deviceForPort(store_, portNumber_);
    const SerialError pathError = checkDevicePath(device);
    if (pathError != SerialError::None) {
        return pathError;
    }
    port_.setPortName(QString::fromStdString(device));
    // The module never answers the relay commands, so the port is opened for writing only.
    if (!port_.open(QIODevice::WriteOnly)) {
        return openErrorOf(port_.error());
    }
#ifndef _WIN32
    // On Windows QSerialPort watches the device's events itself and reports a removal.
    hangUpWatch_.setSocket(port_.handle());
    hangUpWatch_.setEnabled(true);
#endif
    ++openings_;
    return applyLineParameters();
}

SerialError QtSerialLink::applyLineParameters() {
    bool applied = port_.setBaudRate(parameters_.baud);
    applied =
        port_.setDataBits(static_cast<QSerialPort::DataBits>(parameters_.dataBits)) && applied;
    applied = port_.setParity(qtParity(parameters_.parity)) && applied;
    applied = port_.setStopBits(qtStopBits(parameters_.stopBits)) && applied;
    applied = port_.setFlowControl(QSerialPort::NoFlowControl) && applied;
    // termios has no 1.5 stop bits: QSerialPort would quietly use one instead.
    applied = applied && parameters_.stopBits != StopBits::OneAndHalf;
    port_.clearError();
    return applied ? SerialError::None : SerialError::LineNotApplied;
}

QtSerialLink::Sent QtSerialLink::sendByte(uint8_t byte, double deadlineSeconds) {
    // Written straight to the device rather than through Qt's buffer, which would keep a byte the
    // device refuses and send it whenever the device takes it again.
    const DeviceHandle device = deviceHandle();
    const QDeadlineTimer deadline(static_cast<qint64>(deadlineSeconds * 1000));
    for (;;) {
        const DeviceWrite written = writeDeviceByte(device, byte);
        if (written == DeviceWrite::Written) {
            break;
        }
        if (written == DeviceWrite::Failed) {
            return Sent::HandleDead;
        }
        // The device takes nothing now (a module that stopped reading): try again a little
        // later, until the deadline.
        if (deadline.hasExpired()) {
            return Sent::Stalled;
        }
        pauseBriefly();
    }
    if (!outputQueueEmpties(deadline)) {
        // Dropped in the driver, so that it never reaches the module late.
        discardOutput(device);
        return Sent::Stalled;
    }
    return Sent::Yes;
}

bool QtSerialLink::outputQueueEmpties(const QDeadlineTimer& deadline) {
    // The driver's own queue: a byte accepted by the system may still wait for the device.
    while (outputPending(deviceHandle())) {
        if (deadline.hasExpired()) {
            return false;
        }
        pauseBriefly();
    }
    return true;
}

DeviceHandle QtSerialLink::deviceHandle() const {
    return toDeviceHandle(port_.handle());
}

void QtSerialLink::dropDevice() {
    // The watch goes first: it must never poll a descriptor that is already closed.
    hangUpWatch_.setEnabled(false);
    if (port_.isOpen()) {
        // Bytes still queued are stale, and closing would wait for them to drain.
        discardOutput(deviceHandle());
        port_.close();
    }
}

void QtSerialLink::onPortError(QSerialPort::SerialPortError error) {
    // Keeping a dead handle would make the error repeat at full speed, and would make Linux give
    // the module a new device name when it is plugged back in.
    if (error == QSerialPort::ResourceError || error == QSerialPort::ReadError ||
        error == QSerialPort::WriteError) {
        dropDevice();
    }
}

void QtSerialLink::onDeviceSignal() {
    switch (deviceState(deviceHandle())) {
    case DeviceState::HungUp:
        dropDevice();
        break;
    case DeviceState::InputWaiting:
        // The port is never read: whatever the module sends is discarded unread.
        discardInput(deviceHandle());
        break;
    case DeviceState::Quiet:
        break;
    }
}

} // namespace quorel
