#pragma once

#include <cstdint>
#include <string>

namespace quorel {

// The day file of a DayIndex (0 = Lundi to 6 = Dimanche): the prefix, ".", then the plain decimal
// text of the day number.
inline std::string dayFilePath(const std::string& dayFilePrefix, int16_t day) {
    return dayFilePrefix + "." + std::to_string(day);
}

} // namespace quorel
