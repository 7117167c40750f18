#include "WindowLook.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QPalette>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>
#include <QTimer>
#include <QWidget>

namespace {

QFont FontFrom(const QStringList& families, int pixelHeight, bool bold) {
    QFont font;
    font.setFamilies(families);
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    return font;
}

// Sans-serif families with narrow letters come first, so captions sized for
// the original font still fit.
const QStringList& FallbackFamilies() {
    static const QStringList families{"Arial", "Liberation Sans", "Nimbus Sans", "Helvetica", "DejaVu Sans"};
    return families;
}

// Moves and sizes the window once its frame is known. The window manager
// adds the frame some time after the window is shown, so the frame is looked
// for a few times.
class OuterPlacement : public QObject {
public:
    OuterPlacement(QWidget* window, const QRect& outer) : QObject(window), window_(window), outer_(outer) {
        window->installEventFilter(this);
        retry_.setInterval(25);
        connect(&retry_, &QTimer::timeout, this, [this] { Adjust(); });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == window_ && event->type() == QEvent::Show && !adjusted_) {
            attempts_ = 0;
            retry_.start();
        }
        return false;
    }

private:
    void Adjust() {
        const QRect frame = window_->frameGeometry();
        const QRect inner = window_->geometry();
        const int extraWidth = frame.width() - inner.width();
        const int extraHeight = frame.height() - inner.height();
        if (extraWidth <= 0 && extraHeight <= 0) {
            // No frame (yet): give up after about a second and keep the whole rectangle.
            if (++attempts_ >= 40) retry_.stop();
            return;
        }
        retry_.stop();
        adjusted_ = true;
        const QSize screen = window_->screen()->availableGeometry().size();
        window_->resize(std::min(outer_.width(), screen.width()) - extraWidth,
                        std::min(outer_.height(), screen.height()) - extraHeight);
        KeepOnScreen(window_);
    }

    QWidget* window_;
    QRect outer_;
    QTimer retry_;
    int attempts_ = 0;
    bool adjusted_ = false;
};

}  // namespace

QFont SansFont(int pixelHeight, bool bold) {
    QStringList families{"MS Sans Serif"};
    families += FallbackFamilies();
    return FontFrom(families, pixelHeight, bold);
}

QFont SmallFont(int pixelHeight) {
    QStringList families{"Small Fonts"};
    families += FallbackFamilies();
    return FontFrom(families, pixelHeight, false);
}

QFrame* MakePanel(QWidget* parent, const QRect& geometry) {
    auto* panel = new QFrame(parent);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Raised);
    panel->setLineWidth(1);
    panel->setGeometry(geometry);
    return panel;
}

QLabel* MakeHeadingPanel(QWidget* parent, const QRect& geometry, const QString& caption) {
    auto* panel = new QLabel(caption, parent);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Raised);
    panel->setLineWidth(1);
    panel->setAlignment(Qt::AlignCenter);
    panel->setGeometry(geometry);
    return panel;
}

QLabel* MakeLabel(QWidget* parent, int left, int top, const QString& caption, const QFont& font) {
    auto* label = new QLabel(caption, parent);
    label->setFont(font);
    label->adjustSize();
    label->move(left, top);
    return label;
}

void SetTextColour(QWidget* widget, const QColor& colour) {
    QPalette colours = widget->palette();
    colours.setColor(QPalette::Text, colour);
    colours.setColor(QPalette::WindowText, colour);
    widget->setPalette(colours);
}

QPoint OnScreen(const QRect& frame, const QRect& screen) {
    const int left = std::max(screen.left(), std::min(frame.left(), screen.right() + 1 - frame.width()));
    const int top = std::max(screen.top(), std::min(frame.top(), screen.bottom() + 1 - frame.height()));
    return {left, top};
}

QRect ClearOf(const QRect& frame, const QRect& keepClear, const QRect& screen) {
    QRect placed(OnScreen(frame, screen), frame.size());
    if (keepClear.isNull() || !placed.intersects(keepClear)) return placed;
    placed.moveTop(keepClear.bottom() + 1);
    // Below the rectangle to keep clear, and shortened where the screen ends
    // there: the window's controls scroll instead.
    placed.setBottom(std::min(placed.bottom(), screen.bottom()));
    return placed;
}

void KeepOnScreen(QWidget* window) {
    const QScreen* screen = window->screen();
    if (!screen) return;
    const QRect frame = window->frameGeometry();
    const QRect placed = ClearOf(frame, window->property(kKeepClearProperty).toRect(), screen->availableGeometry());
    if (placed.size() != frame.size()) window->resize(window->size() - (frame.size() - placed.size()));
    if (placed.topLeft() != frame.topLeft()) window->move(placed.topLeft());
}

QWidget* MakeScrollingClient(QWidget* window, const QSize& needed) {
    auto* area = new QScrollArea(window);
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    auto* client = new QWidget;
    client->setMinimumSize(needed);
    area->setWidget(client);
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(area);
    return client;
}

void PlaceWindow(QWidget* window, const QRect& outer) {
    const QRect screen = window->screen()->availableGeometry();
    const QSize size = outer.size().boundedTo(screen.size());
    window->resize(size);
    window->move(OnScreen(QRect(outer.topLeft(), size), screen));
    new OuterPlacement(window, outer);
}
