#include "app/AppIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace tessellar::app {
namespace {

QPixmap drawIcon(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 64.0, size / 64.0);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x2f, 0x6f, 0xeb));
    painter.drawRoundedRect(QRectF(2, 2, 60, 60), 14, 14);
    QPen pen(Qt::white, 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    QPainterPath tray;
    tray.moveTo(12, 36);
    tray.lineTo(12, 50);
    tray.lineTo(52, 50);
    tray.lineTo(52, 36);
    painter.drawPath(tray);
    painter.drawLine(QPointF(32, 12), QPointF(32, 38));
    painter.drawLine(QPointF(23, 29), QPointF(32, 38));
    painter.drawLine(QPointF(41, 29), QPointF(32, 38));
    return pixmap;
}

} // namespace

QIcon appIcon() {
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64})
        icon.addPixmap(drawIcon(size));
    return icon;
}

} // namespace tessellar::app
