#include "LedLamp.h"

#include <QLinearGradient>
#include <QPainter>

LedLamp::LedLamp(QWidget* parent, QColor color) : QWidget(parent), color_(color) {
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void LedLamp::SetLit(bool lit) {
    if (lit_ == lit) return;
    lit_ = lit;
    if (isVisible()) repaint();
}

void LedLamp::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5);
    const qreal radius = area.height() / 2.5;

    // Unlit, the lamp keeps a dim shade of its colour.
    const QColor face = lit_ ? color_ : color_.darker(420);
    QLinearGradient shade(area.topLeft(), area.bottomLeft());
    shade.setColorAt(0.0, lit_ ? face.lighter(160) : face.lighter(130));
    shade.setColorAt(0.45, face);
    shade.setColorAt(1.0, face.darker(lit_ ? 140 : 120));
    painter.setPen(QPen(QColor(60, 60, 60), 1.5));
    painter.setBrush(shade);
    painter.drawRoundedRect(area, radius, radius);

    // A highlight along the top edge gives the lamp its glass look.
    QRectF gloss = area.adjusted(area.height() * 0.3, 2, -area.height() * 0.3, -area.height() * 0.55);
    QColor glossColour(255, 255, 255, lit_ ? 110 : 40);
    painter.setPen(Qt::NoPen);
    painter.setBrush(glossColour);
    painter.drawRoundedRect(gloss, gloss.height() / 2, gloss.height() / 2);
}
