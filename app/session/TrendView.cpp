#include "TrendView.h"

#include "NumberText.h"
#include "RecordFile.h"
#include "SampleTexts.h"
#include "WindowEdge.h"

#include <algorithm>
#include <cmath>

namespace {

QString firstUnit(const Sample &s)
{
    return QString::fromStdString(FirstUnitName(s.FirstUnit));
}
QString secondUnit(const Sample &s)
{
    return QString::fromStdString(SecondUnitName(s.SecondUnit));
}

// A stored whole-number index, read back with halves to even.
std::int32_t storedIndex(float value)
{
    return std::int32_t(std::clamp<std::int64_t>(RoundHalfEven(double(value)), -1, INT32_MAX));
}

} // namespace

void UpdateStatisticsRecord(SampleStore &store)
{
    const std::int32_t n = store.SampleCount;
    if (n < 1)
        return;
    Sample &record = store.statistics();
    const float newest = store.Samples[std::size_t(n)].FirstValue;
    const double previousMean = StatisticsRecord::mean(record);
    StatisticsRecord::setMean(record, float((previousMean * (n - 1) + newest) / n));
    if (n == 1) {
        StatisticsRecord::setMaxIndex(record, 1);
        StatisticsRecord::setMinIndex(record, 1);
        StatisticsRecord::setMean(record, newest);
    }
    auto valid = [n](std::int32_t i) { return i >= 1 && i <= n; };
    const std::int32_t maxIndex = storedIndex(StatisticsRecord::maxIndex(record));
    const std::int32_t minIndex = storedIndex(StatisticsRecord::minIndex(record));
    if (!valid(maxIndex) || newest > store.Samples[std::size_t(maxIndex)].FirstValue)
        StatisticsRecord::setMaxIndex(record, float(n));
    if (!valid(minIndex) || newest < store.Samples[std::size_t(minIndex)].FirstValue)
        StatisticsRecord::setMinIndex(record, float(n));
}

void RecomputeStatistics(SampleStore &store)
{
    const std::int32_t count = store.SampleCount;
    store.statistics() = Sample();
    for (store.SampleCount = 1; store.SampleCount <= count; ++store.SampleCount)
        UpdateStatisticsRecord(store);
    store.SampleCount = count;
}

TrendView::TrendView(ProgramState &state, TrendChart &chart1, TrendChart &chart2, TrendViewHost &host)
    : state_(state), chart1_(chart1), chart2_(chart2), host_(host), summary_(state.store), zoom_(state, summary_)
{
}

bool TrendView::validIndex(std::int32_t index) const
{
    return index >= 1 && index <= state_.store.SampleCount && std::size_t(index) < state_.store.Samples.size();
}

std::int32_t TrendView::FindWindowEdge(Direction direction, float fraction) const
{
    const ViewState &view = state_.view;
    // A chart width below zero would end the window before its start; the
    // window always holds at least the sample it starts (or ends) with.
    const float width = std::max(chart1_.Rightx() * fraction, 0.0f);
    // In index mode the window spans the width rounded to whole samples.
    const double span = view.TimeMode ? double(width) : double(RoundHalfEven(double(width)));
    const std::int32_t edge =
        direction == Direction::Forward
            ? WindowEdge(state_.store, view.ViewFirst, EdgeDirection::Forward, span, view.TimeMode, WidthEnd::Included)
            : WindowEdge(state_.store, view.ViewLast, EdgeDirection::Backward, span, view.TimeMode, WidthEnd::Included);
    return std::max(std::min(edge, state_.store.SampleCount), 1);
}

void TrendView::UpdateAllAreaStatistics()
{
    UpdateStatisticsRecord(state_.store);
    ShowAllAreaStatistics(MeanPattern::Live);
}

void TrendView::ShowAllAreaStatistics(MeanPattern pattern)
{
    StatisticsLabels &labels = state_.statistics;
    const SampleStore &store = state_.store;
    const Sample &record = store.statistics();
    const std::int32_t maxIndex = storedIndex(StatisticsRecord::maxIndex(record));
    const std::int32_t minIndex = storedIndex(StatisticsRecord::minIndex(record));
    labels.aMAX = labels.aMAXDate = labels.aMIN = labels.aMINDate = labels.aAVG = labels.aAVGDate = QString();
    // A damaged statistics record leaves the labels empty.
    if (validIndex(maxIndex) && validIndex(minIndex) && validIndex(store.SampleCount)) {
        const Sample &max = store.sample(maxIndex);
        const Sample &min = store.sample(minIndex);
        const Sample &newest = store.sample(store.SampleCount);
        labels.aMAX = ValueText(max.FirstValue, firstUnit(max));
        labels.aMIN = ValueText(min.FirstValue, firstUnit(min));
        labels.aAVG = MeanText(StatisticsRecord::mean(record), pattern, firstUnit(newest));
        labels.aMAXDate = TimeText(max.Stamp);
        labels.aMINDate = TimeText(min.Stamp);
        labels.aAVGDate = TimeText(newest.Stamp);
    }
    host_.showStatistics(labels);
}

void TrendView::placeAtNewest()
{
    ViewState &view = state_.view;
    view.ViewLast = state_.store.SampleCount;
    view.ViewFirst = FindWindowEdge(Direction::Backward, 0.9f);
    scrollByUser_ = false;
    host_.setScrollBar(view.ViewFirst, view.ViewFirst);
    scrollByUser_ = true;
}

void TrendView::FollowLatestSample()
{
    ViewState &view = state_.view;
    const std::int32_t n = state_.store.SampleCount;
    summary_.sync();
    UpdateAllAreaStatistics();
    if (zoom_.following()) {
        placeAtNewest();
    } else {
        // A chosen window stays where it is; only its end may take in the new sample.
        zoom_.applyWindow();
        scrollByUser_ = false;
        host_.setScrollBar(zoom_.barMaximum(), zoom_.barValue());
        scrollByUser_ = true;
    }
    view.MarkIndex1 = n;
    view.MarkIndex2 = n;
    if (!host_.deferChartRefresh())
        RefreshCharts();
}

void TrendView::ScrollBarChanged(std::int32_t value)
{
    if (!scrollByUser_) {
        scrollByUser_ = true;
        return;
    }
    if (!zoom_.following()) {
        summary_.sync();
        zoom_.scrollTo(value, chart1_.Rightx());
        RefreshCharts();
        return;
    }
    ViewState &view = state_.view;
    view.ViewFirst = std::max(value + 1, 1);
    view.ViewLast = FindWindowEdge(Direction::Forward, 1.0f);
    RefreshCharts();
}

void TrendView::ScrollTo(std::int32_t maximum, std::int32_t value)
{
    host_.setScrollBar(maximum, value);
    ScrollBarChanged(value);
}

void TrendView::FitWindowToChartWidth()
{
    const ViewState &view = state_.view;
    // A window chosen on the other axis means nothing on this one.
    if (view.Zoom && view.Zoom->timeMode != view.TimeMode) {
        zoom_.clear();
        host_.showFollowing(true);
    }
    if (!zoom_.following()) {
        showZoomedWindow();
        return;
    }
    const std::int32_t position = std::max(view.ViewFirst - 1, 0);
    // The bar reaches at least the last chart width, as after Open, and
    // never less than where the window starts now.
    const std::int32_t lastWidth = LoadWindowStart(state_.store, chart1_.Rightx(), view.TimeMode);
    ScrollTo(std::max(lastWidth, position), position);
}

void TrendView::RefreshCharts()
{
    // Whole-recording printouts page through ViewFirst..ViewLast; a chosen
    // window comes back as it was.
    if (!zoom_.following()) {
        summary_.sync();
        zoom_.applyWindow();
    }
    chart1_.Refresh();
    chart2_.Refresh();
}

QString TrendView::ChartDescription(bool firstDisplay) const
{
    const SampleStore &store = state_.store;
    const ViewState &view = state_.view;
    const QString display = firstDisplay ? tr("First display over time") : tr("Second display over time");
    const std::int32_t last = std::min(view.ViewLast, store.SampleCount);
    if (store.SampleCount == 0 || !validIndex(view.ViewFirst) || last < view.ViewFirst)
        return tr("%1, no samples").arg(display);
    const Sample &first = store.sample(view.ViewFirst);
    const Sample &newest = store.sample(last);
    const QString value = firstDisplay ? ValueText(newest.FirstValue, firstUnit(newest))
                                       : SecondReadoutText(newest.Mode, newest.SecondValue, secondUnit(newest));
    return tr("%1 from %2 to %3, newest value %4").arg(display, TimeText(first.Stamp), TimeText(newest.Stamp), value);
}

void TrendView::redrawCurve(TrendChart &chart, bool firstDisplay, std::int32_t markIndex, OleColor color)
{
    const SampleStore &store = state_.store;
    ViewState &view = state_.view;
    if (store.SampleCount == 0 || !validIndex(view.ViewFirst))
        return;
    if (!zoom_.following()) {
        redrawZoomed(chart, firstDisplay, markIndex, color);
        return;
    }
    const std::int32_t last = std::min(view.ViewLast, store.SampleCount);
    if (last < view.ViewFirst)
        return;
    const float start = store.Samples[std::size_t(view.ViewFirst)].Seconds;
    std::optional<float> markX, markY;
    std::int32_t k = 0;
    for (std::int32_t i = view.ViewFirst; i <= last; ++i, ++k) {
        const Sample &s = store.Samples[std::size_t(i)];
        const float x = view.TimeMode ? s.Seconds - start : float(k);
        const float y = firstDisplay ? s.FirstValue : s.SecondValue;
        if (i == view.ViewFirst) {
            if (firstDisplay) {
                view.ViewMaxIndex = i;
                view.ViewMinIndex = i;
                view.ViewSum = y;
            }
            chart.MoveTo(x, y);
        } else {
            if (firstDisplay) {
                if (store.Samples[std::size_t(view.ViewMaxIndex)].FirstValue < y)
                    view.ViewMaxIndex = i;
                if (store.Samples[std::size_t(view.ViewMinIndex)].FirstValue > y)
                    view.ViewMinIndex = i;
                view.ViewSum += y;
            }
            chart.DrawLine(x, y, color);
        }
        if (i == markIndex) {
            markX = chart.GetCurrentX();
            markY = chart.GetCurrentY();
        }
    }
    if (markX && markY)
        chart.DrawCircle(*markX, *markY, chart.Rightx() * 0.005f, 255);
    drawCursors(chart);
    chart.DisplayTime(TimeOfDay(store.Samples[std::size_t(view.ViewFirst)].Stamp),
                      TimeOfDay(store.Samples[std::size_t(last)].Stamp));
}

void TrendView::RedrawChart1()
{
    const SampleStore &store = state_.store;
    ViewState &view = state_.view;
    drawLimitLines(chart1_, state_.alarms.limits.first);
    redrawCurve(chart1_, true, view.MarkIndex1, view.FirstLineColor);
    if (store.SampleCount == 0 || !validIndex(view.ViewFirst))
        return;
    const std::int32_t last = std::min(view.ViewLast, store.SampleCount);
    StatisticsLabels &labels = state_.statistics;
    if (last < view.ViewFirst) {
        // Nothing was drawn: no statistics of samples the chart does not show.
        labels.vMAX = labels.vMAXDate = labels.vMIN = labels.vMINDate = labels.vAVG = labels.vAVGDate = QString();
        host_.showStatistics(labels);
        return;
    }
    const Sample &max = store.sample(view.ViewMaxIndex);
    const Sample &min = store.sample(view.ViewMinIndex);
    const Sample &newest = store.sample(last);
    labels.vMAX = ValueText(max.FirstValue, firstUnit(max));
    labels.vMIN = ValueText(min.FirstValue, firstUnit(min));
    labels.vAVG =
        MeanText(double(view.ViewSum / float(last - view.ViewFirst + 1)), MeanPattern::Live, firstUnit(newest));
    labels.vMAXDate = TimeText(max.Stamp);
    labels.vMINDate = TimeText(min.Stamp);
    labels.vAVGDate = TimeText(newest.Stamp);
    host_.showStatistics(labels);
}

void TrendView::RedrawChart2()
{
    drawLimitLines(chart2_, state_.alarms.limits.second);
    redrawCurve(chart2_, false, state_.view.MarkIndex2, state_.view.SecondLineColor);
}

std::int32_t TrendView::selectSample(float x) const
{
    const SampleStore &store = state_.store;
    const ViewState &view = state_.view;
    if (!zoom_.following() && store.SampleCount > 0) {
        const double p = zoom_.positionAt(x, chart1_.Rightx());
        if (!view.TimeMode)
            return std::int32_t(std::clamp<std::int64_t>(RoundHalfEven(p), 1, store.SampleCount));
        // The last sample at or left of the pointer, as in the followed window.
        const std::int32_t beyond =
            summary_.firstRising(SummarySeries::Seconds, view.ViewFirst, [p](double s) { return s > p; });
        return beyond > 0 ? std::max(beyond - 1, view.ViewFirst) : view.ViewLast;
    }
    if (view.TimeMode) {
        if (!validIndex(view.ViewFirst))
            return view.ViewLast;
        const float start = store.Samples[std::size_t(view.ViewFirst)].Seconds;
        const std::int32_t last = std::min(view.ViewLast, store.SampleCount);
        for (std::int32_t i = view.ViewFirst; i <= last; ++i) {
            if (store.Samples[std::size_t(i)].Seconds - start > x)
                return std::max(i - 1, view.ViewFirst);
        }
        return view.ViewLast;
    }
    const std::int64_t index = RoundHalfEven(double(x)) + view.ViewFirst;
    return std::int32_t(std::clamp<std::int64_t>(index, 1, store.SampleCount));
}

std::optional<Readout> TrendView::ShowReadout1(float x)
{
    if (state_.store.SampleCount == 0)
        return std::nullopt;
    const std::int32_t index = selectSample(x);
    if (!validIndex(index))
        return std::nullopt;
    state_.view.MarkIndex1 = index;
    const Sample &s = state_.store.sample(index);
    Readout readout{index, ValueText(s.FirstValue, firstUnit(s)), TimeText(s.Stamp), x > chart1_.Rightx() / 2};
    chart1_.Refresh();
    return readout;
}

std::optional<Readout> TrendView::ShowReadout2(float x)
{
    if (state_.store.SampleCount == 0)
        return std::nullopt;
    const std::int32_t index = selectSample(x);
    if (!validIndex(index))
        return std::nullopt;
    state_.view.MarkIndex2 = index;
    const Sample &s = state_.store.sample(index);
    Readout readout{index, SecondReadoutText(s.Mode, s.SecondValue, secondUnit(s)), TimeText(s.Stamp),
                    x > chart2_.Rightx() / 2};
    chart2_.Refresh();
    return readout;
}

void TrendView::RecordingReplaced()
{
    summary_.rebuild();
    columnGrid_.reset();
    zoom_.clear();
    clearVerticalZoom();
    ClearCursors();
    host_.showFollowing(true);
}

const RecordingSummary &TrendView::Summary()
{
    summary_.sync();
    return summary_;
}

void TrendView::showZoomedWindow()
{
    zoom_.applyWindow();
    scrollByUser_ = false;
    host_.setScrollBar(zoom_.barMaximum(), zoom_.barValue());
    scrollByUser_ = true;
    host_.showFollowing(zoom_.following());
    RefreshCharts();
}

void TrendView::ZoomAt(float x, double factor)
{
    summary_.sync();
    zoom_.zoomAt(x, chart1_.Rightx(), factor);
    showZoomedWindow();
}

void TrendView::Pan(float dx)
{
    summary_.sync();
    zoom_.pan(dx, chart1_.Rightx());
    showZoomedWindow();
}

void TrendView::ZoomInto(float from, float to)
{
    summary_.sync();
    zoom_.zoomInto(from, to, chart1_.Rightx());
    showZoomedWindow();
}

void TrendView::FitAll()
{
    summary_.sync();
    zoom_.fitAll(chart1_.Rightx());
    clearVerticalZoom();
    showZoomedWindow();
}

void TrendView::ShowStart()
{
    summary_.sync();
    zoom_.showStart(chart1_.Rightx());
    showZoomedWindow();
}

void TrendView::ShowEnd()
{
    summary_.sync();
    zoom_.showEnd(chart1_.Rightx());
    showZoomedWindow();
}

void TrendView::BackToLive()
{
    zoom_.clear();
    const bool zoomedVertically = clearVerticalZoom();
    host_.showFollowing(true);
    if (state_.store.SampleCount == 0) {
        if (zoomedVertically)
            RefreshCharts();
        return;
    }
    placeAtNewest();
    RefreshCharts();
}

void TrendView::ZoomYAt(bool firstDisplay, double y, double factor)
{
    TrendChart &chart = firstDisplay ? chart1_ : chart2_;
    std::optional<YRange> &shown = shownY_[firstDisplay ? 0 : 1];
    shown = ZoomYRange(ShownY(firstDisplay), y, factor);
    chart.ShowYRange(shown->top, shown->bottom);
    chart.Refresh();
}

void TrendView::ResetVerticalZoom()
{
    if (clearVerticalZoom())
        RefreshCharts();
}

bool TrendView::clearVerticalZoom()
{
    const bool zoomed = shownY_[0] || shownY_[1];
    shownY_ = {};
    chart1_.ShowBoundsY();
    chart2_.ShowBoundsY();
    return zoomed;
}

YRange TrendView::ShownY(bool firstDisplay) const
{
    const TrendChart &chart = firstDisplay ? chart1_ : chart2_;
    return shownY_[firstDisplay ? 0 : 1].value_or(YRange{chart.TopY(), chart.BottomY()});
}

float TrendView::WindowX(std::int32_t index) const
{
    const SampleStore &store = state_.store;
    const ViewState &view = state_.view;
    if (!zoom_.following())
        return zoom_.chartX(index, chart1_.Rightx());
    if (view.TimeMode)
        return store.Samples[std::size_t(index)].Seconds - store.Samples[std::size_t(view.ViewFirst)].Seconds;
    return float(index - view.ViewFirst);
}

void TrendView::redrawZoomed(TrendChart &chart, bool firstDisplay, std::int32_t markIndex, OleColor color)
{
    summary_.sync();
    const SampleStore &store = state_.store;
    ViewState &view = state_.view;
    const float rightx = chart1_.Rightx();
    const std::int32_t first = view.ViewFirst;
    const std::int32_t last = std::min(view.ViewLast, summary_.count());
    if (last < first)
        return;
    const SummarySeries series = firstDisplay ? SummarySeries::FirstValue : SummarySeries::SecondValue;
    bool started = false;
    auto pointAt = [&](std::int32_t i) { return QPointF(zoom_.chartX(i, rightx), float(summary_.value(series, i))); };
    auto drawTo = [&](std::int32_t i) {
        const QPointF p = pointAt(i);
        if (started) {
            chart.DrawLine(float(p.x()), float(p.y()), color);
        } else {
            chart.MoveTo(float(p.x()), float(p.y()));
            started = true;
        }
    };
    const int columns = chart.PlotPixelWidth();
    const double chartLeft = chart.LeftX();
    const double chartWidth = std::fabs(double(chart.Rightx()) - chartLeft);
    const bool envelope = columns > 0 && chartWidth > 0 && std::int64_t(last - first) + 1 > 2 * std::int64_t(columns);
    if (!envelope) {
        for (std::int32_t i = first; i <= last; ++i)
            drawTo(i);
    } else {
        // Per pixel column its first, lowest, highest and last sample: the
        // same pixels as every segment, at a cost that does not grow with
        // the number of samples. The lines into and inside a column go to
        // the chart together, so that it can fill the column at once.
        std::int32_t i = first;
        std::array<QPointF, 4> inColumn;
        for (const std::int32_t end : columnEnds(ColumnGrid{first, last, columns, chartLeft, chartWidth, rightx})) {
            if (end == i) {
                drawTo(i);
            } else {
                const RangeExtremes r = summary_.extremes(series, i, end);
                std::int32_t a = std::min(r.minIndex, r.maxIndex);
                std::int32_t b = std::max(r.minIndex, r.maxIndex);
                int count = 0;
                if (started)
                    inColumn[std::size_t(count++)] = pointAt(i);
                else
                    drawTo(i);
                if (a != i && a != end)
                    inColumn[std::size_t(count++)] = pointAt(a);
                if (b != a && b != i && b != end)
                    inColumn[std::size_t(count++)] = pointAt(b);
                inColumn[std::size_t(count++)] = pointAt(end);
                chart.DrawLines(inColumn.data(), count, color);
            }
            i = end + 1;
        }
    }
    if (firstDisplay) {
        const RangeSummary r = summary_.range(SummarySeries::FirstValue, first, last);
        view.ViewMaxIndex = r.maxIndex;
        view.ViewMinIndex = r.minIndex;
        view.ViewSum = float(r.sum);
    }
    if (markIndex >= first && markIndex <= last)
        chart.DrawCircle(zoom_.chartX(markIndex, rightx), float(summary_.value(series, markIndex)),
                         chart.Rightx() * 0.005f, 255);
    drawCursors(chart);
    // A window of more than a day carries the dates as well.
    const double firstStamp = store.Samples[std::size_t(first)].Stamp;
    const double lastStamp = store.Samples[std::size_t(last)].Stamp;
    if (std::floor(firstStamp) != std::floor(lastStamp))
        chart.DisplayTime(firstStamp, lastStamp);
    else
        chart.DisplayTime(TimeOfDay(firstStamp), TimeOfDay(lastStamp));
}

bool TrendView::ColumnGrid::operator==(const ColumnGrid &other) const
{
    return first == other.first && last == other.last && columns == other.columns && chartLeft == other.chartLeft &&
           chartWidth == other.chartWidth && rightx == other.rightx;
}

const std::vector<std::int32_t> &TrendView::columnEnds(const ColumnGrid &grid)
{
    // Both charts split the same window into the same columns: the second
    // chart, and any repaint of an unchanged window, reuse the split.
    const ZoomWindow zoom = *state_.view.Zoom;
    const bool same = columnGrid_ && *columnGrid_ == grid && columnZoom_.left == zoom.left &&
                      columnZoom_.span == zoom.span && columnZoom_.timeMode == zoom.timeMode &&
                      columnTimeMode_ == state_.view.TimeMode && columnCount_ == summary_.count();
    if (same)
        return columnEnds_;
    columnGrid_ = grid;
    columnZoom_ = zoom;
    columnTimeMode_ = state_.view.TimeMode;
    columnCount_ = summary_.count();
    columnEnds_.clear();
    // The chart maps x to pixels from its left bound over its width; a sample's
    // column is found the same way from the x it is drawn at (as chartX has it).
    const double pixelsPerUnit = grid.columns / grid.chartWidth;
    auto pixelColumn = [&](double position) {
        const float x = float((position - zoom.left) * double(grid.rightx) / zoom.span);
        return std::floor((double(x) - grid.chartLeft) * pixelsPerUnit);
    };
    for (std::int32_t i = grid.first; i <= grid.last;) {
        const double column = pixelColumn(zoom_.position(i));
        std::int32_t next;
        if (state_.view.TimeMode) {
            next =
                summary_.firstRising(SummarySeries::Seconds, i + 1, [&](double s) { return pixelColumn(s) > column; });
            if (next == 0)
                next = grid.last + 1;
        } else {
            // The first sample number right of the column's edge, then the
            // rounding of chartX settled a sample either way.
            const double edge = (column + 1) / pixelsPerUnit + grid.chartLeft;
            const double boundary = zoom.left + edge * zoom.span / double(grid.rightx);
            next = std::int32_t(std::clamp(std::ceil(boundary), double(i + 1), double(grid.last) + 1));
            while (next > i + 1 && pixelColumn(next - 1) > column)
                --next;
            while (next <= grid.last && pixelColumn(next) <= column)
                ++next;
        }
        const std::int32_t end = std::min(next, grid.last + 1) - 1;
        columnEnds_.push_back(end);
        i = end + 1;
    }
    return columnEnds_;
}

void TrendView::drawCursors(TrendChart &chart)
{
    // A in yellow, B in magenta, from the top of the chart to its bottom.
    constexpr std::array<OleColor, 2> colours{0x00FFFF, 0xFF00FF};
    for (std::size_t c = 0; c < cursors_.size(); ++c) {
        const std::int32_t index = cursors_[c];
        if (index < state_.view.ViewFirst || index > state_.view.ViewLast || !validIndex(index))
            continue;
        const float x = WindowX(index);
        const YRange shown = ShownY(&chart == &chart1_);
        chart.MoveTo(x, float(shown.top));
        chart.DrawLine(x, float(shown.bottom), colours[c]);
    }
}

void TrendView::drawLimitLines(TrendChart &chart, const DisplayLimits &limits)
{
    // Under the curve, so that the samples stay readable where they cross it.
    for (const std::optional<float> &limit : {limits.high, limits.low}) {
        if (!limit)
            continue;
        chart.MoveTo(chart.LeftX(), *limit);
        chart.DrawLine(chart.Rightx(), *limit, AlarmColor);
    }
}

void TrendView::SetCursorAt(int cursor, std::int32_t index)
{
    if (state_.store.SampleCount == 0)
        return;
    summary_.sync();
    if (!validIndex(index))
        return;
    cursors_[cursor == 0 ? 0 : 1] = index;
    host_.showCursorFigures(CursorMeasurement());
    RefreshCharts();
}

void TrendView::ClearCursors()
{
    cursors_ = {};
    host_.showCursorFigures(std::nullopt);
}

std::optional<CursorFigures> TrendView::CursorMeasurement()
{
    summary_.sync();
    if (!validIndex(cursors_[0]) || !validIndex(cursors_[1]))
        return std::nullopt;
    return MeasureBetween(summary_, state_.store, cursors_[0], cursors_[1]);
}

std::optional<CursorFigures> TrendView::AllAreaMeasurement()
{
    summary_.sync();
    if (summary_.count() == 0)
        return std::nullopt;
    return MeasureBetween(summary_, state_.store, 1, summary_.count());
}
