#include "platform/serial_device.h"

#include <cerrno>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

namespace quorel {

namespace {

int descriptor(DeviceHandle device) {
    return static_cast<int>(device);
}

} // namespace

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

DeviceWrite writeDeviceByte(DeviceHandle device, uint8_t byte) {
    for (;;) {
        if (::write(descriptor(device), &byte, 1) == 1) {
            return DeviceWrite::Written;
        }
        if (errno != EINTR) {
            return errno == EAGAIN ? DeviceWrite::Busy : DeviceWrite::Failed;
        }
    }
}

bool outputPending(DeviceHandle device) {
    int queued = 0;
    return ::ioctl(descriptor(device), TIOCOUTQ, &queued) == 0 && queued > 0;
}

void discardOutput(DeviceHandle device) {
    ::tcflush(descriptor(device), TCOFLUSH);
}

void discardInput(DeviceHandle device) {
    ::tcflush(descriptor(device), TCIFLUSH);
}

DeviceState deviceState(DeviceHandle device) {
    pollfd watch{descriptor(device), POLLIN, 0};
    if (::poll(&watch, 1, 0) <= 0) {
        return DeviceState::Quiet;
    }
    if ((watch.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) {
        return DeviceState::HungUp;
    }
    return (watch.revents & POLLIN) != 0 ? DeviceState::InputWaiting : DeviceState::Quiet;
}

void pauseBriefly() {
    const timespec step{0, 2'000'000};
    ::nanosleep(&step, nullptr);
}

} // namespace quorel
