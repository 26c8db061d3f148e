// Where the frame, the plot area and the labels go.

#include "TrendTestSupport.h"

#include <QFontMetricsF>
#include <QLabel>

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace TrendTest;

namespace {

constexpr double TwipsPerPixel = 15; // 96 dpi

int Pixels(double twips)
{
    return int(std::lround(twips / TwipsPerPixel));
}

QRect PartGeometry(Sweepgraph::Trend &chart, const char *name)
{
    return chart.findChild<QWidget *>(QLatin1String(name))->geometry();
}

struct LabelPlace {
    const char *name;
    double leftTwips;
    double topTwips;
    double widthTwips;
};

// A frame of 6600 by 4290 twips: the plot is 5750 by 3990 twips at left 850.
const LabelPlace DesignSizeLabels[] = {
    {"L01_0", 0, 0, 840},
    {"L01_1", 0, 3990 * 0.25 - 120, 840},
    {"L01_2", 0, 3990 * 0.5 - 120, 840},
    {"L01_3", 0, 3990 * 0.75 - 120, 840},
    {"L01_4", 0, 3990 - 240 * 0.8, 840},
    {"L02_0", 500, 4040, 840},
    {"L02_1", 6600 - 855, 4040, 855},
};

} // namespace

TEST(TrendLayout, DesignSizeWithABorderlessFrame)
{
    Sweepgraph::Trend chart;
    ASSERT_EQ(chart.logicalDpiY(), 96);
    chart.setBorderStyle(0);
    chart.resize(Pixels(6600), Pixels(4290));
    chart.show();
    EXPECT_EQ(PartGeometry(chart, "P01"), QRect(0, 0, 440, 286));
    EXPECT_EQ(chart.plotArea(), QRect(Pixels(850), 0, Pixels(850 + 5750) - Pixels(850), Pixels(3990)));
    EXPECT_EQ(chart.plotArea(), QRect(57, 0, 383, 266));
    for (const LabelPlace &place : DesignSizeLabels) {
        EXPECT_EQ(PartGeometry(chart, place.name),
                  QRect(Pixels(place.leftTwips), Pixels(place.topTwips), Pixels(place.widthTwips), Pixels(240)))
            << place.name;
    }
    // The right time label ends at the frame's right edge.
    EXPECT_EQ(PartGeometry(chart, "L02_1").right(), 439);
}

TEST(TrendLayout, SingleBorderMovesEverythingInsideIt)
{
    Sweepgraph::Trend chart;
    EXPECT_EQ(chart.BorderStyle(), 1);
    chart.resize(Pixels(6600) + 2, Pixels(4290) + 2);
    chart.show();
    EXPECT_EQ(chart.plotArea(), QRect(58, 1, 383, 266));
    EXPECT_EQ(PartGeometry(chart, "L02_1").topLeft(), QPoint(1 + Pixels(6600 - 855), 1 + Pixels(4040)));
    chart.setBorderStyle(0);
    EXPECT_EQ(chart.plotArea(), QRect(57, 0, 385, 268));
    chart.setBorderStyle(2); // not a border style
    EXPECT_EQ(chart.BorderStyle(), 0);
    EXPECT_EQ(chart.plotArea(), QRect(57, 0, 385, 268));
}

TEST(TrendLayout, TooSmallAWidgetKeepsThePreviousPlotSize)
{
    Sweepgraph::Trend chart;
    chart.setBorderStyle(0);
    chart.resize(300, 200);
    chart.show();
    EXPECT_EQ(chart.plotArea(), QRect(57, 0, 243, 180));
    chart.resize(40, 10);
    EXPECT_EQ(chart.plotArea(), QRect(57, 0, 243, 180));
    EXPECT_EQ(PartGeometry(chart, "L02_0").top(), 180 + Pixels(50));
    chart.resize(100, 300);
    EXPECT_EQ(chart.plotArea(), QRect(57, 0, 43, 280));
}

TEST(TrendLayout, InnerPartsAndTheirLook)
{
    Sweepgraph::Trend chart;
    for (const char *name : {"P01", "P02", "L01_0", "L01_1", "L01_2", "L01_3", "L01_4", "L02_0", "L02_1"})
        EXPECT_NE(chart.findChild<QWidget *>(QLatin1String(name)), nullptr) << name;
    const auto *scaleLabel = chart.findChild<QLabel *>(QStringLiteral("L01_2"));
    const auto *timeLabel = chart.findChild<QLabel *>(QStringLiteral("L02_0"));
    EXPECT_TRUE(scaleLabel->alignment() & Qt::AlignRight);
    EXPECT_TRUE(timeLabel->alignment() & Qt::AlignHCenter);
    EXPECT_EQ(scaleLabel->font().families().value(0), QStringLiteral("Arial"));
    EXPECT_LE(scaleLabel->font().pointSizeF(), 9.0);
    EXPECT_FALSE(scaleLabel->font().bold());
    EXPECT_LE(timeLabel->font().pointSizeF(), 10.5);
    EXPECT_TRUE(timeLabel->font().bold());
    EXPECT_EQ(chart.sizeHint(), QSize(440, 286));
}

TEST(TrendLayout, LabelTextsAreNeverCutOff)
{
    Sweepgraph::Trend chart;
    chart.resize(440, 286);
    chart.show();
    const QRect timePlace = PartGeometry(chart, "L02_0");
    chart.setTopY(-2147483520.0f);
    // A date with its time, and a time, both far wider than their labels' design.
    chart.DisplayTime(37414 + 0.5, 23.0 / 24 + 59.0 / 1440);
    for (const char *name : {"L01_0", "L01_2"}) {
        const auto *label = chart.findChild<QLabel *>(QLatin1String(name));
        const bool fits = QFontMetricsF(label->font(), label).horizontalAdvance(label->text()) <= label->width();
        EXPECT_TRUE(fits || label->font().pointSizeF() <= 6) << name << " " << label->text().toStdString();
    }
    // A time is never cut: smaller type first, then a wider label.
    for (const double fontSize : {9.0, 6.3, 14.0}) {
        chart.setLabelFontSize(fontSize);
        for (const char *name : {"L02_0", "L02_1"}) {
            const auto *label = chart.findChild<QLabel *>(QLatin1String(name));
            EXPECT_LE(QFontMetricsF(label->font(), label).horizontalAdvance(label->text()), label->width())
                << name << " at " << fontSize << ": " << label->text().toStdString();
            EXPECT_GE(label->font().pointSizeF(), fontSize * 10.5 / 9 * 2 / 3) << name;
            EXPECT_GE(label->x(), 0) << name;
            EXPECT_LE(label->geometry().right(), 439) << name;
        }
    }
    // A short text is back at the design size and place where that fits.
    chart.setLabelFontSize(9);
    chart.DisplayTime(1.0 / 24, 2.0 / 24);
    EXPECT_EQ(PartGeometry(chart, "L02_0"), timePlace);
    chart.setTopY(1);
    const auto *top = chart.findChild<QLabel *>(QStringLiteral("L01_0"));
    EXPECT_EQ(top->text(), QStringLiteral("1"));
    EXPECT_EQ(top->font().pointSizeF(), 9.0);
}

TEST(TrendLayout, LabelFontSizeScalesTheLabelsWithTheirRoom)
{
    Sweepgraph::Trend chart;
    chart.setBorderStyle(0);
    chart.resize(Pixels(6600), Pixels(4290));
    chart.show();
    EXPECT_EQ(chart.LabelFontSize(), 9.0);
    const auto *scaleLabel = chart.findChild<QLabel *>(QStringLiteral("L01_2"));
    const auto *timeLabel = chart.findChild<QLabel *>(QStringLiteral("L02_1"));

    chart.setLabelFontSize(13.5); // one and a half times the design
    EXPECT_EQ(chart.LabelFontSize(), 13.5);
    EXPECT_EQ(scaleLabel->font().pointSizeF(), 13.5);
    // "00:00:00" only just fits its design width; the platform's face may need a little less.
    EXPECT_LE(timeLabel->font().pointSizeF(), 15.75);
    EXPECT_GE(timeLabel->font().pointSizeF(), 14);
    EXPECT_TRUE(timeLabel->font().bold());
    EXPECT_EQ(chart.plotArea(), QRect(Pixels(1275), 0, 440 - Pixels(1275), 286 - Pixels(450)));
    EXPECT_EQ(PartGeometry(chart, "L01_0"), QRect(0, 0, Pixels(1260), Pixels(360)));
    EXPECT_EQ(PartGeometry(chart, "L02_0").topLeft(), QPoint(Pixels(750), 286 - Pixels(450) + Pixels(75)));
    EXPECT_EQ(PartGeometry(chart, "L02_1").right(), 439);

    chart.setLabelFontSize(0); // not a size
    chart.setLabelFontSize(std::nan(""));
    EXPECT_EQ(chart.LabelFontSize(), 13.5);

    // Back at the design size the layout is the design's again.
    chart.setLabelFontSize(9);
    EXPECT_EQ(chart.plotArea(), QRect(57, 0, 383, 266));
    for (const LabelPlace &place : DesignSizeLabels) {
        EXPECT_EQ(PartGeometry(chart, place.name),
                  QRect(Pixels(place.leftTwips), Pixels(place.topTwips), Pixels(place.widthTwips), Pixels(240)))
            << place.name;
    }
}

TEST(TrendLayout, FrameShowsItsBackgroundAroundThePlot)
{
    Sweepgraph::Trend chart;
    chart.setBorderStyle(0);
    chart.resize(440, 286);
    chart.setFrameBackColor(0x00FF00);
    EXPECT_EQ(chart.FrameBackColor(), OleColor(0x00FF00));
    chart.show();
    const QImage image = chart.grab().toImage();
    EXPECT_EQ(image.pixel(2, 283), QColor(Qt::green).rgb());
    EXPECT_EQ(image.pixel(200, 90), QColor(Qt::blue).rgb());
}
