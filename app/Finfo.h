// The information window: a copyright text, a track name and eight
// channel-swap pairs ("KANALTAUSCHEN"). Its controls, together with the main
// window's "Start auf Tatkt 1" and "Midiformat 0", are mirrored in
// InformationenBlock.
#pragma once

#include <QWidget>
#include <array>

#include "settings/SettingsBlocks.h"

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class TForm1;
class TFProgrammchange;

class TFInformationen : public QWidget {
    Q_OBJECT
public:
    explicit TFInformationen(TForm1* mainWindow, QWidget* parent = nullptr);

    void SetProgrammchangeWindow(TFProgrammchange* programs) { programs_ = programs; }

    // Copies the texts, the channel boxes and the two main-window options into
    // the block.
    void FormToBlock();
    // Copies the block into the controls and the two main-window options.
    void BlockToForm();
    // Shows whether the texts and the channel swaps change the converted songs.
    void ShowInEffect(bool inEffect);

    tonalux::settings::InformationenBlock Block;

    QFrame* Panel1 = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* ECopyright = nullptr;
    QFrame* Panel2 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* ETrackname = nullptr;
    QFrame* Panel3 = nullptr;
    QLabel* Label3 = nullptr;
    std::array<QComboBox*, tonalux::settings::kChannelPairs> CKanV{};
    std::array<QComboBox*, tonalux::settings::kChannelPairs> CKanT{};
    QLabel* InEffect = nullptr;  // below the pairs: whether the settings are applied

public slots:
    // Shared change handler of both edits and all sixteen boxes: gathers both
    // settings windows.
    void CKanV1Change();

private:
    TForm1* main_;
    TFProgrammchange* programs_ = nullptr;
};

extern TFInformationen* FInformationen;
