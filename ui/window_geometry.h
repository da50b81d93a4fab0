#pragma once

#include "ui/window_rules.h"

namespace quorel {

// What the start-up needs of the window to size and place it.
class WindowGeometry {
  public:
    virtual ~WindowGeometry() = default;
    virtual TwipsSize outerSize() = 0;
    virtual TwipsSize screenSize() = 0;
    virtual void moveTo(TwipsPoint position) = 0;
};

} // namespace quorel
