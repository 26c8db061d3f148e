#include "PlotArea.h"
#include "Trend.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPen>
#include <QScopedValueRollback>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <utility>

namespace Sweepgraph {

namespace {

// Pixel positions beyond this are clipped to the plot before drawing, so a
// wild value (a meter glitch far outside the scale) cannot make the
// rasteriser work on coordinates far outside the image.
constexpr double PixelLimit = 16384;

// The event arguments use the classic encodings: buttons 1 left, 2 right,
// 4 middle; shift state 1 Shift, 2 Ctrl, 4 Alt.
qint16 ButtonBits(Qt::MouseButtons buttons)
{
    return qint16((buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0) |
                  (buttons & Qt::MiddleButton ? 4 : 0));
}

qint16 ShiftBits(Qt::KeyboardModifiers modifiers)
{
    return qint16((modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0) |
                  (modifiers & Qt::AltModifier ? 4 : 0));
}

// Character keys keep their Qt code (the upper-case character); Qt's function
// keys (0x01000000 and up) are folded into 0xF000..0xFFFF.
qint16 KeyCode16(int key)
{
    return qint16(key <= 0xFFFF ? key : 0xF000 | (key & 0x0FFF));
}

bool ClipSegment(QLineF &line, const QRectF &box)
{
    double x1 = line.x1(), y1 = line.y1();
    const double dx = line.x2() - x1, dy = line.y2() - y1;
    if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(dx) || !std::isfinite(dy))
        return false;
    double t0 = 0, t1 = 1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x1 - box.left(), box.right() - x1, y1 - box.top(), box.bottom() - y1};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    line = QLineF(x1 + t0 * dx, y1 + t0 * dy, x1 + t1 * dx, y1 + t1 * dy);
    return true;
}

bool WithinPixelLimit(double value)
{
    return std::fabs(value) < PixelLimit; // false for NaN too
}

// Grid line patterns; nothing for a value that is not one of them.
std::optional<Qt::PenStyle> GridPenStyle(qint32 style)
{
    switch (style) {
    case 0:
        return Qt::SolidLine;
    case 1:
        return Qt::DashLine;
    case 2:
        return Qt::DotLine;
    case 3:
        return Qt::DashDotLine;
    case 4:
        return Qt::DashDotDotLine;
    case 5:
        return Qt::NoPen;
    case 6:
        return Qt::SolidLine; // "inside" only matters for closed shapes
    default:
        return std::nullopt;
    }
}

// Pixel positions of the bands - 1 inner lines of a grid direction. When
// there are more lines than device pixels every device pixel between the
// first and the last line carries one, so those are drawn instead of
// millions of coinciding lines.
template <typename Draw>
void DrawGridLines(qint32 bands, double origin, double extent, double ratio, int devicePixels,
                   double (WorldMapping::*toPixel)(double) const, const WorldMapping &mapping, Draw draw)
{
    if (bands <= 1)
        return;
    const auto position = [&](qint32 i) { return (mapping.*toPixel)(origin + extent / bands * i); };
    if (bands - 1 <= devicePixels) {
        for (qint32 i = 1; i < bands; ++i)
            draw(position(i));
        return;
    }
    // A one-pixel line lies on the device row (or column) its position falls in.
    const double first = std::floor(position(1) * ratio);
    const double last = std::floor(position(bands - 1) * ratio);
    for (double device = std::min(first, last); device <= std::max(first, last); device += 1)
        draw(device / ratio);
}

// The plot area is what takes the keyboard focus, so it is what a screen
// reader announces: as a chart, with the name and description the host gave.
QAccessibleInterface *plotInterface(const QString &, QObject *object)
{
    if (auto *plot = qobject_cast<PlotArea *>(object))
        return new QAccessibleWidget(plot, QAccessible::Chart);
    return nullptr;
}

} // namespace

PlotArea::PlotArea(QWidget *parent, Trend &chart) : QWidget(parent), chart_(chart), mapping_(scale_, QSizeF(size()))
{
    static const bool accessible = [] {
        QAccessible::installFactory(plotInterface);
        return true;
    }();
    Q_UNUSED(accessible);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

PlotArea::~PlotArea()
{
    closeImagePainter();
}

void PlotArea::setFullRepaintSequence(std::function<void()> sequence)
{
    fullRepaintSequence_ = std::move(sequence);
}

bool PlotArea::runFullRepaint()
{
    if (inFullRepaint_ || !fullRepaintSequence_)
        return false;
    const QScopedValueRollback<bool> guard(inFullRepaint_, true);
    ensureImage();
    fullRepaintPending_ = false;
    fullRepaintSequence_();
    return true;
}

void PlotArea::showImageNow()
{
    repaint();
}

void PlotArea::requestFullRepaint()
{
    fullRepaintPending_ = true;
    update();
}

void PlotArea::applyScale(qint32 top, qint32 bottom, qint32 left, qint32 right)
{
    scale_.apply(top, bottom, left, right);
    mapping_ = WorldMapping(scale_, QSizeF(size()));
}

void PlotArea::applyYRange(double top, double bottom)
{
    scale_.top = top;
    scale_.height = bottom - top;
    mapping_ = WorldMapping(scale_, QSizeF(size()));
}

void PlotArea::setBackColor(OleColor colour)
{
    backColor_ = colour;
}

bool PlotArea::setPenWidth(qint32 width)
{
    if (width < 1 || width > std::numeric_limits<qint16>::max())
        return false;
    penWidth_ = qint16(width);
    curvePenSet_ = false;
    return true;
}

void PlotArea::moveTo(float x, float y)
{
    penX_ = x;
    penY_ = y;
}

void PlotArea::lineTo(float x, float y, OleColor colour)
{
    QLineF line(mapping_.pixelX(penX_), mapping_.pixelY(penY_), mapping_.pixelX(x), mapping_.pixelY(y));
    lastRun_.reset();
    penX_ = x;
    penY_ = y;
    if (!openImagePainter())
        return;
    if (!(WithinPixelLimit(line.x1()) && WithinPixelLimit(line.y1()) && WithinPixelLimit(line.x2()) &&
          WithinPixelLimit(line.y2()))) {
        const double margin = penWidth_ + 2.0;
        if (!ClipSegment(line, QRectF(QPointF(0, 0), QSizeF(size())).adjusted(-margin, -margin, margin, margin)))
            return;
    }
    useCurvePen(colour);
    painter_.drawLine(line);
    scheduleUpdate();
}

void PlotArea::linesTo(const QPointF *points, int count, OleColor colour)
{
    if (count <= 0)
        return;
    if (fillColumn(points, count, colour)) {
        penX_ = float(points[count - 1].x());
        penY_ = float(points[count - 1].y());
        return;
    }
    for (int i = 0; i < count; ++i)
        lineTo(float(points[i].x()), float(points[i].y()), colour);
}

bool PlotArea::fillColumn(const QPointF *points, int count, OleColor colour)
{
    // A one-pixel line steeper than 45 degrees lights one pixel in each row
    // from the row its upper end lies in to the row its lower end lies in
    // (the square caps reach half a pixel past the ends), in the column it
    // runs through. Steep lines that keep to one pixel column therefore
    // light a run of that column: one rectangle instead of a stroke per
    // line. Where a cap reaches a corner into the next column, that corner
    // pixel is the only difference. Flatter lines, under a pixel high in a
    // column, are stroked as before. The first line may come from the
    // column to the left; it is stroked unless both columns' runs already
    // light every row it passes.
    if (penWidth_ != 1 || count <= 0)
        return false;
    const double ratio = image_.devicePixelRatio();
    const auto at = [&](double x, double y) { return QPointF(mapping_.pixelX(x), mapping_.pixelY(y)); };
    const QPointF start = at(penX_, penY_);
    const QPointF firstPoint = at(points[0].x(), points[0].y());
    const double column = std::floor(firstPoint.x() * ratio);
    const double penColumn = std::floor(start.x() * ratio);
    if (!WithinPixelLimit(column) || !WithinPixelLimit(start.y() * ratio) ||
        (penColumn != column && penColumn != column - 1))
        return false;
    for (int i = 0; i < count; ++i) {
        const QPointF p = at(points[i].x(), points[i].y());
        if (std::floor(p.x() * ratio) != column || !WithinPixelLimit(p.y() * ratio))
            return false;
    }
    if (!openImagePainter())
        return false;
    // The rasteriser's 26.6 fixed point of device pixels decides which lines are steep.
    const auto fixed = [ratio](double v) { return qint64(v * ratio * 64); };
    const auto steep = [&](QPointF from, QPointF to) {
        return std::abs(fixed(to.x()) - fixed(from.x())) < std::abs(fixed(to.y()) - fixed(from.y()));
    };
    const auto rows = [ratio](QPointF from, QPointF to) {
        return std::make_pair(std::floor(std::min(from.y(), to.y()) * ratio),
                              std::floor(std::max(from.y(), to.y()) * ratio));
    };
    double runTop = 0, runBottom = -1; // device rows; none while runTop > runBottom
    int runs = 0;
    // The colour is opaque and nothing is clipped, so the run's pixels are
    // set straight in the image: through the painter each row of a run one
    // pixel wide is a span of its own, several times the cost.
    const QRgb pixel = toQColor(colour).rgba();
    const auto fillRun = [&] {
        ++runs;
        const int top = int(std::max(runTop, 0.0));
        const int bottom = int(std::min(runBottom, double(image_.height() - 1)));
        if (column < 0 || column >= image_.width())
            return;
        const qsizetype stride = image_.bytesPerLine();
        uchar *line = image_.bits() + qsizetype(top) * stride + qsizetype(column) * qsizetype(sizeof(QRgb));
        for (int y = top; y <= bottom; ++y, line += stride)
            *reinterpret_cast<QRgb *>(line) = pixel;
    };
    const bool bridging = penColumn != column;
    QPointF from = bridging ? firstPoint : start;
    for (int i = bridging ? 1 : 0; i < count; ++i) {
        const QPointF to = at(points[i].x(), points[i].y());
        if (steep(from, to)) {
            const auto [top, bottom] = rows(from, to);
            const bool run = runTop <= runBottom;
            const bool joins = run && top <= runBottom + 1 && bottom >= runTop - 1;
            if (run && !joins)
                fillRun();
            runTop = joins ? std::min(runTop, top) : top;
            runBottom = joins ? std::max(runBottom, bottom) : bottom;
        } else {
            useCurvePen(colour);
            painter_.drawLine(QLineF(from, to));
        }
        from = to;
    }
    if (runTop <= runBottom)
        fillRun();
    if (bridging) {
        const std::pair<double, double> passed = rows(start, firstPoint);
        const auto within = [&](const ColumnRun &r) { return r.top <= passed.first && passed.second <= r.bottom; };
        const bool covered = steep(start, firstPoint) && lastRun_ && lastRun_->column == penColumn &&
                             lastRun_->colour == colour && runs == 1 && within(*lastRun_) &&
                             within(ColumnRun{column, runTop, runBottom, colour});
        if (!covered) {
            useCurvePen(colour);
            painter_.drawLine(QLineF(start, firstPoint));
        }
    }
    lastRun_.reset();
    if (runs == 1)
        lastRun_ = ColumnRun{column, runTop, runBottom, colour};
    scheduleUpdate();
    return true;
}

void PlotArea::circle(float x, float y, float r, OleColor colour)
{
    lastRun_.reset();
    penX_ = x;
    penY_ = y;
    const QPointF centre(mapping_.pixelX(x), mapping_.pixelY(y));
    const double radius = std::fabs(double(r) * mapping_.pixelsPerUnitX());
    if (!(WithinPixelLimit(centre.x()) && WithinPixelLimit(centre.y()) && WithinPixelLimit(radius)))
        return;
    if (!openImagePainter())
        return;
    useCurvePen(colour);
    painter_.drawEllipse(centre, radius, radius);
    scheduleUpdate();
}

void PlotArea::drawGrid(qint32 rows, qint32 cols, OleColor colour, qint32 style)
{
    clearImage();
    if (!openImagePainter())
        return;
    QPen pen(toQColor(colour), 1);
    pen.setStyle(GridPenStyle(style).value_or(Qt::SolidLine));
    painter_.setPen(pen);
    curvePenSet_ = false;

    const double ratio = image_.devicePixelRatio();
    const double left = mapping_.pixelX(scale_.left);
    const double right = mapping_.pixelX(scale_.left + scale_.width);
    const double top = mapping_.pixelY(scale_.top);
    const double bottom = mapping_.pixelY(scale_.top + scale_.height);
    DrawGridLines(rows, scale_.top, scale_.height, ratio, image_.height(), &WorldMapping::pixelY, mapping_,
                  [&](double y) { painter_.drawLine(QLineF(left, y, right, y)); });
    DrawGridLines(cols, scale_.left, scale_.width, ratio, image_.width(), &WorldMapping::pixelX, mapping_,
                  [&](double x) { painter_.drawLine(QLineF(x, top, x, bottom)); });
    scheduleUpdate();
}

void PlotArea::paintEvent(QPaintEvent *event)
{
    updateScheduled_ = false;
    ensureImage();
    if (fullRepaintPending_)
        runFullRepaint();
    closeImagePainter();
    QPainter widgetPainter(this);
    widgetPainter.drawImage(event->rect(), image_,
                            QRectF(QPointF(event->rect().topLeft()) * image_.devicePixelRatio(),
                                   QSizeF(event->rect().size()) * image_.devicePixelRatio()));
    if (hasFocus()) {
        // Only on the screen: the retained image, which the host draws into, stays clean.
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rect().adjusted(1, 1, -1, -1);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &widgetPainter, this);
    }
}

void PlotArea::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    update();
}

void PlotArea::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    update();
}

void PlotArea::resizeEvent(QResizeEvent *)
{
    mapping_ = WorldMapping(scale_, QSizeF(size()));
}

void PlotArea::mousePressEvent(QMouseEvent *event)
{
    pressedForClick_ = true;
    const QPointF world = mapping_.toWorld(event->position());
    emit chart_.MouseDown(ButtonBits(event->button()), ShiftBits(event->modifiers()), float(world.x()),
                          float(world.y()));
}

void PlotArea::mouseReleaseEvent(QMouseEvent *event)
{
    const QPointF world = mapping_.toWorld(event->position());
    emit chart_.MouseUp(ButtonBits(event->button()), ShiftBits(event->modifiers()), float(world.x()), float(world.y()));
    const bool clicked = pressedForClick_ && rect().contains(event->position().toPoint());
    pressedForClick_ = false;
    if (clicked)
        emit chart_.Click();
}

void PlotArea::mouseDoubleClickEvent(QMouseEvent *)
{
    // The second press of a double click is reported as DblClick alone.
    pressedForClick_ = false;
    emit chart_.DblClick();
}

void PlotArea::mouseMoveEvent(QMouseEvent *event)
{
    const QPointF world = mapping_.toWorld(event->position());
    emit chart_.MouseMove(ButtonBits(event->buttons()), ShiftBits(event->modifiers()), float(world.x()),
                          float(world.y()));
}

void PlotArea::wheelEvent(QWheelEvent *event)
{
    // Eighths of a degree, 120 to a notch of a common wheel.
    const int delta = event->angleDelta().y();
    if (delta == 0) {
        event->ignore();
        return;
    }
    const QPointF world = mapping_.toWorld(event->position());
    emit chart_.MouseWheel(qint16(std::clamp(delta, -32768, 32767)), ShiftBits(event->modifiers()), float(world.x()),
                           float(world.y()));
    event->accept();
}

void PlotArea::keyPressEvent(QKeyEvent *event)
{
    emit chart_.KeyDown(KeyCode16(event->key()), ShiftBits(event->modifiers()));
    if (!event->text().isEmpty())
        emit chart_.KeyPress(qint16(event->text().at(0).unicode()));
}

void PlotArea::keyReleaseEvent(QKeyEvent *event)
{
    emit chart_.KeyUp(KeyCode16(event->key()), ShiftBits(event->modifiers()));
}

bool PlotArea::openImagePainter()
{
    if (painter_.isActive())
        return true;
    ensureImage();
    if (image_.isNull() || !painter_.begin(&image_))
        return false;
    painter_.setBrush(Qt::NoBrush);
    curvePenSet_ = false;
    return true;
}

void PlotArea::closeImagePainter()
{
    if (painter_.isActive())
        painter_.end();
}

void PlotArea::ensureImage()
{
    const qreal ratio = devicePixelRatioF();
    const QSize deviceSize(qRound(width() * ratio), qRound(height() * ratio));
    if (!image_.isNull() && image_.size() == deviceSize && image_.devicePixelRatio() == ratio)
        return;
    if (image_.isNull() && deviceSize.isEmpty())
        return;
    closeImagePainter();
    image_ = QImage(deviceSize, QImage::Format_ARGB32_Premultiplied);
    lastRun_.reset();
    image_.setDevicePixelRatio(ratio);
    image_.fill(toQColor(backColor_));
    fullRepaintPending_ = true;
    emit chart_.Change();
}

void PlotArea::clearImage()
{
    lastRun_.reset();
    ensureImage();
    closeImagePainter();
    image_.fill(toQColor(backColor_));
}

void PlotArea::useCurvePen(OleColor colour)
{
    if (curvePenSet_ && colour == curvePenColour_)
        return;
    painter_.setPen(QPen(toQColor(colour), penWidth_));
    curvePenColour_ = colour;
    curvePenSet_ = true;
}

void PlotArea::scheduleUpdate()
{
    if (inFullRepaint_ || updateScheduled_)
        return;
    updateScheduled_ = true;
    update();
}

} // namespace Sweepgraph
