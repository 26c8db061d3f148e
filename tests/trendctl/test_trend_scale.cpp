// World bounds, the scale labels and the time labels.

#include "TrendTestSupport.h"

#include <PropertyBag.h>

#include <QDate>
#include <QLocale>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

using namespace TrendTest;

namespace {

QStringList ScaleLabels(const Sweepgraph::Trend &chart)
{
    QStringList texts;
    for (int i = 0; i < 5; ++i)
        texts << chart.scaleLabelText(i);
    return texts;
}

// Restores the default locale when a test changes it.
struct LocaleScope {
    explicit LocaleScope(const QLocale &locale) { QLocale::setDefault(locale); }
    ~LocaleScope() { QLocale::setDefault(QLocale::system()); }
};

} // namespace

TEST(TrendScale, NewChartShowsPlaceholderTextsUntilItsFirstRepaint)
{
    Sweepgraph::Trend chart;
    EXPECT_EQ(ScaleLabels(chart), QStringList(5, QStringLiteral("+100000")));
    EXPECT_EQ(chart.timeLabelText(0), QStringLiteral("00:00:00"));
    EXPECT_EQ(chart.timeLabelText(1), QStringLiteral("00:00:00"));
    chart.Refresh();
    EXPECT_EQ(ScaleLabels(chart), (QStringList{"100", "50", "0", "-50", "-100"}));
}

TEST(TrendScale, DefaultBounds)
{
    Sweepgraph::Trend chart;
    EXPECT_EQ(chart.TopY(), 100.0f);
    EXPECT_EQ(chart.BottomY(), -100.0f);
    EXPECT_EQ(chart.LeftX(), 0.0f);
    EXPECT_EQ(chart.Rightx(), 100.0f);
    EXPECT_EQ(chart.GridRows(), 8);
    EXPECT_EQ(chart.GridCols(), 10);
    EXPECT_EQ(chart.GridStyle(), 2);
    EXPECT_EQ(chart.GridColor(), OleColor(0));
}

struct BoundRounding {
    const char *name;
    float value;
    float expected;
};

class TrendBoundRounding : public ::testing::TestWithParam<BoundRounding> {};

TEST_P(TrendBoundRounding, StoresTheNearestWholeNumberHalvesToEven)
{
    const BoundRounding row = GetParam();
    Sweepgraph::Trend chart;
    chart.setTopY(row.value);
    chart.setBottomY(row.value);
    chart.setLeftX(row.value);
    chart.setRightx(row.value);
    EXPECT_EQ(chart.TopY(), row.expected);
    EXPECT_EQ(chart.BottomY(), row.expected);
    EXPECT_EQ(chart.LeftX(), row.expected);
    EXPECT_EQ(chart.Rightx(), row.expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, TrendBoundRounding,
                         ::testing::Values(BoundRounding{"n99_5", 99.5f, 100}, BoundRounding{"n98_5", 98.5f, 98},
                                           BoundRounding{"n100_5", 100.5f, 100}, BoundRounding{"n101_5", 101.5f, 102},
                                           BoundRounding{"n98_6", 98.6f, 99}, BoundRounding{"minus0_5", -0.5f, 0},
                                           BoundRounding{"minus1_5", -1.5f, -2}, BoundRounding{"minus2_5", -2.5f, -2},
                                           BoundRounding{"large", 2147483520.0f, 2147483520.0f}),
                         [](const auto &instance) { return std::string(instance.param.name); });

TEST(TrendScale, BoundOutsideThirtyTwoBitsOrNotANumberKeepsTheOldValue)
{
    Sweepgraph::Trend chart;
    chart.setTopY(3e9f);
    chart.setBottomY(-2147483904.0f);
    chart.setLeftX(std::numeric_limits<float>::quiet_NaN());
    chart.setRightx(std::numeric_limits<float>::infinity());
    EXPECT_EQ(chart.TopY(), 100.0f);
    EXPECT_EQ(chart.BottomY(), -100.0f);
    EXPECT_EQ(chart.LeftX(), 0.0f);
    EXPECT_EQ(chart.Rightx(), 100.0f);
    EXPECT_EQ(ScaleLabels(chart), (QStringList{"100", "50", "0", "-50", "-100"}));
}

struct LabelRow {
    const char *name;
    float top;
    float bottom;
    QStringList texts;
};

class TrendScaleLabels : public ::testing::TestWithParam<LabelRow> {};

TEST_P(TrendScaleLabels, ReadTopToBottom)
{
    const LabelRow row = GetParam();
    Sweepgraph::Trend chart;
    chart.setTopY(row.top);
    chart.setBottomY(row.bottom);
    EXPECT_EQ(ScaleLabels(chart), row.texts);
}

INSTANTIATE_TEST_SUITE_P(Rows, TrendScaleLabels,
                         ::testing::Values(LabelRow{"defaults", 100, -100, {"100", "50", "0", "-50", "-100"}},
                                           LabelRow{"tenToZero", 10, 0, {"10", "7.5", "5", "2.5", "0"}},
                                           LabelRow{"sevenToZero", 7, 0, {"7", "5.25", "3.5", "1.75", "0"}},
                                           LabelRow{"inverted", -100, 100, {"-100", "-50", "0", "50", "100"}},
                                           LabelRow{"negativeQuarters", -1, -2, {"-1", "-1.25", "-1.5", "-1.75", "-2"}},
                                           LabelRow{
                                               "large", 2000000, 0, {"2000000", "1500000", "1000000", "500000", "0"}},
                                           LabelRow{"rounded", 99.5f, 98.5f, {"100", "99.5", "99", "98.5", "98"}}),
                         [](const auto &instance) { return std::string(instance.param.name); });

TEST(TrendScale, LabelsUseTheUsersDecimalSeparator)
{
    const LocaleScope german(QLocale(QLocale::German, QLocale::Germany));
    Sweepgraph::Trend chart;
    chart.setTopY(7);
    chart.setBottomY(-3000);
    EXPECT_EQ(ScaleLabels(chart), (QStringList{"7", "-744,75", "-1496,5", "-2248,25", "-3000"}));
}

TEST(TrendScale, OverflowingDifferenceKeepsTheMiddleLabels)
{
    Sweepgraph::Trend chart;
    chart.Refresh();
    PropertyBag bag;
    bag.WriteProperty(QStringLiteral("TopY"), 2147483520);
    bag.WriteProperty(QStringLiteral("BottomY"), -2147483520);
    chart.ReadProperties(bag);
    chart.Refresh();
    EXPECT_EQ(ScaleLabels(chart), (QStringList{"2147483520", "50", "0", "-50", "-2147483520"}));
    EXPECT_EQ(chart.TopY(), 2147483520.0f);
    EXPECT_EQ(chart.BottomY(), -2147483520.0f);
}

TEST(TrendScale, InvertedBoundsExtendDownwardFromTheTop)
{
    auto chart = MakeChart();
    chart->setGridStyle(5);
    chart->setLineWidth(1);
    chart->setTopY(-100);
    chart->setBottomY(100);
    // Top -100, extent 200 downward: the bottom edge is -300 and -200 is the middle.
    chart->MoveTo(0, -200);
    chart->DrawLine(100, -200, Red);
    chart->MoveTo(0, 100);
    chart->DrawLine(100, 100, Red);
    const QImage image = PlotPixels(*chart);
    EXPECT_EQ(CountInRow(image, 200, Rgb(Red)), 800);
    EXPECT_EQ(CountInImage(image, Rgb(Red)), 800);
}

TEST(TrendScale, InvertedHorizontalBoundsExtendToTheRight)
{
    auto chart = MakeChart();
    chart->setGridStyle(5);
    chart->setLineWidth(1);
    chart->setLeftX(100);
    chart->setRightx(0); // left 100, right edge 200
    chart->MoveTo(150, 100);
    chart->DrawLine(150, -100, Red);
    EXPECT_EQ(CountInColumn(PlotPixels(*chart), 400, Rgb(Red)), 400);
}

TEST(TrendScale, ZeroExtentKeepsThePreviousOneButRelabels)
{
    auto chart = MakeChart();
    chart->setGridStyle(5);
    chart->setLineWidth(1);
    chart->setBottomY(100);
    EXPECT_EQ(chart->BottomY(), 100.0f);
    EXPECT_EQ(ScaleLabels(*chart), QStringList(5, QStringLiteral("100")));
    chart->setRightx(0);
    EXPECT_EQ(chart->scaleLabelText(0), QStringLiteral("100"));
    // Top 100 with the previous extents, 200 down and 100 across.
    chart->MoveTo(0, 0);
    chart->DrawLine(100, 0, Red);
    chart->MoveTo(50, 100);
    chart->DrawLine(50, -100, Red);
    const QImage image = PlotPixels(*chart);
    EXPECT_EQ(CountInRow(image, 200, Rgb(Red)), 800);
    EXPECT_EQ(CountInColumn(image, 400, Rgb(Red)), 400);
    // A new extent is taken again once the bounds differ.
    chart->setTopY(0);
    chart->MoveTo(0, -50);
    chart->DrawLine(100, -50, Red);
    EXPECT_EQ(CountInRow(PlotPixels(*chart), 200, Rgb(Red)), 800);
}

TEST(TrendScale, AShownYRangeMovesCurveAndLabelsButNotTheBounds)
{
    auto chart = MakeChart(); // plot 800 by 400, bounds 100..-100
    chart->setGridStyle(5);
    chart->setLineWidth(1);
    chart->ShowYRange(50, 10);
    chart->Refresh();
    EXPECT_EQ(ScaleLabels(*chart), QStringList({QStringLiteral("50"), QStringLiteral("40"), QStringLiteral("30"),
                                                QStringLiteral("20"), QStringLiteral("10")}));
    // 40 lies a quarter down the plot.
    chart->MoveTo(0, 40);
    chart->DrawLine(100, 40, Red);
    EXPECT_EQ(CountInRow(PlotPixels(*chart), 100, Rgb(Red)), 800);
    // The bounds, and so what is saved, stay.
    EXPECT_EQ(chart->TopY(), 100.0f);
    EXPECT_EQ(chart->BottomY(), -100.0f);
    PropertyBag written;
    chart->WriteProperties(written);
    EXPECT_FALSE(written.contains(QStringLiteral("TopY")));
    EXPECT_FALSE(written.contains(QStringLiteral("BottomY")));
    // A range without height is not shown.
    chart->ShowYRange(5, 5);
    EXPECT_EQ(chart->scaleLabelText(0), QStringLiteral("50"));
    // Labels of a zoomed range carry the digits their distance needs.
    chart->ShowYRange(887.8125, -974.84);
    EXPECT_EQ(ScaleLabels(*chart), QStringList({QStringLiteral("888"), QStringLiteral("422"), QStringLiteral("-44"),
                                                QStringLiteral("-509"), QStringLiteral("-975")}));
    chart->ShowYRange(0.0512, 0.0112);
    EXPECT_EQ(ScaleLabels(*chart),
              QStringList({QStringLiteral("0.051"), QStringLiteral("0.041"), QStringLiteral("0.031"),
                           QStringLiteral("0.021"), QStringLiteral("0.011")}));

    chart->ShowBoundsY();
    chart->Refresh();
    EXPECT_EQ(chart->scaleLabelText(0), QStringLiteral("100"));
    EXPECT_EQ(chart->scaleLabelText(4), QStringLiteral("-100"));
    chart->MoveTo(0, 50);
    chart->DrawLine(100, 50, Red);
    EXPECT_EQ(CountInRow(PlotPixels(*chart), 100, Rgb(Red)), 800);
}

struct TimeRow {
    const char *name;
    double value;
    QString expected;
};

class TrendTimeLabels : public ::testing::TestWithParam<TimeRow> {};

TEST_P(TrendTimeLabels, GeneralDateTimeText)
{
    const TimeRow row = GetParam();
    const LocaleScope british(QLocale(QLocale::English, QLocale::UnitedKingdom));
    Sweepgraph::Trend chart;
    chart.DisplayTime(row.value, 10.0 / 86400);
    EXPECT_EQ(chart.timeLabelText(0), row.expected);
    EXPECT_EQ(chart.timeLabelText(1), QStringLiteral("00:00:10"));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, TrendTimeLabels,
    ::testing::Values(TimeRow{"tenSeconds", 10.0 / 86400, "00:00:10"},
                      TimeRow{"afternoon", (15 * 3600 + 4 * 60 + 5) / 86400.0, "15:04:05"},
                      TimeRow{"zero", 0.0, "00:00:00"}, TimeRow{"midnight", 37414.0, "07/06/2002"},
                      TimeRow{"dateAndTime", 37414 + (10 * 3600 + 37 * 60) / 86400.0, "07/06/2002 10:37:00"},
                      TimeRow{"beforeTheEpoch", -1.25, "29/12/1899 06:00:00"},
                      TimeRow{"roundsUpToMidnight", 1.9999999999, "01/01/1900"},
                      // As a clock shows it, and as the host's labels and printouts show it.
                      TimeRow{"cutToTheSecond", (12 * 3600 + 9 * 60 + 42.6) / 86400.0, "12:09:42"},
                      TimeRow{"lastSecondOfTheDay", 37414 + (86399.6 / 86400.0), "07/06/2002 23:59:59"},
                      TimeRow{"firstSecondAfterMidnight", 37414 + 0.6 / 86400.0, "07/06/2002"}),
    [](const auto &instance) { return std::string(instance.param.name); });

TEST(TrendScale, TimeLabelsIgnoreValuesThatAreNoDate)
{
    Sweepgraph::Trend chart;
    chart.DisplayTime(1.5, 2.5);
    const QString first = chart.timeLabelText(0);
    const QString second = chart.timeLabelText(1);
    chart.DisplayTime(std::numeric_limits<double>::quiet_NaN(), 1e9);
    EXPECT_EQ(chart.timeLabelText(0), first);
    EXPECT_EQ(chart.timeLabelText(1), second);
    chart.DisplayTime(std::numeric_limits<double>::infinity(), 3.0);
    EXPECT_EQ(chart.timeLabelText(0), first);
    EXPECT_EQ(chart.timeLabelText(1), QLocale().toString(QDate(1900, 1, 2), QLocale::ShortFormat));
}
