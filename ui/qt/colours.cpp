#include "ui/qt/colours.h"

namespace quorel {

QColor indicatorColour(Indicator shown) {
    return shown == Indicator::On ? QColor(0x00, 0xFF, 0x00) : QColor(0x00, 0xC0, 0x00);
}

QString buttonStyleSheet(TestButton shown) {
    if (shown == TestButton::Face) {
        return QString();
    }
    // Under Fusion a palette colour is drawn as a tinted gradient; a style sheet draws it flat.
    return QStringLiteral("background-color: %1; border: 1px solid gray;")
        .arg(QColor(0xFF, 0x80, 0x80).name());
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

QString boxStyleSheet(Indicator shown) {
    return QStringLiteral("background-color: %1; border: 1px solid #404040;")
        .arg(indicatorColour(shown).name());
}

} // namespace quorel
