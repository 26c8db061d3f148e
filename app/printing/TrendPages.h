#pragma once

// Trend pages: a printed copy of one trend chart for the samples
// ViewFirst..ViewLast, with its grid, the curve clamped to the plot, a header,
// the y and time labels and, for chart 1, the statistics lines.

#include "PageSurface.h"
#include "PrintChart.h"
#include "PrintSelection.h"
#include "ProgramState.h"

#include <QDateTime>

#include <cstdint>
#include <optional>

// The last sample of the page that starts at `first`: the sample before the
// first one that lies more than `rightx` (samples, or seconds in time mode)
// after it. A page holds at least two samples while there are more, so that a
// gap wider than the chart or a chart narrower than one sample cannot hold the
// paging on the same page.
std::int32_t TrendPageEnd(const SampleStore &store, std::int32_t first, float rightx, bool timeMode);
// The first sample of the page that ends at `last`, searched backwards the same way.
std::int32_t TrendPageStart(const SampleStore &store, std::int32_t last, float rightx, bool timeMode);

// Pages of the whole recording; consecutive pages share one sample, and a
// recording of one sample has none.
std::int32_t TrendPageCount(const SampleStore &store, float rightx, bool timeMode);

// The frame and grid of the chart in black, dotted or dashed as the chart's
// grid style says, the outer lines solid.
void PrintTrendGrid(PageSurface &surface, const PrintChart &chart);

// One trend page of the chart for ViewFirst..ViewLast. The curve is drawn with
// the pen width in force. With a zoom window the page spans that window, as
// the chart on screen does; without one, a chart width from ViewFirst on.
void PrintTrendPage(PageSurface &surface, const ProgramState &state, ChartNumber chartNumber,
                    const PrintChart &chart, const QDateTime &printTime, const std::optional<ZoomWindow> &zoom);

// The visible window on one page, or the whole recording page after page on
// new sheets; the latter leaves ViewFirst..ViewLast at the last page's window.
// False when `progress` stopped it.
bool PrintTrendGraph(PageSurface &surface, ProgramState &state, ChartNumber chartNumber, const PrintChart &chart,
                     PrintRange range, const QDateTime &printTime, const PageProgress &progress = {});
