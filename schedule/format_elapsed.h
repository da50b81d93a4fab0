#pragma once

#include <string>

namespace quorel {

// The elapsed-time text of an output: "--:--" below one whole second, otherwise "mm:ss" with the
// minutes shown by their last two digits.
std::string FormatElapsed(double seconds);

} // namespace quorel
