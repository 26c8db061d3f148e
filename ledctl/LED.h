#pragma once

// A widget that shows a short text as seven-segment LED digits, scaled to
// whatever size it is given. All of its geometry is in millimetres.

#include "LEDExport.h"

#include <OleColor.h>
#include <PropertyBag.h>

#include <QString>
#include <QWidget>

class QPaintEvent;
class QResizeEvent;

namespace LEDCtl1 {

class LED_EXPORT LED : public QWidget {
    Q_OBJECT

public:
    // Values of BorderStyle.
    enum TypeBorderStyle : qint32 { None = 0, FixedSingle = 1 };

    explicit LED(QWidget *parent = nullptr);

    OleColor ForeColor() const;
    void setForeColor(OleColor color);

    // Assistive technology reads the caption as the widget's value, and as
    // its name while accessibleName is empty.
    QString Caption() const;
    void setCaption(const QString &caption);

    OleColor BackColor() const;
    void setBackColor(OleColor color);

    qint32 Interval() const;
    void setInterval(qint32 interval);

    qint32 SegWidth() const;
    void setSegWidth(qint32 segWidth);

    // 0 flat, 1 three-dimensional. Returns false, and changes nothing, for any
    // other value, among them every value outside the 16-bit range.
    qint32 Appearance() const;
    bool setAppearance(qint32 appearance);

    // 0 None, 1 FixedSingle. Returns false, and changes nothing, for any
    // other value, among them every value outside the 16-bit range.
    qint32 BorderStyle() const;
    bool setBorderStyle(qint32 borderStyle);

    qint32 BitNumber() const;
    void setBitNumber(qint32 bitNumber);

    // Client width in millimetres when the widget was created or SegWidth was
    // last assigned; stroke thickness scales with the current width over it.
    float ReferenceWidth() const;

    void ReadProperties(const PropertyBag &bag);
    void WriteProperties(PropertyBag &bag) const;

signals:
    // Raised after a redraw that answers the windowing system's paint request.
    void Paint();
    // Part of the interface; the widget never raises it.
    void Refresh();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void redraw();
    int borderWidth() const;
    QRect clientRect() const;
    float clientWidthMm() const;

    QString caption_ = QStringLiteral("-8.8888");
    OleColor foreColor_ = 0x00FF00;
    OleColor backColor_ = 0x404040;
    qint32 segWidth_ = 0;
    qint32 interval_ = 0;
    qint32 bitNumber_ = 0;
    qint32 appearance_ = 1;
    qint32 borderStyle_ = None;
    float referenceWidth_ = 0.0f;
    // Set while a repaint we asked for ourselves is outstanding, so that the
    // paint answering it does not raise Paint.
    bool ownRedrawPending_ = false;
};

} // namespace LEDCtl1
