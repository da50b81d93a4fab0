#pragma once

#include "relay/relay_panel.h"

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

// The frame drawn around an indicator and a coloured button.
COLORREF boxFrameColour();

} // namespace quorel
