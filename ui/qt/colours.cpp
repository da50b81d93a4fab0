#include "ui/qt/colours.h"

#include "relay/relay_panel.h"

namespace quorel {

QColor colourFromValue(uint32_t value) {
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

QString buttonStyleSheet(uint32_t value) {
    if (value == kButtonFaceColour) {
        return QString();
    }
    // Under Fusion a palette colour is drawn as a tinted gradient; a style sheet draws it flat.
    return QStringLiteral("background-color: %1; border: 1px solid gray;")
        .arg(colourFromValue(value).name());
}

QColor warningTextColour() {
    return QColor(180, 0, 0);
}

QColor warningBackgroundColour() {
    return QColor(255, 235, 200);
}

QString warningStyleSheet() {
    return QStringLiteral("color: %1; background-color: %2;")
        .arg(warningTextColour().name(), warningBackgroundColour().name());
}

QString boxStyleSheet(uint32_t value) {
    return QStringLiteral("background-color: %1; border: 1px solid #404040;")
        .arg(colourFromValue(value).name());
}

} // namespace quorel
