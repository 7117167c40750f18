// The language of the texts the program adds to its given captions, and of
// the toolkit's own dialogs and buttons: German or English, as the desktop's
// language asks. The given captions and German labels stay as they are.
#pragma once

class QLocale;

// Loads the program's translation for `locale` (tonalux_de.qm, tonalux_en.qm)
// and the toolkit's own (qtbase_de.qm, ...), replacing the ones loaded before.
// Returns whether the program's translation for the locale's language was
// found. A language without a translation gets the English texts.
bool InstallTranslations(const QLocale& locale);
