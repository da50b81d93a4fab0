#include "ui/qt/colours.h"

namespace quorel {

namespace {

// Bright green on, darker green off, in a dark frame.
QString indicatorStyleSheet(const QColor& colour) {
    return QStringLiteral("background-color: %1; border: 1px solid #404040;").arg(colour.name());
}

} // namespace

QColor warningTextColour() {
    return QColor(180, 0, 0);
}

QColor warningBackgroundColour() {
    return QColor(255, 235, 200);
}

QString lookStyleSheet(Look look) {
    switch (look) {
    case Look::Plain:
        break;
    case Look::Greyed:
        return QStringLiteral("color: gray;");
    case Look::Warning:
        return QStringLiteral("color: %1; background-color: %2;")
            .arg(warningTextColour().name(), warningBackgroundColour().name());
    case Look::IndicatorOff:
        return indicatorStyleSheet(QColor(0x00, 0xC0, 0x00));
    case Look::IndicatorOn:
        return indicatorStyleSheet(QColor(0x00, 0xFF, 0x00));
    case Look::RelayOn:
        // Under Fusion a palette colour is drawn as a tinted gradient; a style sheet draws it
        // flat.
        return QStringLiteral("background-color: %1; border: 1px solid gray;")
            .arg(QColor(0xFF, 0x80, 0x80).name());
    }
    return QString();
}

} // namespace quorel
