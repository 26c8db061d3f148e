#pragma once

// What a printed or previewed page is drawn on: a QPainter over the printer, a
// PDF file or the preview picture, seen through the printer-style operations
// the page layouts use. Coordinates are in a user scale laid over the drawable
// area; pen widths are in device dots; text goes out as a line of items placed
// next to each other or at print zones.
//
// Like the printer it stands for, the surface ignores an operation it cannot
// carry out (a zero scale extent, a pen width below one dot, an unknown pen
// style) and keeps its previous state.

#include <OleColor.h>

#include <QFont>
#include <QRectF>
#include <QString>

#include <vector>

class QPainter;
class QPagedPaintDevice;

// Line patterns, numbered as the charts number their grid styles.
namespace PenStyle {
constexpr int Solid = 0;
constexpr int Dash = 1;
constexpr int Dot = 2;
constexpr int DashDot = 3;
constexpr int DashDotDot = 4;
constexpr int Invisible = 5;
constexpr int InsideSolid = 6;
} // namespace PenStyle

constexpr OleColor Black = 0;

// The font printed text uses unless a page sets another; the preview draws its
// picture with the same family at this size (halved for the half-size view).
constexpr double PrinterFontPointSize = 7.5;
QFont PageFont(double pointSize);

// One printed line: items separated either not at all or by a move to the next
// print zone.
class TextLine {
public:
    struct Item {
        bool nextZone;
        QString text;
    };

    explicit TextLine(const QString &first) { items_.push_back({false, first}); }
    TextLine &Adjacent(const QString &text)
    {
        items_.push_back({false, text});
        return *this;
    }
    TextLine &NextZone(const QString &text)
    {
        items_.push_back({true, text});
        return *this;
    }
    const std::vector<Item> &items() const { return items_; }

private:
    std::vector<Item> items_;
};

class PageSurface {
public:
    // Print zones are this many average character widths apart.
    static constexpr int PrintZoneCharacters = 14;

    // drawableArea: the part of the painter's device the scale spans, in device
    // coordinates. sheets: the printer or PDF writer, for new sheets; null for
    // the preview picture.
    PageSurface(QPainter &painter, const QRectF &drawableArea, QPagedPaintDevice *sheets = nullptr);

    // The scale spans (x1, y1) at the top left to (x2, y2) at the bottom right.
    void SetScale(double x1, double y1, double x2, double y2);
    void SetScaleLeft(double left);
    void SetScaleTop(double top);
    void SetScaleWidth(double width);
    // A negative height makes y grow upwards.
    void SetScaleHeight(double height);
    double ScaleLeft() const { return left_; }
    double ScaleTop() const { return top_; }
    double ScaleWidth() const { return width_; }
    double ScaleHeight() const { return height_; }

    void SetPenWidth(int dots);
    int PenWidth() const { return penWidth_; }
    void SetPenStyle(int style);
    int PenStyle() const { return penStyle_; }

    void DrawLine(double x1, double y1, double x2, double y2, OleColor color);

    void SetTextPosition(double x, double y);
    double CurrentX() const { return currentX_; }
    double CurrentY() const { return currentY_; }
    // Prints the items from the text position (the top left of the text); the
    // text position then moves to the left edge of the next line.
    void Print(const TextLine &line);

    void SetFont(const QFont &font);
    const QFont &Font() const { return font_; }

    // Starts a new sheet; false on a surface without sheets or when the device refuses.
    bool NewPage();
    // Ends the document; false when the output could not be completed.
    bool EndDoc();

    // The device point of a scale point.
    QPointF toDevice(double x, double y) const;

private:
    double deviceDx(double scaleDx) const { return scaleDx * area_.width() / width_; }
    double deviceDy(double scaleDy) const { return scaleDy * area_.height() / height_; }
    void applyPen();

    QPainter &painter_;
    QRectF area_;
    QPagedPaintDevice *sheets_;
    double dotsPerMillimetre_;
    double left_ = 0;
    double top_ = 0;
    double width_;
    double height_;
    int penWidth_ = 1;
    int penStyle_ = PenStyle::Solid;
    double currentX_ = 0;
    double currentY_ = 0;
    QFont font_;
};
