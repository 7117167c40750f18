#include "song/SongWindow.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QScrollArea>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>
#include <memory>

#include "ChordNames.h"
#include "ChordRecognition.h"
#include "FileNames.h"
#include "MessageDisplay.h"
#include "Platform.h"
#include "SongLyrics.h"
#include "SongReading.h"
#include "SongSheet.h"
#include "sheets/SheetView.h"
#include "StandardMidifile.h"
#include "Unit1.h"
#include "widgets/LedNumber.h"

namespace {

QString YesNo(bool yes) { return yes ? SongWindow::tr("yes") : SongWindow::tr("no"); }

QString DivisionText(int division) {
    if ((division & 0x8000) == 0) return SongWindow::tr("%1 ticks per quarter note").arg(division);
    const int frames = -static_cast<std::int8_t>(static_cast<std::uint8_t>(division >> 8));
    return SongWindow::tr("SMPTE, %1 frames per second, %2 ticks per frame").arg(frames).arg(division & 0xFF);
}

}  // namespace

SongWindow::SongWindow(TForm1* mainWindow) : QWidget(mainWindow, Qt::Window), main_(mainWindow) {
    auto* layout = new QVBoxLayout(this);
    Problem = new QLabel(this);
    Problem->setWordWrap(true);
    Problem->setStyleSheet(QStringLiteral("color: #b00000"));
    Problem->hide();
    layout->addWidget(Problem);

    auto* top = new QHBoxLayout;
    FactsForm = new QFormLayout;
    top->addLayout(FactsForm, 1);
    auto* buttons = new QVBoxLayout;
    Recognise = new QPushButton(tr("&Recognise chords"), this);
    Recognise->setToolTip(tr("Puts the chords the notes suggest in place of the song's chords"));
    Save = new QPushButton(tr("&Save as..."), this);
    buttons->addWidget(Recognise);
    buttons->addWidget(Save);
    buttons->addStretch(1);
    top->addLayout(buttons);
    layout->addLayout(top);

    auto* sheetArea = new QScrollArea(this);
    sheetArea->setWidgetResizable(true);
    Sheet = new tonalux::SheetView;
    Sheet->setToolTip(tr("Click a chord to correct it"));
    sheetArea->setWidget(Sheet);
    layout->addWidget(sheetArea, 1);
    connect(Sheet, &tonalux::SheetView::ChordActivated, this, &SongWindow::EditChord);
    connect(Recognise, &QPushButton::clicked, this, &SongWindow::RecogniseClick);
    connect(Save, &QPushButton::clicked, this, &SongWindow::SaveClick);
    resize(760, 820);
}

bool SongWindow::EngineFree() {
    if (!main_ || !main_->Converting()) return true;
    ShowMessageBox(tr("A conversion is running; this waits until it is done."), this);
    return false;
}

void SongWindow::Open(const std::string& path) {
    path_ = path;
    changed_ = false;
    setWindowTitle(DisplayName(path.substr(path.find_last_of('/') + 1)) + QStringLiteral(" - Tonalux"));
    tonalux::SystemError error;
    bytes_.clear();
    if (!tonalux::ReadWholeFile(path, bytes_, error)) {
        bytes_.clear();
        Problem->setText(tr("%1 could not be read: %2").arg(DisplayName(path), FromEightBit(error.Reason)));
        Problem->show();
        Recognise->setEnabled(false);
        Save->setEnabled(false);
        return;
    }
    Present();
}

template <typename Step>
bool SongWindow::Change(Step step) {
    if (!EngineFree()) return false;
    std::unique_ptr<tonalux::StandardMidifile> song(new tonalux::StandardMidifile(&owner_));
    const tonalux::SongLoadState state = tonalux::LoadSongFromBytes(*song, bytes_);
    if (state != tonalux::SongLoadState::Whole && state != tonalux::SongLoadState::Damaged) return false;
    if (!step(*song)) return false;
    std::vector<std::uint8_t> changed;
    if (!song->SaveMidiBytes(song->Format == 0 ? 0 : 1, changed)) return false;
    bytes_ = std::move(changed);
    changed_ = true;
    Present();
    return true;
}

void SongWindow::Present() {
    while (FactsForm->rowCount() > 0) FactsForm->removeRow(0);
    std::unique_ptr<tonalux::StandardMidifile> song(new tonalux::StandardMidifile(&owner_));
    const tonalux::SongLoadState state = tonalux::LoadSongFromBytes(*song, bytes_);
    const bool readable = state == tonalux::SongLoadState::Whole || state == tonalux::SongLoadState::Damaged;
    Problem->setVisible(!readable);
    Recognise->setEnabled(readable);
    Save->setEnabled(readable);
    if (!readable) {
        Problem->setText(state == tonalux::SongLoadState::NotMidi ? tr("%1 is not a MIDI file.").arg(DisplayName(path_))
                                                                   : tr("%1 could not be read.").arg(DisplayName(path_)));
        return;
    }
    const int threshold = main_ ? main_->VelPanel->intValue() : tonalux::kDefaultVelocityThreshold;
    facts_ = tonalux::ReadSongFacts(*song, threshold);
    const std::string fileName = path_.substr(path_.find_last_of('/') + 1);
    const tonalux::SongSheet sheet = tonalux::MakeSongSheet(*song, tonalux::ReadLyrics(*song), fileName);
    sheetKey_ = sheet.Key;
    Sheet->SetSheet(sheet);
    for (const auto& [caption, value] : FactRows()) {
        auto* label = new QLabel(value, this);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        FactsForm->addRow(caption, label);
    }
    emit Shown();
}

// The key signature's key; without one, the key the chords suggest, which
// the sheet below shows, said to be no signature's.
QString SongWindow::KeyText(const std::string& signature, const std::string& suggested) {
    if (!signature.empty()) return QString::fromStdString(signature);
    if (suggested.empty()) return tr("no key signature");
    return tr("no key signature; the chords suggest %1").arg(QString::fromStdString(suggested));
}

QList<QPair<QString, QString>> SongWindow::FactRows() const {
    const tonalux::SongFacts& f = facts_;
    // A tempo event holds microseconds per quarter note: 461538 is 130 bpm to a tenth.
    const double tempo = std::round(f.Tempo * 10) / 10;
    const QString vocoder = f.VocoderChannel == tonalux::kNoVocoderChannel ? tr("none")
                                                                          : tr("channel %1").arg(f.VocoderChannel);
    const QString length = f.Bars > 0 ? tr("%n bar(s), %1", nullptr, static_cast<int>(f.Bars))
                                            .arg(QString::fromStdString(tonalux::MinutesAndSeconds(f.Seconds)))
                                      : QString::fromStdString(tonalux::MinutesAndSeconds(f.Seconds));
    return {
        {tr("Format"), QString::number(f.Format)},
        {tr("Tracks"), QString::number(f.Tracks)},
        {tr("Division"), DivisionText(f.Division)},
        {tr("Tempo"), tr("%1 bpm").arg(tempo, 0, 'f', tempo == std::floor(tempo) ? 0 : 1)},
        {tr("Metre"), QString::fromStdString(f.Metre)},
        {tr("Key"), KeyText(f.Key, sheetKey_)},
        {tr("Length"), length},
        {tr("Vocoder"), vocoder},
        {tr("Chords"), YesNo(f.Chords)},
        {tr("Words"), YesNo(f.Words)},
        {tr("Damage"), f.Damage.empty() ? tr("none, read whole") : FromEightBit(f.Damage)},
    };
}

void SongWindow::closeEvent(QCloseEvent* event) {
    // Changed chords are lost on closing unless the user says so.
    if (changed_ && !AskYesNo(tr("The chords of %1 were changed and not saved.\nClose without saving?")
                                  .arg(windowTitle().section(QStringLiteral(" - "), 0, 0)),
                              this)) {
        event->ignore();
        return;
    }
    event->accept();
}

void SongWindow::RecogniseClick() {
    const bool done = Change([](tonalux::StandardMidifile& song) {
        return tonalux::AddChordsFromNotes(song, true).Outcome == tonalux::ChordsFromNotes::Added;
    });
    if (!done && (!main_ || !main_->Converting())) ShowMessageBox(tr("The notes tell no chords."), this);
}

bool SongWindow::SetChord(std::uint32_t tick, const QString& name) {
    const auto chord = tonalux::ChordFromName(name.toLatin1().toStdString());
    if (!chord) {
        ShowMessageBox(tr("\"%1\" is not a chord name. Chords are named as the chord lists of tonalux-cli name "
                          "them: \"C\", \"Am7\", \"F#m7  /E\" (two blanks before the bass).")
                           .arg(name),
                       this);
        return false;
    }
    return Change([&](tonalux::StandardMidifile& song) {
        const tonalux::MetaEvent event = tonalux::MakeChordEvent(tick, chord->Root, chord->Type, chord->Bass);
        for (int i = 0; i < song.GetSizeYamChordEvents(); ++i)
            if (song.GetYamchord(i).Tick == tick) return song.EditYamchord(i, event);
        return song.AddYamchord(event);
    });
}

void SongWindow::EditChord(std::uint32_t tick, const QString& shown) {
    bool given = false;
    const QString name = QInputDialog::getText(this, windowTitle(),
                                               tr("The chord at tick %1, named as the chord lists of tonalux-cli "
                                                  "name chords (\"Am7\", \"F#m7  /E\"):")
                                                   .arg(tick),
                                               QLineEdit::Normal, shown, &given);
    if (given && !name.trimmed().isEmpty()) SetChord(tick, name.trimmed());
}

void SongWindow::SaveClick() {
    if (!EngineFree()) return;
    const QString chosen = QFileDialog::getSaveFileName(this, tr("Save the song"), DisplayName(path_),
                                                        QStringLiteral("*.mid (*.mid *.MID)"), nullptr,
                                                        QFileDialog::DontConfirmOverwrite);
    if (!chosen.isEmpty()) SaveTo(chosen);
}

bool SongWindow::SaveTo(const QString& fileName) {
    if (QFileInfo::exists(fileName) &&
        !AskYesNo(tr("%1 already exists.\nDo you want to replace it?").arg(fileName), this))
        return false;
    const tonalux::ReplaceOutcome outcome = tonalux::ReplaceFileContents(FileSystemName(fileName), bytes_);
    if (!outcome) {
        ShowMessageBox(tr("%1 could not be written: %2").arg(fileName, FromEightBit(outcome.Reason)), this);
        return false;
    }
    changed_ = false;
    return true;
}
