#pragma once

// Where the inner parts of the chart go, in twips inside the frame's inner
// area: the plot area to the right of the scale-label column with room for
// the time labels below it.

#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include <array>

namespace Sweepgraph {

namespace LayoutTwips {
constexpr double PlotLeft = 850;
constexpr double BottomMargin = 300;
constexpr double TimeLabelGap = 50;
constexpr double LeftTimeLabelIndent = 500;
constexpr QSizeF ScaleLabelSize{840, 240};
constexpr QSizeF LeftTimeLabelSize{840, 240};
constexpr QSizeF RightTimeLabelSize{855, 240};
constexpr double TwipsPerInch = 1440;
} // namespace LayoutTwips

struct TrendLayout {
    QRectF plot;                       // P02
    std::array<QRectF, 5> scaleLabels; // L01(0..4)
    std::array<QRectF, 2> timeLabels;  // L02(0..1)
};

// Lays the parts out in a frame whose inner area is frameSize twips. A plot
// width or height that would be negative is not applied: that extent of
// previousPlotSize stays. labelScale sizes the labels, and with them the
// column left of the plot and the room below it, for label fonts other than
// the design's (1: the fonts of the design, the layout above).
TrendLayout LayOutTrend(QSizeF frameSize, QSizeF previousPlotSize, double labelScale = 1.0);

} // namespace Sweepgraph
