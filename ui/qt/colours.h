#pragma once

#include "relay/relay_panel.h"

#include <QColor>
#include <QString>

namespace quorel {

// The colour of an indicator: bright green on, darker green off.
QColor indicatorColour(Indicator shown);

// The style sheet that shows a relay test button: the style's own button face, or a flat light
// red background while the button has switched its relay on.
QString buttonStyleSheet(TestButton shown);

// The style sheet of a coloured indicator box.
QString boxStyleSheet(Indicator shown);

// The colours that warn of bells that will not ring: entries that can never fire, a day without
// bells.
QColor warningTextColour();
QColor warningBackgroundColour();
QString warningStyleSheet();

} // namespace quorel
