#pragma once

// What the trend view and the settings need of a trend chart widget. The main
// window adapts its two Sweepgraph::Trend widgets to this; tests use fakes.

#include <OleColor.h>

#include <QPointF>
#include <QtGlobal>

#include <optional>

class TrendChart {
public:
    virtual ~TrendChart() = default;

    virtual void Refresh() = 0;
    virtual void Cls() = 0;
    virtual void MoveTo(float x, float y) = 0;
    virtual void DrawLine(float x, float y, OleColor lineColor) = 0;
    // Lines from the pen through the points, as DrawLine draws them one by
    // one. A chart may fill lines that keep to one pixel column at once.
    virtual void DrawLines(const QPointF *points, int count, OleColor lineColor)
    {
        for (int i = 0; i < count; ++i)
            DrawLine(float(points[i].x()), float(points[i].y()), lineColor);
    }
    virtual void DrawCircle(float x, float y, float r, OleColor color) = 0;
    virtual std::optional<float> GetCurrentX() const = 0;
    virtual std::optional<float> GetCurrentY() const = 0;
    virtual void DisplayTime(double firstTime, double secondTime) = 0;
    // Width of the plot area in pixels; 0 when it has none.
    virtual int PlotPixelWidth() const = 0;

    virtual float TopY() const = 0;
    virtual void setTopY(float value) = 0;
    virtual float BottomY() const = 0;
    virtual void setBottomY(float value) = 0;
    // A vertical zoom of the chart on screen; TopY and BottomY stay as set.
    // A chart that is only settings (printing, fuzzing) shows nothing to zoom.
    virtual void ShowYRange(double /*top*/, double /*bottom*/) {}
    // Back to TopY..BottomY.
    virtual void ShowBoundsY() {}
    virtual float LeftX() const = 0;
    virtual float Rightx() const = 0;
    virtual void setRightx(float value) = 0;
    virtual OleColor TrendBackColor() const = 0;
    virtual void setTrendBackColor(OleColor value) = 0;
    virtual qint32 GridRows() const = 0;
    virtual void setGridRows(qint32 value) = 0;
    virtual qint32 GridCols() const = 0;
    virtual void setGridCols(qint32 value) = 0;
    virtual qint32 GridStyle() const = 0;
    virtual OleColor GridColor() const = 0;
    virtual void setGridColor(OleColor value) = 0;
    virtual qint32 LineWidth() const = 0;
    virtual void setLineWidth(qint32 value) = 0;
};
