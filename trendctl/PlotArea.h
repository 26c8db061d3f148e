#pragma once

// The chart's plot area P02. The host draws into it with pen operations at
// any time, while Qt paints only inside paint events, so the plot keeps what
// was drawn in a retained image: the pen operations draw into the image and
// schedule an update, and a paint event only shows the image.

#include "WorldScale.h"

#include <OleColor.h>

#include <QImage>
#include <QPainter>
#include <QWidget>

#include <functional>
#include <optional>

namespace Sweepgraph {

class Trend;

class PlotArea : public QWidget {
    Q_OBJECT
public:
    // What the user does on the plot is reported through the chart's signals.
    PlotArea(QWidget *parent, Trend &chart);
    ~PlotArea() override;

    // Runs the chart's full repaint sequence; called when the retained image
    // had to be replaced (first show, new size or pixel ratio).
    void setFullRepaintSequence(std::function<void()> sequence);
    // Runs the full repaint sequence now with update requests held back.
    // Does nothing, and returns false, when called from within the sequence
    // itself (a host refreshing from its Paint handler).
    bool runFullRepaint();
    // Shows the retained image at once.
    void showImageNow();
    // Lets the next paint event run the full repaint sequence.
    void requestFullRepaint();

    void applyScale(qint32 top, qint32 bottom, qint32 left, qint32 right);
    // Puts the world y top..bottom (distinct, finite) from the top edge to the bottom edge.
    void applyYRange(double top, double bottom);

    OleColor backColor() const { return backColor_; }
    void setBackColor(OleColor colour);
    qint16 penWidth() const { return penWidth_; }
    // Pen widths run from 1 to 32767 pixels; false (and no change) otherwise.
    bool setPenWidth(qint32 width);

    void moveTo(float x, float y);
    void lineTo(float x, float y, OleColor colour);
    void linesTo(const QPointF *points, int count, OleColor colour);
    void circle(float x, float y, float r, OleColor colour);
    float penX() const { return penX_; }
    float penY() const { return penY_; }

    // Clears to the background and draws rows - 1 horizontal and cols - 1
    // vertical lines, one pixel wide, in the line pattern style (0 solid,
    // 1 dash, 2 dot, 3 dash-dot, 4 dash-dot-dot, 5 none, 6 solid inside;
    // any other value leaves the plot's own solid pattern).
    void drawGrid(qint32 rows, qint32 cols, OleColor colour, qint32 style);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    // The painter stays open on the retained image between pen operations
    // (opening one per segment would cost more than the segment) and is
    // closed before the image is shown.
    bool openImagePainter();
    void closeImagePainter();
    void ensureImage();
    void clearImage();
    void useCurvePen(OleColor colour);
    // Fills what one-pixel lines from the pen through the points light when
    // they keep to one device pixel column, the first line perhaps coming
    // from the column to the left; false, with nothing drawn, when they do
    // not or the pen is wider.
    bool fillColumn(const QPointF *points, int count, OleColor colour);
    void scheduleUpdate();

    std::function<void()> fullRepaintSequence_;
    bool fullRepaintPending_ = true;
    bool inFullRepaint_ = false;
    bool updateScheduled_ = false;
    bool pressedForClick_ = false;

    Trend &chart_;
    WorldScale scale_;
    WorldMapping mapping_;
    OleColor backColor_ = 0;
    qint16 penWidth_ = 1;
    float penX_ = 0;
    float penY_ = 0;

    // The run the last lines filled, while nothing was drawn after it.
    struct ColumnRun {
        double column;
        double top; // device rows
        double bottom;
        OleColor colour;
    };
    std::optional<ColumnRun> lastRun_;

    QImage image_;
    QPainter painter_;
    bool curvePenSet_ = false;
    OleColor curvePenColour_ = 0;
};

} // namespace Sweepgraph
