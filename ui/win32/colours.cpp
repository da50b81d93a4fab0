#include "ui/win32/colours.h"

namespace quorel {

COLORREF indicatorColour(Indicator shown) {
    return shown == Indicator::On ? RGB(0x00, 0xFF, 0x00) : RGB(0x00, 0xC0, 0x00);
}

COLORREF relayOnColour() {
    return RGB(0xFF, 0x80, 0x80);
}

COLORREF warningTextColour() {
    return RGB(180, 0, 0);
}

COLORREF warningBackgroundColour() {
    return RGB(255, 235, 200);
}

std::optional<Fill> fillOf(Look look) {
    switch (look) {
    case Look::Warning:
        return Fill{warningBackgroundColour(), warningTextColour()};
    case Look::IndicatorOff:
        return Fill{indicatorColour(Indicator::Off), {}};
    case Look::IndicatorOn:
        return Fill{indicatorColour(Indicator::On), {}};
    case Look::RelayOn:
        return Fill{relayOnColour(), {}};
    case Look::Greyed:
        return Fill{::GetSysColor(COLOR_BTNFACE), ::GetSysColor(COLOR_GRAYTEXT)};
    case Look::Plain:
        break;
    }
    return std::nullopt;
}

} // namespace quorel
