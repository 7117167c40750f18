// What the window says about a run, a folder and a setup, in the desktop's
// language: the same facts the conversion layer decides, put into words
// through the translation system.
#pragma once

#include <QString>
#include <QStringList>
#include <cstddef>
#include <vector>

#include "FolderConversion.h"
#include "settings/Report.h"
#include "settings/SetupFile.h"

// What happened to one song, without its name ("converted to A_VOC-3.mid").
QString OutcomeText(const tonalux::SongOutcome& outcome);

// "4 songs: 2 converted, 1 damaged, 1 failed, 0 skipped", followed by the
// songs a closed window left unconverted when there are any.
QString CountsText(const tonalux::RunCounts& counts, std::size_t left);

// "Name: not converted, the window was closed during the run": a song a
// stopped run did not reach.
QString UnconvertedLine(const std::string& name);

// "Name: what happened", one line per song of the run.
QStringList OutcomeLines(const std::vector<tonalux::SongOutcome>& outcomes);

// The report with outcomes, one entry per song.
std::vector<tonalux::settings::ReportEntry> ReportEntries(const std::vector<tonalux::SongOutcome>& outcomes);

// "The folder …/Convert/ cannot be used: Permission denied\nNothing was converted."
QString FolderProblemText(const tonalux::FolderProblem& problem);

// A setup field outside its range, naming the window, the row and the field.
QString SetupProblemText(const tonalux::settings::SetupProblem& problem);

// The caption of a setup field as its window shows it ("Quell MSB", "TRACKNAME").
QString FieldCaption(tonalux::settings::SetupField field);
