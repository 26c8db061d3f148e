#include "WorldScale.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace Sweepgraph {

std::optional<qint32> Extent32(qint32 a, qint32 b)
{
    const std::int64_t difference = std::int64_t(a) - std::int64_t(b);
    const std::int64_t magnitude = difference < 0 ? -difference : difference;
    if (magnitude > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return qint32(magnitude);
}

void WorldScale::apply(qint32 topBound, qint32 bottomBound, qint32 leftBound, qint32 rightBound)
{
    top = topBound;
    left = leftBound;
    if (const auto down = Extent32(topBound, bottomBound); down && *down != 0)
        height = -double(*down);
    if (const auto across = Extent32(leftBound, rightBound); across && *across != 0)
        width = double(*across);
}

WorldMapping::WorldMapping(const WorldScale &scale, QSizeF plotSize)
    : left_(scale.left), top_(scale.top), xFactor_(plotSize.width() / scale.width),
      yFactor_(plotSize.height() / scale.height), xUnitsPerPixel_(scale.width / plotSize.width()),
      yUnitsPerPixel_(scale.height / plotSize.height())
{
}

QPointF WorldMapping::toWorld(QPointF pixel) const
{
    return {left_ + pixel.x() * xUnitsPerPixel_, top_ + pixel.y() * yUnitsPerPixel_};
}

} // namespace Sweepgraph
