#include "ui/window_rules.h"

#include <cmath>

namespace quorel {

TwipsPoint CenterWindow(TwipsSize screen, TwipsSize window) {
    return TwipsPoint{(screen.width - window.width) / 2, (screen.height - window.height) / 2};
}

std::optional<TwipsSize> sizeAfterResize(bool normalState, TwipsSize current, int32_t InitialWidth,
                                         int32_t InitialHeight) {
    if (!normalState) {
        return std::nullopt;
    }
    // Pixel sizes converted to twips carry fractions; a difference below one pixel is no resize.
    if (std::abs(current.width - InitialWidth) < kTwipsPerPixel &&
        std::abs(current.height - InitialHeight) < kTwipsPerPixel) {
        return std::nullopt;
    }
    return TwipsSize{static_cast<double>(InitialWidth), static_cast<double>(InitialHeight)};
}

} // namespace quorel
