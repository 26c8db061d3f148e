#pragma once

// The dialogs are laid out in the units they were designed in: twips for the
// controls (15 to a pixel at the usual 96 dots per inch) and millimetres for
// the page picture of the preview.

#include <QRect>
#include <QtMath>

constexpr int TwipsPerPixel = 15;
constexpr double PixelsPerMillimetre = 1440.0 / 25.4 / TwipsPerPixel;

constexpr int TwipsToPixels(int twips)
{
    return (twips + TwipsPerPixel / 2) / TwipsPerPixel;
}

constexpr QRect TwipsRect(int left, int top, int width, int height)
{
    return QRect(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height));
}

inline int MillimetresToPixels(double millimetres)
{
    return qRound(millimetres * PixelsPerMillimetre);
}
