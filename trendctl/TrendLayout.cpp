#include "TrendLayout.h"

namespace Sweepgraph {

TrendLayout LayOutTrend(QSizeF frameSize, QSizeF previousPlotSize)
{
    using namespace LayoutTwips;
    TrendLayout layout;
    const double plotWidth = frameSize.width() - PlotLeft;
    const double plotHeight = frameSize.height() - BottomMargin;
    layout.plot = QRectF(PlotLeft, 0, plotWidth < 0 ? previousPlotSize.width() : plotWidth,
                         plotHeight < 0 ? previousPlotSize.height() : plotHeight);

    const double hp = layout.plot.height();
    const double h = ScaleLabelSize.height();
    layout.scaleLabels = {QPointF(0, 0), QPointF(0, hp * 0.25 - h * 0.5), QPointF(0, hp * 0.5 - h * 0.5),
                          QPointF(0, hp * 0.75 - h * 0.5), QPointF(0, hp - h * 0.8)};
    layout.timeLabels = {QPointF(LeftTimeLabelIndent, hp + TimeLabelGap),
                         QPointF(frameSize.width() - RightTimeLabelSize.width(), hp + TimeLabelGap)};
    return layout;
}

} // namespace Sweepgraph
