#pragma once

// What a trend page reads of its chart, copied from the chart at the moment
// the page is drawn. The defaults are those of a newly created chart.

#include "TrendChart.h"

#include <QtGlobal>

struct PrintChart {
    float LeftX = 0;
    float Rightx = 100;
    float TopY = 100;
    float BottomY = -100;
    qint32 GridRows = 8;
    qint32 GridCols = 10;
    qint32 GridStyle = 2;
    qint32 LineWidth = 1;
};

inline PrintChart ReadPrintChart(const TrendChart &chart)
{
    return PrintChart{chart.LeftX(), chart.Rightx(), chart.TopY(), chart.BottomY(),
                      chart.GridRows(), chart.GridCols(), chart.GridStyle(), chart.LineWidth()};
}

// The chart a trend page copies, and the sample field it plots.
enum class ChartNumber { First, Second };

// The two charts of the main window.
struct PrintCharts {
    PrintChart first;
    PrintChart second;

    const PrintChart &of(ChartNumber chart) const { return chart == ChartNumber::First ? first : second; }
};
