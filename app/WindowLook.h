// What the three windows share in look and placement: the two fonts, raised
// panels, and a window placed by its outer size and position.
#pragma once

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QRect>
#include <QString>

class QFrame;
class QLabel;
class QWidget;

// The window font, "MS Sans Serif", or a sans-serif font of the same pixel height.
QFont SansFont(int pixelHeight, bool bold = false);
// The small labels' font, "Small Fonts", or a sans-serif font of the same pixel height.
QFont SmallFont(int pixelHeight = 9);

// A raised panel.
QFrame* MakePanel(QWidget* parent, const QRect& geometry);
// A raised panel whose caption stands in its middle.
QLabel* MakeHeadingPanel(QWidget* parent, const QRect& geometry, const QString& caption);
// A label at a position, sized to its text.
QLabel* MakeLabel(QWidget* parent, int left, int top, const QString& caption, const QFont& font);

void SetTextColour(QWidget* widget, const QColor& colour);

// The top-left corner that moves `frame` just enough to lie whole within
// `screen`; a frame larger than the screen keeps its top-left corner on it.
QPoint OnScreen(const QRect& frame, const QRect& screen);

// The frame moved whole onto the screen and, when it then covers
// `keepClear` (a null rectangle for none), moved below it and shortened to
// the screen's bottom.
QRect ClearOf(const QRect& frame, const QRect& keepClear, const QRect& screen);

// The window property naming, in screen coordinates, what the window must
// not cover (the main window's menu bar for the settings windows).
inline constexpr const char* kKeepClearProperty = "tonaluxKeepClear";

// Moves a window's frame whole onto the screen it stands on, clear of what
// its kKeepClearProperty names. Called again once the window manager has
// added the frame, so a first opening is placed like every later one.
void KeepOnScreen(QWidget* window);

// The widget a settings window's controls stand on: inside a scroll area
// that fills the window, at least `needed` large. Scroll bars appear only
// where the screen is smaller than the window.
QWidget* MakeScrollingClient(QWidget* window, const QSize& needed);

// Places a window so that its outer rectangle, frame included, is `outer`.
// The frame is known only once the window is on the screen; until then the
// window takes the whole rectangle. A window larger than the screen is made
// as large as the screen, and every window is moved whole onto it.
void PlaceWindow(QWidget* window, const QRect& outer);
