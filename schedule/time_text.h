#pragma once

#include <string>

namespace quorel {

// Whether a time text can ever match the clock: exactly "hh:mm:ss", a valid 24-hour time.
bool isClockTimeText(const std::string& text);

} // namespace quorel
