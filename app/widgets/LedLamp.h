// A round-cornered red lamp: dark when off, bright when lit. Switching it
// paints it at once, so it shows even while the caller keeps the event loop
// busy.
#pragma once

#include <QColor>
#include <QWidget>

class LedLamp : public QWidget {
    Q_OBJECT
public:
    explicit LedLamp(QWidget* parent = nullptr, QColor color = QColor(230, 20, 20));

    bool IsLit() const { return lit_; }
    void SetLit(bool lit);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor color_;
    bool lit_ = false;
};
