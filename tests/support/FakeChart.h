#pragma once

// A trend chart that keeps its properties, exactly as they are set, and
// records what is drawn on it.

#include "ChartSettings.h"

#include <functional>
#include <optional>
#include <utility>
#include <vector>

struct DrawnPoint {
    float x;
    float y;
};

class FakeChart final : public ChartSettings {
public:
    FakeChart() : ChartSettings(Bounds::AsGiven) {}

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
        movePen(x, y);
    }
    void DrawLine(float x, float y, OleColor color) override
    {
        lines.push_back({x, y});
        lineColors.push_back(color);
        movePen(x, y);
    }
    void DrawCircle(float x, float y, float r, OleColor color) override
    {
        circles.push_back({x, y});
        circleRadius = r;
        circleColor = color;
        movePen(x, y);
    }
    void DisplayTime(double first, double second) override
    {
        firstTime = first;
        secondTime = second;
    }
    int PlotPixelWidth() const override { return pixelWidth; }
    void ShowYRange(double top, double bottom) override { shownY = {top, bottom}; }
    void ShowBoundsY() override { shownY.reset(); }

    float circleRadius = 0;
    OleColor circleColor = 0;
    int pixelWidth = 0;
    std::optional<std::pair<double, double>> shownY; // a vertical zoom: top, bottom
};
