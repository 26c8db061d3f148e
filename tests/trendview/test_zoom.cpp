#include "FakeChart.h"
#include "OleDate.h"
#include "TrendView.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QLocale>

#include <algorithm>
#include <cmath>

namespace {

class ZoomHost final : public TrendViewHost {
public:
    std::int32_t maximum = -1, value = -1;
    bool following = true;
    std::optional<CursorFigures> figures;
    void setScrollBar(std::int32_t max, std::int32_t v) override
    {
        maximum = max;
        value = v;
    }
    void showStatistics(const StatisticsLabels &) override {}
    void showFollowing(bool f) override { following = f; }
    void showCursorFigures(const std::optional<CursorFigures> &f) override { figures = f; }
};

const QDateTime Start(QDate(2002, 6, 7), QTime(10, 37, 0));

class ZoomTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale::c());
        chart1.onRefresh = [this] { view.RedrawChart1(); };
        chart2.onRefresh = [this] { view.RedrawChart2(); };
    }

    void append(float first, float seconds, std::uint8_t unit = 0x40)
    {
        Sample s;
        s.FirstValue = first;
        s.FirstUnit = unit;
        s.SecondValue = -first;
        s.Seconds = seconds;
        s.Stamp = LocalToOleDate(Start.addMSecs(qint64(double(seconds) * 1000)));
        state.store.AppendSample(s);
        view.FollowLatestSample();
    }

    void appendMany(int count, float spacing)
    {
        for (int i = 1; i <= count; ++i)
            append(float((i * 37) % 101) - 50, float(i) * spacing);
    }

    // Every point drawn on chart 1, the first one the pen moved to.
    std::vector<DrawnPoint> curve() const
    {
        std::vector<DrawnPoint> points = {chart1.moves.front()};
        points.insert(points.end(), chart1.lines.begin(), chart1.lines.end());
        return points;
    }

    ProgramState state;
    FakeChart chart1, chart2;
    ZoomHost host;
    TrendView view{state, chart1, chart2, host};
};

TEST_F(ZoomTest, WheelZoomKeepsTheSampleUnderThePointerInPlace)
{
    for (bool timeMode : {false, true}) {
        SCOPED_TRACE(timeMode ? "time mode" : "index mode");
        state.view.TimeMode = timeMode;
        state.store.SampleCount = 0;
        view.RecordingReplaced();
        appendMany(600, 2);
        // The pointer on the sample drawn at x = 40 of the followed window.
        const std::int32_t under = view.SampleAt(40);
        const float before = view.WindowX(under);
        view.ZoomAt(before, 4);
        EXPECT_FALSE(view.Following());
        EXPECT_FALSE(host.following);
        EXPECT_NEAR(view.WindowX(under), before, 1e-3);
        // A quarter of the width of samples is shown now.
        const std::int32_t shown = state.view.ViewLast - state.view.ViewFirst;
        EXPECT_NEAR(shown, (timeMode ? 100 / 2 : 100) / 4, 1);
        // And the chart draws it there.
        const auto points = curve();
        EXPECT_NEAR(points[std::size_t(under - state.view.ViewFirst)].x, before, 1e-3);

        view.ZoomAt(before, 1.0 / 16);
        EXPECT_NEAR(view.WindowX(under), before, 1e-3);
        EXPECT_EQ(view.SampleAt(before), under);
    }
}

TEST_F(ZoomTest, FitAllShowsTheFirstAndTheLastSample)
{
    appendMany(5000, 1);
    view.FitAll();
    EXPECT_EQ(state.view.ViewFirst, 1);
    EXPECT_EQ(state.view.ViewLast, 5000);
    EXPECT_FLOAT_EQ(view.WindowX(1), 0);
    EXPECT_LE(view.WindowX(5000), chart1.Rightx());
    EXPECT_GT(view.WindowX(5000), 0.9f * chart1.Rightx());
    // Without a pixel width every sample is drawn.
    EXPECT_EQ(chart1.lines.size(), 4999u);
    EXPECT_FLOAT_EQ(chart1.moves.front().x, 0);
}

TEST_F(ZoomTest, BackToLiveRestoresTheNinetyPercentRule)
{
    state.view.TimeMode = false;
    appendMany(500, 1);
    // The followed window: 410..500, the newest at x = 90.
    ASSERT_EQ(state.view.ViewFirst, 410);
    view.FitAll();
    view.Pan(-30);
    ASSERT_NE(state.view.ViewFirst, 410);

    // New samples do not pull a chosen window back.
    const std::int32_t first = state.view.ViewFirst;
    append(7, 501);
    EXPECT_EQ(state.view.ViewFirst, first);
    EXPECT_FALSE(view.Following());

    view.BackToLive();
    EXPECT_TRUE(view.Following());
    EXPECT_TRUE(host.following);
    EXPECT_EQ(state.view.ViewFirst, 411);
    EXPECT_EQ(state.view.ViewLast, 501);
    EXPECT_EQ(host.maximum, 411);
    EXPECT_EQ(host.value, 411);
    EXPECT_FLOAT_EQ(chart1.lines.back().x, 90);
    // And it follows again.
    append(8, 502);
    EXPECT_EQ(state.view.ViewFirst, 412);
}

TEST_F(ZoomTest, TheScrollBarMovesTheZoomedWindow)
{
    state.view.TimeMode = false;
    appendMany(1000, 1);
    view.ShowStart();
    view.ZoomAt(0, 0.25); // 400 samples wide from sample 1
    ASSERT_EQ(state.view.ViewFirst, 1);
    ASSERT_EQ(state.view.ViewLast, 401);
    EXPECT_EQ(host.maximum, 1000 - 360 - 1);
    view.ScrollBarChanged(299);
    EXPECT_EQ(state.view.ViewFirst, 300);
    EXPECT_EQ(state.view.ViewLast, 700);
    EXPECT_FALSE(view.Following());
    view.ShowEnd();
    EXPECT_EQ(state.view.ViewLast, 1000);
    EXPECT_NEAR(view.WindowX(1000), 90, 1e-3);
}

TEST_F(ZoomTest, InTimeModeTheBarEndsAtTheWindowThatShowsTheNewestAtNinetyPercent)
{
    appendMany(1000, 2); // samples at 2, 4, ... 2000 s
    view.ShowStart();
    view.ZoomAt(0, 0.25); // 400 s wide
    // The end window starts at 2000 - 360 = 1640 s, sample 820.
    EXPECT_EQ(host.maximum, 819);
    view.ScrollBarChanged(host.maximum);
    EXPECT_EQ(state.view.ViewFirst, 820);
    EXPECT_EQ(state.view.ViewLast, 1000);
    EXPECT_NEAR(view.WindowX(1000), 90, 1e-3);
}

TEST_F(ZoomTest, VisualAreaIsThatOfTheVisibleRange)
{
    state.view.TimeMode = false;
    appendMany(3000, 1);
    view.FitAll();
    view.ZoomInto(10, 20); // samples about 300..600
    const std::int32_t first = state.view.ViewFirst, last = state.view.ViewLast;
    ASSERT_GT(last - first, 200);
    std::int32_t maxIndex = first, minIndex = first;
    double sum = 0;
    for (std::int32_t i = first; i <= last; ++i) {
        const float v = state.store.sample(i).FirstValue;
        if (v > state.store.sample(maxIndex).FirstValue)
            maxIndex = i;
        if (v < state.store.sample(minIndex).FirstValue)
            minIndex = i;
        sum += v;
    }
    EXPECT_EQ(state.view.ViewMaxIndex, maxIndex);
    EXPECT_EQ(state.view.ViewMinIndex, minIndex);
    EXPECT_FLOAT_EQ(state.view.ViewSum, float(sum));
    EXPECT_EQ(state.statistics.vMAX, QStringLiteral("50kW"));
}

TEST_F(ZoomTest, ZoomedOutChartsDrawAtMostFourPointsPerPixelColumn)
{
    state.view.TimeMode = false;
    chart1.pixelWidth = chart2.pixelWidth = 200;
    appendMany(20000, 1);
    view.FitAll();
    EXPECT_LE(chart1.lines.size() + 1, 4u * 200);
    EXPECT_LE(chart2.lines.size() + 1, 4u * 200);
    // Both extremes of the recording are drawn.
    const auto points = curve();
    const auto [low, high] = std::minmax_element(points.begin(), points.end(),
                                                 [](const DrawnPoint &a, const DrawnPoint &b) { return a.y < b.y; });
    EXPECT_EQ(low->y, -50);
    EXPECT_EQ(high->y, 50);
    EXPECT_FLOAT_EQ(points.front().x, 0);
    EXPECT_FLOAT_EQ(points.back().x, view.WindowX(20000));
}

TEST_F(ZoomTest, CursorsMeasureBetweenTwoSamples)
{
    // 2 kW for 30 minutes, a sample a second.
    for (int s = 0; s <= 1800; ++s) {
        Sample sample;
        sample.FirstValue = 2;
        sample.FirstUnit = 0x40;
        sample.Seconds = float(s);
        state.store.AppendSample(sample);
    }
    view.RecordingReplaced();
    view.FitAll();
    view.SetCursor(0, 0);
    EXPECT_FALSE(host.figures);
    view.SetCursor(1, chart1.Rightx());
    ASSERT_TRUE(host.figures);
    EXPECT_EQ(host.figures->a, 1);
    EXPECT_EQ(host.figures->b, 1801);
    EXPECT_NEAR(host.figures->area, 1.0, 1e-9);
    EXPECT_DOUBLE_EQ(host.figures->deltaSeconds, 1800);
    view.ClearCursors();
    EXPECT_FALSE(host.figures);
}

TEST_F(ZoomTest, TimeLabelsCarryTheDateOnceTheWindowSpansDays)
{
    // A sample every ten minutes for two days.
    for (int i = 0; i < 2 * 144; ++i)
        append(float(i % 10), float(i) * 600);
    view.FitAll();
    const double firstStamp = state.store.sample(1).Stamp;
    const double lastStamp = state.store.sample(state.store.SampleCount).Stamp;
    EXPECT_DOUBLE_EQ(chart1.firstTime, firstStamp);
    EXPECT_DOUBLE_EQ(chart1.secondTime, lastStamp);
    EXPECT_DOUBLE_EQ(chart2.secondTime, lastStamp);
    // Within one day, the time of day alone, as in the followed window.
    view.ShowStart();
    view.ZoomAt(0, 100);
    EXPECT_DOUBLE_EQ(chart1.firstTime, TimeOfDay(firstStamp));
    EXPECT_LT(chart1.secondTime, 1.0);
}

// Where value y sits between the top (0) and the bottom edge (1).
double heightOf(const YRange &range, double y)
{
    return (y - range.top) / (range.bottom - range.top);
}

TEST(VerticalZoom, TheValueUnderThePointerKeepsItsHeight)
{
    const YRange bounds{100, -100};
    for (double y : {50.0, -100.0, 0.0, 99.5, 12.25}) {
        for (double factor : {1.25, 1 / 1.25, 4.0, 0.1}) {
            SCOPED_TRACE(testing::Message() << "y " << y << ", factor " << factor);
            const YRange zoomed = ZoomYRange(bounds, y, factor);
            EXPECT_NEAR(heightOf(zoomed, y), heightOf(bounds, y), 1e-12);
            EXPECT_NEAR(zoomed.top - zoomed.bottom, 200 / factor, 1e-9);
        }
    }
    // One notch in at 50 of 100..-100: a quarter down, 160 high.
    const YRange notch = ZoomYRange(bounds, 50, 1.25);
    EXPECT_DOUBLE_EQ(notch.top, 90);
    EXPECT_DOUBLE_EQ(notch.bottom, -70);
}

TEST(VerticalZoom, InAndOutByTheSameFactorReturnsTheRange)
{
    const YRange bounds{20, 0};
    YRange range = bounds;
    for (double y : {3.0, 17.5, 8.0})
        range = ZoomYRange(range, y, 1.25);
    EXPECT_LT(range.top - range.bottom, 20 / 1.9);
    for (double y : {8.0, 17.5, 3.0})
        range = ZoomYRange(range, y, 1 / 1.25);
    EXPECT_NEAR(range.top, bounds.top, 1e-12);
    EXPECT_NEAR(range.bottom, bounds.bottom, 1e-12);
}

TEST(VerticalZoom, TheSpanStopsAtItsNarrowestAndWidest)
{
    const YRange narrow = ZoomYRange(YRange{1, 0}, 0.5, 1e6);
    EXPECT_NEAR(narrow.top - narrow.bottom, MinimumYSpan, 1e-12);
    EXPECT_DOUBLE_EQ(heightOf(narrow, 0.5), 0.5);
    const YRange wide = ZoomYRange(YRange{100, -100}, 0, 1e-12);
    EXPECT_DOUBLE_EQ(wide.top - wide.bottom, MaximumYSpan);
    // Nothing to zoom about: the range stays.
    const YRange flat = ZoomYRange(YRange{5, 5}, 5, 2);
    EXPECT_EQ(flat.top, 5);
    EXPECT_EQ(flat.bottom, 5);
    const YRange same = ZoomYRange(YRange{100, -100}, std::nan(""), 2);
    EXPECT_EQ(same.top, 100);
    EXPECT_EQ(same.bottom, -100);
}

TEST_F(ZoomTest, AVerticalZoomIsOneChartsAndLeavesItsBoundsAlone)
{
    state.view.TimeMode = false;
    appendMany(300, 1);
    view.SetCursorAt(0, 250);
    view.ZoomYAt(false, 50, 2);
    ASSERT_TRUE(chart2.shownY);
    EXPECT_DOUBLE_EQ(chart2.shownY->first, 75);
    EXPECT_DOUBLE_EQ(chart2.shownY->second, -25);
    EXPECT_DOUBLE_EQ(view.ShownY(false).top, 75);
    // The bounds Options set and saves stay; the other chart is not zoomed.
    EXPECT_EQ(chart2.topY, 100);
    EXPECT_EQ(chart2.bottomY, -100);
    EXPECT_FALSE(chart1.shownY);
    EXPECT_DOUBLE_EQ(view.ShownY(true).top, 100);
    // The cursor line runs across the range shown.
    ASSERT_FALSE(chart2.lines.empty());
    EXPECT_FLOAT_EQ(chart2.moves.back().y, 75);
    EXPECT_FLOAT_EQ(chart2.lines.back().y, -25);
    EXPECT_FLOAT_EQ(chart1.lines.back().y, -100);

    view.ZoomYAt(false, 0, 0.5);
    EXPECT_DOUBLE_EQ(view.ShownY(false).top, 150);
    EXPECT_DOUBLE_EQ(view.ShownY(false).bottom, -50);

    view.FitAll();
    EXPECT_FALSE(chart2.shownY);
    EXPECT_DOUBLE_EQ(view.ShownY(false).top, 100);
    EXPECT_DOUBLE_EQ(view.ShownY(false).bottom, -100);

    view.ZoomYAt(true, 0, 4);
    view.BackToLive();
    EXPECT_FALSE(chart1.shownY);
    EXPECT_DOUBLE_EQ(view.ShownY(true).top, 100);

    // Reset restores the bounds as they are now, redrawing once.
    view.ZoomYAt(true, 0, 4);
    chart1.topY = 20;
    chart1.bottomY = 0;
    const int refreshes = chart1.refreshes;
    view.ResetVerticalZoom();
    EXPECT_FALSE(chart1.shownY);
    EXPECT_EQ(chart1.refreshes, refreshes + 1);
    EXPECT_DOUBLE_EQ(view.ShownY(true).top, 20);
    EXPECT_DOUBLE_EQ(view.ShownY(true).bottom, 0);
    view.ResetVerticalZoom();
    EXPECT_EQ(chart1.refreshes, refreshes + 1) << "nothing zoomed, nothing redrawn";
    // A new or opened recording starts at the bounds too.
    view.ZoomYAt(false, 0, 4);
    view.RecordingReplaced();
    EXPECT_FALSE(chart2.shownY);
    EXPECT_DOUBLE_EQ(view.ShownY(false).top, 100);
}

} // namespace
