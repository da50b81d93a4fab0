#include "schedule/format_elapsed.h"

#include <cmath>
#include <cstdio>

namespace quorel {

std::string FormatElapsed(double seconds) {
    const double whole = std::floor(seconds);
    // NaN and infinity cannot be shown as minutes and seconds either.
    if (!(whole > 0) || !std::isfinite(whole)) {
        return "--:--";
    }
    // Minutes keep only their last two digits, as the label has room for two.
    const int minutes = static_cast<int>(std::fmod(std::floor(whole / 60), 100));
    const int secs = static_cast<int>(std::fmod(whole, 60));
    char text[8];
    std::snprintf(text, sizeof text, "%02d:%02d", minutes, secs);
    return text;
}

} // namespace quorel
