#include "ProportionalLayout.h"

#include <QtMath>

void ProportionalLayout::add(QWidget *widget, const QRectF &rect)
{
    entries_.append({widget, rect, widget->font().pointSizeF()});
}

void ProportionalLayout::apply(QSize clientSize)
{
    if (baseSize_.isEmpty() || clientSize.isEmpty())
        return;
    const qreal sx = qreal(clientSize.width()) / baseSize_.width();
    const qreal sy = qreal(clientSize.height()) / baseSize_.height();
    // Text grows with the smaller factor so that it still fits its control,
    // but never shrinks below what stays readable.
    const qreal fontScale = qBound(0.75, qMin(sx, sy), 2.5);
    for (const Entry &entry : qAsConst(entries_)) {
        if (!entry.widget)
            continue;
        const QRectF &r = entry.rect;
        const int left = qRound(r.left() * sx);
        const int top = qRound(r.top() * sy);
        const int right = qRound(r.right() * sx);
        const int bottom = qRound(r.bottom() * sy);
        entry.widget->setGeometry(left, top, qMax(1, right - left), qMax(1, bottom - top));
        if (entry.basePointSize > 0) {
            QFont font = entry.widget->font();
            font.setPointSizeF(entry.basePointSize * fontScale);
            entry.widget->setFont(font);
        }
    }
}
