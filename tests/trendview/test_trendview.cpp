#include "FakeChart.h"
#include "OleDate.h"
#include "TrendView.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QLocale>

namespace {

class FakeHost final : public TrendViewHost {
public:
    std::int32_t maximum = -1, value = -1;
    StatisticsLabels shown;
    std::function<void(std::int32_t)> onChange; // a real scroll bar reports changes
    void setScrollBar(std::int32_t max, std::int32_t v) override
    {
        const bool changed = v != value;
        maximum = max;
        value = v;
        if (changed && onChange)
            onChange(v);
    }
    void showStatistics(const StatisticsLabels &labels) override { shown = labels; }
};

const QDateTime Start(QDate(2002, 6, 7), QTime(10, 37, 0));

class TrendViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale::c());
        chart1.onRefresh = [this] { view.RedrawChart1(); };
        chart2.onRefresh = [this] { view.RedrawChart2(); };
    }

    // Appends a sample the way the receive cycle does, then follows it.
    void appendLive(float first, float seconds, std::uint8_t firstUnit = 0x08)
    {
        Sample s;
        s.FirstValue = first;
        s.FirstUnit = firstUnit;
        s.SecondValue = first * 2;
        s.SecondUnit = 0x02;
        s.Seconds = seconds;
        s.Stamp = LocalToOleDate(Start.addMSecs(qint64(seconds * 1000)));
        state.store.AppendSample(s);
        view.FollowLatestSample();
    }

    void appendMany(int count, float spacing)
    {
        for (int i = 1; i <= count; ++i)
            appendLive(float(i % 17), float(i) * spacing);
    }

    ProgramState state;
    FakeChart chart1, chart2;
    FakeHost host;
    TrendView view{state, chart1, chart2, host};
};

} // namespace

TEST_F(TrendViewTest, IndexModeFollowsTheNewestSampleAtNinetyPercent)
{
    state.view.TimeMode = false;
    appendMany(500, 1);
    EXPECT_EQ(state.view.ViewFirst, 410);
    EXPECT_EQ(state.view.ViewLast, 500);
    EXPECT_EQ(host.maximum, 410);
    EXPECT_EQ(host.value, 410);
    ASSERT_FALSE(chart1.lines.empty());
    EXPECT_EQ(chart1.lines.back().x, 90.0f) << "newest sample plotted at x = 90";
    EXPECT_EQ(state.view.MarkIndex1, 500);
    EXPECT_EQ(state.view.MarkIndex2, 500);
    ASSERT_EQ(chart1.circles.size(), 1u);
    EXPECT_EQ(chart1.circles[0].x, 90.0f);
    EXPECT_EQ(chart1.circleColor, 255u);
    EXPECT_FLOAT_EQ(chart1.circleRadius, 0.5f);
}

TEST_F(TrendViewTest, IndexModeShortRecordingStartsAtOne)
{
    state.view.TimeMode = false;
    appendMany(50, 1);
    EXPECT_EQ(state.view.ViewFirst, 1);
    EXPECT_EQ(state.view.ViewLast, 50);
    EXPECT_EQ(host.value, 1);
    EXPECT_EQ(chart1.moves.size(), 1u);
    EXPECT_EQ(chart1.lines.size(), 49u);
}

TEST_F(TrendViewTest, TimeModeKeepsTheNewestWithinNinetyPercentOfTheWidth)
{
    state.view.TimeMode = true;
    chart1.rightx = 30;
    appendMany(40, 2);
    const float first = state.store.Samples[std::size_t(state.view.ViewFirst)].Seconds;
    const float last = state.store.Samples[40].Seconds;
    EXPECT_LE(last - first, 27.0f);
    EXPECT_GT(last - state.store.Samples[std::size_t(state.view.ViewFirst - 1)].Seconds, 27.0f);
    EXPECT_LE(chart1.lines.back().x, 26.0f);
    EXPECT_EQ(chart1.moves[0].x, 0.0f);
}

TEST_F(TrendViewTest, TimeLabelsGetTheTimeOfDayOnly)
{
    appendMany(3, 1);
    EXPECT_LT(chart1.firstTime, 1.0);
    EXPECT_NEAR(chart1.firstTime * 86400, 10 * 3600 + 37 * 60 + 1, 0.01);
    EXPECT_NEAR(chart2.secondTime * 86400, 10 * 3600 + 37 * 60 + 3, 0.01);
}

TEST_F(TrendViewTest, TiesKeepTheFirstMaximumAndMinimum)
{
    state.view.TimeMode = false;
    appendLive(5, 1);
    appendLive(9, 2);
    appendLive(1, 3);
    appendLive(9, 4);
    appendLive(1, 5);
    const Sample &record = state.store.statistics();
    EXPECT_EQ(StatisticsRecord::maxIndex(record), 2.0f);
    EXPECT_EQ(StatisticsRecord::minIndex(record), 3.0f);
    EXPECT_FLOAT_EQ(StatisticsRecord::mean(record), 5.0f);
    EXPECT_EQ(state.view.ViewMaxIndex, 2);
    EXPECT_EQ(state.view.ViewMinIndex, 3);
}

// The mean of the whole recording is carried from sample to sample; in single
// precision the rounding of every step adds up over a long recording.
TEST(RunningMeanTest, ALongRecordingKeepsTheMeanOfAllItsSamples)
{
    SampleStore store;
    double sum = 0;
    for (int i = 1; i <= 20000; ++i) {
        Sample s;
        s.FirstValue = i % 2 ? 1000.5f : 999.25f;
        s.FirstUnit = 0x08;
        store.AppendSample(s);
        UpdateStatisticsRecord(store);
        sum += double(s.FirstValue);
    }
    const double mean = sum / store.SampleCount;
    EXPECT_NEAR(StatisticsRecord::mean(store.statistics()), mean, 1e-3);
}

TEST_F(TrendViewTest, StatisticsLabelTexts)
{
    state.view.TimeMode = false;
    appendLive(100.5f, 1, 0x40);
    appendLive(99.25f, 2, 0x40);
    appendLive(101.0f, 3, 0x40);
    EXPECT_EQ(host.shown.aMAX, QStringLiteral("101kW"));
    EXPECT_EQ(host.shown.aMIN, QStringLiteral("99.25kW"));
    EXPECT_EQ(host.shown.aAVG, QStringLiteral("100.25kW")); // "###0.0##"
    EXPECT_EQ(host.shown.aMAXDate,
              QLocale::c().toString(Start.date(), QLocale::ShortFormat) + QStringLiteral(" 10:37:03"));
    EXPECT_EQ(host.shown.vMAX, QStringLiteral("101kW"));
    EXPECT_EQ(host.shown.vAVG, QStringLiteral("100.25kW"));
    view.ShowAllAreaStatistics(MeanPattern::Loaded);
    EXPECT_EQ(host.shown.aAVG, QStringLiteral("100.25kW"));
    appendLive(100.0f, 4, 0x40);
    EXPECT_EQ(host.shown.aAVG, QStringLiteral("100.188kW"));
    view.ShowAllAreaStatistics(MeanPattern::Loaded);
    EXPECT_EQ(host.shown.aAVG, QStringLiteral("100.19kW"));
}

TEST_F(TrendViewTest, MeanPatternsKeepOneToThreeOrExactlyTwoDecimals)
{
    EXPECT_EQ(MeanText(5, MeanPattern::Live, QStringLiteral("A"), QLocale::c()), QStringLiteral("5.0A"));
    EXPECT_EQ(MeanText(5, MeanPattern::Loaded, QStringLiteral("A"), QLocale::c()), QStringLiteral("5.00A"));
    EXPECT_EQ(MeanText(12345.6789, MeanPattern::Live, QString(), QLocale::c()), QStringLiteral("12345.679"));
    EXPECT_EQ(MeanText(0.5, MeanPattern::Live, QString(), QLocale(QLocale::German)), QStringLiteral("0,5"));
    EXPECT_EQ(ValueText(100.5f, QStringLiteral("kW"), QLocale(QLocale::German)), QStringLiteral("100,5kW"));
}

TEST_F(TrendViewTest, DamagedStatisticsRecordLeavesAllAreaLabelsEmpty)
{
    state.view.TimeMode = false;
    appendMany(5, 1);
    StatisticsRecord::setMaxIndex(state.store.statistics(), 77);
    view.ShowAllAreaStatistics(MeanPattern::Loaded);
    EXPECT_TRUE(host.shown.aMAX.isEmpty());
    EXPECT_TRUE(host.shown.aAVG.isEmpty());
    // The next sample repairs the index instead of reading outside the recording.
    appendLive(50, 6);
    EXPECT_EQ(StatisticsRecord::maxIndex(state.store.statistics()), 6.0f);
    EXPECT_FALSE(host.shown.aMAX.isEmpty());
}

TEST_F(TrendViewTest, ScrollValueVShowsSampleVPlusOne)
{
    state.view.TimeMode = false;
    appendMany(500, 1);
    view.ScrollBarChanged(200);
    EXPECT_EQ(state.view.ViewFirst, 201);
    EXPECT_EQ(state.view.ViewLast, 301);
    view.ScrollBarChanged(0);
    EXPECT_EQ(state.view.ViewFirst, 1);
    EXPECT_EQ(state.view.ViewLast, 101);
    // The next sample takes the view back to the newest one.
    appendLive(3, 501);
    EXPECT_EQ(state.view.ViewLast, 501);
}

TEST_F(TrendViewTest, ProgramMovesOfTheScrollBarAreNotUserScrolls)
{
    state.view.TimeMode = false;
    host.onChange = [this](std::int32_t v) { view.ScrollBarChanged(v); };
    appendMany(300, 1);
    EXPECT_EQ(state.view.ViewFirst, 210);
    EXPECT_EQ(state.view.ViewLast, 300) << "the change the program made did not move the window";
    EXPECT_TRUE(view.ScrollByUser());
    view.ScrollBarChanged(10);
    EXPECT_EQ(state.view.ViewFirst, 11) << "the user's next scroll is not swallowed";
}

TEST_F(TrendViewTest, ScrollingBeyondSixteenBitsReachesTheEnd)
{
    state.view.TimeMode = false;
    for (int i = 1; i <= 40000; ++i) {
        Sample s;
        s.FirstValue = float(i % 100);
        s.Seconds = float(i);
        state.store.AppendSample(s);
    }
    view.UpdateAllAreaStatistics();
    state.view.ViewLast = 40000;
    view.FollowLatestSample();
    EXPECT_EQ(host.maximum, 39910);
    view.ScrollBarChanged(39899);
    EXPECT_EQ(state.view.ViewFirst, 39900);
    EXPECT_EQ(state.view.ViewLast, 40000);
}

TEST_F(TrendViewTest, IndexModeClicksRoundHalvesToEven)
{
    state.view.TimeMode = false;
    appendMany(500, 1);
    view.ScrollBarChanged(99);
    auto readout = view.ShowReadout1(2.5f);
    ASSERT_TRUE(readout);
    EXPECT_EQ(readout->sampleIndex, 102);
    EXPECT_EQ(state.view.MarkIndex1, 102);
    readout = view.ShowReadout1(3.5f);
    EXPECT_EQ(readout->sampleIndex, 104);
    EXPECT_FALSE(readout->rightHalf);
    EXPECT_TRUE(view.ShowReadout1(50.5f)->rightHalf);
    EXPECT_FALSE(view.ShowReadout1(50.0f)->rightHalf) << "on the centre counts as the left half";
    EXPECT_EQ(state.view.MarkIndex2, 500) << "a click on chart 1 moves only its own mark";
}

TEST_F(TrendViewTest, TimeModeClickSelectsTheLastSampleLeftOfThePointer)
{
    state.view.TimeMode = true;
    appendMany(10, 2);
    // Window 1..10 at 2 s spacing: x = 5 lies between samples 3 (4 s) and 4 (6 s).
    const auto readout = view.ShowReadout1(5.0f);
    ASSERT_TRUE(readout);
    EXPECT_EQ(readout->sampleIndex, 3);
    EXPECT_EQ(view.ShowReadout1(100.0f)->sampleIndex, 10);
}

TEST_F(TrendViewTest, SecondChartReadoutShowsTimeModeValues)
{
    state.view.TimeMode = false;
    Sample s;
    s.SecondValue = 530;
    s.SecondUnit = 0x40;
    s.Mode = 0x40;
    state.store.AppendSample(s);
    view.FollowLatestSample();
    const auto readout = view.ShowReadout2(0);
    ASSERT_TRUE(readout);
    EXPECT_EQ(readout->valueText, QStringLiteral("05:30min"));
}

TEST_F(TrendViewTest, EmptyRecordingIgnoresClicksAndDrawsNothing)
{
    EXPECT_FALSE(view.ShowReadout1(10));
    EXPECT_FALSE(view.ShowReadout2(10));
    view.RefreshCharts();
    EXPECT_TRUE(chart1.lines.empty());
    EXPECT_TRUE(chart1.moves.empty());
    EXPECT_EQ(state.view.MarkIndex1, 0);
}

TEST_F(TrendViewTest, FindWindowEdgeClampsToTheRecording)
{
    state.view.TimeMode = false;
    appendMany(20, 1);
    state.view.ViewFirst = 15;
    EXPECT_EQ(view.FindWindowEdge(TrendView::Direction::Forward, 1.0f), 20);
    state.view.ViewLast = 5;
    EXPECT_EQ(view.FindWindowEdge(TrendView::Direction::Backward, 0.9f), 1);
    state.view.TimeMode = true;
    chart1.rightx = 5;
    state.view.ViewFirst = 2;
    EXPECT_EQ(view.FindWindowEdge(TrendView::Direction::Forward, 1.0f), 7);
}

// After Options OK: the chart's new width decides the window's end and how far
// the scroll bar goes, as a scroll to the same start would.
TEST_F(TrendViewTest, ANarrowerChartMovesTheWindowsEndAndTheScrollRange)
{
    state.view.TimeMode = false;
    appendMany(500, 1);
    view.ScrollTo(400, 400); // as Open leaves it: samples 401..500
    ASSERT_EQ(state.view.ViewLast, 500);

    chart1.rightx = 50;
    chart2.rightx = 50;
    view.FitWindowToChartWidth();
    EXPECT_EQ(state.view.ViewFirst, 401);
    EXPECT_EQ(state.view.ViewLast, 451);
    EXPECT_EQ(host.maximum, 450) << "the bar reaches the last 50 samples";
    EXPECT_EQ(host.value, 400);
    EXPECT_EQ(chart1.lines.back().x, 50.0f);
    EXPECT_NEAR(chart1.secondTime * 86400, 10 * 3600 + 37 * 60 + 451, 0.01) << "the right time label";
    EXPECT_EQ(host.shown.vAVGDate, TimeText(state.store.sample(451).Stamp));
    float sum = 0;
    for (int i = 401; i <= 451; ++i)
        sum += state.store.sample(i).FirstValue;
    EXPECT_EQ(host.shown.vAVG, MeanText(double(sum / 51), MeanPattern::Live, QStringLiteral("A")));

    view.ScrollBarChanged(450);
    EXPECT_EQ(state.view.ViewFirst, 451);
    EXPECT_EQ(state.view.ViewLast, 500);
}

TEST_F(TrendViewTest, AWiderChartOrTheOtherAxisModeKeepsTheWindowsStart)
{
    state.view.TimeMode = false;
    appendMany(500, 2);
    view.ScrollTo(400, 100); // the user scrolled back: samples 101..201
    chart1.rightx = 200;
    view.FitWindowToChartWidth();
    EXPECT_EQ(state.view.ViewFirst, 101);
    EXPECT_EQ(state.view.ViewLast, 301);
    EXPECT_EQ(host.maximum, 300);

    // In seconds, 2 s apart: 200 s are 100 samples.
    state.view.TimeMode = true;
    view.FitWindowToChartWidth();
    EXPECT_EQ(state.view.ViewFirst, 101);
    EXPECT_EQ(state.view.ViewLast, 201);
    EXPECT_EQ(host.maximum, 400);

    // Live, the window sits further right than the last full width: it stays.
    state.view.TimeMode = false;
    chart1.rightx = 100;
    appendLive(1, 1002);
    ASSERT_EQ(state.view.ViewFirst, 411);
    view.FitWindowToChartWidth();
    EXPECT_EQ(state.view.ViewFirst, 411);
    EXPECT_EQ(state.view.ViewLast, 501);
    EXPECT_EQ(host.maximum, 410);
}

TEST_F(TrendViewTest, FittingAnEmptyRecordingKeepsTheEmptyView)
{
    view.FitWindowToChartWidth();
    EXPECT_EQ(state.view.ViewFirst, 1);
    EXPECT_EQ(state.view.ViewLast, 1);
    EXPECT_EQ(host.maximum, 0);
    EXPECT_TRUE(chart1.lines.empty());
}

// A chart width below zero (a hand-edited setting) left the window empty: no
// curve, and a mean divided by zero ("infA").
TEST_F(TrendViewTest, ANegativeChartWidthStillShowsTheWindowsFirstSample)
{
    for (const bool timeMode : {true, false}) {
        SCOPED_TRACE(timeMode ? "time mode" : "index mode");
        state = ProgramState();
        state.view.TimeMode = timeMode;
        chart1.rightx = 100;
        appendMany(20, 1);
        chart1.rightx = -50;
        view.ScrollTo(10, 10);
        EXPECT_EQ(state.view.ViewFirst, 11);
        EXPECT_EQ(state.view.ViewLast, 11);
        EXPECT_EQ(chart1.moves.size(), 1u);
        EXPECT_EQ(host.shown.vAVG, QStringLiteral("11.0A"));
        appendLive(5, 21);
        EXPECT_EQ(state.view.ViewLast, 21);
        EXPECT_EQ(state.view.ViewFirst, 21);
        EXPECT_EQ(host.shown.vAVG, QStringLiteral("5.0A"));
    }
}

TEST_F(TrendViewTest, AWindowEndingBeforeItsStartShowsNoVisualStatistics)
{
    state.view.TimeMode = false;
    appendMany(20, 1);
    ASSERT_FALSE(host.shown.vAVG.isEmpty());
    state.view.ViewFirst = 12;
    state.view.ViewLast = 11;
    view.RefreshCharts();
    EXPECT_TRUE(chart1.moves.empty());
    EXPECT_TRUE(chart1.lines.empty());
    EXPECT_TRUE(host.shown.vAVG.isEmpty());
    EXPECT_TRUE(host.shown.vMAX.isEmpty());
    EXPECT_FALSE(host.shown.aMAX.isEmpty()) << "the whole recording keeps its statistics";
}
