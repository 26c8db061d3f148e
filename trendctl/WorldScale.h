#pragma once

// The plot area's user scale: world x at the left edge, world y at the top
// edge and the extents across and down (the height is negative so that y
// decreases downward). Everything the host draws and every pointer position
// goes through it.

#include "TrendProperties.h"

#include <QPointF>
#include <QSizeF>

#include <optional>

namespace Sweepgraph {

// |a - b| as a 32-bit value; nothing when it does not fit.
std::optional<qint32> Extent32(qint32 a, qint32 b);

struct WorldScale {
    double left = 0;
    double top = 100;
    double width = 100;
    double height = -200;

    // Applies the four bounds: the origin always, each extent only when it is
    // representable and not zero (a zero extent keeps the previous one).
    void apply(qint32 topBound, qint32 bottomBound, qint32 leftBound, qint32 rightBound);
};

// Maps world points to pixel positions of a plot of a given size and back.
// The factors are computed once per scale or size change because the host
// maps tens of thousands of points per repaint.
class WorldMapping {
public:
    WorldMapping() = default;
    WorldMapping(const WorldScale &scale, QSizeF plotSize);

    double pixelX(double x) const { return (x - left_) * xFactor_; }
    double pixelY(double y) const { return (y - top_) * yFactor_; }
    double pixelsPerUnitX() const { return xFactor_; }
    QPointF toWorld(QPointF pixel) const;

private:
    double left_ = 0;
    double top_ = 0;
    double xFactor_ = 0;
    double yFactor_ = 0;
    double xUnitsPerPixel_ = 0;
    double yUnitsPerPixel_ = 0;
};

} // namespace Sweepgraph
