#pragma once

#include "core/form.h"
#include "relay/relay_panel.h"

#include <QColor>
#include <QString>

namespace quorel {

// The colours that warn of bells that will not ring: entries that can never fire, a day without
// bells.
QColor warningTextColour();
QColor warningBackgroundColour();

// The style sheet that shows a label, colour box or push button in a look; empty for Plain, the
// style's own colours.
QString lookStyleSheet(Look look);

inline QString boxStyleSheet(Indicator shown) {
    return lookStyleSheet(shown == Indicator::On ? Look::IndicatorOn : Look::IndicatorOff);
}
inline QString buttonStyleSheet(TestButton shown) {
    return lookStyleSheet(shown == TestButton::RelayOn ? Look::RelayOn : Look::Plain);
}
inline QString warningStyleSheet() {
    return lookStyleSheet(Look::Warning);
}

} // namespace quorel
