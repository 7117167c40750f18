// One song's sheet on the screen: the same pages the songbook prints, one
// under the other, scaled to the view's width. A click on a chord name
// reports the chord and where it begins.
#pragma once

#include <QString>
#include <QWidget>

#include <cstdint>
#include <memory>

#include "SongSheet.h"

namespace tonalux {

class SheetLayout;

class SheetView : public QWidget {
    Q_OBJECT
public:
    explicit SheetView(QWidget* parent = nullptr);
    ~SheetView() override;

    void SetSheet(const tonalux::SongSheet& sheet);
    // The pages of the sheet shown (0 before a sheet is set).
    int PageCount() const;

signals:
    void ChordActivated(std::uint32_t tick, const QString& name);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

public:
    QSize sizeHint() const override;

private:
    // Points of the page per pixel of the view, and the height of the pages.
    double Scale() const;
    double PageStep() const;
    void FitHeight();

    std::unique_ptr<SheetLayout> layout_;
};

}  // namespace tonalux
