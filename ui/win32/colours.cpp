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

COLORREF boxFrameColour() {
    return RGB(0x40, 0x40, 0x40);
}

} // namespace quorel
