// The window of one song, opened by a double click on a song of either list:
// its facts (format, tracks, division, tempo, metre, key, length, vocoder
// channel, chords and words, damage) and its sheet. The chords can be
// recognised from the notes, corrected by name, and the song saved.
//
// The engine's lists are process-wide, so the window keeps its song as bytes
// and loads them only for the moment of a step; a folder conversion between
// two steps cannot take the song away.
#pragma once

#include <QWidget>
#include <cstdint>
#include <string>
#include <vector>

#include "Component.h"
#include "song/SongFacts.h"

class QFormLayout;
class QLabel;
class QPushButton;
class QVBoxLayout;
class TForm1;
namespace tonalux {
class SheetView;
}

class SongWindow : public QWidget {
    Q_OBJECT
public:
    explicit SongWindow(TForm1* mainWindow);

    // Reads the song; a song that cannot be read shows why.
    void Open(const std::string& path);

    const std::string& Path() const { return path_; }
    const tonalux::SongFacts& Facts() const { return facts_; }
    // The song as the window holds it, with the changes not yet saved.
    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }
    bool Changed() const { return changed_; }

    // The fact rows: caption and value, in the order shown.
    QList<QPair<QString, QString>> FactRows() const;

    QLabel* Problem = nullptr;  // why the song could not be read; hidden otherwise
    QFormLayout* FactsForm = nullptr;
    tonalux::SheetView* Sheet = nullptr;  // the chords over the words, or the grid of bars
    QPushButton* Recognise = nullptr;   // "Recognise chords"
    QPushButton* Save = nullptr;        // "Save as..."

    // The step behind "Save as...": writes the song to `fileName` through the
    // one safe replace, asking first (default No) when the file exists.
    bool SaveTo(const QString& fileName);

public slots:
    void RecogniseClick();
    void SaveClick();
    // Sets the chord at `tick` to the chord of `name` as the tool's chord
    // lists name chords ("Am7", "C/E", "N.C."); a name that is no chord is
    // refused with a message. True when the song changed.
    bool SetChord(std::uint32_t tick, const QString& name);
    // A click on a chord of the sheet: its name is asked for, the shown one
    // offered, and set with SetChord.
    void EditChord(std::uint32_t tick, const QString& shown);

protected:
    void closeEvent(QCloseEvent* event) override;

signals:
    // The song's facts and sheet were worked out anew.
    void Shown();

private:
    // Loads bytes_ into an engine object of the window's own, runs `step` on
    // it, and keeps the song's bytes when the step changed it.
    template <typename Step>
    bool Change(Step step);
    // Works out the facts and the sheet from bytes_.
    void Present();
    // The text of the key row.
    static QString KeyText(const std::string& signature, const std::string& suggested);
    // Whether the engine is free; a folder conversion holds it.
    bool EngineFree();

    TForm1* main_;
    tonalux::Component owner_{nullptr};
    std::string path_;
    std::vector<std::uint8_t> bytes_;
    tonalux::SongFacts facts_;
    std::string sheetKey_;  // the key the sheet shows: the signature's, else the one the chords suggest
    bool changed_ = false;
};
