#pragma once

#include <QRect>
#include <cmath>

namespace quorel {

// Design places and sizes are in twips, 15 to a pixel.
inline int px(int twips) {
    return static_cast<int>(std::lround(twips / 15.0));
}

inline int twips(int pixels) {
    return pixels * 15;
}

inline QRect twipsRect(int left, int top, int width, int height) {
    return QRect(px(left), px(top), px(width), px(height));
}

} // namespace quorel
