#pragma once

#include <cstddef>

namespace quorel {

// Catches the signals that ask a program to end (SIGTERM, SIGINT, SIGHUP, SIGQUIT, SIGUSR1,
// SIGUSR2 and SIGALRM: log-out, Ctrl-C, kill) and writes a byte to a pipe for each, for the
// event loop to run the ordinary shut-down instead of the program being killed with its relays
// on. Any number of them, in any order, ask for that one shut-down. The first sets a deadline 3
// seconds later on the monotonic clock and a timer for it: if the shut-down has not ended the
// program by then, the timer's SIGALRM ends it (exit status 1), which by then can only cut the
// saving short; a SIGALRM from outside before the deadline is one more request. SIGPIPE is
// ignored: a write to a closed pipe is a failed write, not the end of the program. One per
// process: a second one made while the first lives has no pipe. Destroyed, it gives the signals
// their default action back.
class EndingSignalPipe {
  public:
    EndingSignalPipe();
    ~EndingSignalPipe();
    EndingSignalPipe(const EndingSignalPipe&) = delete;
    EndingSignalPipe& operator=(const EndingSignalPipe&) = delete;

    // The end to watch for reading; -1 when the pipe could not be made (the signals then keep
    // their default action) or another one lives.
    int readEnd() const;
    // Takes at most `most` of the bytes waiting, without waiting for any; returns how many.
    size_t take(size_t most);

  private:
    bool owner_ = false;
};

} // namespace quorel
