#include "ProportionalLayout.h"

#include <QFontMetricsF>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QtMath>

#include <algorithm>

namespace {

// The width a label leaves its text: inside its frame and margins, less the
// indent a framed label keeps on the side its text is aligned to.
qreal textRoom(const QLabel *label, const QFont &font)
{
    qreal room = label->contentsRect().width() - 2 * label->margin();
    const Qt::Alignment horizontal = label->alignment() & (Qt::AlignLeft | Qt::AlignRight);
    if (horizontal && label->indent() != 0) {
        room -=
            label->indent() > 0
                ? label->indent()
                : (label->frameWidth() > 0 ? QFontMetricsF(font, label).horizontalAdvance(QLatin1Char('x')) / 2 : 0);
    }
    return room;
}

// The rows between a group box's top and bottom frame lines. Styles keep the
// top line below a title of a least height that does not shrink with the
// text (Fusion: the height of a radio button), and the contents rectangle
// they report need not agree with where they draw it, so the box's frame is
// drawn on its own and its lines looked for, on a column clear of the title.
std::pair<int, int> groupInterior(QGroupBox *box)
{
    QStyleOptionGroupBox option;
    option.initFrom(box);
    option.text = box->title();
    option.textAlignment = box->alignment();
    option.lineWidth = 1;
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    if (box->isFlat())
        option.features |= QStyleOptionFrame::Flat;
    QImage image(box->size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        box->style()->drawComplexControl(QStyle::CC_GroupBox, &option, &painter, box);
    }
    const int x = image.width() * 3 / 4;
    int top = 0;
    while (top < image.height() && qAlpha(image.pixel(x, top)) == 0)
        ++top;
    int bottom = image.height() - 1;
    while (bottom > top && qAlpha(image.pixel(x, bottom)) == 0)
        --bottom;
    // Past the line and a pixel of space inside it.
    return {top + 2, bottom - 2};
}

} // namespace

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
    // The window's minimum size keeps the text legible; at the top, very
    // large screens get room around the text rather than ever larger type.
    fontScale_ = qMin(qMin(sx, sy), 2.5);
    for (const Entry &entry : qAsConst(entries_)) {
        if (!entry.widget)
            continue;
        const QRectF &r = entry.rect;
        const int left = qRound(r.left() * sx);
        const int top = qRound(r.top() * sy);
        const int right = qRound(r.right() * sx);
        const int bottom = qRound(r.bottom() * sy);
        entry.widget->setGeometry(left, top, qMax(1, right - left), qMax(1, bottom - top));
    }
    for (const Entry &entry : qAsConst(entries_))
        if (entry.widget)
            applyFont(entry);
    // The frame line's place depends on the group's font.
    for (const Entry &entry : qAsConst(entries_))
        if (auto *box = qobject_cast<QGroupBox *>(entry.widget.data()))
            keepInsideFrame(box);
}

void ProportionalLayout::keepInsideFrame(QGroupBox *box)
{
    QList<const Entry *> children;
    QRect used;
    for (const Entry &entry : qAsConst(entries_)) {
        if (entry.widget && entry.widget->parentWidget() == box) {
            children << &entry;
            used |= entry.widget->geometry();
        }
    }
    if (children.isEmpty())
        return;
    const auto [interiorTop, interiorBottom] = groupInterior(box);
    if ((used.top() >= interiorTop && used.bottom() <= interiorBottom) || interiorBottom <= interiorTop)
        return;
    // The rows move down below the frame line and close up a little,
    // keeping their order and their proportions to each other.
    const int top = std::max(used.top(), interiorTop);
    const int bottom = std::max(top, std::min(used.bottom(), interiorBottom));
    const qreal squeeze = qreal(bottom - top + 1) / used.height();
    for (const Entry *child : qAsConst(children)) {
        const QRect g = child->widget->geometry();
        const int childTop = top + qRound((g.top() - used.top()) * squeeze);
        const int childBottom = top + qRound((g.bottom() + 1 - used.top()) * squeeze);
        child->widget->setGeometry(g.left(), childTop, g.width(), qMax(1, childBottom - childTop));
        applyFont(*child);
    }
}

void ProportionalLayout::fitText(QLabel *label)
{
    for (const Entry &entry : qAsConst(entries_)) {
        if (entry.widget == label) {
            applyFont(entry);
            return;
        }
    }
}

void ProportionalLayout::setFittedText(QLabel *label, const QString &text)
{
    if (label->text() == text)
        return;
    label->setText(text);
    fitText(label);
}

void ProportionalLayout::applyFont(const Entry &entry)
{
    if (entry.basePointSize <= 0)
        return;
    QFont font = entry.widget->font();
    font.setPointSizeF(entry.basePointSize * fontScale_);
    if (auto *label = qobject_cast<QLabel *>(entry.widget.data()); label && !label->text().isEmpty()) {
        const QString text = label->text();
        const auto share = [&](const QFont &f) {
            const QFontMetricsF metrics(f, label);
            return std::min(textRoom(label, f) / metrics.horizontalAdvance(text),
                            label->contentsRect().height() / metrics.height());
        };
        // Straight to about the size that fits, then down in small steps
        // for what rounding and hinting add.
        if (const qreal first = share(font); first < 1 && first > 0) {
            font.setPointSizeF(qMax(1.0, font.pointSizeF() * first));
            while (font.pointSizeF() > 1 && share(font) < 1)
                font.setPointSizeF(qMax(1.0, font.pointSizeF() - 0.25));
        }
    }
    if (entry.widget->font() != font)
        entry.widget->setFont(font);
}
