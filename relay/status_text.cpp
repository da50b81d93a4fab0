#include "relay/status_text.h"

namespace quorel {

std::string errorStatusText(int number) {
    const long long value = number;
    const long long magnitude = value < 0 ? -value : value;
    return std::string("Erreur n° ") + (value < 0 ? "-" : " ") + std::to_string(magnitude);
}

} // namespace quorel
