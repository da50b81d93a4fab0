#pragma once

#include <cstdint>
#include <string>
#include <termios.h>
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
    PseudoTerminal();
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    const std::string& slavePath() const { return slavePath_; }
    // Reads until count bytes have arrived or timeoutSeconds have passed.
    std::vector<ReceivedByte> read(size_t count, double timeoutSeconds);
    // Closes both sides: the module is unplugged, and the program's handle is hung up.
    void hangUp();
    // The line settings of the pair, as the program left them.
    termios lineSettings() const;
    // The module stops reading (XOFF), or reads again (XON): bytes written meanwhile cannot leave.
    void holdOutput(bool held);
    // Lets any user open the slave (for checks that run as "nobody").
    void openToEveryone() const;

  private:
    int master_ = -1;
    int heldSlave_ = -1;
    std::string slavePath_;
};

double monotonicNow();
double wallNow();

} // namespace quorel::test
