#include "ReadoutFrame.h"

#include "TrendView.h"

#include <QFrame>
#include <QLabel>
#include <QTimer>

namespace {

constexpr int ReadoutMilliseconds = 3000;

} // namespace

ReadoutFrame::ReadoutFrame(int chart, QWidget *central, QObject *owner, ProportionalLayout &layout) : layout_(layout)
{
    const bool upper = chart == 1;
    frame = new QFrame(central);
    frame->setObjectName(QStringLiteral("FrmGetData%1").arg(chart));
    frame->setFrameShape(QFrame::Box);
    frame->setAutoFillBackground(true);
    QPalette palette = frame->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::ToolTipBase));
    palette.setColor(QPalette::WindowText, palette.color(QPalette::ToolTipText));
    frame->setPalette(palette);
    value = new QLabel(QStringLiteral("AC 100.0kWh"), frame);
    time = new QLabel(QStringLiteral("2002/06/07 10:37:00"), frame);
    // The upper chart's labels are GetData_0 (value) and _1 (time), the lower one's _3 (value) and _2 (time).
    value->setObjectName(QStringLiteral("GetData_%1").arg(upper ? 0 : 3));
    time->setObjectName(QStringLiteral("GetData_%1").arg(upper ? 1 : 2));
    // Its size and text scale with the window; it is placed where it is shown.
    layout.add(frame, QRectF(0, 0, 180, 46));
    layout.add(value, QRectF(6, 3, 168, 20));
    layout.add(time, QRectF(6, 23, 168, 20));
    frame->hide();
    frame->setToolTip(upper ? tr("The sample clicked on the upper chart: value and time")
                            : tr("The sample clicked on the lower chart: value and time"));

    timer = new QTimer(owner);
    timer->setObjectName(QStringLiteral("Timer%1").arg(chart + 1));
    timer->setInterval(ReadoutMilliseconds);
    timer->setSingleShot(true);
    timer->setTimerType(Qt::PreciseTimer);
    QObject::connect(timer, &QTimer::timeout, frame, &QWidget::hide);
}

void ReadoutFrame::place(const QRect &chartArea)
{
    if (rightHalf_)
        frame->move(chartArea.topLeft());
    else
        frame->move(chartArea.left() + chartArea.width() - frame->width(),
                    chartArea.top() + chartArea.height() - frame->height());
}

void ReadoutFrame::show(const Readout &readout, const QRect &chartArea)
{
    timer->stop();
    rightHalf_ = readout.rightHalf;
    place(chartArea);
    layout_.setFittedText(value, readout.valueText);
    layout_.setFittedText(time, readout.timeText);
    timer->start();
    frame->show();
    frame->raise();
}
