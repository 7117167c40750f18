// The program's icon, drawn at run time: a red lamp on a dark key with a note.
// The same drawing gives the window icon and the PNG files installed for the
// desktop menu.
#pragma once

#include <QIcon>
#include <QImage>
#include <array>

// The sizes, in pixels, in which the icon is drawn: for the window and for the
// icon theme of the desktop.
inline constexpr std::array<int, 8> kIconSizes{16, 22, 24, 32, 48, 64, 128, 256};

// The icon as a square image of `size` pixels with a transparent background.
QImage DrawTonaluxIcon(int size);

QIcon TonaluxIcon();
