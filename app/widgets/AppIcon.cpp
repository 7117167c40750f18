#include "AppIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QRadialGradient>

// Drawn on an image rather than a pixmap, so that the icon can also be drawn
// without a window system (the build writes the PNG files this way).
QImage DrawTonaluxIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
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
    painter.end();
    return image;
}

QIcon TonaluxIcon() {
    QIcon icon;
    for (int size : kIconSizes) icon.addPixmap(QPixmap::fromImage(DrawTonaluxIcon(size)));
    return icon;
}
