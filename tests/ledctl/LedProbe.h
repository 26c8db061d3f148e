#pragma once

// Where the LED widget's segments, points and colon squares should fall, worked
// out independently from its documented geometry, and readers of the pixels
// found there in a rendered image.

#include <LED.h>

#include <QImage>
#include <QPoint>

#include <cmath>

namespace ledprobe {

constexpr OleColor Fore = 0x0000FF; // red
constexpr OleColor Back = 0x302010;
inline const QRgb ForeRgb = qRgb(0xFF, 0x00, 0x00);
inline const QRgb BackRgb = qRgb(0x10, 0x20, 0x30);

// Segments 1 to 7 lit: an "8".
constexpr unsigned AllDigitSegments = 0xFE;

inline QImage render(LEDCtl1::LED &led)
{
    QImage image(led.size(), QImage::Format_RGB32);
    image.fill(Qt::magenta);
    led.render(&image);
    return image;
}

inline bool isBlank(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != BackRgb)
                return false;
    return true;
}

class Layout {
public:
    // thickness is the T the widget is expected to use; pixelRatio is the
    // number of image pixels per pixel of the widget.
    Layout(const LEDCtl1::LED &led, int bitNumber, int thickness, double pixelRatio = 1.0)
        : perMmX_(led.logicalDpiX() / 25.4 * pixelRatio), perMmY_(led.logicalDpiY() / 25.4 * pixelRatio),
          w_(led.width() * pixelRatio / perMmX_), h_(led.height() * pixelRatio / perMmY_), u_(w_ / (3 * bitNumber + 1)),
          t_(thickness), d_(std::nearbyint(thickness / 2.0))
    {
    }

    double perMmX() const { return perMmX_; }
    double perMmY() const { return perMmY_; }
    double u() const { return u_; }
    double x0(int cell) const { return u_ + 3 * u_ * cell; }
    double x1(int cell) const { return x0(cell) + 2 * u_; }
    double yt() const { return h_ / 10; }
    double ym() const { return h_ / 2; }
    double yb() const { return 0.9 * h_; }
    int pixelX(double mm) const { return int(std::floor(mm * perMmX_)); }
    int pixelY(double mm) const { return int(std::floor(mm * perMmY_)); }

    bool lit(const QImage &image, double xMm, double yMm) const
    {
        const QPoint p(pixelX(xMm), pixelY(yMm));
        return image.rect().contains(p) && image.pixel(p) == ForeRgb;
    }

    // Bit n set when segment n (1 to 8) of the cell is lit, probed at the
    // middle of each stroke (the middle segment above the minus bar, the
    // minus bar below the middle segment).
    unsigned litSegments(const QImage &image, int cell) const
    {
        const double middle = (x0(cell) + x1(cell)) / 2;
        const double inset = t_ / 4.0;
        const QPointF probes[] = {
            {middle, yt() + inset},
            {x1(cell) - inset, (yt() + ym()) / 2},
            {x1(cell) - inset, (ym() + yb()) / 2},
            {middle, yb() - inset},
            {x0(cell) + inset, (ym() + yb()) / 2},
            {x0(cell) + inset, (yt() + ym()) / 2},
            {middle, ym() - t_ / 8.0},
            {middle, ym() + 0.4 * t_},
        };
        unsigned mask = 0;
        for (int segment = 1; segment <= 8; ++segment)
            if (lit(image, probes[segment - 1].x(), probes[segment - 1].y()))
                mask |= 1u << segment;
        return mask;
    }

    // Gap k is the column left of cell k (gap 0 is the left margin).
    double gapMiddle(int gap) const { return 3 * u_ * gap + u_ / 2; }
    bool pointLit(const QImage &image, int gap) const { return lit(image, gapMiddle(gap), 0.9 * h_ - d_ / 2); }
    int colonSquaresLit(const QImage &image, int gap) const
    {
        return int(lit(image, gapMiddle(gap), 0.4 * h_ - d_ / 2)) + int(lit(image, gapMiddle(gap), 0.7 * h_ - d_ / 2));
    }

    // Height in pixels of the top stroke at the middle of the cell.
    int topStrokePixels(const QImage &image, int cell) const
    {
        const int x = pixelX((x0(cell) + x1(cell)) / 2);
        int y = 0;
        while (y < image.height() && image.pixel(x, y) != ForeRgb)
            ++y;
        int run = 0;
        while (y < image.height() && image.pixel(x, y) == ForeRgb) {
            ++run;
            ++y;
        }
        return run;
    }

    // Lit pixels across the gap column on the point's middle row, leaving out
    // the digits' edges on either side.
    int pointPixels(const QImage &image, int gap) const
    {
        const int y = pixelY(0.9 * h_ - d_ / 2);
        int count = 0;
        for (int x = pixelX(3 * u_ * gap) + 2; x < pixelX(3 * u_ * gap + u_) - 1; ++x)
            count += image.pixel(x, y) == ForeRgb ? 1 : 0;
        return count;
    }

    bool gapBlank(const QImage &image, int gap) const
    {
        for (int y = 0; y < image.height(); ++y)
            for (int x = pixelX(3 * u_ * gap) + 2; x < pixelX(3 * u_ * gap + u_) - 1; ++x)
                if (image.pixel(x, y) != BackRgb)
                    return false;
        return true;
    }

private:
    double perMmX_;
    double perMmY_;
    double w_;
    double h_;
    double u_;
    int t_;
    double d_;
};

} // namespace ledprobe
