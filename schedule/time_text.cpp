#include "schedule/time_text.h"

namespace quorel {

namespace {

// The value of two decimal digits at text[at], or -1 when they are not both digits.
int twoDigits(const std::string& text, size_t at) {
    const char high = text[at];
    const char low = text[at + 1];
    if (high < '0' || high > '9' || low < '0' || low > '9') {
        return -1;
    }
    return (high - '0') * 10 + (low - '0');
}

} // namespace

bool isClockTimeText(const std::string& text) {
    return clockSecondOfDay(text).has_value();
}

std::optional<int> clockSecondOfDay(const std::string& text) {
    if (text.size() != 8 || text[2] != ':' || text[5] != ':') {
        return std::nullopt;
    }
    const int hours = twoDigits(text, 0);
    const int minutes = twoDigits(text, 3);
    const int seconds = twoDigits(text, 6);
    if (hours < 0 || hours > 23 || minutes < 0 || minutes > 59 || seconds < 0 || seconds > 59) {
        return std::nullopt;
    }
    return hours * 3600 + minutes * 60 + seconds;
}

} // namespace quorel
