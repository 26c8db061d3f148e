#pragma once

// Trend pages: a printed copy of one trend chart for a range of samples,
// with its grid, the curve clamped to the plot, a header,
// the y and time labels and, for chart 1, the statistics lines.

#include "PageSurface.h"
#include "PrintChart.h"
#include "PrintPages.h"
#include "ProgramState.h"

#include <QDateTime>

#include <cstdint>
#include <optional>

// The frame and grid of the chart in black, dotted or dashed as the chart's
// grid style says, the outer lines solid.
void PrintTrendGrid(PageSurface &surface, const PrintChart &chart);

// One trend page of the chart for the samples of `window`. The curve is drawn
// with the pen width in force. With a zoom window the page spans that window,
// as the chart on screen does; without one, a chart width from the first sample on.
void PrintTrendPage(PageSurface &surface, const ProgramState &state, ChartNumber chartNumber, const PrintChart &chart,
                    SampleRange window, const QDateTime &printTime, const std::optional<ZoomWindow> &zoom);
