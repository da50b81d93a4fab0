#pragma once

#include <QColor>
#include <QString>
#include <cstdint>

namespace quorel {

// A toolkit colour value (bytes blue-green-red) as a colour.
QColor colourFromValue(uint32_t value);

// The style sheet that shows a push button in a colour value: the style's own button face for
// the system colour &H8000000F, otherwise a flat background of that colour.
QString buttonStyleSheet(uint32_t value);

// The style sheet of a coloured indicator box.
QString boxStyleSheet(uint32_t value);

// The colours that warn of bells that will not ring: entries that can never fire, a day without
// bells.
QColor warningTextColour();
QColor warningBackgroundColour();
QString warningStyleSheet();

} // namespace quorel
