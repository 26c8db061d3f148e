#pragma once

// A trend chart that keeps its properties and records what is drawn on it.

#include "TrendChart.h"

#include <functional>
#include <optional>
#include <utility>
#include <vector>

struct DrawnPoint {
    float x;
    float y;
};

class FakeChart final : public TrendChart {
public:
    std::vector<DrawnPoint> moves, lines, circles;
    std::vector<OleColor> lineColors;
    int refreshes = 0;
    int clears = 0;
    double firstTime = -1, secondTime = -1;
    std::function<void()> onRefresh; // a real chart raises Paint from Refresh

    void Refresh() override
    {
        ++refreshes;
        moves.clear();
        lines.clear();
        circles.clear();
        lineColors.clear();
        if (onRefresh)
            onRefresh();
    }
    void Cls() override { ++clears; }
    void MoveTo(float x, float y) override
    {
        moves.push_back({x, y});
        penX = x;
        penY = y;
    }
    void DrawLine(float x, float y, OleColor color) override
    {
        lines.push_back({x, y});
        lineColors.push_back(color);
        penX = x;
        penY = y;
    }
    void DrawCircle(float x, float y, float r, OleColor color) override
    {
        circles.push_back({x, y});
        circleRadius = r;
        circleColor = color;
        penX = x;
        penY = y;
    }
    std::optional<float> GetCurrentX() const override { return penX; }
    std::optional<float> GetCurrentY() const override { return penY; }
    void DisplayTime(double first, double second) override
    {
        firstTime = first;
        secondTime = second;
    }
    int PlotPixelWidth() const override { return pixelWidth; }
    float TopY() const override { return topY; }
    void setTopY(float v) override { topY = v; }
    float BottomY() const override { return bottomY; }
    void setBottomY(float v) override { bottomY = v; }
    void ShowYRange(double top, double bottom) override { shownY = {top, bottom}; }
    void ShowBoundsY() override { shownY.reset(); }
    float LeftX() const override { return 0; }
    float Rightx() const override { return rightx; }
    void setRightx(float v) override { rightx = v; }
    OleColor TrendBackColor() const override { return back; }
    void setTrendBackColor(OleColor v) override { back = v; }
    qint32 GridRows() const override { return rows; }
    void setGridRows(qint32 v) override { rows = v; }
    qint32 GridCols() const override { return cols; }
    void setGridCols(qint32 v) override { cols = v; }
    qint32 GridStyle() const override { return 2; }
    OleColor GridColor() const override { return grid; }
    void setGridColor(OleColor v) override { grid = v; }
    qint32 LineWidth() const override { return width; }
    void setLineWidth(qint32 v) override { width = v; }

    float penX = 0, penY = 0, circleRadius = 0;
    OleColor circleColor = 0;
    float topY = 100, bottomY = -100, rightx = 100;
    OleColor back = 0xFF0000, grid = 0;
    qint32 rows = 8, cols = 10, width = 2;
    int pixelWidth = 0;
    std::optional<std::pair<double, double>> shownY; // a vertical zoom: top, bottom
};
