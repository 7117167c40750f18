#include "LedNumber.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <array>
#include <cstdlib>
#include <string>

namespace {

// Segments a to g of the digits 0 to 9, one bit each (a = bit 0).
constexpr std::array<unsigned, 10> kDigitSegments{
    0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F,
};
constexpr unsigned kMinusSegments = 0x40;

const QColor kLit(255, 40, 40);
const QColor kUnlit(60, 0, 0);

// Draws the seven segments of one digit cell; `lit` selects which shine.
void DrawDigit(QPainter& painter, const QRectF& cell, unsigned lit) {
    const qreal t = std::max<qreal>(2.0, cell.width() / 5.0);  // segment thickness
    const qreal x0 = cell.left(), x1 = cell.right() - t;
    const qreal y0 = cell.top(), ym = cell.center().y() - t / 2, y1 = cell.bottom() - t;
    const qreal w = cell.width() - 2 * t, hUpper = ym - y0 - t, hLower = y1 - ym - t;
    const std::array<QRectF, 7> segments{{
        {x0 + t, y0, w, t},            // a
        {x1, y0 + t, t, hUpper},       // b
        {x1, ym + t, t, hLower},       // c
        {x0 + t, y1, w, t},            // d
        {x0, ym + t, t, hLower},       // e
        {x0, y0 + t, t, hUpper},       // f
        {x0 + t, ym, w, t},            // g
    }};
    for (std::size_t s = 0; s < segments.size(); ++s)
        painter.fillRect(segments[s].adjusted(0.5, 0.5, -0.5, -0.5), (lit >> s) & 1U ? kLit : kUnlit);
}

}  // namespace

LedNumber::LedNumber(int digits, QWidget* parent) : QFrame(parent), digits_(digits) {
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
    setLineWidth(1);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
}

void LedNumber::display(int value) {
    if (value_ == value) return;
    value_ = value;
    update();
}

void LedNumber::paintEvent(QPaintEvent* event) {
    {
        QPainter painter(this);
        const QRect inside = contentsRect();
        painter.fillRect(inside, Qt::black);

        // Right-aligned digits with blanks in front, as a counter shows them.
        const std::string text = std::to_string(std::abs(value_));
        std::string shown(static_cast<std::size_t>(digits_), ' ');
        const std::size_t count = std::min(text.size(), shown.size());
        shown.replace(shown.size() - count, count, text.substr(text.size() - count));
        if (value_ < 0 && count < shown.size()) shown[shown.size() - count - 1] = '-';

        const qreal pad = 2.0;
        const qreal cellWidth = (inside.width() - pad * (digits_ + 1)) / digits_;
        for (int i = 0; i < digits_; ++i) {
            const QRectF cell(inside.left() + pad + i * (cellWidth + pad), inside.top() + pad, cellWidth,
                              inside.height() - 2 * pad);
            const char c = shown[static_cast<std::size_t>(i)];
            const unsigned lit = c >= '0' && c <= '9' ? kDigitSegments[static_cast<std::size_t>(c - '0')]
                                 : c == '-'           ? kMinusSegments
                                                      : 0U;
            DrawDigit(painter, cell, lit);
        }
        // The keyboard focus: a bright dotted frame around the digits, which
        // the arrow keys then turn.
        if (hasFocus()) {
            painter.setPen(QPen(QColor(255, 220, 0), 1, Qt::DotLine));
            painter.drawRect(inside.adjusted(0, 0, -1, -1));
        }
    }
    QFrame::paintEvent(event);
}

void LedNumber::focusInEvent(QFocusEvent* event) {
    QFrame::focusInEvent(event);
    update();
}

void LedNumber::focusOutEvent(QFocusEvent* event) {
    QFrame::focusOutEvent(event);
    update();
}

void LedNumber::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        emit Clicked();
        event->accept();
        return;
    }
    QFrame::mousePressEvent(event);
}

void LedNumber::wheelEvent(QWheelEvent* event) {
    // One notch of a common wheel is 120 units; finer wheels add up.
    wheelRemainder_ += event->angleDelta().y();
    const int steps = wheelRemainder_ / 120;
    wheelRemainder_ -= steps * 120;
    if (steps != 0) emit StepRequested(steps);
    event->accept();
}

void LedNumber::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Up:
        case Qt::Key_Right: emit StepRequested(1); break;
        case Qt::Key_Down:
        case Qt::Key_Left: emit StepRequested(-1); break;
        case Qt::Key_PageUp: emit StepRequested(10); break;
        case Qt::Key_PageDown: emit StepRequested(-10); break;
        default: QFrame::keyPressEvent(event); return;
    }
    event->accept();
}
