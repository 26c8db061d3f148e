#include "ChartZoom.h"

#include <algorithm>
#include <cmath>

YRange ZoomYRange(const YRange &range, double y, double factor)
{
    const double span = std::fabs(range.top - range.bottom);
    if (!(factor > 0) || !std::isfinite(y) || !(span > 0) || !std::isfinite(span))
        return range;
    const double narrowest = std::min(MinimumYSpan, span);
    const double widest = std::max(MaximumYSpan, span);
    const double scale = std::clamp(span / factor, narrowest, widest) / span;
    return YRange{y + (range.top - y) * scale, y + (range.bottom - y) * scale};
}

double ChartZoom::position(std::int32_t index) const
{
    if (state_.view.TimeMode)
        return state_.store.Samples[std::size_t(index)].Seconds;
    return index;
}

float ChartZoom::chartX(std::int32_t index, float rightx) const
{
    const ZoomWindow &zoom = *state_.view.Zoom;
    return float((position(index) - zoom.left) * double(rightx) / zoom.span);
}

double ChartZoom::positionAt(float x, float rightx) const
{
    const ZoomWindow &zoom = *state_.view.Zoom;
    return zoom.left + double(x) * zoom.span / double(rightx);
}

std::int32_t ChartZoom::firstAtOrAfter(double p) const
{
    const std::int32_t count = state_.store.SampleCount;
    if (!state_.view.TimeMode)
        return std::int32_t(std::clamp(std::ceil(p), 1.0, double(count)));
    const std::int32_t found = summary_.firstRising(SummarySeries::Seconds, 1, [p](double s) { return s >= p; });
    return found > 0 ? found : count;
}

double ChartZoom::latestLeft(double span, double share) const
{
    const std::int32_t count = state_.store.SampleCount;
    return std::max(position(1), position(count) - share * span);
}

void ChartZoom::start(float rightx)
{
    if (state_.view.Zoom)
        return;
    const std::int32_t first = std::clamp(state_.view.ViewFirst, 1, state_.store.SampleCount);
    // The followed window starts at its first sample and is one chart width wide.
    state_.view.Zoom = ZoomWindow{position(first), std::max(double(rightx), MinimumSpan), state_.view.TimeMode};
}

void ChartZoom::place(double left, double span)
{
    ZoomWindow &zoom = *state_.view.Zoom;
    zoom.span = span;
    // The newest sample stays on the chart, at least a tenth of the width in.
    zoom.left = std::clamp(left, position(1), latestLeft(span, 0.1));
    applyWindow();
}

void ChartZoom::zoomAt(float x, float rightx, double factor)
{
    if (state_.store.SampleCount == 0 || !(factor > 0) || !(rightx > 0))
        return;
    start(rightx);
    const ZoomWindow &zoom = *state_.view.Zoom;
    const double extent = position(state_.store.SampleCount) - position(1);
    const double widest = std::max({double(rightx), extent / (1 - FitMargin), MinimumSpan});
    const double span = std::clamp(zoom.span / factor, MinimumSpan, widest);
    const double under = positionAt(x, rightx);
    place(under - double(x) * span / double(rightx), span);
}

void ChartZoom::pan(float dx, float rightx)
{
    if (state_.store.SampleCount == 0 || !(rightx > 0))
        return;
    start(rightx);
    const ZoomWindow &zoom = *state_.view.Zoom;
    place(zoom.left + double(dx) * zoom.span / double(rightx), zoom.span);
}

void ChartZoom::zoomInto(float from, float to, float rightx)
{
    if (state_.store.SampleCount == 0 || !(rightx > 0))
        return;
    start(rightx);
    const double a = positionAt(std::min(from, to), rightx);
    const double b = positionAt(std::max(from, to), rightx);
    place(a, std::max(b - a, MinimumSpan));
}

void ChartZoom::fitAll(float rightx)
{
    if (state_.store.SampleCount == 0 || !(rightx > 0))
        return;
    start(rightx);
    const double extent = position(state_.store.SampleCount) - position(1);
    place(position(1), std::max(extent / (1 - FitMargin), MinimumSpan));
}

void ChartZoom::showStart(float rightx)
{
    if (state_.store.SampleCount == 0 || !(rightx > 0))
        return;
    start(rightx);
    place(position(1), state_.view.Zoom->span);
}

void ChartZoom::showEnd(float rightx)
{
    if (state_.store.SampleCount == 0 || !(rightx > 0))
        return;
    start(rightx);
    const double span = state_.view.Zoom->span;
    place(latestLeft(span, 0.9), span);
}

void ChartZoom::scrollTo(std::int32_t value, float rightx)
{
    if (state_.store.SampleCount == 0 || !(rightx > 0))
        return;
    start(rightx);
    const std::int32_t first = std::clamp(value + 1, 1, state_.store.SampleCount);
    place(position(first), state_.view.Zoom->span);
}

void ChartZoom::applyWindow()
{
    ViewState &view = state_.view;
    const std::int32_t count = state_.store.SampleCount;
    if (!view.Zoom || count == 0)
        return;
    const ZoomWindow zoom = *view.Zoom;
    view.ViewFirst = firstAtOrAfter(zoom.left);
    std::int32_t last;
    if (view.TimeMode) {
        const std::int32_t beyond = summary_.firstRising(SummarySeries::Seconds, view.ViewFirst,
                                                         [&zoom](double s) { return s - zoom.left > zoom.span; });
        last = beyond > 0 ? beyond - 1 : count;
    } else {
        last = std::int32_t(std::clamp(std::floor(zoom.left + zoom.span), 1.0, double(count)));
    }
    // A gap wider than the window still shows the sample after it.
    view.ViewLast = std::max(last, view.ViewFirst);
}

std::int32_t ChartZoom::barMaximum() const
{
    if (!state_.view.Zoom || state_.store.SampleCount == 0)
        return 0;
    // The end of the bar shows the newest sample at 90 %, as End does: it
    // is the last sample left of that window, searched back from the newest.
    const double p = latestLeft(state_.view.Zoom->span, 0.9);
    const std::int32_t end =
        state_.view.TimeMode
            ? summary_.lastFalling(SummarySeries::Seconds, state_.store.SampleCount, [p](double s) { return s < p; })
            : firstAtOrAfter(p) - 1;
    return std::max({end, barValue(), 0});
}
