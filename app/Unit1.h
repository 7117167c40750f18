// The main window "Tonalux & Belvorta": the lists of Midifile/ and Convert/,
// the conversion options, the velocity threshold, the busy lamp, the menu with
// the setup files and the report, and the notification-area icon. It is the
// engine's host: the engine shows its messages and reads the threshold here.
#pragma once

#include <QMainWindow>
#include <QString>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "Component.h"
#include "EngineHost.h"
#include "FolderConversion.h"

class LedLamp;
class LedNumber;
class QAction;
class QCheckBox;
class QFileDialog;
class QFrame;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QMimeData;
class QProgressBar;
class QPushButton;
class QScrollArea;
class QSlider;
class SongWindow;
class TrayIcon;
class TFInformationen;
class TFProgrammchange;
namespace tonalux {
class StandardMidifile;
}

class TForm1 : public QMainWindow, public tonalux::EngineHost {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // The two settings windows; both are gathered once here, so that a filling
    // before any other gathering leaves their controls as they are.
    void SetSettingsWindows(TFProgrammchange* programs, TFInformationen* information);

    // ---- controls -----------------------------------------------------------
    // The controls stand on Client at their given places; Client scrolls
    // inside the window only where the screen is smaller than the window.
    QScrollArea* ClientArea = nullptr;
    QWidget* Client = nullptr;
    LedLamp* MMLED1 = nullptr;
    QLabel* Label1 = nullptr;
    QFrame* Panel1 = nullptr;
    QCheckBox* CFastPlay = nullptr;
    QFrame* Panel2 = nullptr;
    QCheckBox* CFormat = nullptr;
    QListWidget* ListBox1 = nullptr;
    QPushButton* BConvert = nullptr;
    QPushButton* Aktualisieren = nullptr;
    QPushButton* Button1 = nullptr;
    QLabel* Panel3 = nullptr;
    QLabel* Panel4 = nullptr;
    QListWidget* ListBox2 = nullptr;
    QCheckBox* Vocoder = nullptr;
    // "Einstellungen anwenden": the settings windows' rows, texts and channel
    // swaps change the converted songs. Remembered between runs.
    QCheckBox* CApplySettings = nullptr;
    // "Akkorde ergänzen": chord symbols added to songs that have none.
    // Remembered between runs like the box above.
    QCheckBox* CAddChords = nullptr;
    // "Liedtext fürs Keyboard": each song's words written as keyboard lyrics.
    // Remembered between runs like the boxes above.
    QCheckBox* CKeyboardLyrics = nullptr;
    // During a run: "17 of 53: Song.mid"; the counts of the last run after it.
    QLabel* RunState = nullptr;
    // Beside the run's state: how many songs of the run are done.
    QProgressBar* Progress = nullptr;
    LedNumber* VelPanel = nullptr;
    QFrame* SliderPopup = nullptr;  // holds MMSlider1 below the velocity display
    QSlider* MMSlider1 = nullptr;
    TrayIcon* TrayIcon1 = nullptr;
    QFileDialog* OpenDialog1 = nullptr;
    QFileDialog* SaveDialog1 = nullptr;
    QFileDialog* SaveDialog2 = nullptr;
    QFileDialog* FolderDialog = nullptr;   // "Choose working folder…"
    QFileDialog* OutcomeDialog = nullptr;  // the report with outcomes
    QAction* Hauptmenue1 = nullptr;
    QAction* SetupLaden1 = nullptr;
    QAction* SetupSpeichern1 = nullptr;
    QAction* ListeSpeichern1 = nullptr;
    QAction* Soundaenderungen1 = nullptr;
    QAction* Zusatzinformationen1 = nullptr;
    QAction* Songbook1 = nullptr;        // "Liederbuch als PDF…"
    QAction* ChooseFolder1 = nullptr;    // "Choose working folder…"
    QAction* OpenConvert1 = nullptr;     // "Open the Convert folder"
    QAction* SaveOutcomes1 = nullptr;    // "Save report with outcomes…"
    QAction* ConvertSelected1 = nullptr; // "Convert the selected songs"
    QAction* Quit1 = nullptr;            // "Quit", Ctrl+Q
    QAction* Manual1 = nullptr;          // "Manual", F1
    QAction* About1 = nullptr;           // "About Tonalux & Belvorta"
    QWidget* Manual = nullptr;           // the manual's window, once opened
    std::vector<SongWindow*> SongWindows;  // the open windows of songs

    // ---- state --------------------------------------------------------------
    std::string BaseFolder;  // the start folder, ending in "/"

    // ---- operations ---------------------------------------------------------
    bool MidifileListeLaden();
    bool ConvertListeLaden();
    // The names the two lists hold, as the file system spells them.
    const std::vector<std::string>& MidifileNames() const { return midifileNames_; }
    const std::vector<std::string>& ConvertNames() const { return convertNames_; }
    // True while a folder conversion runs.
    bool Converting() const { return converting_; }
    // What became of each song of the last folder conversion.
    const std::vector<tonalux::SongOutcome>& LastRun() const { return lastRun_; }
    // The folder the window works on (BaseFolder), chosen and remembered.
    void SetWorkingFolder(const QString& folder);
    // Converts the songs of the given paths (files and folders dropped onto
    // the window) into Convert/ where they lie; Midifile/ is not touched.
    void ConvertDropped(const std::vector<std::string>& paths);
    // What a drop does with its data: the local files and folders among its
    // addresses converted; false when it holds none or a run is going on.
    bool DropSongs(const QMimeData* data);
    // The songs of the run being converted, in order; empty between runs.
    const std::vector<tonalux::SongSource>& RunSongs() const { return runSongs_; }
    // The engine object of the song being converted; nullptr between songs.
    tonalux::StandardMidifile* CurrentMidifile() const;

    // What the three menu items do with the file the dialog gave; an empty
    // name stands for a cancelled dialog.
    void LoadSetup(const QString& fileName);
    void SaveSetup(const QString& fileName);
    void SaveReport(const QString& fileName);
    // The report with the outcomes of the last run.
    void SaveOutcomeReport(const QString& fileName);
    // The options, both settings windows and the working folder, written to
    // and read from the program's remembered settings.
    void RememberOptions();
    void RestoreOptions();

    // Runs a file dialog and gives the chosen file or an empty name. Tests
    // replace it so that no dialog waits for a user.
    using DialogRunner = std::function<QString(QFileDialog& dialog)>;
    void SetDialogRunner(DialogRunner runner);

    // ---- engine host ----------------------------------------------------------
    void ShowMessage(const std::string& text) override;
    void ProcessMessages() override;
    int VelocityThreshold() const override;

public slots:
    void FormCreate();
    void AktualisierenClick();
    void BConvertClick();
    void CFormatClick();
    void CFastPlayClick();
    void CApplySettingsClick();
    void MMSlider1Change(int position);
    void SetupLaden1Click();
    void SetupSpeichern1Click();
    void ListeSpeichern1Click();
    void ChooseFolder1Click();
    void OpenConvert1Click();
    void SaveOutcomes1Click();
    void ConvertSelected1Click();
    void Manual1Click();
    void About1Click();
    // A double click on a song of either list opens its window.
    void SongActivated(QListWidgetItem* item);

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void BuildControls();
    void BuildMenu();
    void BuildDialogs();
    void BuildChecks(QWidget* client);
    void BuildSlider();
    void BuildHelpMenu();
    // The window's remembered position, when it lies on a screen.
    void RestorePosition();
    void RememberPosition();
    void FitToScreen();
    void ShowSliderPopup();
    void SetCommandsEnabled(bool enabled);
    // The checks before a run: the settings when they are applied, and the
    // folders (offering to create missing ones). False stops the run.
    bool SettingsReady();
    bool FoldersReady(const tonalux::ConversionFolders& folders);
    // A run over the given songs into Convert/: the settings are checked,
    // the songs converted with the commands disabled, the lists refreshed and
    // the outcome presented.
    void StartRun(const std::vector<tonalux::SongSource>& songs);
    // The loop, with the commands disabled while it runs.
    void ConvertLoop(const std::vector<tonalux::SongSource>& songs, const std::string& output);
    void ShowProgress(std::size_t index, std::size_t count, const std::string& name);
    // The counts, the songs a closed window left unconverted by name, and the
    // right-hand list showing the run's outputs.
    void PresentRun(const std::vector<std::string>& left);
    void ShowRunOutputs();
    void ShowSettingsWindow(QWidget* window, QWidget* field = nullptr);
    QString RunDialog(QFileDialog& dialog);
    // A save dialog's answer, or empty when the chosen file exists and the
    // user does not want it replaced.
    QString ConfirmReplace(const QString& fileName);

    // Owner of the engine object of the song being converted.
    tonalux::Component EngineOwner{nullptr};
    TFProgrammchange* programs_ = nullptr;
    TFInformationen* information_ = nullptr;
    std::vector<std::string> midifileNames_;
    std::vector<std::string> convertNames_;
    std::vector<tonalux::SongOutcome> lastRun_;
    std::vector<tonalux::SongSource> runSongs_;
    bool lastRunStartFirstNote_ = false;
    bool askingToStop_ = false;
    DialogRunner dialogRunner_;
    bool converting_ = false;
    bool closing_ = false;
    bool restoring_ = false;
};

extern TForm1* Form1;

// The About box's text: the program, its version and its licence.
QString AboutText();
