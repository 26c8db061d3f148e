#pragma once

// A trend chart without pixels for the fuzz targets: it keeps the properties
// that the settings and the trend view set, and redraws through the trend
// view when refreshed, as a real chart raises Paint. What is drawn is dropped.

#include "TrendChart.h"

#include <functional>
#include <optional>

class FuzzChart final : public TrendChart {
public:
    std::function<void()> onRefresh;

    void Refresh() override
    {
        if (onRefresh)
            onRefresh();
    }
    void Cls() override {}
    void MoveTo(float x, float y) override { movePen(x, y); }
    void DrawLine(float x, float y, OleColor) override { movePen(x, y); }
    void DrawCircle(float x, float y, float, OleColor) override { movePen(x, y); }
    std::optional<float> GetCurrentX() const override { return penX_; }
    std::optional<float> GetCurrentY() const override { return penY_; }
    void DisplayTime(double, double) override {}
    int PlotPixelWidth() const override { return 0; }

    float TopY() const override { return topY_; }
    void setTopY(float value) override { topY_ = value; }
    float BottomY() const override { return bottomY_; }
    void setBottomY(float value) override { bottomY_ = value; }
    float LeftX() const override { return 0; }
    float Rightx() const override { return rightx_; }
    void setRightx(float value) override { rightx_ = value; }
    OleColor TrendBackColor() const override { return back_; }
    void setTrendBackColor(OleColor value) override { back_ = value; }
    qint32 GridRows() const override { return rows_; }
    void setGridRows(qint32 value) override { rows_ = value; }
    qint32 GridCols() const override { return cols_; }
    void setGridCols(qint32 value) override { cols_ = value; }
    qint32 GridStyle() const override { return 2; }
    OleColor GridColor() const override { return grid_; }
    void setGridColor(OleColor value) override { grid_ = value; }
    qint32 LineWidth() const override { return width_; }
    void setLineWidth(qint32 value) override { width_ = value; }

private:
    void movePen(float x, float y)
    {
        penX_ = x;
        penY_ = y;
    }

    float penX_ = 0, penY_ = 0;
    float topY_ = 100, bottomY_ = -100, rightx_ = 100;
    OleColor back_ = 0xFF0000, grid_ = 0;
    qint32 rows_ = 8, cols_ = 10, width_ = 2;
};
