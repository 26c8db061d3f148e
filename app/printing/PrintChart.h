#pragma once

// What a trend page reads of its chart, copied from the chart's settings at the
// moment the printout starts. The defaults are those of a newly created chart.

#include "ChartSettings.h"

#include <TrendProperties.h>

#include <QtGlobal>

struct PrintChart {
    float LeftX = Sweepgraph::TrendDefaults::LeftX;
    float Rightx = Sweepgraph::TrendDefaults::RightX;
    float TopY = Sweepgraph::TrendDefaults::TopY;
    float BottomY = Sweepgraph::TrendDefaults::BottomY;
    qint32 GridRows = Sweepgraph::TrendDefaults::GridRows;
    qint32 GridCols = Sweepgraph::TrendDefaults::GridCols;
    qint32 GridStyle = Sweepgraph::TrendDefaults::GridStyle;
    qint32 LineWidth = Sweepgraph::TrendDefaults::LineWidth;
};

// The chart a trend page copies, and the sample field it plots.
enum class ChartNumber { First, Second };

// The two charts of the main window.
struct PrintCharts {
    PrintChart first;
    PrintChart second;

    const PrintChart &of(ChartNumber chart) const { return chart == ChartNumber::First ? first : second; }
};

// What the trend pages copy of the two charts: the scales and grids the settings gave them.
inline PrintCharts SettingsPrintCharts(const ChartSettings &first, const ChartSettings &second)
{
    const auto copy = [](const ChartSettings &chart) {
        return PrintChart{chart.LeftX(),    chart.Rightx(),   chart.TopY(),      chart.BottomY(),
                          chart.GridRows(), chart.GridCols(), chart.GridStyle(), chart.LineWidth()};
    };
    return PrintCharts{copy(first), copy(second)};
}
