#pragma once

// The zoomed window of the two charts: where the chart's left edge lies on
// the x axis and how much of the axis the chart's width holds. While no zoom
// is set the charts follow the newest sample exactly as before; the first
// zoom, pan or fit starts from the window on screen.

#include "ProgramState.h"
#include "RecordingSummary.h"

#include <cstdint>

// The values a chart shows at its top and at its bottom edge.
struct YRange {
    double top = 0;
    double bottom = 0;
};

// The narrowest and the widest y range a vertical zoom shows: the scale
// labels still differ in their two decimals, and the range still fits the
// 32-bit bounds of the chart's own scale.
constexpr double MinimumYSpan = 0.04;
constexpr double MaximumYSpan = 4e9;

// The range zoomed by factor (above 1 in, below 1 out) so that value y stays
// at its height on the chart. The span stops at its narrowest and widest.
YRange ZoomYRange(const YRange &range, double y, double factor);

class ChartZoom {
public:
    // The narrowest window: two sample numbers, or two seconds.
    static constexpr double MinimumSpan = 2;
    // Fit all leaves this share of the width empty right of the newest sample.
    static constexpr double FitMargin = 0.02;

    ChartZoom(ProgramState &state, const RecordingSummary &summary) : state_(state), summary_(summary) {}

    bool following() const { return !state_.view.Zoom; }
    // Back to the followed window (the caller places it).
    void clear() { state_.view.Zoom.reset(); }

    // The sample's place on the x axis: its number, or its tick seconds.
    double position(std::int32_t index) const;
    // The chart x (0 at the left edge, rightx at the right edge) of a sample.
    float chartX(std::int32_t index, float rightx) const;
    // The x axis position under chart x.
    double positionAt(float x, float rightx) const;

    // Zooms by factor (above 1 in, below 1 out) so that the axis position
    // under chart x stays under it.
    void zoomAt(float x, float rightx, double factor);
    // Moves the window by dx chart units (positive: towards newer samples).
    void pan(float dx, float rightx);
    // Shows chart x from..to across the whole width.
    void zoomInto(float from, float to, float rightx);
    void fitAll(float rightx);
    void showStart(float rightx);
    void showEnd(float rightx);
    // The scroll bar at value: the window starts at sample value + 1.
    void scrollTo(std::int32_t value, float rightx);

    // ViewFirst..ViewLast become the samples inside the zoomed window.
    void applyWindow();
    // The scroll bar's range and position for the zoomed window.
    std::int32_t barMaximum() const;
    std::int32_t barValue() const { return state_.view.ViewFirst - 1; }

private:
    // Takes the window on screen as the zoomed window.
    void start(float rightx);
    void place(double left, double span);
    // The first sample at or right of axis position p; SampleCount when none.
    std::int32_t firstAtOrAfter(double p) const;
    // The left edge that puts the newest sample at `share` of the width from the right.
    double latestLeft(double span, double share) const;

    ProgramState &state_;
    const RecordingSummary &summary_;
};
