#pragma once

#include <optional>
#include <string>

namespace quorel {

// Whether a time text can ever match the clock: exactly "hh:mm:ss", a valid 24-hour time.
bool isClockTimeText(const std::string& text);
// The second of the day a clock time text names, 0 to 86399; nullopt for any other text.
std::optional<int> clockSecondOfDay(const std::string& text);

} // namespace quorel
