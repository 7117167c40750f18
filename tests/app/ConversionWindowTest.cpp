// "&FolderConvert" in a temporary start folder: output names and formats, the
// options, damaged and vanished songs, an unusable Convert/, the busy lamp,
// the disabled commands, the window's turns during a song and a whole folder.
#include <QAction>
#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QClipboard>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QtTest>
#include <filesystem>

#include "SongBuilder.h"
#include "StandardMidifile.h"
#include "SummaryDialog.h"
#include "WindowFixture.h"
#include "TurnClocks.h"
#include "widgets/LedLamp.h"
#include "widgets/LedNumber.h"

namespace fs = std::filesystem;
using tonalux::testing::Bytes;
using tonalux::testing::ReadFile;
using tonalux::testing::SongBuilder;
using tonalux::testing::TempDir;
using tonalux::testing::Track;
using tonalux::testing::WriteFile;

namespace {

// A song whose note-ons on `quietChannel` (0-based) have velocity `quiet` and
// whose other notes are loud; -1 for no quiet channel. It carries one vocoder
// message and one other system-exclusive message.
Bytes Song(int quietChannel, std::uint8_t quiet = 3) {
    Track track;
    track.Tempo(0, 500000);
    track.Sysex(0, {0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00, 0xF7});
    track.Sysex(0, {0x43, 0x10, 0x4C, 0x04, 0x00, 0x0C, 0x01, 0xF7});
    track.Note(0, 0x90, 60, 100).Note(96, 0x80, 60, 64);
    track.Note(0, 0x91, 40, 90).Note(96, 0x81, 40, 64);
    if (quietChannel >= 0) {
        const auto on = static_cast<std::uint8_t>(0x90 | quietChannel);
        const auto off = static_cast<std::uint8_t>(0x80 | quietChannel);
        track.Note(0, on, 64, quiet).Note(96, off, 64, 0).Note(0, on, 67, quiet).Note(96, off, 67, 0);
    }
    track.End();
    return SongBuilder(0, 96).AddTrack(track).Bytes();
}

// Format and track count from a written file's header.
std::pair<int, int> FormatAndTracks(const std::string& path) {
    const Bytes bytes = ReadFile(path);
    if (bytes.size() < 14) return {-1, -1};
    return {bytes[8] << 8 | bytes[9], bytes[10] << 8 | bytes[11]};
}

QStringList Items(const QListWidget* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i) items << list->item(i)->text();
    return items;
}

}  // namespace

class ConversionWindowTest : public QObject {
    Q_OBJECT
private slots:
    void convertsEverySongUnderItsVocoderName();
    void untickedFormatWritesFormatOne();
    void optionsReachTheEngine();
    void addChordsReachesTheRunAndItsCounts();
    void keyboardLyricsReachTheRunAndItsCounts();
    void loadedSetupOptionsReachTheConversion();
    void damagedAndForeignSongsAreSummedUpOnceAtTheEnd();
    void summaryOfEightyBadSongsFitsTheScreen();
    void aRunTakesTheFolderAsItIsAndNamesAFolderEntry();
    void unusableConvertFolderIsOneMessageAndNothingIsConverted();
    void closingTheWindowStopsAfterTheCurrentSong();
    void windowTakesItsTurnsWhileASongIsConverted();
    void hundredSongsConvertInOneRun();
};

void ConversionWindowTest::convertsEverySongUnderItsVocoderName() {
    WindowSet w([](const TempDir& dir) {
        MakeFolders(dir);
        WriteFile(dir.Path() / "Midifile" / "A.mid", Song(2));
        WriteFile(dir.Path() / "Midifile" / "B.mid", Song(-1));
        WriteFile(dir.Path() / "Midifile" / "SONG.MID", Song(-1));
        WriteFile(dir.Path() / "Midifile" / "Twelve.mid", Song(11));
    });
    const Bytes input = ReadFile(w.File("Midifile/A.mid"));
    w.main->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.main.get()));
    QTest::mouseClick(w.main->BConvert, Qt::LeftButton);

    const QStringList outputs{"A_VOC-3.mid", "B_NO-VOC.mid", "SONG_NO-VOC.MID", "Twelve_VOC-12.mid"};
    QCOMPARE(Items(w.main->ListBox2), outputs);
    for (const QString& name : outputs) QCOMPARE(FormatAndTracks(w.File("Convert/" + name.toStdString())).first, 0);
    QVERIFY(w.messages.isEmpty());
    QCOMPARE(ReadFile(w.File("Midifile/A.mid")), input);  // inputs are never changed
    QCOMPARE(w.main->ListBox1->count(), 4);
    QCOMPARE(w.main->ListBox1->currentRow(), -1);  // the refilled list has no selection
    QVERIFY(!w.main->MMLED1->IsLit());

    // Converting again overwrites the same names.
    fs::resize_file(w.File("Convert/A_VOC-3.mid"), 3);
    w.main->BConvert->click();
    QCOMPARE(Items(w.main->ListBox2), outputs);
    QVERIFY(fs::file_size(w.File("Convert/A_VOC-3.mid")) > 14);
}

void ConversionWindowTest::untickedFormatWritesFormatOne() {
    WindowSet w([](const TempDir& dir) {
        MakeFolders(dir);
        WriteFile(dir.Path() / "Midifile" / "A.mid", Song(2));
    });
    w.main->CFormat->setChecked(false);
    QCOMPARE(w.information->Block.Format0, 0);
    w.main->BConvert->click();
    // A meta track and one track for each of the three channels.
    QCOMPARE(FormatAndTracks(w.File("Convert/A_VOC-3.mid")), std::make_pair(1, 4));

    w.main->CFormat->setChecked(true);
    QCOMPARE(w.information->Block.Format0, 1);
    w.main->BConvert->click();
    QCOMPARE(FormatAndTracks(w.File("Convert/A_VOC-3.mid")), std::make_pair(0, 1));
}

void ConversionWindowTest::optionsReachTheEngine() {
    WindowSet w([](const TempDir& dir) {
        MakeFolders(dir);
        WriteFile(dir.Path() / "Midifile" / "A.mid", Song(4, 8));
    });
    auto vocoderMessageKept = [&w] {
        const Bytes out = ReadFile(w.File("Convert/" + w.main->ConvertNames().front()));
        const Bytes pattern{0x43, 0x10, 0x4C, 0x04};
        return std::search(out.begin(), out.end(), pattern.begin(), pattern.end()) != out.end();
    };
    // Velocity 8 lies above the threshold 5, and the vocoder message goes.
    w.main->BConvert->click();
    QCOMPARE(w.main->ConvertNames(), std::vector<std::string>{"A_NO-VOC.mid"});
    QVERIFY(!vocoderMessageKept());

    // With the threshold at 8 channel 5 is the vocoder channel; unticked, the message stays.
    fs::remove(w.File("Convert/A_NO-VOC.mid"));
    w.main->MMSlider1->setValue(8);
    w.main->Vocoder->setChecked(false);
    w.main->BConvert->click();
    QCOMPARE(w.main->ConvertNames(), std::vector<std::string>{"A_VOC-5.mid"});
    QVERIFY(vocoderMessageKept());
}

void ConversionWindowTest::addChordsReachesTheRunAndItsCounts() {
    WindowSet w([](const TempDir& dir) {
        MakeFolders(dir);
        WriteFile(dir.Path() / "Midifile" / "A.mid", Song(2));
    });
    w.main->CAddChords->setChecked(true);
    w.main->BConvert->click();
    QVERIFY(w.main->LastRun().front().Chords != tonalux::ChordsResult::NotAsked);
    QVERIFY2(w.main->RunState->text().startsWith(
                 QStringLiteral("1 song: 1 converted, 0 damaged, 0 failed, 0 skipped, chords added to ")),
             qPrintable(w.main->RunState->text()));
}

void ConversionWindowTest::keyboardLyricsReachTheRunAndItsCounts() {
    WindowSet w([](const TempDir& dir) {
        MakeFolders(dir);
        Track track;
        track.Note(0, 0x90, 60, 100).Text(0, 0x05, "\xD0\x96\xD1\x83\xD0\xBA").Note(96, 0x80, 60, 0).End();
        WriteFile(dir.Path() / "Midifile" / "A.mid", SongBuilder(0, 96).AddTrack(track).Bytes());
        WriteFile(dir.Path() / "Midifile" / "B.mid", Song(2));
    });
    w.main->CKeyboardLyrics->setChecked(true);
    w.main->BConvert->click();
    QVERIFY(w.main->LastRun().front().Lyrics.has_value());
    QVERIFY2(w.main->RunState->text().endsWith(QStringLiteral(", words converted in 1, 3 characters transliterated")),
             qPrintable(w.main->RunState->text()));
}

void ConversionWindowTest::loadedSetupOptionsReachTheConversion() {
    // The first note lies at tick 1920, after a program change at tick 0.
    WindowSet w([](const TempDir& dir) {
        MakeFolders(dir);
        Track track;
        track.Program(0, 0, 5).Note(1920, 0x90, 60, 100).Note(480, 0x80, 60, 0).End();
        WriteFile(dir.Path() / "Midifile" / "Late.mid", SongBuilder(0, 96).AddTrack(track).Bytes());
    });
    // A setup file with "Start auf Tatkt 1" ticked and "Midiformat 0" unticked.
    // Every program-change field "-" (999), the rest zero.
    Bytes setup(312, 0);
    for (std::size_t at = 0; at < 192; at += 4) setup[at] = 0xE7, setup[at + 1] = 0x03;
    setup[308] = 1;
    setup[309] = 0;
    WriteFile(w.File("start.set"), setup);
    w.dialogAnswer = QString::fromStdString(w.File("start.set"));
    w.main->SetupLaden1->trigger();
    QVERIFY(w.main->CFastPlay->isChecked());
    QVERIFY(!w.main->Panel1->isVisible());
    QVERIFY(!w.main->CFormat->isChecked());

    w.main->BConvert->click();
    QCOMPARE(FormatAndTracks(w.File("Convert/Late_NO-VOC.mid")).first, 1);
    tonalux::Component owner(nullptr);
    tonalux::StandardMidifile song(&owner);
    QVERIFY(song.LoadMidifile(w.File("Convert/Late_NO-VOC.mid")));
    QCOMPARE(song.GetSizeMidievents(0), 3);
    QCOMPARE(song.GetMidievent(0, 0).Tick, 0u);  // the program change
    QCOMPARE(song.GetMidievent(0, 1).Tick, 0u);  // the first note now starts the song
    QCOMPARE(song.GetMidievent(0, 2).Tick, 480u);
}

void ConversionWindowTest::damagedAndForeignSongsAreSummedUpOnceAtTheEnd() {
    Bytes half = Song(2);
    half.resize(half.size() - 12);  // cut off within the notes
    WindowSet w([&half](const TempDir& dir) {
        MakeFolders(dir);
        WriteFile(dir.Path() / "Midifile" / "A.mid", Song(2));
        WriteFile(dir.Path() / "Midifile" / "Bad.mid", {'R', 'I', 'F', 'F', 0, 0, 0, 4, 1, 2, 3, 4, 5, 6});
        WriteFile(dir.Path() / "Midifile" / "C.mid", Song(-1));
        WriteFile(dir.Path() / "Midifile" / "Half.mid", half);
    });
    // No box while the songs are converted: each message is kept with its song.
    int duringRun = 0;
    SetMessageHook([&w, &duringRun](const QString& text) {
        if (w.main->Converting()) ++duringRun;
        w.messages.push_back(text);
    });
    w.main->BConvert->click();
    QCOMPARE(duringRun, 0);
    QCOMPARE(w.messages.size(), 1);
    // The counts first, then every song with what became of it.
    QCOMPARE(w.messages.front(), QStringLiteral("4 songs: 2 converted, 1 damaged, 1 failed, 0 skipped\n\n"
                                                "A.mid: converted to A_VOC-3.mid\n"
                                                "Bad.mid: not a MIDI file (incorrect fileheader)\n"
                                                "C.mid: converted to C_NO-VOC.mid\n"
                                                "Half.mid: damaged at byte 18 in track 1, 9 records kept, converted "
                                                "to Half_VOC-3.mid (Byteread Error!)"));
    QCOMPARE(w.main->RunState->text(), QStringLiteral("4 songs: 2 converted, 1 damaged, 1 failed, 0 skipped"));
    QCOMPARE(Items(w.main->ListBox2), (QStringList{"A_VOC-3.mid", "C_NO-VOC.mid", "Half_VOC-3.mid"}));

    // The report with outcomes: output, song, result and reason on one line each.
    w.dialogAnswer = QString::fromStdString(w.File("Outcomes.txt"));
    w.main->SaveOutcomes1->trigger();
    const Bytes report = ReadFile(w.File("Outcomes.txt"));
    QCOMPARE(QString::fromLatin1(reinterpret_cast<const char*>(report.data()), static_cast<qsizetype>(report.size())),
             QStringLiteral("A_VOC-3.mid\tA.mid\tconverted\tconverted to A_VOC-3.mid\r\n"
                            "-\tBad.mid\tfailed\tnot a MIDI file (incorrect fileheader)\r\n"
                            "C_NO-VOC.mid\tC.mid\tconverted\tconverted to C_NO-VOC.mid\r\n"
                            "Half_VOC-3.mid\tHalf.mid\tdamaged\tdamaged at byte 18 in track 1, 9 records kept, "
                            "converted to Half_VOC-3.mid (Byteread Error!)\r\n"));
    // An existing report is replaced only when the user agrees.
    w.answer = false;
    w.main->SaveOutcomes1->trigger();
    QCOMPARE(w.questions.size(), 1);
    QCOMPARE(ReadFile(w.File("Outcomes.txt")), report);
}

void ConversionWindowTest::summaryOfEightyBadSongsFitsTheScreen() {
    QStringList lines;
    for (int i = 0; i < 80; ++i) lines << QStringLiteral("Bad%1.mid: not a MIDI file (incorrect fileheader)").arg(i);
    SummaryDialog summary(QStringLiteral("80 songs: 0 converted, 0 damaged, 80 failed, 0 skipped"), lines);
    summary.show();
    QVERIFY(QTest::qWaitForWindowExposed(&summary));
    const QRect screen = summary.screen()->availableGeometry();
    QVERIFY(summary.frameGeometry().height() <= screen.height());
    // The counts and the OK button stand inside the dialog; the list scrolls.
    QVERIFY(summary.rect().contains(summary.Close->geometry()));
    QVERIFY(summary.Counts->geometry().top() < summary.Songs->geometry().top());
    QVERIFY(summary.Songs->verticalScrollBar()->maximum() > 0);
    QCOMPARE(summary.Songs->toPlainText().count('\n'), 79);
    summary.Copy->click();
    QVERIFY(QApplication::clipboard()->text().endsWith(lines.back()));
}

void ConversionWindowTest::aRunTakesTheFolderAsItIsAndNamesAFolderEntry() {
    WindowSet w([](const TempDir& dir) {
        MakeFolders(dir);
        WriteFile(dir.Path() / "Midifile" / "A.mid", Song(2));
        WriteFile(dir.Path() / "Midifile" / "B.mid", Song(-1));
        fs::create_directories(dir.Path() / "Midifile" / "Live.mid");
    });
    QCOMPARE(Items(w.main->ListBox1), (QStringList{"A.mid", "B.mid", "Live.mid"}));
    // Changed after the list was shown: the run converts what is there when it starts.
    fs::remove(w.File("Midifile/A.mid"));
    WriteFile(w.File("Midifile/New.mid"), Song(-1));
    w.main->BConvert->click();
    QCOMPARE(w.messages, QStringList{QStringLiteral("3 songs: 2 converted, 0 damaged, 0 failed, 1 skipped\n\n"
                                                    "B.mid: converted to B_NO-VOC.mid\n"
                                                    "Live.mid: skipped, a folder and not a song\n"
                                                    "New.mid: converted to New_NO-VOC.mid")});
    QCOMPARE(Items(w.main->ListBox2), (QStringList{"B_NO-VOC.mid", "New_NO-VOC.mid"}));
    QCOMPARE(Items(w.main->ListBox1), (QStringList{"B.mid", "Live.mid", "New.mid"}));
}

void ConversionWindowTest::unusableConvertFolderIsOneMessageAndNothingIsConverted() {
    WindowSet w([](const TempDir& dir) {
        fs::create_directories(dir.Path() / "Midifile");
        WriteFile(dir.Path() / "Midifile" / "A.mid", Song(2));
        WriteFile(dir.Path() / "Convert", Bytes{});  // a file where the folder belongs
    });
    w.main->BConvert->click();
    QCOMPARE(w.messages, QStringList{QStringLiteral("The folder %1 cannot be used: Not a directory\n"
                                                    "Nothing was converted.")
                                         .arg(QString::fromStdString(w.File("Convert/")))});
    QVERIFY(w.questions.isEmpty());
    QVERIFY(w.main->LastRun().empty());
    QVERIFY(w.main->BConvert->isEnabled());
}

namespace {

// Stands in for the window as the engine's host during one conversion and
// looks at the window at every turn the engine gives it, before passing the
// turn on to the window.
class TurnProbe : public tonalux::EngineHost {
public:
    // The writer gives a turn at every chance it has, however fast the machine is.
    explicit TurnProbe(TForm1& window) : window_(window), clock_(&tonalux::testing::RacingClock) {
        tonalux::SetEngineHost(this);
    }
    ~TurnProbe() override { tonalux::SetEngineHost(&window_); }
    void ShowMessage(const std::string& text) override { Host().ShowMessage(text); }
    int VelocityThreshold() const override { return Host().VelocityThreshold(); }
    void ProcessMessages() override {
        ++turns;
        if (window_.MMLED1->IsLit()) ++lit;
        if (window_.CurrentMidifile() != nullptr) ++withEngine;
        if (window_.RunState->text() == QStringLiteral("1 of 1: Big.mid")) ++counted;
        if (!window_.BConvert->isEnabled() && !window_.Aktualisieren->isEnabled() &&
            !window_.SetupLaden1->isEnabled() && !window_.SetupSpeichern1->isEnabled() &&
            !window_.ListeSpeichern1->isEnabled() && !window_.CApplySettings->isEnabled() &&
            !window_.CAddChords->isEnabled() && !window_.CKeyboardLyrics->isEnabled() &&
            !window_.ChooseFolder1->isEnabled())
            ++disabled;
        // The options and the threshold cannot change in the middle of a batch.
        if (!window_.CFormat->isEnabled() && !window_.Vocoder->isEnabled() && !window_.VelPanel->isEnabled() &&
            !window_.MMSlider1->isEnabled())
            ++optionsFixed;
        window_.BConvertClick();  // a second conversion asked for now is refused
        // A queued call, which only the window's own event processing delivers.
        QMetaObject::invokeMethod(
            &window_, [this] { delivered += window_.MMLED1->IsLit() ? 1 : 0; }, Qt::QueuedConnection);
        Host().ProcessMessages();
    }

    int turns = 0, lit = 0, withEngine = 0, disabled = 0, optionsFixed = 0, counted = 0;
    int delivered = 0;  // queued calls delivered while the lamp was lit

private:
    tonalux::EngineHost& Host() const { return window_; }
    TForm1& window_;
    tonalux::testing::TurnClockFor clock_;
};

}  // namespace

void ConversionWindowTest::windowTakesItsTurnsWhileASongIsConverted() {
    // One track of 20,000 note events on four channels.
    WindowSet w([](const TempDir& dir) {
        MakeFolders(dir);
        Bytes body;
        for (std::uint32_t i = 0; i < 10'000; ++i) {
            const auto channel = static_cast<std::uint8_t>(i % 4);
            const auto key = static_cast<std::uint8_t>(40 + i % 40);
            body.insert(body.end(), {0x00, static_cast<std::uint8_t>(0x90 | channel), key, 100});
            body.insert(body.end(), {0x01, static_cast<std::uint8_t>(0x80 | channel), key, 0});
        }
        body.insert(body.end(), {0x00, 0xFF, 0x2F, 0x00});
        WriteFile(dir.Path() / "Midifile" / "Big.mid", SongBuilder(0, 96).AddTrack(Track().Raw(body)).Bytes());
    });
    TForm1& f = *w.main;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));

    {
        TurnProbe probe(f);
        QTest::mouseClick(f.BConvert, Qt::LeftButton);
        // Turns come while the channel records are collected, at most one per record.
        QVERIFY2(probe.turns > 0, "the window got no turn while the song was converted");
        QVERIFY(probe.turns <= 20'000);
        QCOMPARE(probe.lit, probe.turns);
        QCOMPARE(probe.withEngine, probe.turns);
        QCOMPARE(probe.counted, probe.turns);
        QCOMPARE(probe.disabled, probe.turns);
        QCOMPARE(probe.optionsFixed, probe.turns);
        // Every turn runs the window's event processing: the call queued before it is delivered.
        QCOMPARE(probe.delivered, probe.turns);
    }
    QVERIFY(f.CurrentMidifile() == nullptr);
    QVERIFY(w.messages.isEmpty());
    QCOMPARE(w.main->ConvertNames(), std::vector<std::string>{"Big_NO-VOC.mid"});
    QVERIFY(f.BConvert->isEnabled() && f.SetupLaden1->isEnabled() && f.ListeSpeichern1->isEnabled());
    QVERIFY(f.CFormat->isEnabled() && f.Vocoder->isEnabled() && f.VelPanel->isEnabled() && f.MMSlider1->isEnabled());
    QVERIFY(!f.MMLED1->IsLit());
}

void ConversionWindowTest::hundredSongsConvertInOneRun() {
    // 100 songs of about 50 KB: four channels of notes, one tempo change per bar.
    WindowSet w([](const TempDir& dir) {
        MakeFolders(dir);
        Track track;
        track.Tempo(0, 500000);
        for (std::uint32_t i = 0; i < 6'200; ++i) {
            const auto channel = static_cast<std::uint8_t>(i % 4);
            track.Note(i % 4 == 0 ? 24 : 0, static_cast<std::uint8_t>(0x90 | channel),
                       static_cast<std::uint8_t>(48 + i % 24), 90);
            track.Note(12, static_cast<std::uint8_t>(0x80 | channel), static_cast<std::uint8_t>(48 + i % 24), 0);
        }
        track.End();
        const Bytes song = SongBuilder(0, 96).AddTrack(track).Bytes();
        for (int i = 0; i < 100; ++i)
            WriteFile(dir.Path() / "Midifile" / ("Song" + std::to_string(100 + i) + ".mid"), song);
    });
    QVERIFY(fs::file_size(w.File("Midifile/Song100.mid")) >= 48'000);
    w.main->BConvert->click();
    QCOMPARE(w.main->ListBox2->count(), 100);
    QVERIFY(w.messages.isEmpty());
    // Every output is the same song, written whole.
    const Bytes first = ReadFile(w.File("Convert/Song100_NO-VOC.mid"));
    QVERIFY(first.size() > 48'000);
    QCOMPARE(ReadFile(w.File("Convert/Song199_NO-VOC.mid")), first);
}

namespace {

// Closes the window at the first turn the engine gives it, as a user would
// while a song is being written.
class ClosingHost : public tonalux::EngineHost {
public:
    // The writer gives a turn at every chance it has, however fast the machine is.
    explicit ClosingHost(TForm1& window) : window_(window), clock_(&tonalux::testing::RacingClock) {
        tonalux::SetEngineHost(this);
    }
    ~ClosingHost() override { tonalux::SetEngineHost(&window_); }
    void ShowMessage(const std::string& text) override { window_.ShowMessage(text); }
    void ProcessMessages() override {
        if (++turns == 1) window_.close();
        window_.ProcessMessages();
    }
    int turns = 0;

private:
    TForm1& window_;
    tonalux::testing::TurnClockFor clock_;
};

}  // namespace

void ConversionWindowTest::closingTheWindowStopsAfterTheCurrentSong() {
    WindowSet w([](const TempDir& dir) {
        MakeFolders(dir);
        // Enough records for the writer to give the window turns.
        Track track;
        for (int i = 0; i < 1500; ++i) track.Note(0, 0x90, 60, 100).Note(24, 0x80, 60, 0);
        track.End();
        WriteFile(dir.Path() / "Midifile" / "A.mid", SongBuilder(0, 96).AddTrack(track).Bytes());
        WriteFile(dir.Path() / "Midifile" / "B.mid", {'M', 'T', 'h', 'x'});
        WriteFile(dir.Path() / "Midifile" / "C.mid", Song(-1));
    });
    w.main->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.main.get()));
    {
        ClosingHost host(*w.main);
        w.main->BConvert->click();
        QVERIFY(host.turns > 0);
    }
    // A is written whole; B and C are not started, the summary says so, and
    // the window closes after it.
    QCOMPARE(w.main->LastRun().size(), std::size_t{1});
    QVERIFY(fs::file_size(w.File("Convert/A_NO-VOC.mid")) > 3000);
    QVERIFY(!fs::exists(w.File("Convert/C_NO-VOC.mid")));
    // The user was asked first; the summary names the songs left.
    QCOMPARE(w.questions.size(), 1);
    QVERIFY(w.questions.front().startsWith(QStringLiteral("Stop converting?")));
    QCOMPARE(w.messages, QStringList{QStringLiteral("1 song: 1 converted, 0 damaged, 0 failed, 0 skipped\n"
                                                    "2 songs left unconverted: the window was closed during the run.\n\n"
                                                    "A.mid: converted to A_NO-VOC.mid\n"
                                                    "B.mid: not converted, the window was closed during the run\n"
                                                    "C.mid: not converted, the window was closed during the run")});
    QVERIFY(!w.main->isVisible());
    QVERIFY(!w.main->MMLED1->IsLit());
}

QTEST_MAIN(ConversionWindowTest)
#include "ConversionWindowTest.moc"
