#include "AppIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QRadialGradient>

namespace {

QPixmap DrawIcon(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;

    // Dark rounded key.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(20, 30, 70));
    painter.drawRoundedRect(QRectF(0.5, 0.5, s - 1, s - 1), s * 0.18, s * 0.18);

    // A white eighth note.
    painter.setBrush(Qt::white);
    painter.drawEllipse(QRectF(s * 0.18, s * 0.60, s * 0.30, s * 0.22));
    painter.drawRect(QRectF(s * 0.42, s * 0.18, s * 0.07, s * 0.55));
    QPainterPath flag;
    flag.moveTo(s * 0.49, s * 0.18);
    flag.cubicTo(s * 0.62, s * 0.26, s * 0.70, s * 0.34, s * 0.60, s * 0.48);
    flag.cubicTo(s * 0.62, s * 0.38, s * 0.56, s * 0.32, s * 0.49, s * 0.30);
    flag.closeSubpath();
    painter.drawPath(flag);

    // The red lamp in the corner.
    QRadialGradient glow(QPointF(s * 0.76, s * 0.74), s * 0.16);
    glow.setColorAt(0.0, QColor(255, 150, 150));
    glow.setColorAt(1.0, QColor(210, 0, 0));
    painter.setBrush(glow);
    painter.drawEllipse(QPointF(s * 0.76, s * 0.74), s * 0.14, s * 0.14);
    return pixmap;
}

}  // namespace

QIcon TonaluxIcon() {
    QIcon icon;
    for (int size : {16, 22, 32, 48, 64}) icon.addPixmap(DrawIcon(size));
    return icon;
}
