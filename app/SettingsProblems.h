// The first entry of the two settings windows that a conversion with the
// settings, or a save of them, cannot take: a program-change entry that is no
// whole number or lies outside its range, a text with a character the song's
// 8-bit text cannot hold. The message names the window, the row and the field.
#pragma once

#include <QString>
#include <optional>

class QWidget;
class TFInformationen;
class TFProgrammchange;

struct SettingsProblem {
    QString Text;
    QWidget* Window = nullptr;  // the settings window that shows the field
    QWidget* Field = nullptr;   // the field itself
};

// Looks at the fields in the order the windows show them; gathers both
// windows when every field is usable.
std::optional<SettingsProblem> FindSettingsProblem(TFProgrammchange& programs, TFInformationen& information);
