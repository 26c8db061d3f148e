// Pen operations, the grid and the retained picture, checked on rendered pixels.

#include "TrendTestSupport.h"

#include <QPainter>
#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

using namespace TrendTest;

TEST(TrendDrawing, PlotAreaIsTheRequestedSizeAt96Dpi)
{
    auto chart = MakeChart();
    ASSERT_EQ(chart->logicalDpiX(), 96);
    EXPECT_EQ(chart->plotArea(), QRect(LabelColumn, 0, 800, 400));
    EXPECT_EQ(PlotPixels(*chart).size(), QSize(800, 400));
}

TEST(TrendDrawing, WorldPointFiftyZeroIsTheCentrePixel)
{
    auto chart = MakeChart();
    chart->setGridStyle(5);
    chart->setLineWidth(1);
    chart->MoveTo(0, 0);
    chart->DrawLine(100, 0, Red);
    chart->MoveTo(50, 100);
    chart->DrawLine(50, -100, Red);
    const QImage image = PlotPixels(*chart);
    EXPECT_EQ(image.pixel(400, 200), Rgb(Red));
    EXPECT_EQ(CountInRow(image, 200, Rgb(Red)), 800);
    EXPECT_EQ(CountInRow(image, 199, Rgb(Red)), 1);
    EXPECT_EQ(CountInColumn(image, 400, Rgb(Red)), 400);
    EXPECT_EQ(CountInColumn(image, 399, Rgb(Red)), 1);
}

TEST(TrendDrawing, DefaultGridLinesLieOnTheExampleRowsAndColumns)
{
    auto chart = MakeChart();
    chart->setGridColor(White);
    chart->setGridStyle(0);
    const QImage image = PlotPixels(*chart);
    // Rows for y = 75, 50, ... -75; columns for x = 10, 20, ... 90.
    for (int y = 0; y < 400; ++y) {
        const bool line = y % 50 == 0 && y != 0;
        EXPECT_EQ(CountInRow(image, y, Rgb(White)), line ? 800 : 9) << "row " << y;
    }
    for (int x = 0; x < 800; ++x) {
        const bool line = x % 80 == 0 && x != 0;
        EXPECT_EQ(CountInColumn(image, x, Rgb(White)), line ? 400 : 7) << "column " << x;
    }
    EXPECT_EQ(image.pixel(1, 1), Rgb(Blue)); // default plot background
}

TEST(TrendDrawing, MainWindowGridOfFifteenColumnsAndTwentyRows)
{
    auto chart = MakeChart();
    chart->setGridStyle(0);
    chart->setGridColor(White);
    chart->setGridCols(15);
    chart->setGridRows(20);
    const QImage image = PlotPixels(*chart);
    int fullRows = 0;
    for (int y = 0; y < 400; ++y)
        fullRows += CountInRow(image, y, Rgb(White)) == 800 ? 1 : 0;
    EXPECT_EQ(fullRows, 19);
    EXPECT_EQ(CountInRow(image, 20, Rgb(White)), 800);
    EXPECT_EQ(CountInRow(image, 380, Rgb(White)), 800);
    int fullColumns = 0;
    for (int x = 0; x < 800; ++x)
        fullColumns += CountInColumn(image, x, Rgb(White)) == 400 ? 1 : 0;
    EXPECT_EQ(fullColumns, 14);
}

TEST(TrendDrawing, DottedGridDrawsPartOfItsRow)
{
    auto chart = MakeChart();
    chart->setGridColor(White); // the default style, 2, is dotted
    const QImage image = PlotPixels(*chart);
    const int dots = CountInRow(image, 100, Rgb(White));
    EXPECT_GT(dots, 200);
    EXPECT_LT(dots, 600);
    // Between the rows only the dotted columns show.
    EXPECT_LE(CountInRow(image, 101, Rgb(White)), 9);
    EXPECT_LE(CountInRow(image, 102, Rgb(White)), 9);
}

struct FewBands {
    const char *name;
    int rows;
    int cols;
    int expectedFullRows;
    int expectedFullColumns;
};

class TrendFewBands : public ::testing::TestWithParam<FewBands> {};

TEST_P(TrendFewBands, DrawsNoLineForOneBandOrLessButStillClears)
{
    const FewBands row = GetParam();
    auto chart = MakeChart();
    chart->setGridStyle(0);
    chart->setGridColor(White);
    chart->MoveTo(0, 90);
    chart->DrawLine(100, 90, Red);
    chart->setGridRows(row.rows);
    chart->setGridCols(row.cols);
    const QImage image = PlotPixels(*chart);
    EXPECT_EQ(CountInImage(image, Rgb(Red)), 0);
    int fullRows = 0;
    for (int y = 0; y < 400; ++y)
        fullRows += CountInRow(image, y, Rgb(White)) == 800 ? 1 : 0;
    int fullColumns = 0;
    for (int x = 0; x < 800; ++x)
        fullColumns += CountInColumn(image, x, Rgb(White)) == 400 ? 1 : 0;
    EXPECT_EQ(fullRows, row.expectedFullRows);
    EXPECT_EQ(fullColumns, row.expectedFullColumns);
}

INSTANTIATE_TEST_SUITE_P(Bands, TrendFewBands,
                         ::testing::Values(FewBands{"rows0", 0, 10, 0, 9}, FewBands{"rows1", 1, 10, 0, 9},
                                           FewBands{"rowsNegative", -3, 10, 0, 9}, FewBands{"cols1", 8, 1, 7, 0},
                                           FewBands{"bothTwo", 2, 2, 1, 1}),
                         [](const auto &instance) { return std::string(instance.param.name); });

TEST(TrendDrawing, GridStyleFiveClearsAndDrawsNothing)
{
    auto chart = MakeChart();
    chart->setGridColor(White);
    chart->MoveTo(0, 0);
    chart->DrawLine(100, 50, Red);
    chart->setGridStyle(5);
    const QImage image = PlotPixels(*chart);
    EXPECT_EQ(CountInImage(image, Rgb(Blue)), 800 * 400);
}

TEST(TrendDrawing, UnknownGridStyleDrawsSolidLines)
{
    auto chart = MakeChart();
    chart->setGridColor(White);
    chart->setGridStyle(77);
    EXPECT_EQ(chart->GridStyle(), 77);
    EXPECT_EQ(CountInRow(PlotPixels(*chart), 200, Rgb(White)), 800);
}

TEST(TrendDrawing, MoreGridLinesThanPixelsFillEveryRowBetweenTheFirstAndLast)
{
    auto chart = MakeChart(200, 100);
    chart->setGridStyle(0);
    chart->setGridColor(White);
    chart->setGridCols(1);
    for (const int rows : {150, 100000, std::numeric_limits<qint32>::max()}) {
        chart->setGridRows(rows);
        const QImage image = PlotPixels(*chart);
        // What drawing every single line gives, for the row count a loop can afford.
        QImage expected(200, 100, QImage::Format_RGB32);
        expected.fill(toQColor(Blue));
        QPainter painter(&expected);
        painter.setPen(QPen(toQColor(White), 1));
        const int drawn = std::min(rows, 200000);
        for (int i = 1; i < drawn; ++i) {
            const double y = (100 - (100.0 + -200.0 / rows * i)) * 100 / 200.0;
            painter.drawLine(QLineF(0, y, 200, y));
        }
        painter.end();
        if (rows <= 200000) {
            EXPECT_EQ(image, expected) << rows << " rows";
        }
        EXPECT_EQ(CountInColumn(image, 50, Rgb(White)), 100) << rows << " rows";
    }
}

TEST(TrendDrawing, ClsClearsCurvesAndKeepsThePen)
{
    auto chart = MakeChart();
    chart->setGridStyle(5);
    chart->setLineWidth(1);
    chart->MoveTo(0, -50);
    chart->DrawLine(100, -50, Red);
    chart->MoveTo(10, 50);
    chart->Cls();
    EXPECT_EQ(chart->GetCurrentX(), std::optional<float>(10.0f));
    EXPECT_EQ(chart->GetCurrentY(), std::optional<float>(50.0f));
    chart->DrawLine(90, 50, Red);
    const QImage image = PlotPixels(*chart);
    EXPECT_EQ(CountInRow(image, 300, Rgb(Red)), 0);
    EXPECT_EQ(CountInRow(image, 100, Rgb(Red)), 641); // columns 80 to 720
    EXPECT_EQ(image.pixel(80, 100), Rgb(Red));
    EXPECT_EQ(image.pixel(79, 100), Rgb(Blue));
}

TEST(TrendDrawing, DrawCircleLeavesThePenAtTheCentre)
{
    auto chart = MakeChart();
    chart->setGridStyle(5);
    chart->setLineWidth(1);
    chart->MoveTo(0, 0);
    chart->DrawCircle(50, 0, 10, Red); // radius 10 horizontal units = 80 pixels
    EXPECT_EQ(chart->GetCurrentX(), std::optional<float>(50.0f));
    EXPECT_EQ(chart->GetCurrentY(), std::optional<float>(0.0f));
    chart->DrawLine(50, -100, 0x00FF00);
    const QImage image = PlotPixels(*chart);
    EXPECT_EQ(image.pixel(480, 200), Rgb(Red));
    EXPECT_EQ(image.pixel(320, 200), Rgb(Red));
    EXPECT_EQ(image.pixel(400, 120), Rgb(Red));
    EXPECT_EQ(image.pixel(400, 200), Rgb(0x00FF00));
    EXPECT_EQ(image.pixel(400, 199), Rgb(Blue));
    EXPECT_EQ(image.pixel(400, 250), Rgb(0x00FF00));
    EXPECT_EQ(image.pixel(400, 200 - 40), Rgb(Blue)); // inside the circle, not filled
}

TEST(TrendDrawing, CurveMatchesDrawingEachSegmentStraightIntoAnImage)
{
    for (const int width : {1, 2, 3}) {
        auto chart = MakeChart();
        chart->setGridStyle(5);
        chart->setLineWidth(width);
        QRandomGenerator random(width);
        std::vector<QPointF> points;
        for (int i = 0; i <= 3000; ++i)
            points.emplace_back(i / 30.0, 150 * std::sin(i / 97.0) + random.bounded(20.0) - 10);
        chart->MoveTo(float(points[0].x()), float(points[0].y()));
        for (std::size_t i = 1; i < points.size(); ++i)
            chart->DrawLine(float(points[i].x()), float(points[i].y()), i < 1500 ? 0x00FF00 : Red);
        chart->DrawCircle(50, 0, 3, Red);

        QImage expected(800, 400, QImage::Format_ARGB32_Premultiplied);
        expected.fill(toQColor(Blue));
        QPainter painter(&expected);
        const auto pixel = [](QPointF world) {
            return QPointF(double(float(world.x())) * 8, (100 - double(float(world.y()))) * 2);
        };
        for (std::size_t i = 1; i < points.size(); ++i) {
            painter.setPen(QPen(toQColor(i < 1500 ? 0x00FF00 : Red), width));
            painter.drawLine(QLineF(pixel(points[i - 1]), pixel(points[i])));
        }
        painter.drawEllipse(QPointF(400, 200), 24.0, 24.0);
        painter.end();
        EXPECT_EQ(PlotPixels(*chart), expected.convertToFormat(QImage::Format_RGB32)) << "width " << width;
    }
}

TEST(TrendDrawing, LineWidthSetsThePenOfCurvesAndCircles)
{
    auto chart = MakeChart();
    chart->setGridStyle(5);
    chart->setLineWidth(3);
    chart->MoveTo(0, 0);
    chart->DrawLine(100, 0, Red);
    const QImage image = PlotPixels(*chart);
    EXPECT_EQ(CountInColumn(image, 400, Rgb(Red)), 3);
}

TEST(TrendDrawing, SegmentsFarOutsideTheScaleAreClippedNotLost)
{
    auto chart = MakeChart();
    chart->setGridStyle(5);
    chart->setLineWidth(1);
    chart->MoveTo(50, 0);
    chart->DrawLine(50, 1e9f, Red);
    chart->MoveTo(-1e12f, -50);
    chart->DrawLine(1e12f, -50, Red);
    chart->DrawCircle(50, 0, 1e20f, Red);
    const QImage image = PlotPixels(*chart);
    EXPECT_EQ(CountInColumn(image, 400, Rgb(Red)), 201 + 1); // centre up to the top edge, and the crossing
    EXPECT_EQ(CountInRow(image, 300, Rgb(Red)), 800);
    EXPECT_EQ(chart->GetCurrentX(), std::optional<float>(50.0f));
}

TEST(TrendDrawing, NotANumberBreaksTheCurveAndCannotBeReadBack)
{
    auto chart = MakeChart();
    chart->setGridStyle(5);
    chart->setLineWidth(1);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    chart->MoveTo(0, 50);
    chart->DrawLine(25, nan, Red);
    EXPECT_EQ(chart->GetCurrentX(), std::optional<float>(25.0f));
    EXPECT_FALSE(chart->GetCurrentY().has_value());
    chart->DrawLine(50, 50, Red);
    chart->DrawLine(100, 50, Red);
    chart->DrawCircle(nan, 0, 5, Red);
    EXPECT_FALSE(chart->GetCurrentX().has_value());
    const QImage image = PlotPixels(*chart);
    EXPECT_EQ(CountInRow(image, 100, Rgb(Red)), 400); // only the segment from 50 to 100
    EXPECT_EQ(CountInImage(image, Rgb(Red)), 400);
}

TEST(TrendDrawing, SettingGridColorErasesCurvesWithoutPaint)
{
    auto chart = MakeChart();
    int paints = 0;
    QObject::connect(chart.get(), &Sweepgraph::Trend::Paint, [&] { ++paints; });
    chart->MoveTo(0, 0);
    chart->DrawLine(100, 0, Red);
    ASSERT_GT(CountInImage(PlotPixels(*chart), Rgb(Red)), 0);
    chart->setGridStyle(0);
    chart->setGridColor(White);
    const QImage image = PlotPixels(*chart);
    EXPECT_EQ(CountInImage(image, Rgb(Red)), 0);
    EXPECT_EQ(CountInRow(image, 100, Rgb(White)), 800);
    EXPECT_EQ(paints, 0);
}

TEST(TrendDrawing, TrendBackColorClearsToTheNewColour)
{
    auto chart = MakeChart();
    chart->setGridStyle(5);
    chart->MoveTo(0, 0);
    chart->DrawLine(100, 0, Red);
    chart->setTrendBackColor(0x404040);
    EXPECT_EQ(chart->TrendBackColor(), OleColor(0x404040));
    EXPECT_EQ(CountInImage(PlotPixels(*chart), Rgb(0x404040)), 800 * 400);
}

TEST(TrendDrawing, BoundChangesKeepTheCurvesUntilTheHostDrawsAgain)
{
    auto chart = MakeChart();
    chart->setGridStyle(5);
    chart->MoveTo(0, 0);
    chart->DrawLine(100, 0, Red);
    const int before = CountInImage(PlotPixels(*chart), Rgb(Red));
    chart->setTopY(50);
    chart->setRightx(200);
    EXPECT_EQ(CountInImage(PlotPixels(*chart), Rgb(Red)), before);
}

TEST(TrendDrawing, RefreshRedrawsGridThenRaisesPaintOnce)
{
    auto chart = MakeChart();
    chart->setLineWidth(1);
    int paints = 0;
    QObject::connect(chart.get(), &Sweepgraph::Trend::Paint, [&] {
        ++paints;
        chart->Refresh(); // a host refreshing from its handler does not recurse
        chart->MoveTo(0, 25);
        chart->DrawLine(100, 25, Red);
    });
    chart->MoveTo(0, -25);
    chart->DrawLine(100, -25, Red);
    chart->Refresh();
    EXPECT_EQ(paints, 1);
    const QImage image = PlotPixels(*chart);
    EXPECT_EQ(CountInRow(image, 150, Rgb(Red)), 800);
    EXPECT_EQ(CountInRow(image, 250, Rgb(Red)), 0);
    EXPECT_EQ(paints, 1); // showing the picture does not ask the host again
}

TEST(TrendDrawing, ResizeReplacesThePictureAndAsksTheHostToDrawAgain)
{
    auto chart = MakeChart();
    int paints = 0;
    int changes = 0;
    QObject::connect(chart.get(), &Sweepgraph::Trend::Paint, [&] {
        ++paints;
        chart->MoveTo(0, 0);
        chart->DrawLine(100, 0, Red);
    });
    QObject::connect(chart.get(), &Sweepgraph::Trend::Change, [&] { ++changes; });
    chart->resize(400 + LabelColumn, 200 + TimeLabelRows);
    const QImage image = PlotPixels(*chart);
    EXPECT_EQ(image.size(), QSize(400, 200));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(paints, 1);
    EXPECT_EQ(CountInRow(image, 100, Rgb(Red)), 400);
}

// Lines that keep to one pixel column, drawn together and one by one.
class ColumnLines : public ::testing::TestWithParam<int> {};

TEST_P(ColumnLines, LightWhatTheyLightOneByOne)
{
    const int width = GetParam();
    auto together = MakeChart(); // 8 pixels to a unit across, 2 down
    auto oneByOne = MakeChart();
    QRandomGenerator random(width);
    // Pairs of neighbouring pixel columns with a gap of three between pairs,
    // so that a corner a cap reaches into the next column belongs to one
    // pair alone. The line into the second column of a pair comes from the
    // first, inside its run or beyond it. Some runs are under a pixel high.
    struct Pair {
        int pixel;
        std::vector<QPointF> points; // the pen's place, three in the column, four in the next
    };
    std::vector<Pair> pairs;
    for (int pixel = 2; pixel + 1 < 800; pixel += 5) {
        Pair pair{pixel, {}};
        const double spread = pixel % 20 == 2 ? 0.8 : 200;
        double middle = random.bounded(160.0) - 80;
        for (int k = 0; k < 8; ++k) {
            if (k == 4 && pixel % 3 == 0)
                middle = random.bounded(160.0) - 80;
            pair.points.emplace_back((pixel + k / 4 + random.bounded(1.0)) / 8.0,
                                     middle + (random.bounded(1.0) - 0.5) * spread);
        }
        pairs.push_back(pair);
    }
    for (auto *chart : {together.get(), oneByOne.get()}) {
        chart->setGridStyle(5);
        chart->setLineWidth(width);
    }
    for (const Pair &pair : pairs) {
        together->MoveTo(float(pair.points[0].x()), float(pair.points[0].y()));
        together->DrawLines(pair.points.data() + 1, 3, White);
        together->DrawLines(pair.points.data() + 4, 4, White);
        oneByOne->MoveTo(float(pair.points[0].x()), float(pair.points[0].y()));
        for (int k = 1; k < 8; ++k)
            oneByOne->DrawLine(float(pair.points[k].x()), float(pair.points[k].y()), White);
    }
    EXPECT_EQ(together->GetCurrentY(), oneByOne->GetCurrentY());
    const QImage filled = PlotPixels(*together);
    const QImage stroked = PlotPixels(*oneByOne);
    const QRgb curve = Rgb(White);
    const int curvePixels = CountInImage(stroked, curve);
    EXPECT_GT(curvePixels, 20000);
    if (width > 1) {
        // Wider pens stroke every line as before.
        EXPECT_EQ(filled, stroked);
        return;
    }
    // Each column is lit in the same rows; a pixel differs only at a corner
    // of pixels both light, where a square cap reaches into the next column.
    int differing = 0;
    for (int y = 0; y < filled.height(); ++y)
        for (int x = 0; x < filled.width(); ++x) {
            if (filled.pixel(x, y) == stroked.pixel(x, y))
                continue;
            ++differing;
            bool besideBoth = false;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    besideBoth = besideBoth || (filled.valid(x + dx, y + dy) && filled.pixel(x + dx, y + dy) == curve &&
                                                stroked.pixel(x + dx, y + dy) == curve);
            EXPECT_TRUE(besideBoth) << "pixel " << x << ", " << y;
        }
    for (const Pair &pair : pairs)
        for (int y = 0; y < filled.height(); ++y) {
            bool lit = false, litAlone = false;
            for (int x = pair.pixel - 1; x <= pair.pixel + 2; ++x) {
                lit = lit || filled.pixel(x, y) == curve;
                litAlone = litAlone || stroked.pixel(x, y) == curve;
            }
            ASSERT_EQ(lit, litAlone) << "columns " << pair.pixel << " and next, row " << y;
        }
    EXPECT_LE(differing, curvePixels / 200);
}

INSTANTIATE_TEST_SUITE_P(PenWidths, ColumnLines, ::testing::Values(1, 2),
                         [](const auto &instance) { return "Width" + std::to_string(instance.param); });
