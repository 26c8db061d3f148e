#include "LED.h"

#include "LedAccessible.h"
#include "SegmentPainter.h"

#include <QAccessible>

#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QTransform>
#include <qdrawutil.h>

namespace LEDCtl1 {

namespace {

// Property-bag keys and the defaults a missing key stands for.
const QString BackColorKey = QStringLiteral("BackColor");
const QString ForeColorKey = QStringLiteral("ForeColor");
const QString CaptionKey = QStringLiteral("Caption");
const QString SegWidthKey = QStringLiteral("SegWidth");
const QString IntervalKey = QStringLiteral("Interval");
const QString CharCounterKey = QStringLiteral("CharCounter");
constexpr OleColor DefaultBackColor = 0xFFFFFF;
constexpr OleColor DefaultForeColor = 0;
const QString DefaultCaption = QStringLiteral("88888");
constexpr qint32 DefaultSegWidth = 8;
constexpr qint32 DefaultInterval = 2;
constexpr qint32 DefaultCharCounter = 5;

constexpr float MillimetresPerInch = 25.4f;

float pixelsPerMm(int dotsPerInch)
{
    return float(dotsPerInch) / MillimetresPerInch;
}

// A bag value that does not convert counts as missing.
qint32 readInt(const PropertyBag &bag, const QString &key, qint32 defaultValue)
{
    bool ok = false;
    const qint32 value = bag.ReadProperty(key, defaultValue).toInt(&ok);
    return ok ? value : defaultValue;
}

OleColor readColor(const PropertyBag &bag, const QString &key, OleColor defaultValue)
{
    bool ok = false;
    const OleColor value = bag.ReadProperty(key, defaultValue).toUInt(&ok);
    return ok ? value : defaultValue;
}

} // namespace

LED::LED(QWidget *parent) : QWidget(parent)
{
    // Every paint covers the whole widget, border and client area.
    setAttribute(Qt::WA_OpaquePaintEvent);
    referenceWidth_ = clientWidthMm();
    InstallLedAccessibility();
}

OleColor LED::ForeColor() const
{
    return foreColor_;
}

void LED::setForeColor(OleColor color)
{
    foreColor_ = color;
    redraw();
}

QString LED::Caption() const
{
    return caption_;
}

void LED::setCaption(const QString &caption)
{
    const bool changed = caption != caption_;
    caption_ = caption;
    redraw();
    if (changed) {
        // A screen reader hears the new reading as the value, and as the name
        // while the host gave the display no name of its own.
        QAccessibleValueChangeEvent event(this, caption_);
        QAccessible::updateAccessibility(&event);
        if (accessibleName().isEmpty()) {
            QAccessibleEvent nameEvent(this, QAccessible::NameChanged);
            QAccessible::updateAccessibility(&nameEvent);
        }
    }
}

OleColor LED::BackColor() const
{
    return backColor_;
}

void LED::setBackColor(OleColor color)
{
    backColor_ = color;
    redraw();
}

qint32 LED::Interval() const
{
    return interval_;
}

void LED::setInterval(qint32 interval)
{
    interval_ = interval;
    redraw();
}

qint32 LED::SegWidth() const
{
    return segWidth_;
}

void LED::setSegWidth(qint32 segWidth)
{
    segWidth_ = segWidth;
    // Repaints are deferred, so the repaint this asks for already scales by
    // the new reference width and the display matches the new SegWidth.
    referenceWidth_ = clientWidthMm();
    redraw();
}

qint32 LED::Appearance() const
{
    return appearance_;
}

bool LED::setAppearance(qint32 appearance)
{
    // The frame knows only flat and three-dimensional; anything else, beyond
    // 16 bits (an overflow) or not, is refused.
    if (appearance != 0 && appearance != 1)
        return false;
    appearance_ = appearance;
    redraw();
    return true;
}

qint32 LED::BorderStyle() const
{
    return borderStyle_;
}

bool LED::setBorderStyle(qint32 borderStyle)
{
    if (borderStyle != None && borderStyle != FixedSingle)
        return false;
    borderStyle_ = borderStyle;
    // The frame changes with the window system's next paint, not with a redraw of ours.
    update();
    return true;
}

qint32 LED::BitNumber() const
{
    return bitNumber_;
}

void LED::setBitNumber(qint32 bitNumber)
{
    bitNumber_ = bitNumber;
    redraw();
}

float LED::ReferenceWidth() const
{
    return referenceWidth_;
}

void LED::ReadProperties(const PropertyBag &bag)
{
    setBackColor(readColor(bag, BackColorKey, DefaultBackColor));
    setForeColor(readColor(bag, ForeColorKey, DefaultForeColor));
    setCaption(bag.ReadProperty(CaptionKey, DefaultCaption).toString());
    setSegWidth(readInt(bag, SegWidthKey, DefaultSegWidth));
    setInterval(readInt(bag, IntervalKey, DefaultInterval));
    bitNumber_ = readInt(bag, CharCounterKey, DefaultCharCounter);
    redraw();
}

void LED::WriteProperties(PropertyBag &bag) const
{
    bag.WriteProperty(BackColorKey, backColor_, DefaultBackColor);
    bag.WriteProperty(ForeColorKey, foreColor_, DefaultForeColor);
    bag.WriteProperty(CaptionKey, caption_, DefaultCaption);
    bag.WriteProperty(SegWidthKey, segWidth_, DefaultSegWidth);
    bag.WriteProperty(IntervalKey, interval_, DefaultInterval);
    bag.WriteProperty(CharCounterKey, bitNumber_, DefaultCharCounter);
}

void LED::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect client = clientRect();
    if (borderStyle_ == FixedSingle) {
        if (appearance_ == 1)
            qDrawWinPanel(&painter, rect(), palette(), true);
        else
            qDrawPlainRect(&painter, rect(), palette().color(QPalette::WindowText), 1);
    }

    // The caption is drawn in device pixels so that each sweep line is one
    // device pixel wide on high-density screens too. The device transform,
    // not the widget's pixel ratio, says how big a device pixel is: rendering
    // into an image may use another ratio than the screen.
    const QTransform toDevice = painter.deviceTransform();
    const bool scaledOnly = toDevice.type() <= QTransform::TxScale && toDevice.m11() > 0 && toDevice.m22() > 0;
    const float ratioX = scaledOnly ? float(toDevice.m11()) : 1.0f;
    const float ratioY = scaledOnly ? float(toDevice.m22()) : 1.0f;
    painter.translate(client.topLeft());
    painter.scale(1.0 / double(ratioX), 1.0 / double(ratioY));
    const QRect deviceClient(0, 0, qRound(client.width() * ratioX), qRound(client.height() * ratioY));
    painter.fillRect(deviceClient, toQColor(backColor_));

    const float perMmX = pixelsPerMm(logicalDpiX());
    const float perMmY = pixelsPerMm(logicalDpiY());
    SegmentSettings settings;
    settings.clientWidth = clientWidthMm();
    settings.clientHeight = float(client.height()) / perMmY;
    settings.referenceWidth = referenceWidth_;
    settings.segWidth = segWidth_;
    settings.interval = interval_;
    settings.bitNumber = bitNumber_;
    SegmentPainter segments(painter, settings, deviceClient.size(), perMmX * ratioX, perMmY * ratioY);
    segments.DrawCaption(caption_, toQColor(foreColor_));
    painter.end();

    if (ownRedrawPending_)
        ownRedrawPending_ = false;
    else
        emit Paint();
}

void LED::resizeEvent(QResizeEvent *)
{
    redraw();
}

// Repaints happen when the event loop runs; a repaint we asked for must not
// look like one the window system asked for, so it is marked. A hidden widget
// gets no repaint from update(), so nothing is marked then.
void LED::redraw()
{
    if (isVisible() && updatesEnabled())
        ownRedrawPending_ = true;
    update();
}

int LED::borderWidth() const
{
    if (borderStyle_ != FixedSingle)
        return 0;
    return appearance_ == 1 ? 2 : 1;
}

QRect LED::clientRect() const
{
    const int border = borderWidth();
    return rect().adjusted(border, border, -border, -border);
}

float LED::clientWidthMm() const
{
    return float(clientRect().width()) / pixelsPerMm(logicalDpiX());
}

} // namespace LEDCtl1
