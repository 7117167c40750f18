// The program-change window: twelve rows, each mapping a source sound (bank
// select MSB and program number, "Quell") to a destination sound ("Ziel").
// Its controls are mirrored in ProgrammchangeBlock.
#pragma once

#include <QWidget>
#include <array>

#include "settings/SettingsBlocks.h"

class QLabel;
class QLineEdit;
class QFrame;
class TFInformationen;

class TFProgrammchange : public QWidget {
    Q_OBJECT
public:
    explicit TFProgrammchange(QWidget* parent = nullptr);

    // The other settings window, gathered together with this one.
    void SetInformationWindow(TFInformationen* information) { information_ = information; }

    // Copies the edits into the block, in the order MSBQ, PRGQ, MSBD, PRGD.
    // A text that is neither "-" nor a whole number raises
    // settings::IntegerTextError; the edits before it are stored by then.
    void FormToBlock();
    // Copies the block into the edits.
    void BlockToForm();
    // Shows whether the rows change the converted songs.
    void ShowInEffect(bool inEffect);

    tonalux::settings::ProgrammchangeBlock Block;

    QFrame* Panel1 = nullptr;
    std::array<QFrame*, tonalux::settings::kProgrammchangeRows> RowPanels{};
    std::array<QLineEdit*, tonalux::settings::kProgrammchangeRows> MSBQ{};
    std::array<QLineEdit*, tonalux::settings::kProgrammchangeRows> PRGQ{};
    std::array<QLineEdit*, tonalux::settings::kProgrammchangeRows> MSBD{};
    std::array<QLineEdit*, tonalux::settings::kProgrammchangeRows> PRGD{};
    QLabel* InEffect = nullptr;  // below the rows: whether they are applied
    QLabel* Note = nullptr;      // beside the rows: what the fields mean

    // Whether an edit holds "-" or a whole number; MarkInvalidEntries shows
    // the others in red.
    static bool IsEntryValid(const QLineEdit* edit);
    void MarkInvalidEntries();

signals:
    // Both windows were gathered after a change of a control.
    void Gathered();

public slots:
    // Shared change handler of all 48 edits: marks the invalid entries and
    // gathers both settings windows without a message.
    void MSBQ1Change();
    void FormCreate() {}

private:
    TFInformationen* information_ = nullptr;
};

extern TFProgrammchange* FProgrammchange;

// The gathering a settings control's change runs: both windows, in order. An
// entry that is not a number stops it as any gathering, but shows no message
// while the user types; a save or a conversion reports it.
void GatherQuietly(TFProgrammchange* programs, TFInformationen* information);
