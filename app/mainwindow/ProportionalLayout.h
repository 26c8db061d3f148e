#pragma once

// Keeps every registered control's position, size and font in proportion to
// the window: each control has a design-time rectangle in a base client size,
// and a resize scales all of them by the same factors.

#include <QHash>
#include <QPointer>
#include <QRectF>
#include <QSize>
#include <QWidget>

class QGroupBox;
class QLabel;

class ProportionalLayout {
public:
    explicit ProportionalLayout(QSize baseSize) : baseSize_(baseSize) {}

    // rect is in the base coordinates of the widget's parent.
    void add(QWidget *widget, const QRectF &rect);
    // Lays every control out for the given client size.
    void apply(QSize clientSize);
    QSize baseSize() const { return baseSize_; }
    // What the last layout multiplied the design font sizes by: the smaller of
    // the two factors, so that text keeps fitting the control it was designed for.
    qreal fontScale() const { return fontScale_; }

    // A registered label takes its scaled font again, smaller where its text
    // would not fit at that size: a cut date or number would be misread.
    void fitText(QLabel *label);
    // Sets a registered label's text and fits it: dates and values are never cut.
    void setFittedText(QLabel *label, const QString &text);

private:
    struct Entry {
        QPointer<QWidget> widget;
        QRectF rect;
        qreal basePointSize;
    };
    void applyFont(const Entry &entry);
    // Controls laid out in a group box stay inside its frame, below its title.
    void keepInsideFrame(QGroupBox *box);

    QSize baseSize_;
    QList<Entry> entries_;
    qreal fontScale_ = 1;
};
