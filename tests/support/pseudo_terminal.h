#pragma once

#include "tests/support/clock_seconds.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace quorel::test {

struct ReceivedByte {
    uint8_t byte;
    double monotonic; // CLOCK_MONOTONIC seconds when it was read at the master side
    double wall;      // CLOCK_REALTIME seconds since the epoch, same moment
};

// A pseudo-terminal pair standing in for the relay module: the program opens the slave path as
// its serial port, the test reads what arrives at the master side. The slave is also held open
// here, so that the program closing and reopening its port does not hang the pair up.
class PseudoTerminal {
  public:
    PseudoTerminal() {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
            throw std::runtime_error("cannot create a pseudo-terminal");
        }
        slavePath_ = ::ptsname(master_);
        heldSlave_ = ::open(slavePath_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        // Raw, like the module's port: no byte is translated on its way to the master.
        termios raw = lineSettings();
        ::cfmakeraw(&raw);
        ::tcsetattr(heldSlave_, TCSANOW, &raw);
    }
    ~PseudoTerminal() { hangUp(); }
    PseudoTerminal(const PseudoTerminal&) = delete;

    const std::string& slavePath() const { return slavePath_; }
    // Reads until count bytes have arrived or timeoutSeconds have passed.
    std::vector<ReceivedByte> read(size_t count, double timeoutSeconds) {
        std::vector<ReceivedByte> received;
        const double deadline = monotonicNow() + timeoutSeconds;
        for (double left; received.size() < count && (left = deadline - monotonicNow()) > 0;) {
            pollfd watch{master_, POLLIN, 0};
            uint8_t bytes[64];
            const ssize_t n = ::poll(&watch, 1, static_cast<int>(left * 1000) + 1) > 0
                                  ? ::read(master_, bytes, sizeof bytes)
                                  : 0;
            for (ssize_t i = 0; i < n; ++i) {
                received.push_back({bytes[i], monotonicNow(), wallNow()});
            }
        }
        return received;
    }
    // Closes both sides: the module is unplugged, and the program's handle is hung up.
    void hangUp() {
        ::close(heldSlave_);
        ::close(master_);
        heldSlave_ = master_ = -1;
    }
    // The line settings of the pair, as the program left them.
    termios lineSettings() const {
        termios settings{};
        ::tcgetattr(heldSlave_, &settings);
        return settings;
    }
    // The module stops reading (XOFF), or reads again (XON): bytes written meanwhile cannot leave.
    void holdOutput(bool held) {
        termios line = lineSettings();
        line.c_iflag |= IXON;
        ::tcsetattr(heldSlave_, TCSANOW, &line);
        const char control = held ? 0x13 : 0x11;
        [[maybe_unused]] const ssize_t sent = ::write(master_, &control, 1);
        ::tcdrain(master_);
        // The slave side acts on the control byte a moment later, in the kernel's own time.
        ::usleep(20'000);
    }
    // The module sends bytes to the program, as an answer to a query.
    void send(const std::vector<uint8_t>& bytes) {
        [[maybe_unused]] const ssize_t sent = ::write(master_, bytes.data(), bytes.size());
        ::tcdrain(master_);
    }
    // Lets any user open the slave (for checks that run as "nobody").
    void openToEveryone() const { ::chmod(slavePath_.c_str(), 0666); }

  private:
    int master_ = -1;
    int heldSlave_ = -1;
    std::string slavePath_;
};

} // namespace quorel::test
