#pragma once

#include "core/form.h"
#include "relay/relay_panel.h"

#include <optional>
#include <windows.h>

namespace quorel {

// The colour of an indicator: bright green on, darker green off.
COLORREF indicatorColour(Indicator shown);

// The face of a relay test button that has switched its relay on.
COLORREF relayOnColour();

// The colours that warn of bells that will not ring: entries that can never fire, a day without
// bells.
COLORREF warningTextColour();
COLORREF warningBackgroundColour();

// The colours a control is filled with for a look: its background, and its text unless the
// system's; none for the system's own colours.
struct Fill {
    COLORREF background;
    std::optional<COLORREF> text;
    bool operator==(const Fill&) const = default;
};
std::optional<Fill> fillOf(Look look);

} // namespace quorel
