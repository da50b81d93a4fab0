#pragma once

#include <cstdint>
#include <optional>

namespace quorel {

// Window lengths are kept in twips: 1/1440 inch, 15 twips to a pixel at 96 dots per inch.
inline constexpr double kTwipsPerPixel = 15.0;

struct TwipsSize {
    double width = 0;
    double height = 0;
};

struct TwipsPoint {
    double left = 0;
    double top = 0;
};

// The window's place in the middle of the screen; negative when the window is larger.
TwipsPoint CenterWindow(TwipsSize screen, TwipsSize window);

// The resize rule: a window in the normal state (neither minimised nor maximised) whose outer
// size differs from the size recorded at start-up goes back to that size. nullopt: leave it.
std::optional<TwipsSize> sizeAfterResize(bool normalState, TwipsSize current, int32_t InitialWidth,
                                         int32_t InitialHeight);

} // namespace quorel
