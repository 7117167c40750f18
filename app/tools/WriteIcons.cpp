// tonalux_icons OUTDIR: writes the program's icon as OUTDIR/<n>x<n>/apps/tonalux.png
// for every size the window uses, the layout of a desktop icon theme. The build
// runs it, so the installed icons are the window's own drawing.
#include <QDir>
#include <QImage>
#include <QString>
#include <cstdio>

#include "widgets/AppIcon.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: tonalux_icons OUTDIR\n");
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    for (int size : kIconSizes) {
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(root).arg(size);
        const QString file = folder + QStringLiteral("/tonalux.png");
        if (!QDir().mkpath(folder) || !DrawTonaluxIcon(size).save(file, "PNG")) {
            std::fprintf(stderr, "tonalux_icons: could not write %s\n", file.toLocal8Bit().constData());
            return 1;
        }
    }
    return 0;
}
