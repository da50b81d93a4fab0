#include "tests/support/pseudo_terminal.h"

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace quorel::test {

namespace {

double secondsOf(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) + now.tv_nsec / 1e9;
}

} // namespace

double monotonicNow() {
    return secondsOf(CLOCK_MONOTONIC);
}

double wallNow() {
    return secondsOf(CLOCK_REALTIME);
}

PseudoTerminal::PseudoTerminal() {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
        throw std::runtime_error("cannot create a pseudo-terminal");
    }
    slavePath_ = ::ptsname(master_);
    heldSlave_ = ::open(slavePath_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (heldSlave_ < 0) {
        throw std::runtime_error("cannot open " + slavePath_);
    }
    // Raw, like the module's port: no byte is translated on its way to the master.
    termios raw{};
    ::tcgetattr(heldSlave_, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(heldSlave_, TCSANOW, &raw);
}

PseudoTerminal::~PseudoTerminal() {
    hangUp();
}

std::vector<ReceivedByte> PseudoTerminal::read(size_t count, double timeoutSeconds) {
    std::vector<ReceivedByte> received;
    const double deadline = monotonicNow() + timeoutSeconds;
    while (received.size() < count && master_ >= 0) {
        const double left = deadline - monotonicNow();
        if (left <= 0) {
            break;
        }
        pollfd watch{master_, POLLIN, 0};
        const int ready = ::poll(&watch, 1, static_cast<int>(left * 1000) + 1);
        if (ready < 0 && errno != EINTR) {
            break;
        }
        if (ready <= 0 || (watch.revents & POLLIN) == 0) {
            continue;
        }
        uint8_t bytes[64];
        const ssize_t n = ::read(master_, bytes, sizeof bytes);
        const double monotonic = monotonicNow();
        const double wall = wallNow();
        for (ssize_t i = 0; i < n; ++i) {
            received.push_back({bytes[i], monotonic, wall});
        }
    }
    return received;
}

void PseudoTerminal::hangUp() {
    if (heldSlave_ >= 0) {
        ::close(heldSlave_);
        heldSlave_ = -1;
    }
    if (master_ >= 0) {
        ::close(master_);
        master_ = -1;
    }
}

termios PseudoTerminal::lineSettings() const {
    termios settings{};
    ::tcgetattr(heldSlave_, &settings);
    return settings;
}

void PseudoTerminal::holdOutput(bool held) {
    // Software flow control stops the terminal's output: set on the line, then sent by the module.
    termios line = lineSettings();
    line.c_iflag |= IXON;
    ::tcsetattr(heldSlave_, TCSANOW, &line);
    const char control = held ? 0x13 : 0x11;
    [[maybe_unused]] const ssize_t ignored = ::write(master_, &control, 1);
    ::tcdrain(master_);
}

void PseudoTerminal::openToEveryone() const {
    ::chmod(slavePath_.c_str(), 0666);
}

} // namespace quorel::test
