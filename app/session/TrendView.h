#pragma once

// The recording on the two trend charts: the visible window, scrolling, the
// red marks, the click read-outs and the ALL AREA / VISUAL AREA statistics.
// Works on the program state and on two charts; the window supplies the scroll
// bar and the labels through TrendViewHost.

#include "ChartZoom.h"
#include "CursorFigures.h"
#include "DisplayTexts.h"
#include "ProgramState.h"
#include "RecordingSummary.h"
#include "TrendChart.h"

#include <QCoreApplication>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

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
    // The charts follow the newest sample, or show a window the user chose.
    virtual void showFollowing(bool following) { (void)following; }
    // The cursor figures changed (none when no cursor is set).
    virtual void showCursorFigures(const std::optional<CursorFigures> &figures) { (void)figures; }
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
    // The colour of the limit lines, and of a display's value while it is in alarm.
    static constexpr OleColor AlarmColor = 0x3040FF;

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

    // After New, Open or a recovery replaced the samples: the summary is
    // built anew and the charts follow the newest sample again.
    void RecordingReplaced();
    // The summary of samples 1..SampleCount.
    const RecordingSummary &Summary();

    // Zooming and panning leave the followed window until BackToLive.
    // x and dx are chart units, as the charts report the pointer.
    void ZoomAt(float x, double factor);
    void Pan(float dx);
    void ZoomInto(float from, float to);
    void FitAll();
    void ShowStart();
    void ShowEnd();
    // The window follows the newest sample at 90 % of the width again.
    void BackToLive();
    bool Following() const { return zoom_.following(); }
    // Zooms one chart's y axis by factor (above 1 in) so that value y stays
    // at its height. The y bounds set in Options are left as they are.
    void ZoomYAt(bool firstDisplay, double y, double factor);
    // Both charts show the y bounds set in Options again; Fit all and Back
    // to live do this too.
    void ResetVerticalZoom();
    // The y range a chart shows.
    YRange ShownY(bool firstDisplay) const;
    // The chart x of a sample in the window on screen.
    float WindowX(std::int32_t index) const;
    // The sample a click at chart x selects.
    std::int32_t SampleAt(float x) const { return selectSample(x); }

    // Measurement cursors: 0 is A, 1 is B. Each sits on the sample under x.
    void SetCursor(int cursor, float x) { SetCursorAt(cursor, selectSample(x)); }
    void SetCursorAt(int cursor, std::int32_t index);
    void ClearCursors();
    std::int32_t CursorIndex(int cursor) const { return cursors_[cursor == 0 ? 0 : 1]; }
    // The figures between A and B, once both are set.
    std::optional<CursorFigures> CursorMeasurement();
    // The same figures from the first sample to the newest.
    std::optional<CursorFigures> AllAreaMeasurement();

private:
    // The pixel columns of a zoomed-out chart over samples first..last.
    struct ColumnGrid {
        std::int32_t first;
        std::int32_t last;
        int columns;
        double chartLeft;
        double chartWidth;
        float rightx;
        bool operator==(const ColumnGrid &other) const;
    };
    // The last sample of each column, in order.
    const std::vector<std::int32_t> &columnEnds(const ColumnGrid &grid);
    void redrawCurve(TrendChart &chart, bool firstDisplay, std::int32_t markIndex, OleColor color);
    void redrawZoomed(TrendChart &chart, bool firstDisplay, std::int32_t markIndex, OleColor color);
    void drawCursors(TrendChart &chart);
    // True when a chart was zoomed vertically; the charts are not redrawn.
    bool clearVerticalZoom();
    // A line across the chart at each limit alarm set for its display.
    void drawLimitLines(TrendChart &chart, const DisplayLimits &limits);
    // Steps 2 to 5 of following: the newest sample at 90 % and the bar at the end.
    void placeAtNewest();
    void showZoomedWindow();
    std::int32_t selectSample(float x) const;
    bool validIndex(std::int32_t index) const;

    ProgramState &state_;
    TrendChart &chart1_;
    TrendChart &chart2_;
    TrendViewHost &host_;
    bool scrollByUser_ = true;
    RecordingSummary summary_;
    ChartZoom zoom_;
    std::array<std::int32_t, 2> cursors_{};       // 0: not set
    std::array<std::optional<YRange>, 2> shownY_; // a vertical zoom of chart 1, chart 2
    std::optional<ColumnGrid> columnGrid_;        // what columnEnds_ was split for
    ZoomWindow columnZoom_;
    bool columnTimeMode_ = true;
    std::int32_t columnCount_ = 0;
    std::vector<std::int32_t> columnEnds_;
};
