// What the window remembers between runs: the options of the main window,
// both settings windows (as one setup record) and the working folder, in the
// desktop's settings store (QSettings, "Tonalux/Tonalux").
#pragma once

#include <QSettings>
#include <QString>

inline QSettings StoredOptions() { return QSettings(QStringLiteral("Tonalux"), QStringLiteral("Tonalux")); }

inline const QString kApplySettingsKey = QStringLiteral("ApplySettings");
inline const QString kAddChordsKey = QStringLiteral("AddChords");
inline const QString kKeyboardLyricsKey = QStringLiteral("KeyboardLyrics");
inline const QString kFormat0Key = QStringLiteral("Format0");
inline const QString kVocoderKey = QStringLiteral("DeleteVocoderSysex");
inline const QString kVelocityKey = QStringLiteral("Velocity");
inline const QString kSetupKey = QStringLiteral("Setup");  // the 312 bytes of a setup file
inline const QString kWindowPositionKey = QStringLiteral("WindowPosition");  // the main window's top-left corner
inline const QString kWorkingFolderKey = QStringLiteral("WorkingFolder");
