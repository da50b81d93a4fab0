#include "platform/posix/ending_signals.h"

#include "platform/posix/monotonic_nanoseconds.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <ctime>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

namespace quorel {

namespace {

// A socket pair: the handler writes to [0], the event loop reads [1].
int signalPipe[2] = {-1, -1};

// A shut-down asked by the system must end within this time, even if something hangs in it.
constexpr unsigned kShutDownSeconds = 3;

// Where the shut-down stands: none asked, its deadline being set, or deadline set. The signals
// may run their handler at the same time in several threads; only the first to move from
// kNoShutDown sets the deadline, and shutDownDeadline is read only once kDeadlineSet is seen.
enum ShutDownState : int { kNoShutDown, kSettingDeadline, kDeadlineSet };
std::atomic<int> shutDownState{kNoShutDown};
static_assert(std::atomic<int>::is_always_lock_free, "used in a signal handler");
// CLOCK_MONOTONIC nanoseconds at which the shut-down is cut short.
std::int64_t shutDownDeadline = 0;

constexpr int kEndingSignals[] = {SIGTERM, SIGINT, SIGHUP, SIGQUIT, SIGUSR1, SIGUSR2, SIGALRM};

// Sets the process's real-time timer (the one behind SIGALRM) to go off in `nanoseconds`,
// rounded up to the timer's microseconds so that it never goes off before the deadline.
void setAlarmIn(std::int64_t nanoseconds) {
    const std::int64_t microseconds = nanoseconds / 1000 + 1;
    itimerval timer{};
    timer.it_value.tv_sec = static_cast<time_t>(microseconds / 1000000);
    timer.it_value.tv_usec = static_cast<suseconds_t>(microseconds % 1000000);
    ::setitimer(ITIMER_REAL, &timer, nullptr);
}

// A SIGALRM after the shut-down was asked: it ends the program only once the deadline has come.
// A SIGALRM sent from outside (a session that ends sends any of these signals) can come at any
// time, and even a forged si_code would not make it the timer's, so the clock decides. Before the
// deadline, with the timer still running, it is one more request for the shut-down under way;
// with the timer spent (gone off early), the timer is set again for what remains.
void onAlarmDuringShutDown() {
    const std::int64_t remaining = shutDownDeadline - monotonicNanoseconds();
    if (remaining <= 0) {
        static constexpr char kCutShort[] =
            "quorel : arrêt écourté après 3 secondes (réglages peut-être non enregistrés)\n";
        [[maybe_unused]] const ssize_t told =
            ::write(STDERR_FILENO, kCutShort, sizeof kCutShort - 1);
        ::_exit(1);
    }
    itimerval timer{};
    if (::getitimer(ITIMER_REAL, &timer) == 0 && timer.it_value.tv_sec == 0 &&
        timer.it_value.tv_usec == 0) {
        setAlarmIn(remaining);
    }
}

// Every ending signal asks for the one shut-down; the first also sets its deadline and the timer
// that will end the program then. Only async-signal-safe work here (getitimer and setitimer are
// plain system calls on Linux).
void onSignal(int number) {
    const int savedErrno = errno;
    int state = kNoShutDown;
    if (shutDownState.compare_exchange_strong(state, kSettingDeadline)) {
        const std::int64_t period = std::int64_t{kShutDownSeconds} * kNanosecondsPerSecond;
        shutDownDeadline = monotonicNanoseconds() + period;
        setAlarmIn(period);
        shutDownState.store(kDeadlineSet);
    } else if (number == SIGALRM && state == kDeadlineSet) {
        onAlarmDuringShutDown();
    }
    const char byte = 1;
    [[maybe_unused]] const ssize_t woken = ::write(signalPipe[0], &byte, 1);
    errno = savedErrno;
}

} // namespace

// Both ends never block: the handler's write (a full pipe already holds a request) and take().
EndingSignalPipe::EndingSignalPipe() {
    ::signal(SIGPIPE, SIG_IGN);
    if (signalPipe[1] >= 0) {
        return; // another one lives
    }
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, signalPipe) != 0) {
        signalPipe[0] = signalPipe[1] = -1;
        return;
    }
    owner_ = true;
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signalNumber : kEndingSignals) {
        ::sigaction(signalNumber, &action, nullptr);
    }
}

EndingSignalPipe::~EndingSignalPipe() {
    if (!owner_) {
        return;
    }
    for (int signalNumber : kEndingSignals) {
        ::signal(signalNumber, SIG_DFL);
    }
    ::close(signalPipe[0]);
    ::close(signalPipe[1]);
    signalPipe[0] = signalPipe[1] = -1;
}

int EndingSignalPipe::readEnd() const {
    return owner_ ? signalPipe[1] : -1;
}

size_t EndingSignalPipe::take(size_t most) {
    char bytes[64];
    size_t taken = 0;
    while (taken < most && owner_) {
        const size_t wanted = most - taken < sizeof bytes ? most - taken : sizeof bytes;
        const ssize_t got = ::read(signalPipe[1], bytes, wanted);
        if (got <= 0) {
            break;
        }
        taken += static_cast<size_t>(got);
    }
    return taken;
}

} // namespace quorel
