// The program's icon, drawn at run time: a red lamp on a dark key with a note.
#pragma once

#include <QIcon>

QIcon TonaluxIcon();
