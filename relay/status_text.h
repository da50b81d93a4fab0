#pragma once

#include <string>

namespace quorel {

// "Erreur n° " and the number with a sign position: a blank for zero and positive numbers, a
// minus sign for negative ones ("Erreur n°  8013").
std::string errorStatusText(int number);

inline constexpr const char* kPortClosedStatus = "Port COM Close OK !";

} // namespace quorel
