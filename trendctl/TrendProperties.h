#pragma once

// What a newly created chart holds until its host or its property bag sets
// other values, and how it keeps its four bounds. Header-only, so that a
// host can keep chart settings without a chart widget.

#include <OleColor.h>

#include <QtGlobal>

#include <cmath>
#include <limits>
#include <optional>

namespace Sweepgraph {

namespace TrendDefaults {
constexpr qint32 TopY = 100;
constexpr qint32 BottomY = -100;
constexpr qint32 LeftX = 0;
constexpr qint32 RightX = 100;
constexpr qint32 GridRows = 8;
constexpr qint32 GridCols = 10;
constexpr qint32 GridStyle = 2;
constexpr OleColor GridColor = 0;
constexpr qint16 LineWidth = 2;
constexpr qint16 BorderStyle = 1;
constexpr OleColor TrendBackColor = 0xFF0000; // blue
constexpr OleColor FrameBackColor = 0x00FFFF; // yellow
} // namespace TrendDefaults

// A bound as the chart keeps it: the nearest whole number, halves to even;
// nothing when the value has no 32-bit whole number.
inline std::optional<qint32> RoundBound(float value)
{
    const double rounded = std::nearbyint(double(value)); // the default mode rounds halves to even
    if (!(rounded >= double(std::numeric_limits<qint32>::min()) &&
          rounded <= double(std::numeric_limits<qint32>::max())))
        return std::nullopt;
    return qint32(rounded);
}

} // namespace Sweepgraph
