#include "platform/posix/unix_signals.h"

#include <QSocketNotifier>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace quorel {

namespace {

int signalPipe[2] = {-1, -1};

// A shut-down asked by the system must end within this time, even if something hangs in it.
constexpr unsigned kShutDownSeconds = 3;

void onSignal(int) {
    const char byte = 1;
    // Only async-signal-safe work here: a byte that wakes the event loop, and the alarm whose
    // default action ends the process if the ordinary shut-down has not done so in time.
    [[maybe_unused]] const ssize_t ignored = ::write(signalPipe[0], &byte, 1);
    ::alarm(kShutDownSeconds);
}

} // namespace

UnixSignals::UnixSignals(QObject* parent) : QObject(parent) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0) {
        return;
    }
    notifier_ = new QSocketNotifier(signalPipe[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        char byte = 0;
        [[maybe_unused]] const ssize_t ignored = ::read(signalPipe[1], &byte, 1);
        emit terminationRequested();
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
        ::sigaction(signalNumber, &action, nullptr);
    }
    ::signal(SIGALRM, SIG_DFL);
}

UnixSignals::~UnixSignals() {
    for (int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
        ::signal(signalNumber, SIG_DFL);
    }
    delete notifier_;
    notifier_ = nullptr;
    ::close(signalPipe[0]);
    ::close(signalPipe[1]);
    signalPipe[0] = signalPipe[1] = -1;
}

} // namespace quorel
