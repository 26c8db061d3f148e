#include "ColorSwatch.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace {

// Black on light colours, white on dark ones, by perceived brightness.
QColor readableTextColor(const QColor &background)
{
    const int brightness = (299 * background.red() + 587 * background.green() + 114 * background.blue()) / 1000;
    return brightness >= 128 ? QColor(Qt::black) : QColor(Qt::white);
}

} // namespace

ColorSwatch::ColorSwatch(QWidget *parent) : QLabel(tr("Click here"), parent)
{
    setAlignment(Qt::AlignCenter);
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setAutoFillBackground(true);
    setCursor(Qt::PointingHandCursor);
    // Reachable with Tab, but a mouse click leaves the focus where it was.
    setFocusPolicy(Qt::TabFocus);
    setColor(color_);
}

void ColorSwatch::setColor(OleColor color)
{
    color_ = color;
    const QColor background = toQColor(color);
    QPalette colors = palette();
    colors.setColor(QPalette::Window, background);
    colors.setColor(QPalette::WindowText, readableTextColor(background));
    setPalette(colors);
}

QSize ColorSwatch::sizeHint() const
{
    // Room round the words so that the colour shows.
    const QSize text = QLabel::sizeHint();
    return QSize(text.width() + 4 * fontMetrics().averageCharWidth(), text.height() + 8);
}

void ColorSwatch::mousePressEvent(QMouseEvent *event)
{
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void ColorSwatch::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click)
        emit clicked();
}

void ColorSwatch::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Space) {
        emit clicked();
        return;
    }
    QLabel::keyPressEvent(event);
}

void ColorSwatch::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    QPainter painter(this);
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.rect = contentsRect().adjusted(2, 2, -2, -2);
    option.backgroundColor = toQColor(color_);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
}
