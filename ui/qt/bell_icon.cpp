#include "ui/qt/bell_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace quorel {

QIcon bellIcon() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);

    // The bell's body: a dome that flares out to a rim.
    QPainterPath body;
    body.moveTo(16, 4);
    body.cubicTo(23, 4, 24, 10, 24, 16);
    body.cubicTo(24, 21, 27, 23, 28, 25);
    body.lineTo(4, 25);
    body.cubicTo(5, 23, 8, 21, 8, 16);
    body.cubicTo(8, 10, 9, 4, 16, 4);
    painter.setPen(QPen(QColor(128, 80, 0), 1.5));
    painter.setBrush(QColor(240, 180, 0));
    painter.drawPath(body);

    // A highlight on the dome, the crown and the clapper.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 235, 150));
    painter.drawEllipse(QRectF(11, 8, 3, 9));
    painter.setBrush(QColor(128, 80, 0));
    painter.drawRect(QRectF(14.5, 1.5, 3, 3));
    painter.drawEllipse(QRectF(13, 25, 6, 5));
    return QIcon(pixmap);
}

} // namespace quorel
