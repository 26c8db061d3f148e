#pragma once

// A trend chart that only keeps its properties and counts refreshes, for the
// tests that look at what the dialog does to a chart without drawing one.

#include "TrendChart.h"

class FakeChart final : public TrendChart {
public:
    int refreshes = 0;

    void Refresh() override { ++refreshes; }
    void Cls() override {}
    void MoveTo(float, float) override {}
    void DrawLine(float, float, OleColor) override {}
    void DrawCircle(float, float, float, OleColor) override {}
    std::optional<float> GetCurrentX() const override { return std::nullopt; }
    std::optional<float> GetCurrentY() const override { return std::nullopt; }
    void DisplayTime(double, double) override {}

    float TopY() const override { return topY_; }
    void setTopY(float value) override { topY_ = value; }
    float BottomY() const override { return bottomY_; }
    void setBottomY(float value) override { bottomY_ = value; }
    float LeftX() const override { return 0; }
    float Rightx() const override { return rightX_; }
    void setRightx(float value) override { rightX_ = value; }
    OleColor TrendBackColor() const override { return backColor_; }
    void setTrendBackColor(OleColor value) override { backColor_ = value; }
    qint32 GridRows() const override { return gridRows_; }
    void setGridRows(qint32 value) override { gridRows_ = value; }
    qint32 GridCols() const override { return gridCols_; }
    void setGridCols(qint32 value) override { gridCols_ = value; }
    qint32 GridStyle() const override { return 2; }
    OleColor GridColor() const override { return gridColor_; }
    void setGridColor(OleColor value) override { gridColor_ = value; }
    qint32 LineWidth() const override { return lineWidth_; }
    void setLineWidth(qint32 value) override { lineWidth_ = value; }

private:
    float topY_ = 100;
    float bottomY_ = -100;
    float rightX_ = 100;
    OleColor backColor_ = 0xFFFFFF;
    qint32 gridRows_ = 8;
    qint32 gridCols_ = 10;
    OleColor gridColor_ = 0x808080;
    qint32 lineWidth_ = 1;
};
