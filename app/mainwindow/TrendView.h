#pragma once

// The recording on the two trend charts: the visible window, scrolling, the
// red marks, the click read-outs and the ALL AREA / VISUAL AREA statistics.
// Works on the program state and on two charts; the window supplies the scroll
// bar and the labels through TrendViewHost.

#include "DisplayTexts.h"
#include "ProgramState.h"
#include "TrendChart.h"

#include <QCoreApplication>
#include <QString>

#include <cstdint>
#include <optional>

class TrendViewHost {
public:
    virtual ~TrendViewHost() = default;
    // Moves the scroll bar; a change the program makes must not come back as
    // a user's scroll.
    virtual void setScrollBar(std::int32_t maximum, std::int32_t value) = 0;
    virtual void showStatistics(const StatisticsLabels &labels) = 0;
    // After a new sample: true when the host redraws the charts a little later
    // itself. At the meter's full rate a redraw per sample would cost more than
    // the line delivers; the view shows the newest sample either way.
    virtual bool deferChartRefresh() { return false; }
};

// What a click on a chart selects and shows.
struct Readout {
    std::int32_t sampleIndex = 0;
    QString valueText;
    QString timeText;
    bool rightHalf = false; // the pointer is right of the chart's centre
};

// The whole-recording statistics after sample SampleCount was appended.
// Indices in record 0 that point outside the recording (a damaged file) are
// taken as absent.
void UpdateStatisticsRecord(SampleStore &store);

// The statistics record rebuilt from samples 1..SampleCount, exactly as
// acquisition builds it one sample at a time.
void RecomputeStatistics(SampleStore &store);

class TrendView {
    Q_DECLARE_TR_FUNCTIONS(TrendView)

public:
    enum class Direction { Forward, Backward };

    TrendView(ProgramState &state, TrendChart &chart1, TrendChart &chart2, TrendViewHost &host);

    std::int32_t FindWindowEdge(Direction direction, float fraction) const;
    void UpdateAllAreaStatistics();
    void ShowAllAreaStatistics(MeanPattern pattern);
    void FollowLatestSample();

    // The scroll bar moved to value: by the user, or by the program.
    void ScrollBarChanged(std::int32_t value);
    // Places the scroll bar as a user's move would, so the charts follow it.
    void ScrollTo(std::int32_t maximum, std::int32_t value);
    // After the chart width or the x-axis mode changed: the window keeps its
    // start, its end and the scroll bar's range follow the new width.
    void FitWindowToChartWidth();

    void RedrawChart1();
    void RedrawChart2();
    std::optional<Readout> ShowReadout1(float x);
    std::optional<Readout> ShowReadout2(float x);

    void RefreshCharts();
    // What a chart shows, for assistive technology: the display it follows,
    // the span of its window and the newest value in it.
    QString ChartDescription(bool firstDisplay) const;
    bool ScrollByUser() const { return scrollByUser_; }

private:
    void redrawCurve(TrendChart &chart, bool firstDisplay, std::int32_t markIndex, OleColor color);
    std::int32_t selectSample(float x) const;
    bool validIndex(std::int32_t index) const;

    ProgramState &state_;
    TrendChart &chart1_;
    TrendChart &chart2_;
    TrendViewHost &host_;
    bool scrollByUser_ = true;
};
