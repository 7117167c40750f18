// The songbook: the sheets of many songs as one PDF, written with Qt's own
// PDF writer: contents pages with the page number of every song, then each
// song from the top of a page, as SheetLayout lays it out.
#pragma once

#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

#include "sheets/SheetPainter.h"

class QWidget;

namespace tonalux {

struct SongbookReport {
    bool Written = false;
    QString Error;           // why the PDF could not be written
    int Pages = 0;           // pages of the PDF, contents included
    int ContentsPages = 0;
    std::vector<std::pair<QString, int>> Contents;  // each song's title and first page
    QStringList Problems;    // "Name.mid: not a MIDI file", for the songs left out or read in part
};

// Writes the songbook of the songs (paths of song files, in this order) to
// `pdfPath`, whole or not at all. A file that is no song is left out and
// named among the problems.
SongbookReport WriteSongbook(const QStringList& songs, const QString& pdfPath, const SheetStyle& style = {});

// The songs of a folder that go into a songbook: its *.mid files by name.
QStringList SongbookSongs(const QString& folder);

// The menu entry "Liederbuch als PDF…": the selected songs, or those of the
// Convert folder or of a folder the user chooses, into a PDF the user names;
// then what became of it.
void OfferSongbook(QWidget* parent, const QString& convertFolder, const QStringList& selectedSongs);

}  // namespace tonalux
