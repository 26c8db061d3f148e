#include "PageSurface.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>

QFont PageFont(double pointSize)
{
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    return font;
}

PageSurface::PageSurface(QPainter &painter, const QRectF &drawableArea, QPagedPaintDevice *sheets)
    : painter_(painter), area_(drawableArea), sheets_(sheets),
      dotsPerMillimetre_(painter.device() ? painter.device()->logicalDpiX() / 25.4 : 96 / 25.4),
      width_(drawableArea.width() > 0 ? drawableArea.width() : 1),
      height_(drawableArea.height() > 0 ? drawableArea.height() : 1), font_(PageFont(PrinterFontPointSize))
{
    painter_.setFont(font_);
    applyPen();
}

void PageSurface::SetScale(double x1, double y1, double x2, double y2)
{
    if (x2 == x1 || y2 == y1 || !std::isfinite(x2 - x1) || !std::isfinite(y2 - y1))
        return;
    left_ = x1;
    top_ = y1;
    width_ = x2 - x1;
    height_ = y2 - y1;
}

void PageSurface::SetScaleLeft(double left)
{
    if (std::isfinite(left))
        left_ = left;
}

void PageSurface::SetScaleTop(double top)
{
    if (std::isfinite(top))
        top_ = top;
}

void PageSurface::SetScaleWidth(double width)
{
    if (width != 0 && std::isfinite(width))
        width_ = width;
}

void PageSurface::SetScaleHeight(double height)
{
    if (height != 0 && std::isfinite(height))
        height_ = height;
}

void PageSurface::SetPenWidth(int dots)
{
    if (dots < 1 || dots > 32767)
        return;
    penWidth_ = dots;
    applyPen();
}

void PageSurface::SetPenStyle(int style)
{
    if (style < PenStyle::Solid || style > PenStyle::InsideSolid)
        return;
    penStyle_ = style;
    applyPen();
}

void PageSurface::applyPen()
{
    QPen pen(Qt::black);
    pen.setWidth(penWidth_);
    pen.setCapStyle(Qt::FlatCap);
    // Dots and dashes keep their size on paper whatever the device's resolution:
    // a dot is a quarter of a millimetre. Qt counts pattern lengths in pen widths.
    const double unit = std::max(1.0, std::round(0.25 * dotsPerMillimetre_)) / penWidth_;
    const double dot = unit, gap = 2 * unit, dash = 4 * unit;
    switch (penStyle_) {
    case PenStyle::Dash:
        pen.setDashPattern({dash, gap});
        break;
    case PenStyle::Dot:
        pen.setDashPattern({dot, gap});
        break;
    case PenStyle::DashDot:
        pen.setDashPattern({dash, gap, dot, gap});
        break;
    case PenStyle::DashDotDot:
        pen.setDashPattern({dash, gap, dot, gap, dot, gap});
        break;
    case PenStyle::Invisible:
        pen.setStyle(Qt::NoPen);
        break;
    default:
        pen.setStyle(Qt::SolidLine);
        break;
    }
    painter_.setPen(pen);
}

QPointF PageSurface::toDevice(double x, double y) const
{
    return QPointF(area_.left() + deviceDx(x - left_), area_.top() + deviceDy(y - top_));
}

void PageSurface::DrawLine(double x1, double y1, double x2, double y2, OleColor color)
{
    const QPointF from = toDevice(x1, y1);
    const QPointF to = toDevice(x2, y2);
    if (!std::isfinite(from.x()) || !std::isfinite(from.y()) || !std::isfinite(to.x()) || !std::isfinite(to.y()))
        return;
    QPen pen = painter_.pen();
    pen.setColor(toQColor(color));
    painter_.setPen(pen);
    painter_.drawLine(from, to);
}

void PageSurface::SetTextPosition(double x, double y)
{
    if (std::isfinite(x))
        currentX_ = x;
    if (std::isfinite(y))
        currentY_ = y;
}

void PageSurface::Print(const TextLine &line)
{
    const QFontMetricsF metrics(font_, painter_.device());
    const double zone = PrintZoneCharacters * metrics.averageCharWidth();
    const double blank = metrics.horizontalAdvance(QLatin1Char(' '));
    QPointF at = toDevice(currentX_, currentY_);
    bool first = true;
    for (const TextLine::Item &item : line.items()) {
        if (item.nextZone && !first && zone > 0) {
            // The next zone right of the text position, counted from the left edge;
            // at least a blank away, so that two items never run together.
            const double offset = at.x() - area_.left() + blank;
            at.setX(area_.left() + (std::floor(offset / zone + 1e-9) + 1) * zone);
        }
        first = false;
        if (!item.text.isEmpty()) {
            painter_.setPen(QPen(Qt::black));
            painter_.drawText(QPointF(at.x(), at.y() + metrics.ascent()), item.text);
            at.setX(at.x() + metrics.horizontalAdvance(item.text));
        }
    }
    applyPen();
    currentX_ = left_;
    currentY_ += metrics.lineSpacing() * height_ / area_.height();
}

void PageSurface::SetFont(const QFont &font)
{
    font_ = font;
    painter_.setFont(font_);
}

bool PageSurface::NewPage()
{
    return sheets_ && sheets_->newPage();
}

bool PageSurface::EndDoc()
{
    return painter_.end();
}
