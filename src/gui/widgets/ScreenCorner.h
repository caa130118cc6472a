#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

// Where a window of `size` stands in the bottom-right corner of a screen of
// the given geometry, `bottomGap` pixels above its bottom edge. The
// geometry is the screen's place on the whole desktop, so a screen right of
// another (x = 1920) or above it (y = -1080) keeps the window on itself.
QPoint bottomRightCorner(const QRect &screen, const QSize &size, int bottomGap = 0);

// Moves `window` to that corner of the full geometry (not the work area: a
// notice may cover a panel) of the screen it is on, or of the primary
// screen when it is on none yet.
void placeAtBottomRight(QWidget *window, int bottomGap = 0);

// `window` moved (and made smaller where it is larger) so that it lies
// wholly inside `area`.
QRect keptInside(const QRect &area, const QRect &window);

// Keeps `window` inside the available area (the screen less its panels) of
// the screen it is on, or of the primary screen when it is on none yet; a
// window of fixed size is only moved.
void keepInsideAvailableArea(QWidget *window);
