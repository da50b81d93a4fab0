#pragma once

#include <string>

namespace quorel {

// Whether the output field passes the check of "Ajouter" (upper bound 2) or "Replacer" (4).
bool outputFieldAccepted(const std::string& text, int upperBound);

} // namespace quorel
