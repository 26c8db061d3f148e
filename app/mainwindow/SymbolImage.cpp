#include "SymbolImage.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

SymbolImage::SymbolImage(Kind kind, QColor color, QWidget *parent)
    : QWidget(parent), kind_(kind), color_(std::move(color))
{
    setAttribute(Qt::WA_TranslucentBackground);
}

void SymbolImage::drawText(QPainter &painter, const QRectF &box, const QString &text, qreal sizeFactor) const
{
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(qMax(1, qRound(box.height() * sizeFactor)));
    // Shrink wide texts until they fit the box.
    const qreal width = QFontMetricsF(font).horizontalAdvance(text);
    if (width > box.width())
        font.setPixelSize(qMax(1, int(font.pixelSize() * box.width() / width)));
    painter.setFont(font);
    painter.drawText(box, Qt::AlignCenter, text);
}

void SymbolImage::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const QRectF box = QRectF(rect()).adjusted(1, 1, -1, -1);
    const qreal stroke = qMax<qreal>(1.0, box.height() / 12.0);
    QPen pen(color_, stroke);
    pen.setJoinStyle(Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);

    switch (kind_) {
    case Kind::Hold: {
        const qreal side = qMin(box.width(), box.height());
        const QRectF square(box.center().x() - side / 2, box.center().y() - side / 2, side, side);
        painter.drawRect(square.adjusted(stroke / 2, stroke / 2, -stroke / 2, -stroke / 2));
        drawText(painter, square, QStringLiteral("H"), 0.75);
        break;
    }
    case Kind::HighVoltage: {
        // A lightning arrow: a zig-zag bolt ending in a point.
        const qreal w = box.width(), h = box.height(), x = box.left(), y = box.top();
        QPainterPath bolt;
        bolt.moveTo(x + 0.62 * w, y);
        bolt.lineTo(x + 0.30 * w, y + 0.52 * h);
        bolt.lineTo(x + 0.55 * w, y + 0.52 * h);
        bolt.lineTo(x + 0.36 * w, y + h);
        bolt.lineTo(x + 0.78 * w, y + 0.40 * h);
        bolt.lineTo(x + 0.52 * w, y + 0.40 * h);
        bolt.closeSubpath();
        painter.fillPath(bolt, color_);
        break;
    }
    case Kind::Phase1:
        drawText(painter, box, QStringLiteral("\u00D81"), 0.85);
        break;
    case Kind::Phase2:
        drawText(painter, box, QStringLiteral("\u00D82"), 0.85);
        break;
    case Kind::Phase3:
        drawText(painter, box, QStringLiteral("\u00D83"), 0.85);
        break;
    case Kind::Sum:
        drawText(painter, box, QStringLiteral("\u03A3"), 0.95);
        break;
    case Kind::ThreePhaseWatt:
        drawText(painter, box, QStringLiteral("W3\u00D8"), 0.75);
        break;
    case Kind::Watt:
        drawText(painter, box, QStringLiteral("W"), 0.9);
        break;
    case Kind::CircledP: {
        const qreal side = qMin(box.width(), box.height());
        const QRectF circle(box.center().x() - side / 2, box.center().y() - side / 2, side, side);
        painter.drawEllipse(circle.adjusted(stroke / 2, stroke / 2, -stroke / 2, -stroke / 2));
        drawText(painter, circle, QStringLiteral("P"), 0.65);
        break;
    }
    case Kind::Battery: {
        const qreal h = box.height() * 0.6;
        const QRectF body(box.left(), box.center().y() - h / 2, box.width() * 0.86, h);
        painter.drawRect(body.adjusted(stroke / 2, stroke / 2, -stroke / 2, -stroke / 2));
        painter.fillRect(QRectF(body.right(), body.center().y() - h / 4, box.width() * 0.12, h / 2), color_);
        painter.fillRect(body.adjusted(stroke * 2, stroke * 2, -body.width() * 0.6, -stroke * 2), color_);
        break;
    }
    case Kind::BarArrow: {
        QPainterPath arrow;
        arrow.moveTo(box.left(), box.top());
        arrow.lineTo(box.right(), box.center().y());
        arrow.lineTo(box.left(), box.bottom());
        arrow.closeSubpath();
        painter.fillPath(arrow, color_);
        break;
    }
    }
}
