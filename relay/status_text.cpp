#include "relay/status_text.h"

#include "relay/relay_panel.h"

namespace quorel {

std::string errorStatusText(int number) {
    const long long value = number;
    const long long magnitude = value < 0 ? -value : value;
    return std::string("Erreur n° ") + (value < 0 ? "-" : " ") + std::to_string(magnitude);
}

std::string inServiceStatusText(int16_t option, const std::string& setting) {
    return std::string("Init ") + kPortComCaptions.at(static_cast<size_t>(option)) + setting +
           " Ok";
}

} // namespace quorel
