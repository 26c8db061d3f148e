#include "TrendLayout.h"

namespace Sweepgraph {

TrendLayout LayOutTrend(QSizeF frameSize, QSizeF previousPlotSize, double labelScale)
{
    using namespace LayoutTwips;
    TrendLayout layout;
    const double plotLeft = PlotLeft * labelScale;
    const double plotWidth = frameSize.width() - plotLeft;
    const double plotHeight = frameSize.height() - BottomMargin * labelScale;
    layout.plot = QRectF(plotLeft, 0, plotWidth < 0 ? previousPlotSize.width() : plotWidth,
                         plotHeight < 0 ? previousPlotSize.height() : plotHeight);

    const double hp = layout.plot.height();
    const QSizeF scaleLabel = ScaleLabelSize * labelScale;
    const double h = scaleLabel.height();
    const double tops[5] = {0, hp * 0.25 - h * 0.5, hp * 0.5 - h * 0.5, hp * 0.75 - h * 0.5, hp - h * 0.8};
    for (int i = 0; i < 5; ++i)
        layout.scaleLabels[std::size_t(i)] = QRectF(QPointF(0, tops[i]), scaleLabel);
    const double timeTop = hp + TimeLabelGap * labelScale;
    const QSizeF rightTimeLabel = RightTimeLabelSize * labelScale;
    layout.timeLabels = {QRectF(QPointF(LeftTimeLabelIndent * labelScale, timeTop), LeftTimeLabelSize * labelScale),
                         QRectF(QPointF(frameSize.width() - rightTimeLabel.width(), timeTop), rightTimeLabel)};
    return layout;
}

} // namespace Sweepgraph
