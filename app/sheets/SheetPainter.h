// The page of a song sheet as the songbook prints it and the song window
// shows it: laid out once for a page size, then drawn page by page with any
// painter. Units are points (1/72 inch); the caller scales its painter so
// that the page fills its device.
#pragma once

#include <QFont>
#include <QLineF>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <cstdint>
#include <vector>

#include "SongSheet.h"

class QPainter;

namespace tonalux {

// Sizes of the printed page, in points. The words are large enough to read
// at arm's length on a music stand.
struct SheetStyle {
    QSizeF Page{595.0, 842.0};  // A4 portrait
    double Margin = 42.0;       // 15 mm on every side
    int TitleSize = 24;
    int InfoSize = 13;          // the subtitle and the key / time / tempo line
    int ChordSize = 15;         // bold
    int WordsSize = 16;
    int FooterSize = 10;        // the page number
};

// A chord's place on a page, for clicks in the song window.
struct ChordArea {
    QRectF Area;
    std::uint32_t Tick = 0;
    QString Name;
};

class SheetLayout {
public:
    SheetLayout(const SongSheet& sheet, const SheetStyle& style = {});

    int PageCount() const { return static_cast<int>(pages_.size()); }
    // Draws page `page` (0-based) of the song; `number` is printed at its
    // foot when it is above 0 (the songbook's page number).
    void DrawPage(QPainter& painter, int page, int number = 0) const;
    const std::vector<ChordArea>& ChordAreas(int page) const { return pages_.at(static_cast<std::size_t>(page)).Chords; }
    const SheetStyle& Style() const { return style_; }

private:
    // One piece of text placed on a page.
    struct Item {
        QPointF Origin;  // baseline start
        QString Text;
        int Font = 0;    // index into fonts_
    };
    struct Page {
        std::vector<Item> Items;
        std::vector<QLineF> Rules;
        std::vector<ChordArea> Chords;
    };

    void StartPage(bool first);
    void EnsureRoom(double height);
    void LayOutLine(const SheetLine& line);
    void LayOutGrid(const std::vector<SheetBar>& bars);

    SheetStyle style_;
    QString title_;
    std::vector<QFont> fonts_;
    std::vector<Page> pages_;
    double y_ = 0;  // top of the next row on the current page
};

}  // namespace tonalux
