#pragma once

#include "core/form.h"

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

} // namespace quorel
