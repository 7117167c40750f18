// The songbook of many songs: how long writing the PDF takes and how large it
// is. The songs of the folders are taken in turn until COUNT are in the book.
//
//   songbook_bench OUT.pdf COUNT FOLDER...
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>

#include "sheets/Songbook.h"

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: songbook_bench OUT.pdf COUNT FOLDER...\n");
        return 2;
    }
    QGuiApplication app(argc, argv);
    const QString out = QString::fromLocal8Bit(argv[1]);
    const int count = std::atoi(argv[2]);
    QStringList found;
    for (int i = 3; i < argc; ++i) found << tonalux::SongbookSongs(QString::fromLocal8Bit(argv[i]));
    if (found.isEmpty() || count <= 0) {
        std::fprintf(stderr, "songbook_bench: no songs\n");
        return 1;
    }
    QStringList songs;
    for (int i = 0; i < count; ++i) songs << found[i % found.size()];

    QElapsedTimer timer;
    timer.start();
    const tonalux::SongbookReport report = tonalux::WriteSongbook(songs, out);
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    if (!report.Written) {
        std::fprintf(stderr, "songbook_bench: %s\n", qPrintable(report.Error));
        return 1;
    }
    std::printf("songbook of %d songs (%lld different): %d pages (%d of contents), %.2f s, %.1f MB\n",
                static_cast<int>(report.Contents.size()), static_cast<long long>(found.size()), report.Pages,
                report.ContentsPages, seconds, static_cast<double>(QFileInfo(out).size()) / 1e6);
    for (const QString& problem : report.Problems) std::printf("  %s\n", qPrintable(problem));
    return 0;
}
