#pragma once

// The drawing of one caption onto an LED's client area. The geometry is worked
// out in millimetres in single precision, as the widget defines it, and only
// mapped to device pixels at the last step so that strokes stay crisp.

#include <QRect>
#include <QSize>
#include <QString>
#include <QVector>

#include <optional>
#include <vector>

class QColor;
class QPainter;

namespace LEDCtl1 {

struct SegmentSettings {
    float clientWidth = 0.0f;    // W, millimetres
    float clientHeight = 0.0f;   // H, millimetres
    float referenceWidth = 0.0f; // millimetres
    qint32 segWidth = 0;
    qint32 interval = 0;
    qint32 bitNumber = 0;
};

class SegmentPainter {
public:
    // The painter draws in device pixels with its origin at the client area's
    // top-left corner; clientPixels is the client area's size in those pixels
    // and pixelsPerMmX/Y convert millimetres to them.
    SegmentPainter(QPainter &painter, const SegmentSettings &settings, QSize clientPixels, float pixelsPerMmX,
                   float pixelsPerMmY);

    void DrawCaption(const QString &caption, const QColor &foreColor);

private:
    void DrawChar(QChar character, qint32 cell);
    void DrawSegment(int segment, qint32 cell);

    void addHorizontal(float x1, float x2, float y);
    void addVertical(float x, float y1, float y2);
    void addBox(float x1, float y1, float x2, float y2);
    void addPixels(qint64 left, qint64 top, qint64 right, qint64 bottom);
    QVector<QRect> litRectangles() const;

    QPainter &painter_;
    SegmentSettings settings_;
    QSize clientPixels_;
    float pixelsPerMmX_;
    float pixelsPerMmY_;
    // Device pixels across one sweep line: one, unless 0.1 mm spans more than
    // a pixel (above about 250 dots per inch), where thin lines would leave gaps.
    int lineWidth_;
    // Measures that do not depend on the cell; unset when the geometry is
    // undefined (no reference width, or a count or thickness beyond 32 bits).
    std::optional<qint32> thickness_;
    float unit_ = 0.0f;
    // One byte per device pixel of the client area, set where the caption is
    // lit; the sweep lines overlap heavily, so they are collected here and
    // painted once.
    std::vector<quint8> coverage_;
};

} // namespace LEDCtl1
