// The program's message boxes: every message, the engine's included, goes
// through ShowMessageBox, which shows a modal box titled "Tonalux". A hook
// can take the messages instead (tests record them there).
#pragma once

#include <QString>
#include <functional>
#include <string>

class QWidget;

inline constexpr const char* kApplicationTitle = "Tonalux";

using MessageHook = std::function<void(const QString& text)>;

// Installs a hook that receives every message instead of a box; an empty hook
// restores the boxes.
void SetMessageHook(MessageHook hook);

void ShowMessageBox(const QString& text, QWidget* parent = nullptr);

// Asks a question with the buttons Yes and No; true for Yes. No is the
// default button, so that Enter never replaces a file or ends a run by
// accident. A hook can answer instead (tests give the answer there and record
// the question).
using QuestionHook = std::function<bool(const QString& question)>;
void SetQuestionHook(QuestionHook hook);
bool AskYesNo(const QString& question, QWidget* parent = nullptr);

// Whether a message hook takes the messages (then no window may wait for a user).
bool MessagesHooked();

// A caption as the user sees it, without its access-key marks: "&FolderConvert"
// is "FolderConvert", "Rock && Roll" is "Rock & Roll". Texts that name a
// button or a menu item name it so.
QString ShownCaption(const QString& caption);

// 8-bit text of the engine and the settings: UTF-8 where it is valid, else Latin-1.
QString FromEightBit(const std::string& text);

// Runs an event handler; an error that escapes it is shown with its text and
// the program goes on.
void RunGuarded(const std::function<void()>& handler, QWidget* parent = nullptr);
