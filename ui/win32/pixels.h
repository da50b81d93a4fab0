#pragma once

#include "core/control_description.h"

#include <windows.h>

namespace quorel {

// The DPI Windows draws at without scaling: 15 twips to a pixel.
inline constexpr int kBaseDpi = 96;

// A length in twips as pixels at dpi, rounded to the nearest.
inline int pixels(int twips, int dpi) {
    return ::MulDiv(twips, dpi, 1440);
}

// A pixel length at dpi in twips.
inline double twipsOf(int pixelLength, int dpi) {
    return pixelLength * 1440.0 / dpi;
}

// The DPI a window is drawn at: its monitor's under per-monitor awareness, where the system
// tells it (Windows 10 1607 and later), otherwise 96.
int windowDpi(HWND window);

} // namespace quorel
