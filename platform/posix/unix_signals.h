#pragma once

#include <QObject>

class QSocketNotifier;

namespace quorel {

// Turns the signals that ask a program to end (SIGTERM, SIGINT, SIGHUP, SIGQUIT, SIGUSR1, SIGUSR2
// and SIGALRM: log-out, Ctrl-C, kill) into a Qt signal delivered on the event loop, so they run
// the ordinary shut-down instead of killing the program with its relays on. Any number of them,
// in any order, ask for that one shut-down. The first sets a deadline 3 seconds later on the
// monotonic clock and a timer for it: if the shut-down has not ended the program by then, the
// timer's SIGALRM ends it (exit status 1), which by then can only cut the saving short; a SIGALRM
// from outside before the deadline is one more request. SIGPIPE is ignored: a write to a closed
// pipe is a failed write, not the end of the program.
class UnixSignals final : public QObject {
    Q_OBJECT

  public:
    explicit UnixSignals(QObject* parent = nullptr);
    ~UnixSignals() override;

  signals:
    void terminationRequested();

  private:
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace quorel
