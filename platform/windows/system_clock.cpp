#include "platform/windows/system_clock.h"

#include <windows.h>

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

namespace quorel {

namespace {

SYSTEMTIME localNow() {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    return now;
}

void putTwoDigits(char* text, int value) {
    text[0] = static_cast<char>('0' + value / 10);
    text[1] = static_cast<char>('0' + value % 10);
}

std::string clockTextOf(const SYSTEMTIME& t) {
    std::string text = "00:00:00";
    putTwoDigits(&text[0], t.wHour);
    putTwoDigits(&text[3], t.wMinute);
    putTwoDigits(&text[6], t.wSecond);
    return text;
}

LocalDate dateOf(const SYSTEMTIME& t) {
    return LocalDate{t.wYear, t.wMonth, t.wDay};
}

} // namespace

std::string SystemClock::clockText() {
    return clockTextOf(localNow());
}

float SystemClock::secondsSinceMidnight() {
    const SYSTEMTIME t = localNow();
    return static_cast<float>(t.wHour * 3600.0 + t.wMinute * 60.0 + t.wSecond +
                              t.wMilliseconds / 1000.0);
}

std::string SystemClock::secondsFieldText() {
    return clockText().substr(6, 2);
}

LocalDate SystemClock::localDate() {
    return dateOf(localNow());
}

LocalTimeStamp SystemClock::localTimeStamp() {
    const SYSTEMTIME t = localNow();
    std::string time = clockTextOf(t) + ".000";
    time[9] = static_cast<char>('0' + t.wMilliseconds / 100);
    putTwoDigits(&time[10], t.wMilliseconds % 100);
    return LocalTimeStamp{dateOf(t), std::move(time)};
}

double SystemClock::monotonicSeconds() {
    LARGE_INTEGER frequency{};
    LARGE_INTEGER counter{};
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

int64_t SystemClock::wallMicroseconds() {
    FILETIME now{};
    ::GetSystemTimePreciseAsFileTime(&now);
    // Tenths of a microsecond since 1601-01-01, 11644473600 s before the Unix epoch.
    const int64_t ticks = (static_cast<int64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return (ticks - 116'444'736'000'000'000) / 10;
}

int SystemClock::utcOffsetSeconds() {
    TIME_ZONE_INFORMATION zone{};
    // The biases are minutes to add to the local time for UTC.
    LONG bias = 0;
    switch (::GetTimeZoneInformation(&zone)) {
    case TIME_ZONE_ID_DAYLIGHT:
        bias = zone.Bias + zone.DaylightBias;
        break;
    case TIME_ZONE_ID_STANDARD:
        bias = zone.Bias + zone.StandardBias;
        break;
    case TIME_ZONE_ID_UNKNOWN:
        bias = zone.Bias;
        break;
    default:
        return 0;
    }
    return static_cast<int>(-bias * 60);
}

void SystemClock::pause(double seconds) {
    if (seconds <= 0) {
        return;
    }
    // A high-resolution waitable timer ends the wait to the millisecond; Sleep alone rounds up to
    // the system's tick (often 15.6 ms). Systems without one fall back to Sleep.
    const HANDLE timer = ::CreateWaitableTimerExW(
        nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, TIMER_ALL_ACCESS);
    if (timer != nullptr) {
        LARGE_INTEGER due{};
        due.QuadPart = -static_cast<LONGLONG>(seconds * 1e7); // relative, in 100 ns
        if (::SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE) != 0) {
            ::WaitForSingleObject(timer, INFINITE);
            ::CloseHandle(timer);
            return;
        }
        ::CloseHandle(timer);
    }
    const double deadline = monotonicSeconds() + seconds;
    for (double left = seconds; left > 0; left = deadline - monotonicSeconds()) {
        ::Sleep(static_cast<DWORD>(left * 1000) + 1);
    }
}

} // namespace quorel
