#pragma once

// Keeps every registered control's position, size and font in proportion to
// the window: each control has a design-time rectangle in a base client size,
// and a resize scales all of them by the same factors.

#include <QHash>
#include <QPointer>
#include <QRectF>
#include <QSize>
#include <QWidget>

class ProportionalLayout {
public:
    explicit ProportionalLayout(QSize baseSize) : baseSize_(baseSize) {}

    // rect is in the base coordinates of the widget's parent.
    void add(QWidget *widget, const QRectF &rect);
    // Lays every control out for the given client size.
    void apply(QSize clientSize);
    QSize baseSize() const { return baseSize_; }

private:
    struct Entry {
        QPointer<QWidget> widget;
        QRectF rect;
        qreal basePointSize;
    };
    QSize baseSize_;
    QList<Entry> entries_;
};
