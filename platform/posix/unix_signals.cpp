#include "platform/posix/unix_signals.h"

#include <QSocketNotifier>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace quorel {

namespace {

int signalPipe[2] = {-1, -1};
volatile sig_atomic_t shutDownAsked = 0;

// A shut-down asked by the system must end within this time, even if something hangs in it.
constexpr unsigned kShutDownSeconds = 3;

constexpr int kEndingSignals[] = {SIGTERM, SIGINT, SIGHUP, SIGQUIT, SIGUSR1, SIGUSR2, SIGALRM};

void onSignal(int number) {
    // Only async-signal-safe work here.
    if (number == SIGALRM && shutDownAsked != 0) {
        static constexpr char kCutShort[] =
            "quorel : arrêt écourté après 3 secondes (réglages peut-être non enregistrés)\n";
        [[maybe_unused]] const ssize_t told =
            ::write(STDERR_FILENO, kCutShort, sizeof kCutShort - 1);
        ::_exit(1);
    }
    if (shutDownAsked == 0) {
        shutDownAsked = 1;
        ::alarm(kShutDownSeconds);
    }
    const char byte = 1;
    [[maybe_unused]] const ssize_t woken = ::write(signalPipe[0], &byte, 1);
}

} // namespace

UnixSignals::UnixSignals(QObject* parent) : QObject(parent) {
    ::signal(SIGPIPE, SIG_IGN);
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
    for (int signalNumber : kEndingSignals) {
        ::sigaction(signalNumber, &action, nullptr);
    }
}

UnixSignals::~UnixSignals() {
    for (int signalNumber : kEndingSignals) {
        ::signal(signalNumber, SIG_DFL);
    }
    delete notifier_;
    notifier_ = nullptr;
    ::close(signalPipe[0]);
    ::close(signalPipe[1]);
    signalPipe[0] = signalPipe[1] = -1;
}

} // namespace quorel
