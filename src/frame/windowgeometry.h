#pragma once

#include <QRect>

// The arithmetic of the main window's placement, apart from the screens it is asked about.

// Whether a stored geometry can be used: a positive width and height, and every edge within
// the range a widget can have, so that moving and clipping it cannot overflow.
bool isUsableStoredGeometry(const QRect &stored);

// The first-start geometry inside an available area: 80% of its width at 16 : 9 (or 80% of
// its height when that is too tall), centred in the area.
QRect defaultWindowGeometry(const QRect &available);

// Brings a usable stored geometry whole into an available area: to the area's top-left when
// its own top-left lies outside the area, shrunk to the area's size, and pushed back inside.
QRect fitIntoArea(const QRect &geometry, const QRect &available);

// The maximised geometry on a screen. Some systems report an available area that is a
// multiple of the screen (scaled desktops); it is brought back to the screen's size.
QRect maximizedGeometry(const QRect &screen, const QRect &available);
