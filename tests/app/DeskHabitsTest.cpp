// The desk's habits: converting the selected songs or songs dropped onto the
// window, the remembered position, the manual and the About box, and the
// window of one song with its facts and its chords.
#include <QAction>
#include <QListWidget>
#include <QMimeData>
#include <QTextBrowser>
#include <QUrl>
#include <QtTest>
#include <filesystem>

#include "ChordNames.h"
#include "SongBuilder.h"
#include "StandardMidifile.h"
#include "TonaluxVersion.h"
#include "WindowFixture.h"
#include "song/SongWindow.h"

namespace fs = std::filesystem;
using tonalux::testing::Bytes;
using tonalux::testing::ReadFile;
using tonalux::testing::SongBuilder;
using tonalux::testing::TempDir;
using tonalux::testing::Track;
using tonalux::testing::WriteFile;

namespace {

Bytes Song() {
    Track track;
    track.Note(0, 0x90, 60, 100).Note(24, 0x80, 60, 0).End();
    return SongBuilder(0, 96).AddTrack(track).Bytes();
}

// 100 bpm in 3/4, E minor, words, a quiet channel 3 and eight bars of C major.
Bytes FactsSong() {
    Track track;
    track.Tempo(0, 600000).Meta(0, 0x58, {3, 2, 24, 8}).Meta(0, 0x59, {1, 1}).Text(0, 0x05, "Hel").Text(0, 0x05, "lo ");
    for (int bar = 0; bar < 8; ++bar)
        track.Note(0, 0x90, 60, 100).Note(0, 0x90, 64, 100).Note(0, 0x90, 67, 100).Note(0, 0x92, 48, 3)
            .Note(288, 0x80, 60, 0).Note(0, 0x80, 64, 0).Note(0, 0x80, 67, 0).Note(0, 0x82, 48, 0);
    track.End();
    return SongBuilder(0, 96).AddTrack(track).Bytes();
}

std::vector<std::string> Names(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

class DeskHabitsTest : public QObject {
    Q_OBJECT
private slots:
    void convertsOnlyTheSelectedSongs();
    void droppedSongsAndFoldersAreConvertedWhereTheyLie();
    void positionIsRememberedBetweenRuns();
    void manualAndAboutBox();
    void songWindowShowsTheSongsFacts();
    void songWindowCorrectsAChordAndSavesOnlyWhenAsked();
};

void DeskHabitsTest::convertsOnlyTheSelectedSongs() {
    WindowSet w([](const TempDir& dir) {
        MakeFolders(dir);
        for (const char* name : {"A.mid", "B.mid", "C.mid", "D.mid", "E.mid"})
            WriteFile(dir.Path() / "Midifile" / name, Song());
    });
    w.main->ConvertSelected1->trigger();
    QCOMPARE(w.messages, QStringList{QStringLiteral("No song is selected in the left list.")});
    for (int row : {1, 3, 4}) w.main->ListBox1->item(row)->setSelected(true);
    w.main->ConvertSelected1->trigger();
    QCOMPARE(Names(w.File("Convert")), (std::vector<std::string>{"B_NO-VOC.mid", "D_NO-VOC.mid", "E_NO-VOC.mid"}));
    QCOMPARE(w.main->LastRun().size(), std::size_t{3});
}

void DeskHabitsTest::droppedSongsAndFoldersAreConvertedWhereTheyLie() {
    WindowSet w([](const TempDir& dir) {
        MakeFolders(dir);
        fs::create_directories(dir.Path() / "Stick" / "Set");
        WriteFile(dir.Path() / "Stick" / "One.mid", Song());
        WriteFile(dir.Path() / "Stick" / "notes.txt", {'x'});
        WriteFile(dir.Path() / "Stick" / "Set" / "Two.MID", Song());
        WriteFile(dir.Path() / "Stick" / "Set" / "One.mid", Song());  // a second "One.mid"
    });
    QMimeData data;
    QList<QUrl> urls;
    for (const char* path : {"Stick/One.mid", "Stick/notes.txt", "Stick/Set"})
        urls << QUrl::fromLocalFile(QString::fromStdString(w.File(path)));
    data.setUrls(urls);
    QVERIFY(w.main->DropSongs(&data));
    QCOMPARE(Names(w.File("Convert")), (std::vector<std::string>{"One_NO-VOC.mid", "Two_NO-VOC.MID"}));
    QVERIFY(Names(w.File("Midifile")).empty());  // nothing is copied
    QCOMPARE(w.messages.size(), 1);
    QVERIFY(w.messages.front().contains(QStringLiteral("notes.txt")));
    QVERIFY(w.messages.front().contains(QStringLiteral("Set/One.mid")));
}

void DeskHabitsTest::positionIsRememberedBetweenRuns() {
    {
        WindowSet w;
        w.main->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.main.get()));
        w.main->move(40, 60);
        w.main->close();
    }
    WindowSet restarted{WindowSet::KeepRemembered{}};
    QCOMPARE(restarted.main->pos(), QPoint(40, 60));
}

void DeskHabitsTest::manualAndAboutBox() {
    WindowSet w;
    w.main->Manual1->trigger();
    auto* manual = qobject_cast<QTextBrowser*>(w.main->Manual);
    QVERIFY(manual && manual->isVisible());
    QVERIFY(manual->toPlainText().contains(QStringLiteral("Tonalux & Belvorta")));
    QVERIFY(w.messages.isEmpty());
    w.main->About1->trigger();
    QCOMPARE(w.messages.size(), 1);
    QVERIFY(w.messages.front().contains(QString::fromLatin1(tonalux::kVersion)));
    QVERIFY(w.messages.front().contains(QStringLiteral("MIT licence")));
}

void DeskHabitsTest::songWindowShowsTheSongsFacts() {
    WindowSet w([](const TempDir& dir) {
        MakeFolders(dir);
        WriteFile(dir.Path() / "Midifile" / "Facts.mid", FactsSong());
        Bytes cut = FactsSong();
        cut.resize(cut.size() - 20);
        WriteFile(dir.Path() / "Convert" / "Cut.mid", cut);
        Track fast;
        fast.Tempo(0, 461538).Note(0, 0x90, 60, 100).Note(96, 0x80, 60, 0).End();  // 130 bpm to a tenth
        WriteFile(dir.Path() / "Convert" / "Fast.mid", SongBuilder(0, 96).AddTrack(fast).Bytes());
        Track chords;  // C F G C without a key signature
        chords.Chord(0, 0x31, 0).Chord(384, 0x34, 0).Chord(384, 0x35, 0).Chord(384, 0x31, 0);
        chords.Note(0, 0x90, 60, 100).Note(384, 0x80, 60, 0).End();
        WriteFile(dir.Path() / "Convert" / "Plain.mid", SongBuilder(0, 96).AddTrack(chords).Bytes());
    });
    emit w.main->ListBox1->itemActivated(w.main->ListBox1->item(0));
    QCOMPARE(w.main->SongWindows.size(), std::size_t{1});
    SongWindow& song = *w.main->SongWindows.front();
    QVERIFY(song.isVisible());
    const QList<QPair<QString, QString>> expected{
        {"Format", "0"},        {"Tracks", "1"},         {"Division", "96 ticks per quarter note"},
        {"Tempo", "100 bpm"},   {"Metre", "3/4"},        {"Key", "E minor"},
        {"Length", "8 bars, 0:14"}, {"Vocoder", "channel 3"}, {"Chords", "no"},
        {"Words", "yes"},       {"Damage", "none, read whole"},
    };
    QCOMPARE(song.FactRows(), expected);

    // The right list's songs open too; a damaged one says where.
    emit w.main->ListBox2->itemActivated(w.main->ListBox2->item(0));
    QCOMPARE(w.main->SongWindows.size(), std::size_t{2});
    QVERIFY(w.main->SongWindows.back()->FactRows().back().second.startsWith(QStringLiteral("damaged at byte")));
    emit w.main->ListBox2->itemActivated(w.main->ListBox2->item(1));
    QCOMPARE(w.main->SongWindows.back()->FactRows().at(3).second, QStringLiteral("130 bpm"));
    QCOMPARE(w.main->SongWindows.back()->FactRows().at(5).second, QStringLiteral("no key signature"));
    // Without a signature the key row names the key the sheet shows.
    emit w.main->ListBox2->itemActivated(w.main->ListBox2->item(2));
    QCOMPARE(w.main->SongWindows.back()->FactRows().at(5).second,
             QStringLiteral("no key signature; the chords suggest C"));
}

void DeskHabitsTest::songWindowCorrectsAChordAndSavesOnlyWhenAsked() {
    WindowSet w([](const TempDir& dir) {
        MakeFolders(dir);
        WriteFile(dir.Path() / "Midifile" / "Facts.mid", FactsSong());
    });
    const Bytes original = ReadFile(w.File("Midifile/Facts.mid"));
    emit w.main->ListBox1->itemActivated(w.main->ListBox1->item(0));
    SongWindow& song = *w.main->SongWindows.front();

    song.RecogniseClick();
    QVERIFY(song.Facts().Chords && song.Changed());
    // A name as the tool's chord lists spell it; others are refused.
    QVERIFY(!song.SetChord(288, QStringLiteral("H7x")));
    QVERIFY(w.messages.back().contains(QStringLiteral("\"H7x\" is not a chord name")));
    QVERIFY(song.SetChord(288, QStringLiteral("Am7")));

    // Replacing the file is asked first; No leaves it as it was.
    w.answer = false;
    QVERIFY(!song.SaveTo(QString::fromStdString(w.File("Midifile/Facts.mid"))));
    QCOMPARE(ReadFile(w.File("Midifile/Facts.mid")), original);
    w.answer = true;
    // Closing with the change unsaved is asked too; No keeps the window.
    w.answer = false;
    QVERIFY(!song.close());
    w.answer = true;
    QVERIFY(song.SaveTo(QString::fromStdString(w.File("Midifile/Facts.mid"))));
    QCOMPARE(w.questions.size(), 3);
    QVERIFY(!song.Changed());
    tonalux::Component owner(nullptr);
    tonalux::StandardMidifile saved(&owner);
    QVERIFY(saved.LoadMidifile(w.File("Midifile/Facts.mid")));
    const auto wanted = tonalux::ChordFromName("Am7");
    QVERIFY(wanted);
    bool am7 = false;
    for (int i = 0; i < saved.GetSizeYamChordEvents(); ++i) {
        const tonalux::MetaEvent chord = saved.GetYamchord(i);
        am7 = am7 || (chord.Tick == 288 && chord.Data[3] == wanted->Root && chord.Data[4] == wanted->Type);
    }
    QVERIFY(am7);
}

QTEST_MAIN(DeskHabitsTest)
#include "DeskHabitsTest.moc"
