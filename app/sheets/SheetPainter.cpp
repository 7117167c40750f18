#include "sheets/SheetPainter.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>

namespace tonalux {

namespace {

enum FontIndex { kTitleFont, kInfoFont, kChordFont, kWordsFont, kFooterFont, kFontCount };

constexpr double kChordGap = 6.0;       // space after a chord name before the next one
constexpr double kLineSpacing = 1.15;   // of a font's height, between rows
constexpr double kHeaderGap = 14.0;     // below the title block
constexpr double kPageGap = 0.6;        // of a words line, between the pages of the words
constexpr double kGridRowHeight = 1.8;  // of a chord line, for a row of bars

QString Tr(const char* text) { return QCoreApplication::translate("SheetLayout", text); }

QFont MakeFont(int size, bool bold) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(size);  // page units are points
    font.setBold(bold);
    return font;
}

// A run of words with the chord that begins at its first syllable.
struct Piece {
    QString Chord;
    std::uint32_t Tick = 0;
    bool HasChord = false;
    QString Text;
};

// The pieces of a line: each segment split after its blanks, so that a long
// line can wrap between words; the chord goes with the first piece.
std::vector<Piece> PiecesOf(const SheetLine& line) {
    std::vector<Piece> pieces;
    for (const SheetSegment& segment : line.Segments) {
        const QString text = QString::fromStdString(segment.Text);
        Piece piece;
        if (segment.Chord) {
            piece.HasChord = true;
            piece.Chord = QString::fromStdString(segment.Chord->Name);
            piece.Tick = segment.Chord->Tick;
        }
        for (qsizetype i = 0; i < text.size(); ++i) {
            piece.Text += text[i];
            if (text[i] == QLatin1Char(' ') && (i + 1 == text.size() || text[i + 1] != QLatin1Char(' '))) {
                pieces.push_back(piece);
                piece = Piece{};
            }
        }
        if (!piece.Text.isEmpty() || piece.HasChord) pieces.push_back(piece);
    }
    return pieces;
}

}  // namespace

SheetLayout::SheetLayout(const SongSheet& sheet, const SheetStyle& style)
    : style_(style), title_(QString::fromStdString(sheet.Title)) {
    fonts_.resize(kFontCount);
    fonts_[kTitleFont] = MakeFont(style.TitleSize, true);
    fonts_[kInfoFont] = MakeFont(style.InfoSize, false);
    fonts_[kChordFont] = MakeFont(style.ChordSize, true);
    fonts_[kWordsFont] = MakeFont(style.WordsSize, false);
    fonts_[kFooterFont] = MakeFont(style.FooterSize, false);

    StartPage(true);
    const QFontMetricsF info(fonts_[kInfoFont]);
    auto infoLine = [&](const QString& text) {
        pages_.back().Items.push_back({QPointF(style_.Margin, y_ + info.ascent()), text, kInfoFont});
        y_ += info.height() * kLineSpacing;
    };
    if (!sheet.Subtitle.empty()) infoLine(QString::fromStdString(sheet.Subtitle));
    QStringList facts;
    if (!sheet.Key.empty()) facts << Tr("Key %1").arg(QString::fromStdString(sheet.Key));
    facts << Tr("Time %1").arg(QString::fromStdString(sheet.Time));
    facts << Tr("Tempo %1").arg(QString::fromStdString(sheet.Tempo));
    infoLine(facts.join(QStringLiteral("   \u00b7   ")));
    y_ += kHeaderGap;

    if (sheet.HasWords) {
        for (const SheetLine& line : sheet.Lines) LayOutLine(line);
    } else if (!sheet.Bars.empty()) {
        LayOutGrid(sheet.Bars);
    } else {
        infoLine(Tr("This song has neither words nor chords."));
    }
}

void SheetLayout::StartPage(bool first) {
    pages_.emplace_back();
    y_ = style_.Margin;
    const QFontMetricsF title(fonts_[kTitleFont]);
    const QString text = first ? title_ : Tr("%1 (continued)").arg(title_);
    // A title wider than the page is cut with an ellipsis.
    const QString shown = title.elidedText(text, Qt::ElideRight, style_.Page.width() - 2 * style_.Margin);
    pages_.back().Items.push_back({QPointF(style_.Margin, y_ + title.ascent()), shown, kTitleFont});
    y_ += title.height() * kLineSpacing;
    if (!first) y_ += kHeaderGap;
}

void SheetLayout::EnsureRoom(double height) {
    const double bottom = style_.Page.height() - style_.Margin - QFontMetricsF(fonts_[kFooterFont]).height() * 2;
    if (y_ + height > bottom) StartPage(false);
}

void SheetLayout::LayOutLine(const SheetLine& line) {
    const QFontMetricsF chordMetrics(fonts_[kChordFont]);
    const QFontMetricsF words(fonts_[kWordsFont]);
    const double width = style_.Page.width() - 2 * style_.Margin;
    const double chordLine = chordMetrics.height();
    const double wordsLine = words.height() * kLineSpacing;
    if (line.NewPage) y_ += wordsLine * kPageGap;

    struct Placed {
        Piece Part;
        double X = 0;
    };
    std::vector<Placed> row;
    double x = 0;
    auto flush = [&] {
        if (row.empty()) return;
        const bool chords = std::any_of(row.begin(), row.end(), [](const Placed& p) { return p.Part.HasChord; });
        const double height = (chords ? chordLine : 0) + wordsLine;
        EnsureRoom(height);
        Page& page = pages_.back();
        for (const Placed& placed : row) {
            const double left = style_.Margin + placed.X;
            if (placed.Part.HasChord) {
                page.Items.push_back({QPointF(left, y_ + chordMetrics.ascent()), placed.Part.Chord, kChordFont});
                page.Chords.push_back({QRectF(left, y_, chordMetrics.horizontalAdvance(placed.Part.Chord), chordLine),
                                       placed.Part.Tick, placed.Part.Chord});
            }
            if (!placed.Part.Text.isEmpty())
                page.Items.push_back({QPointF(left, y_ + (chords ? chordLine : 0) + words.ascent()), placed.Part.Text,
                                      kWordsFont});
        }
        y_ += height;
        row.clear();
        x = 0;
    };
    for (Piece piece : PiecesOf(line)) {
        const double chordWidth = piece.HasChord ? chordMetrics.horizontalAdvance(piece.Chord) + kChordGap : 0;
        double advance = std::max(words.horizontalAdvance(piece.Text), chordWidth);
        if (x > 0 && x + advance > width) flush();
        // A piece wider than the page (a word without blanks) is cut where the page ends.
        while (words.horizontalAdvance(piece.Text) > width) {
            double used = 0;
            qsizetype fits = 0;
            while (fits < piece.Text.size() && used + words.horizontalAdvance(piece.Text[fits]) <= width)
                used += words.horizontalAdvance(piece.Text[fits++]);
            fits = std::max<qsizetype>(fits, 1);
            Piece head = piece;
            head.Text = piece.Text.left(fits);
            row.push_back({head, x});
            flush();
            piece.Text = piece.Text.mid(fits);
            piece.HasChord = false;
            advance = words.horizontalAdvance(piece.Text);
        }
        row.push_back({piece, x});
        x += advance;
    }
    flush();
}

void SheetLayout::LayOutGrid(const std::vector<SheetBar>& bars) {
    const QFontMetricsF chordMetrics(fonts_[kChordFont]);
    const QFontMetricsF info(fonts_[kInfoFont]);
    const double width = style_.Page.width() - 2 * style_.Margin;
    const double barWidth = width / static_cast<double>(kBarsPerGridLine);
    const double rowHeight = chordMetrics.height() * kGridRowHeight;
    for (std::size_t first = 0; first < bars.size(); first += kBarsPerGridLine) {
        EnsureRoom(rowHeight);
        Page& page = pages_.back();
        const double top = y_ + info.height() * 0.5;
        const double baseline = top + chordMetrics.ascent();
        const std::size_t end = std::min(bars.size(), first + kBarsPerGridLine);
        for (std::size_t b = first; b < end; ++b) {
            const SheetBar& bar = bars[b];
            const double left = style_.Margin + barWidth * static_cast<double>(b - first);
            page.Rules.push_back(QLineF(left, top - 2, left, top + chordMetrics.height() + 2));
            if (bar.MetreChange)
                page.Items.push_back({QPointF(left + 2, y_ + info.ascent() * 0.5),
                                      QStringLiteral("%1/%2").arg(bar.Numerator).arg(bar.Denominator), kFooterFont});
            const double cell = barWidth / static_cast<double>(bar.Beats.size());
            for (std::size_t beat = 0; beat < bar.Beats.size(); ++beat) {
                const double x = left + 6 + cell * static_cast<double>(beat);
                if (bar.Beats[beat].empty()) {
                    page.Items.push_back({QPointF(x, baseline), QStringLiteral("\u00b7"), kInfoFont});
                    continue;
                }
                double cx = x;
                for (const SheetChord& chord : bar.Beats[beat]) {
                    const QString name = QString::fromStdString(chord.Name);
                    page.Items.push_back({QPointF(cx, baseline), name, kChordFont});
                    const double w = chordMetrics.horizontalAdvance(name);
                    page.Chords.push_back({QRectF(cx, top, w, chordMetrics.height()), chord.Tick, name});
                    cx += w + kChordGap / 2;
                }
            }
            if (b + 1 == end) {
                const double right = left + barWidth;
                page.Rules.push_back(QLineF(right, top - 2, right, top + chordMetrics.height() + 2));
            }
        }
        y_ += rowHeight;
    }
}

void SheetLayout::DrawPage(QPainter& painter, int index, int number) const {
    const Page& page = pages_.at(static_cast<std::size_t>(index));
    painter.save();
    painter.setPen(Qt::black);
    for (const Item& item : page.Items) {
        painter.setFont(fonts_[static_cast<std::size_t>(item.Font)]);
        painter.drawText(item.Origin, item.Text);
    }
    painter.setPen(QPen(Qt::black, 1.0));
    for (const QLineF& rule : page.Rules) painter.drawLine(rule);
    if (number > 0) {
        painter.setFont(fonts_[kFooterFont]);
        const QRectF foot(0, style_.Page.height() - style_.Margin, style_.Page.width(), style_.Margin / 2);
        painter.drawText(foot, Qt::AlignCenter, QString::number(number));
    }
    painter.restore();
}

}  // namespace tonalux
