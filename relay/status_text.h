#pragma once

#include "relay/relay_panel.h"

#include <cstdint>
#include <string>

namespace quorel {

// "Erreur n° " and the number with a sign position: a blank for zero and positive numbers, a
// minus sign for negative ones ("Erreur n°  8013").
std::string errorStatusText(int number);

// "Init " + the option's caption + the line parameters + " Ok": the port is in service.
std::string inServiceStatusText(int16_t option, const std::string& setting);

// Puts an error on the status line: its text and its number.
void showErrorStatus(RelayPanel& panel, int number);
// Puts any other status on the status line: in service, closed, a notice.
void showPlainStatus(RelayPanel& panel, std::string text);

// The tool tip of the status line showing the error of this number: what it means and what to
// do about it; empty for an unknown number and for 0, no error.
std::string statusToolTip(int errorNumber);

inline constexpr const char* kPortClosedStatus = "Port COM Close OK !";

} // namespace quorel
