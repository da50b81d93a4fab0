#include "platform/posix/serial_device.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorel {

namespace {

// What the path names, before anything is opened: a missing device, one the user may not reach,
// or something that is not a device at all (a plain file, a folder).
SerialError checkDevicePath(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        switch (errno) {
        case ENOENT:
        case ENOTDIR:
        case ELOOP:
            return SerialError::DeviceMissing;
        case EACCES:
            return SerialError::DeviceBusy;
        default:
            return SerialError::OpenFailed;
        }
    }
    return S_ISCHR(info.st_mode) ? SerialError::None : SerialError::NotSerialDevice;
}

SerialError openErrorOf(int error) {
    switch (error) {
    case ENOENT:
    case ENXIO:
    case ENODEV:
        return SerialError::DeviceMissing;
    case EACCES:
    case EPERM:
    case EBUSY: // held by another program that asked for it alone
        return SerialError::DeviceBusy;
    default:
        return SerialError::OpenFailed;
    }
}

// termios names the standard rates only; another rate is reported as refused.
speed_t speedOf(int baud) {
    struct Rate {
        int baud;
        speed_t speed;
    };
    static constexpr Rate rates[] = {
        {50, B50},           {75, B75},           {110, B110},         {134, B134},
        {150, B150},         {200, B200},         {300, B300},         {600, B600},
        {1200, B1200},       {1800, B1800},       {2400, B2400},       {4800, B4800},
        {9600, B9600},       {19200, B19200},     {38400, B38400},     {57600, B57600},
        {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
        {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000},
        {1500000, B1500000}, {2000000, B2000000}, {3000000, B3000000}, {4000000, B4000000},
    };
    for (const Rate& rate : rates) {
        if (rate.baud == baud) {
            return rate.speed;
        }
    }
    return B0;
}

tcflag_t dataBitsFlag(int dataBits) {
    switch (dataBits) {
    case 5:
        return CS5;
    case 6:
        return CS6;
    case 7:
        return CS7;
    default:
        return CS8;
    }
}

tcflag_t parityFlags(Parity parity) {
    switch (parity) {
    case Parity::Even:
        return PARENB;
    case Parity::Odd:
        return PARENB | PARODD;
    case Parity::Mark: // a parity bit that is always 1 (stick parity)
        return PARENB | CMSPAR | PARODD;
    case Parity::Space:
        return PARENB | CMSPAR;
    case Parity::None:
        break;
    }
    return 0;
}

// Raw bytes (nothing translated, no flow control) at the line's rate and framing.
termios lineSettings(termios settings, const LineParameters& line) {
    ::cfmakeraw(&settings);
    settings.c_cflag |= CLOCAL; // the module's modem lines mean nothing
    settings.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    settings.c_cflag |= dataBitsFlag(line.dataBits) | parityFlags(line.parity);
    // termios has no 1.5 stop bits: one is used, and the line reported as refused.
    settings.c_cflag |= line.stopBits == StopBits::Two ? CSTOPB : 0;
    settings.c_iflag &= ~(IXON | IXOFF | IXANY | PARMRK | INPCK);
    settings.c_iflag |= IGNPAR;
    settings.c_cc[VMIN] = 0;
    settings.c_cc[VTIME] = 0;
    const speed_t speed = speedOf(line.baud);
    if (speed != B0) {
        ::cfsetospeed(&settings, speed);
        ::cfsetispeed(&settings, speed);
    }
    return settings;
}

// tcsetattr succeeds when any part of the settings was taken, so what the driver kept is read
// back: a pseudo-terminal, for one, keeps 8 data bits and no parity whatever it is asked.
bool sameLine(const termios& wanted, const termios& kept) {
    constexpr tcflag_t framing = CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS;
    return (wanted.c_cflag & framing) == (kept.c_cflag & framing) &&
           ::cfgetospeed(&wanted) == ::cfgetospeed(&kept) && (kept.c_iflag & (IXON | IXOFF)) == 0;
}

} // namespace

SerialError SystemSerialDevice::open(const std::string& path, const LineParameters& line) {
    close();
    if (const SerialError error = checkDevicePath(path); error != SerialError::None) {
        return error;
    }
    // Never the program's controlling terminal, and no wait for a modem's carrier.
    descriptor_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor_ < 0) {
        return openErrorOf(errno);
    }
    if (::tcgetattr(descriptor_, &found_) != 0) {
        const int error = errno;
        ::close(descriptor_);
        descriptor_ = -1;
        return error == ENOTTY || error == EINVAL ? SerialError::NotSerialDevice
                                                  : SerialError::OpenFailed;
    }
    // Held alone: any other open of the device, but by root, fails with EBUSY until close().
    ::ioctl(descriptor_, TIOCEXCL);
    const termios wanted = lineSettings(found_, line);
    termios kept{};
    const bool applied = ::tcsetattr(descriptor_, TCSANOW, &wanted) == 0 &&
                         ::tcgetattr(descriptor_, &kept) == 0 && sameLine(wanted, kept) &&
                         speedOf(line.baud) != B0 && line.stopBits != StopBits::OneAndHalf;
    return applied ? SerialError::None : SerialError::LineNotApplied;
}

DeviceWrite SystemSerialDevice::write(uint8_t byte) {
    for (;;) {
        if (::write(descriptor_, &byte, 1) == 1) {
            return DeviceWrite::Written;
        }
        if (errno != EINTR) {
            return errno == EAGAIN ? DeviceWrite::Busy : DeviceWrite::Failed;
        }
    }
}

bool SystemSerialDevice::outputPending() {
    int queued = 0;
    return ::ioctl(descriptor_, TIOCOUTQ, &queued) == 0 && queued > 0;
}

void SystemSerialDevice::discardOutput() {
    ::tcflush(descriptor_, TCOFLUSH);
}

bool SystemSerialDevice::hungUp() {
    pollfd watch{descriptor_, POLLIN, 0};
    if (descriptor_ < 0 || ::poll(&watch, 1, 0) <= 0) {
        return false;
    }
    return (watch.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

size_t SystemSerialDevice::read(uint8_t* into, size_t capacity) {
    if (descriptor_ < 0 || capacity == 0) {
        return 0;
    }
    for (;;) {
        const ssize_t count = ::read(descriptor_, into, capacity);
        if (count >= 0) {
            return static_cast<size_t>(count);
        }
        if (errno != EINTR) {
            return 0; // EAGAIN: nothing came; any other error shows as a hang-up
        }
    }
}

void SystemSerialDevice::discardInput() {
    if (descriptor_ >= 0) {
        ::tcflush(descriptor_, TCIFLUSH);
    }
}

void SystemSerialDevice::close() {
    if (descriptor_ < 0) {
        return;
    }
    // Closing a terminal waits for its queued bytes to drain: they are stale, dropped instead.
    ::tcflush(descriptor_, TCOFLUSH);
    ::tcsetattr(descriptor_, TCSANOW, &found_);
    ::ioctl(descriptor_, TIOCNXCL);
    ::close(descriptor_);
    descriptor_ = -1;
}

} // namespace quorel
