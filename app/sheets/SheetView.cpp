#include "sheets/SheetView.h"

#include <algorithm>

#include <QMouseEvent>
#include <QPainter>

#include "sheets/SheetPainter.h"

namespace tonalux {

namespace {

constexpr double kPointsBetweenPages = 12.0;  // points between two pages
constexpr int kPreferredWidth = 620;

}  // namespace

SheetView::SheetView(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
}

SheetView::~SheetView() = default;

void SheetView::SetSheet(const SongSheet& sheet) {
    layout_ = std::make_unique<SheetLayout>(sheet);
    FitHeight();
    update();
}

int SheetView::PageCount() const { return layout_ ? layout_->PageCount() : 0; }

double SheetView::Scale() const {
    const double pageWidth = layout_ ? layout_->Style().Page.width() : SheetStyle{}.Page.width();
    return std::max(1, width()) / pageWidth;
}

double SheetView::PageStep() const {
    return (layout_ ? layout_->Style().Page.height() : SheetStyle{}.Page.height()) + kPointsBetweenPages;
}

void SheetView::FitHeight() {
    const int pages = PageCount();
    setMinimumHeight(pages == 0 ? 0 : static_cast<int>(PageStep() * pages * Scale()));
}

QSize SheetView::sizeHint() const {
    const double scale = kPreferredWidth / SheetStyle{}.Page.width();
    return {kPreferredWidth, static_cast<int>(PageStep() * std::max(1, PageCount()) * scale)};
}

void SheetView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FitHeight();
}

void SheetView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Mid));
    if (!layout_) return;
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const double scale = Scale();
    painter.scale(scale, scale);
    const QSizeF page = layout_->Style().Page;
    for (int p = 0; p < layout_->PageCount(); ++p) {
        painter.save();
        painter.translate(0, PageStep() * p);
        painter.fillRect(QRectF(QPointF(0, 0), page), Qt::white);
        layout_->DrawPage(painter, p);
        painter.restore();
    }
}

void SheetView::mousePressEvent(QMouseEvent* event) {
    if (!layout_) return QWidget::mousePressEvent(event);
    const QPointF point = event->position() / Scale();
    const int page = static_cast<int>(point.y() / PageStep());
    if (page < 0 || page >= layout_->PageCount()) return;
    const QPointF onPage(point.x(), point.y() - PageStep() * page);
    for (const ChordArea& chord : layout_->ChordAreas(page)) {
        if (chord.Area.contains(onPage)) {
            emit ChordActivated(chord.Tick, chord.Name);
            return;
        }
    }
    QWidget::mousePressEvent(event);
}

}  // namespace tonalux
