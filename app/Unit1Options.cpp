// The main window's remembered options: written at every change, read once
// when the settings windows are there. The settings travel as one setup
// record, so they are remembered together with "Einstellungen anwenden" and
// come back only when the whole record passes the setup's checks.
#include <QCheckBox>
#include <QSlider>
#include <algorithm>

#include "Finfo.h"
#include "Progr.h"
#include "RememberedOptions.h"
#include "Unit1.h"
#include "settings/SetupFile.h"

void TForm1::RememberOptions() {
    if (restoring_) return;
    QSettings stored = StoredOptions();
    stored.setValue(kApplySettingsKey, CApplySettings->isChecked());
    stored.setValue(kAddChordsKey, CAddChords->isChecked());
    stored.setValue(kKeyboardLyricsKey, CKeyboardLyrics->isChecked());
    stored.setValue(kFormat0Key, CFormat->isChecked());
    stored.setValue(kVocoderKey, Vocoder->isChecked());
    stored.setValue(kVelocityKey, MMSlider1->value());
    if (programs_ && information_) {
        const auto record = tonalux::settings::EncodeSetup(programs_->Block, information_->Block);
        stored.setValue(kSetupKey, QByteArray(reinterpret_cast<const char*>(record.data()),
                                              static_cast<qsizetype>(record.size())));
    }
}

void TForm1::RestoreOptions() {
    restoring_ = true;
    QSettings stored = StoredOptions();
    CApplySettings->setChecked(stored.value(kApplySettingsKey, false).toBool());
    CAddChords->setChecked(stored.value(kAddChordsKey, false).toBool());
    CKeyboardLyrics->setChecked(stored.value(kKeyboardLyricsKey, false).toBool());
    Vocoder->setChecked(stored.value(kVocoderKey, true).toBool());
    MMSlider1->setValue(std::clamp(stored.value(kVelocityKey, MMSlider1->value()).toInt(), 0, 127));
    CFormat->setChecked(stored.value(kFormat0Key, true).toBool());

    const QByteArray bytes = stored.value(kSetupKey).toByteArray();
    if (programs_ && information_ && bytes.size() == static_cast<qsizetype>(tonalux::settings::kSetupRecordSize)) {
        tonalux::settings::SetupRecord record{};
        std::copy(bytes.begin(), bytes.end(), record.begin());
        tonalux::settings::ProgrammchangeBlock programs;
        tonalux::settings::InformationenBlock information;
        tonalux::settings::DecodeSetup(record, programs, information);
        if (!tonalux::settings::CheckSetup(programs, information)) {
            programs_->Block = programs;
            information_->Block = information;
            programs_->BlockToForm();
            information_->BlockToForm();
        }
    }
    restoring_ = false;
}
