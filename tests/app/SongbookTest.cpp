// The songbook PDF and the sheet page: contents with the page of every song,
// a song longer than a page continued, songs that are no songs left out and
// named, the PDF whole or absent, and a click on a chord in the sheet view.
#include <QFile>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <string>
#include <vector>

#include "SongBuilder.h"
#include "sheets/SheetPainter.h"
#include "sheets/SheetView.h"
#include "sheets/Songbook.h"

using tonalux::testing::Track;

namespace {

// A song of `lines` sung lines of three syllables (lyric events, a CR ending
// each line) with a chord on every line's first syllable.
std::vector<std::uint8_t> SongWithWords(const std::string& name, int lines) {
    Track track;
    track.Text(0, 0x03, name);
    std::uint32_t delta = 0;
    for (int line = 0; line < lines; ++line) {
        track.Chord(delta, 0x31 + static_cast<std::uint8_t>(line % 7), 0);
        track.Text(0, 0x05, "la ").Text(96, 0x05, "li ").Text(96, 0x05, "lu\r");
        delta = 192;
    }
    return tonalux::testing::SongBuilder(0, 96).AddTrack(track.End(96)).Bytes();
}

std::vector<std::uint8_t> Instrumental(const std::string& name) {
    Track track;
    track.Text(0, 0x03, name).Chord(0, 0x31, 0).Chord(384, 0x35, 19).Chord(384, 0x31, 0);
    return tonalux::testing::SongBuilder(0, 96).AddTrack(track.End(384)).Bytes();
}

QString WriteFile(const QTemporaryDir& dir, const QString& name, const std::vector<std::uint8_t>& bytes) {
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return {};
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    return path;
}

// The pages of a PDF as its page objects count them.
int PdfPages(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return -1;
    const QByteArray bytes = file.readAll();
    if (!bytes.startsWith("%PDF-")) return -1;
    return static_cast<int>(QString::fromLatin1(bytes).count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?!s)"))));
}

tonalux::SongSheet LongSheet(int lines) {
    tonalux::SongSheet sheet;
    sheet.Title = "Long";
    sheet.Time = "4/4";
    sheet.Tempo = "100";
    sheet.HasWords = true;
    for (int i = 0; i < lines; ++i) {
        tonalux::SheetLine line;
        line.Segments.push_back({tonalux::SheetChord{static_cast<std::uint32_t>(i * 384), "Am7"}, "Hello "});
        line.Segments.push_back({tonalux::SheetChord{static_cast<std::uint32_t>(i * 384 + 192), "D"}, "world"});
        sheet.Lines.push_back(line);
    }
    sheet.ChordCount = static_cast<std::size_t>(lines) * 2;
    return sheet;
}

}  // namespace

class SongbookTest : public QObject {
    Q_OBJECT
private slots:
    void contentsNameEverySongWithItsFirstPage() {
        QTemporaryDir dir;
        const QStringList songs = {WriteFile(dir, "A.mid", SongWithWords("Long Song", 60)),
                                   WriteFile(dir, "B.mid", Instrumental("Tune")),
                                   WriteFile(dir, "C.mid", {'n', 'o', 't', ' ', 'a', ' ', 's', 'o', 'n', 'g'})};
        const QString pdf = dir.filePath("Book.pdf");
        const tonalux::SongbookReport report = tonalux::WriteSongbook(songs, pdf);
        QVERIFY2(report.Written, qPrintable(report.Error));
        QCOMPARE(report.ContentsPages, 1);
        QCOMPARE(report.Contents.size(), std::size_t{2});
        QCOMPARE(report.Contents[0].first, QStringLiteral("Long Song"));
        QCOMPARE(report.Contents[0].second, 2);
        // Sixty lines do not fit one page: the song goes on, the tune starts on a page of its own.
        const int longPages = report.Contents[1].second - report.Contents[0].second;
        QVERIFY(longPages >= 2);
        QCOMPARE(report.Contents[1].first, QStringLiteral("Tune"));
        QCOMPARE(report.Pages, 1 + longPages + 1);
        QCOMPARE(PdfPages(pdf), report.Pages);
        QCOMPARE(report.Problems.size(), 1);
        QVERIFY(report.Problems[0].startsWith(QStringLiteral("C.mid: not a MIDI file")));
    }

    void manySongsTakeSeveralContentsPages() {
        QTemporaryDir dir;
        QStringList songs;
        const QString tune = WriteFile(dir, "T.mid", Instrumental("Tune"));
        for (int i = 0; i < 80; ++i) songs << tune;
        const tonalux::SongbookReport report = tonalux::WriteSongbook(songs, dir.filePath("Many.pdf"));
        QVERIFY(report.Written);
        QVERIFY(report.ContentsPages >= 2);
        QCOMPARE(report.Contents.front().second, report.ContentsPages + 1);
        QCOMPARE(report.Contents.back().second, report.ContentsPages + 80);
        QCOMPARE(PdfPages(dir.filePath("Many.pdf")), report.ContentsPages + 80);
    }

    void aSongbookThatCannotBeWrittenLeavesNoFile() {
        QTemporaryDir dir;
        const QString pdf = dir.filePath("missing/Book.pdf");
        const tonalux::SongbookReport report =
            tonalux::WriteSongbook({WriteFile(dir, "B.mid", Instrumental("Tune"))}, pdf);
        QVERIFY(!report.Written);
        QVERIFY(!report.Error.isEmpty());
        QVERIFY(!QFile::exists(pdf));
    }

    void aLongSheetGoesOnWithEveryChordOnItsPage() {
        const tonalux::SheetLayout layout(LongSheet(50));
        QVERIFY(layout.PageCount() >= 2);
        std::size_t chords = 0;
        for (int page = 0; page < layout.PageCount(); ++page) chords += layout.ChordAreas(page).size();
        QCOMPARE(chords, std::size_t{100});
    }

    void aSyllableOfTenKilobytesWrapsOnThePage() {
        tonalux::SongSheet sheet = LongSheet(1);
        sheet.Lines[0].Segments[0].Text = std::string(10 * 1024, 'w');
        const tonalux::SheetLayout layout(sheet);
        const tonalux::SheetStyle style;
        QVERIFY(layout.PageCount() >= 1);
        for (int page = 0; page < layout.PageCount(); ++page)
            for (const tonalux::ChordArea& chord : layout.ChordAreas(page))
                QVERIFY(chord.Area.right() <= style.Page.width() - style.Margin + 1);
    }

    void clickingAChordReportsItsTick() {
        tonalux::SheetView view;
        view.resize(600, 900);
        view.SetSheet(LongSheet(3));
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QSignalSpy spy(&view, &tonalux::SheetView::ChordActivated);
        const tonalux::SheetLayout layout(LongSheet(3));
        const tonalux::ChordArea& second = layout.ChordAreas(0).at(1);
        const double scale = view.width() / layout.Style().Page.width();
        QTest::mouseClick(&view, Qt::LeftButton, {}, (second.Area.center() * scale).toPoint());
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).value<std::uint32_t>(), std::uint32_t{192});
        QCOMPARE(spy.at(0).at(1).toString(), QStringLiteral("D"));
        // Between the chords nothing is reported.
        QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(2, 2));
        QCOMPARE(spy.count(), 1);
    }
};

QTEST_MAIN(SongbookTest)
#include "SongbookTest.moc"
