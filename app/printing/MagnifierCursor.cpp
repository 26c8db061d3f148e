#include "MagnifierCursor.h"

#include <QPainter>
#include <QPainterPath>

QPixmap MagnifierPixmap()
{
    QPixmap pixmap(MagnifierSize, MagnifierSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre = MagnifierHotSpot;
    constexpr double lensRadius = 8;

    // The handle, with a white rim so that it shows on dark backgrounds too.
    const QPointF handleFrom = centre + QPointF(6.5, 6.5);
    const QPointF handleTo(29, 29);
    painter.setPen(QPen(Qt::white, 6.5, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(handleFrom, handleTo);
    painter.setPen(QPen(Qt::black, 4, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(handleFrom, handleTo);

    // The lens: a pale glass in a black ring with a white rim.
    painter.setPen(QPen(Qt::white, 4.5));
    painter.setBrush(QColor(225, 240, 255, 200));
    painter.drawEllipse(centre, lensRadius, lensRadius);
    painter.setPen(QPen(Qt::black, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(centre, lensRadius, lensRadius);

    // A glint on the glass.
    QPainterPath glint;
    glint.arcMoveTo(QRectF(centre.x() - 5, centre.y() - 5, 10, 10), 100);
    glint.arcTo(QRectF(centre.x() - 5, centre.y() - 5, 10, 10), 100, 70);
    painter.setPen(QPen(Qt::white, 1.5, Qt::SolidLine, Qt::RoundCap));
    painter.drawPath(glint);
    return pixmap;
}

QCursor MagnifierCursor()
{
    return QCursor(MagnifierPixmap(), MagnifierHotSpot.x(), MagnifierHotSpot.y());
}
