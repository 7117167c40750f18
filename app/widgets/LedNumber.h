// An LED number display: seven-segment digits, lit red on black, unlit
// segments faintly visible. It can be clicked (to open its slider) and turned
// with the mouse wheel or the arrow keys; it reports the wanted change and
// leaves the value to its owner.
#pragma once

#include <QFrame>

class LedNumber : public QFrame {
    Q_OBJECT
public:
    LedNumber(int digits, QWidget* parent = nullptr);

    int intValue() const { return value_; }
    void display(int value);
    int digitCount() const { return digits_; }

signals:
    void Clicked();
    void StepRequested(int steps);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // The focus frame is drawn and taken away at once.
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    int digits_;
    int value_ = 0;
    int wheelRemainder_ = 0;
};
