#pragma once

// Charts of a known plot size and helpers to look at their pixels.

#include <Trend.h>

#include <QColor>
#include <QImage>
#include <QWidget>

#include <functional>
#include <memory>

namespace TrendTest {

// At 96 dpi the scale-label column is 57 pixels wide and the time labels
// take 20 pixels below the plot.
constexpr int LabelColumn = 57;
constexpr int TimeLabelRows = 20;

// A borderless, shown chart whose plot area is plotWidth by plotHeight
// pixels, refreshed once.
inline std::unique_ptr<Sweepgraph::Trend> MakeChart(int plotWidth = 800, int plotHeight = 400)
{
    auto chart = std::make_unique<Sweepgraph::Trend>();
    chart->setBorderStyle(0);
    chart->resize(plotWidth + LabelColumn, plotHeight + TimeLabelRows);
    chart->show();
    chart->Refresh();
    return chart;
}

inline QWidget *Plot(Sweepgraph::Trend &chart)
{
    return chart.findChild<QWidget *>(QStringLiteral("P02"));
}

// What the plot area shows, one image pixel per widget pixel.
inline QImage PlotPixels(Sweepgraph::Trend &chart)
{
    return Plot(chart)->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

inline QRgb Rgb(OleColor colour)
{
    return toQColor(colour).rgb();
}

inline int CountInRow(const QImage &image, int y, QRgb colour)
{
    int count = 0;
    for (int x = 0; x < image.width(); ++x)
        count += image.pixel(x, y) == colour ? 1 : 0;
    return count;
}

inline int CountInColumn(const QImage &image, int x, QRgb colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        count += image.pixel(x, y) == colour ? 1 : 0;
    return count;
}

inline int CountInImage(const QImage &image, QRgb colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        count += CountInRow(image, y, colour);
    return count;
}

constexpr OleColor Red = 0x0000FF;
constexpr OleColor Blue = 0xFF0000;
constexpr OleColor White = 0xFFFFFF;
constexpr OleColor Black = 0x000000;

} // namespace TrendTest
