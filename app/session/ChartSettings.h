#pragma once

// A trend chart without a window: it keeps the properties the settings give
// it, starting from a new chart's defaults, and has nothing to draw on.
// amperotool print sets it up from the settings, the session keeps in it
// what the window's charts were given, and the fake charts of the tests and
// the fuzz targets record or drop what is drawn on top of it.

#include "TrendChart.h"

#include <TrendProperties.h>

#include <optional>

// What a chart is set to, as plain data.
struct ChartProperties {
    float topY = Sweepgraph::TrendDefaults::TopY;
    float bottomY = Sweepgraph::TrendDefaults::BottomY;
    float rightx = Sweepgraph::TrendDefaults::RightX;
    OleColor back = Sweepgraph::TrendDefaults::TrendBackColor; // the plot's background
    OleColor grid = Sweepgraph::TrendDefaults::GridColor;
    qint32 rows = Sweepgraph::TrendDefaults::GridRows;
    qint32 cols = Sweepgraph::TrendDefaults::GridCols;
    qint32 width = Sweepgraph::TrendDefaults::LineWidth; // of the plotted line
};

class ChartSettings : public TrendChart, public ChartProperties {
public:
    // How a bound that is set is kept: as the chart widget keeps it, the
    // nearest whole number (one it cannot hold leaves the bound as it was),
    // or exactly as given.
    enum class Bounds { Whole, AsGiven };

    explicit ChartSettings(Bounds bounds = Bounds::Whole) : bounds_(bounds) {}
    // Holding what the chart holds now, its bounds kept as the chart widget keeps them.
    explicit ChartSettings(const TrendChart &chart)
        : ChartProperties{chart.TopY(),      chart.BottomY(),  chart.Rightx(),   chart.TrendBackColor(),
                          chart.GridColor(), chart.GridRows(), chart.GridCols(), chart.LineWidth()},
          bounds_(Bounds::Whole)
    {
    }

    void Refresh() override {}
    void Cls() override {}
    void MoveTo(float x, float y) override { movePen(x, y); }
    void DrawLine(float x, float y, OleColor) override { movePen(x, y); }
    void DrawCircle(float x, float y, float, OleColor) override { movePen(x, y); }
    std::optional<float> GetCurrentX() const override { return penX_; }
    std::optional<float> GetCurrentY() const override { return penY_; }
    void DisplayTime(double, double) override {}
    int PlotPixelWidth() const override { return 0; }

    float TopY() const override { return topY; }
    void setTopY(float value) override { setBound(topY, value); }
    float BottomY() const override { return bottomY; }
    void setBottomY(float value) override { setBound(bottomY, value); }
    float LeftX() const override { return Sweepgraph::TrendDefaults::LeftX; }
    float Rightx() const override { return rightx; }
    void setRightx(float value) override { setBound(rightx, value); }
    OleColor TrendBackColor() const override { return back; }
    void setTrendBackColor(OleColor value) override { back = value; }
    qint32 GridRows() const override { return rows; }
    void setGridRows(qint32 value) override { rows = value; }
    qint32 GridCols() const override { return cols; }
    void setGridCols(qint32 value) override { cols = value; }
    qint32 GridStyle() const override { return Sweepgraph::TrendDefaults::GridStyle; }
    OleColor GridColor() const override { return grid; }
    void setGridColor(OleColor value) override { grid = value; }
    qint32 LineWidth() const override { return width; }
    void setLineWidth(qint32 value) override { width = value; }

protected:
    void movePen(float x, float y)
    {
        penX_ = x;
        penY_ = y;
    }

private:
    void setBound(float &bound, float value) const
    {
        if (bounds_ == Bounds::AsGiven)
            bound = value;
        else if (const auto whole = Sweepgraph::RoundBound(value))
            bound = float(*whole);
    }

    Bounds bounds_;
    float penX_ = 0, penY_ = 0;
};
