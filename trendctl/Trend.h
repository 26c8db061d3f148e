#pragma once

// The trend chart: a framed plot area with a world scale, a background grid,
// five scale labels down the left side and two time labels under the plot.
// It keeps no data series; the host draws its curves with the pen operations
// and draws them again whenever the chart raises Paint.

#include "SweepgraphExport.h"
#include "TrendProperties.h"

#include <OleColor.h>
#include <PropertyBag.h>

#include <QFont>
#include <QPointF>
#include <QString>
#include <QWidget>

#include <array>
#include <optional>
#include <utility>

class QFrame;
class QLabel;

namespace Sweepgraph {

class PlotArea;

class SWEEPGRAPH_EXPORT Trend : public QWidget {
    Q_OBJECT
public:
    explicit Trend(QWidget *parent = nullptr);
    ~Trend() override;

    // methods
    void Refresh();
    void MoveTo(float x, float y);
    void DrawLine(float x, float y, OleColor LineColor);
    // Lines from the pen through the points, as DrawLine draws them one by
    // one; the pen ends on the last. Where the pen is one pixel wide and the
    // lines keep to one pixel column of the plot (the first may come from
    // the column to the left), the column is filled at once.
    void DrawLines(const QPointF *points, int count, OleColor LineColor);
    void DrawCircle(float x, float y, float r, OleColor color);
    std::optional<float> GetCurrentX() const; // nullopt = failure reported to the caller
    std::optional<float> GetCurrentY() const;
    void Cls();
    // OLE Automation dates: days since 1899-12-30, fraction = time of day; date part 0 => time only
    void DisplayTime(double FirstTime, double SecondTime);

    // properties
    float TopY() const;
    void setTopY(float);
    float BottomY() const;
    void setBottomY(float);
    float LeftX() const;
    void setLeftX(float);
    float Rightx() const;
    void setRightx(float);
    // A vertical zoom: the plot and its scale labels show top..bottom while
    // TopY and BottomY keep the bounds that were set (and are saved). Takes
    // effect, like the bounds, with the next repaint.
    void ShowYRange(double top, double bottom);
    // The plot shows TopY..BottomY again.
    void ShowBoundsY();
    OleColor TrendBackColor() const;
    void setTrendBackColor(OleColor);
    OleColor FrameBackColor() const;
    void setFrameBackColor(OleColor);
    qint32 GridRows() const;
    void setGridRows(qint32);
    qint32 GridCols() const;
    void setGridCols(qint32);
    qint32 GridStyle() const;
    void setGridStyle(qint32);
    OleColor GridColor() const;
    void setGridColor(OleColor);
    qint32 LineWidth() const;
    void setLineWidth(qint32);
    qint32 BorderStyle() const;
    void setBorderStyle(qint32);
    // Point size of the scale labels, 9 by design; the time labels keep their
    // design size in proportion (10.5 at 9). The labels, the column left of
    // the plot and the room under it grow and shrink with it, so a host that
    // scales its own text can scale the chart's together with it. Not kept in
    // the property bag: the host sets it for the size it gives the chart.
    double LabelFontSize() const;
    void setLabelFontSize(double pointSize);

    void ReadProperties(const PropertyBag &bag);
    void WriteProperties(PropertyBag &bag) const;

    // read-only views for hosts/tests
    QString scaleLabelText(int index) const; // L01(index)
    QString timeLabelText(int index) const;  // L02(index)
    QRect plotArea() const;                  // P02 geometry in widget pixels

    QSize sizeHint() const override;

    // What assistive technology reports of the chart, typically what it shows
    // and its newest value. The plot area, which takes the keyboard focus for
    // the chart, reports the same as a chart of its own.
    void setAccessibleText(const QString &name, const QString &description);

signals:
    void Click();
    void DblClick();
    void Change();
    void KeyPress(qint16 KeyAscii);
    void KeyDown(qint16 KeyCode, qint16 Shift);
    void KeyUp(qint16 KeyCode, qint16 Shift);
    void MouseDown(qint16 Button, qint16 Shift, float x, float y);
    void MouseUp(qint16 Button, qint16 Shift, float x, float y);
    void MouseMove(qint16 Button, qint16 Shift, float x, float y);
    // The wheel turned over the plot area: Delta in eighths of a degree.
    void MouseWheel(qint16 Delta, qint16 Shift, float x, float y);
    void Paint();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void UpdateScale(qint32 top, qint32 bottom, qint32 left, qint32 right);
    void DrawGrid(qint32 rows, qint32 cols, OleColor colour, qint32 style);
    void UpdateScaleFromBounds();
    void DrawGridFromState();
    // Scale, grid, then Paint so that the host draws its curves again.
    void RunRepaintSequence();
    void LayOut();
    // Puts a time label at its place, wider where its text needs it.
    void WidenTimeLabel(int index);
    bool ApplyBorderStyle(qint32 style);
    void ApplyFrameBackColor(OleColor colour);

    qint32 topY_ = TrendDefaults::TopY;
    qint32 bottomY_ = TrendDefaults::BottomY;
    qint32 leftX_ = TrendDefaults::LeftX;
    qint32 rightX_ = TrendDefaults::RightX;
    std::optional<std::pair<double, double>> shownY_; // top, bottom of a vertical zoom
    qint32 gridRows_ = TrendDefaults::GridRows;
    qint32 gridCols_ = TrendDefaults::GridCols;
    qint32 gridStyle_ = TrendDefaults::GridStyle;
    OleColor gridColor_ = TrendDefaults::GridColor;
    OleColor frameBackColor_;
    qint32 borderStyle_ = TrendDefaults::BorderStyle;
    QFont scaleFont_; // design fonts of the labels
    QFont timeFont_;

    QFrame *frame_ = nullptr;                // P01
    PlotArea *plot_ = nullptr;               // P02
    std::array<QLabel *, 5> scaleLabels_{};  // L01(0..4)
    std::array<QLabel *, 2> timeLabels_{};   // L02(0..1)
    std::array<QRect, 2> timeLabelPlaces_{}; // where the layout puts them
};

} // namespace Sweepgraph
