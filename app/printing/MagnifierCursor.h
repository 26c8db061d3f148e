#pragma once

// The mouse cursor over the preview's page: a magnifying glass, because a
// click on the page zooms it. Drawn here rather than loaded from a file.

#include <QCursor>
#include <QPixmap>
#include <QPoint>

constexpr int MagnifierSize = 32;
// The centre of the lens: the point the click lands on.
constexpr QPoint MagnifierHotSpot(12, 12);

QPixmap MagnifierPixmap();
QCursor MagnifierCursor();
