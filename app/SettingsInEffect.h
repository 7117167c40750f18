// The line in each settings window that tells whether the window's settings
// change the converted songs, that is whether the main window's
// "Einstellungen anwenden" is ticked.
#pragma once

#include <QRect>

class QLabel;
class QWidget;

// The caption of the main window's check box.
inline constexpr const char* kApplySettingsCaption = "Einstellungen anwenden";

// The height of the line; each settings window is this much taller than its
// given size, so that the line stands below the given controls, never cut.
inline constexpr int kInEffectRoom = 26;

QLabel* MakeInEffectLine(QWidget* parent, const QRect& geometry);

// Shows the line as in effect or not.
void ShowInEffect(QLabel* line, bool inEffect);
