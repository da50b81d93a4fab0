#pragma once

#include <cstdint>
#include <string>

namespace quorel {

// "Erreur n° " and the number with a sign position: a blank for zero and positive numbers, a
// minus sign for negative ones ("Erreur n°  8013").
std::string errorStatusText(int number);

// "Init " + the option's caption + the line parameters + " Ok": the port is in service.
std::string inServiceStatusText(int16_t option, const std::string& setting);

// The tool tip of the status line: for an error, what its number means and what to do about it;
// empty for any other status.
std::string statusToolTip(const std::string& status);

inline constexpr const char* kPortClosedStatus = "Port COM Close OK !";

} // namespace quorel
