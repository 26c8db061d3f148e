#pragma once

// A Sweepgraph::Trend widget seen as the TrendChart the trend view, the
// settings and the options dialog work with.

#include "TrendChart.h"

#include <Trend.h>

class TrendWidgetChart final : public TrendChart {
public:
    explicit TrendWidgetChart(Sweepgraph::Trend &widget) : widget_(widget) {}

    Sweepgraph::Trend &widget() const { return widget_; }

    void Refresh() override { widget_.Refresh(); }
    void Cls() override { widget_.Cls(); }
    void MoveTo(float x, float y) override { widget_.MoveTo(x, y); }
    void DrawLine(float x, float y, OleColor lineColor) override { widget_.DrawLine(x, y, lineColor); }
    void DrawLines(const QPointF *points, int count, OleColor lineColor) override
    {
        widget_.DrawLines(points, count, lineColor);
    }
    void DrawCircle(float x, float y, float r, OleColor color) override { widget_.DrawCircle(x, y, r, color); }
    std::optional<float> GetCurrentX() const override { return widget_.GetCurrentX(); }
    std::optional<float> GetCurrentY() const override { return widget_.GetCurrentY(); }
    void DisplayTime(double firstTime, double secondTime) override { widget_.DisplayTime(firstTime, secondTime); }
    int PlotPixelWidth() const override { return widget_.plotArea().width(); }

    float TopY() const override { return widget_.TopY(); }
    void setTopY(float value) override { widget_.setTopY(value); }
    float BottomY() const override { return widget_.BottomY(); }
    void setBottomY(float value) override { widget_.setBottomY(value); }
    void ShowYRange(double top, double bottom) override { widget_.ShowYRange(top, bottom); }
    void ShowBoundsY() override { widget_.ShowBoundsY(); }
    float LeftX() const override { return widget_.LeftX(); }
    float Rightx() const override { return widget_.Rightx(); }
    void setRightx(float value) override { widget_.setRightx(value); }
    OleColor TrendBackColor() const override { return widget_.TrendBackColor(); }
    void setTrendBackColor(OleColor value) override { widget_.setTrendBackColor(value); }
    qint32 GridRows() const override { return widget_.GridRows(); }
    void setGridRows(qint32 value) override { widget_.setGridRows(value); }
    qint32 GridCols() const override { return widget_.GridCols(); }
    void setGridCols(qint32 value) override { widget_.setGridCols(value); }
    qint32 GridStyle() const override { return widget_.GridStyle(); }
    OleColor GridColor() const override { return widget_.GridColor(); }
    void setGridColor(OleColor value) override { widget_.setGridColor(value); }
    qint32 LineWidth() const override { return widget_.LineWidth(); }
    void setLineWidth(qint32 value) override { widget_.setLineWidth(value); }

private:
    Sweepgraph::Trend &widget_;
};
