#include "platform/posix/system_clock.h"

#include <cerrno>
#include <cstdio>

namespace quorel {

const std::tm& SystemClock::localTimeNow(long* nanoseconds) {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    if (now.tv_sec != cachedSecond_) {
        localtime_r(&now.tv_sec, &cachedLocal_);
        cachedSecond_ = now.tv_sec;
        formatClockText();
    }
    if (nanoseconds != nullptr) {
        *nanoseconds = now.tv_nsec;
    }
    return cachedLocal_;
}

void SystemClock::formatClockText() {
    const std::tm& t = cachedLocal_;
    char* text = cachedText_.data();
    text[0] = static_cast<char>('0' + t.tm_hour / 10);
    text[1] = static_cast<char>('0' + t.tm_hour % 10);
    text[3] = static_cast<char>('0' + t.tm_min / 10);
    text[4] = static_cast<char>('0' + t.tm_min % 10);
    // A leap second (tm_sec 60) still shows two digits.
    text[6] = static_cast<char>('0' + t.tm_sec / 10);
    text[7] = static_cast<char>('0' + t.tm_sec % 10);
}

std::string SystemClock::clockText() {
    localTimeNow();
    return cachedText_;
}

float SystemClock::secondsSinceMidnight() {
    long nanoseconds = 0;
    const std::tm& t = localTimeNow(&nanoseconds);
    const double whole = t.tm_hour * 3600.0 + t.tm_min * 60.0 + t.tm_sec;
    return static_cast<float>(whole + nanoseconds / 1e9);
}

std::string SystemClock::secondsFieldText() {
    return clockText().substr(6, 2);
}

LocalDate SystemClock::localDate() {
    const std::tm& t = localTimeNow();
    return LocalDate{t.tm_year + 1900, t.tm_mon + 1, t.tm_mday};
}

LocalTimeStamp SystemClock::localTimeStamp() {
    long nanoseconds = 0;
    const std::tm& t = localTimeNow(&nanoseconds);
    const long milliseconds = nanoseconds / 1000000;
    std::string time = cachedText_ + ".000";
    time[9] = static_cast<char>('0' + milliseconds / 100);
    time[10] = static_cast<char>('0' + milliseconds / 10 % 10);
    time[11] = static_cast<char>('0' + milliseconds % 10);
    return LocalTimeStamp{LocalDate{t.tm_year + 1900, t.tm_mon + 1, t.tm_mday}, std::move(time)};
}

double SystemClock::monotonicSeconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) + now.tv_nsec / 1e9;
}

double SystemClock::sinceBootSeconds() {
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return static_cast<double>(now.tv_sec) + now.tv_nsec / 1e9;
}

int64_t SystemClock::wallMicroseconds() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<int64_t>(now.tv_sec) * 1'000'000 + now.tv_nsec / 1000;
}

int SystemClock::utcOffsetSeconds() {
    return static_cast<int>(localTimeNow().tm_gmtoff);
}

void SystemClock::pause(double seconds) {
    if (seconds <= 0) {
        return;
    }
    timespec deadline{};
    clock_gettime(CLOCK_MONOTONIC, &deadline);
    const long long total = deadline.tv_nsec + static_cast<long long>(seconds * 1e9);
    deadline.tv_sec += static_cast<time_t>(total / 1000000000LL);
    deadline.tv_nsec = static_cast<long>(total % 1000000000LL);
    // An absolute deadline makes a signal that interrupts the sleep harmless: sleep again.
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr) == EINTR) {
    }
}

} // namespace quorel
