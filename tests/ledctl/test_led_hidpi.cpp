// The LED widget on a screen with three device pixels per pixel (run with
// QT_SCALE_FACTOR=3): its strokes must stay crisp and solid, at the full
// resolution of the screen.

#include "LedProbe.h"

#include <LED.h>

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QSet>

namespace {

using ledprobe::Layout;

TEST(LedHighDensity, DrawsCrispSolidStrokesInDevicePixels)
{
    LEDCtl1::LED led;
    led.resize(200, 75);
    led.setForeColor(ledprobe::Fore);
    led.setBackColor(ledprobe::Back);
    led.setCaption(QStringLiteral("8.8"));
    led.setBitNumber(2);
    led.setInterval(1);
    led.setSegWidth(4);

    const double ratio = led.devicePixelRatioF();
    ASSERT_EQ(ratio, 3.0) << "run with QT_SCALE_FACTOR=3";
    const QImage image = led.grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(image.size(), QSize(600, 225));

    // Only the two colours: no smoothing, no scaled-up low-resolution picture.
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y));
    EXPECT_EQ(colours, (QSet<QRgb>{ledprobe::ForeRgb, ledprobe::BackRgb}));

    const Layout layout(led, 2, 4, ratio);
    EXPECT_EQ(layout.litSegments(image, 0), ledprobe::AllDigitSegments);
    EXPECT_EQ(layout.litSegments(image, 1), ledprobe::AllDigitSegments);
    EXPECT_TRUE(layout.pointLit(image, 1));
    // 0.1 mm is more than a device pixel here; the top stroke (T/2 = 2 mm)
    // must still be one solid run without gaps between its sweep lines.
    EXPECT_NEAR(layout.topStrokePixels(image, 0), 2.0 * layout.perMmY(), 2.0);
    // Edges fall on device pixels, not on whole widget pixels.
    int oddEdges = 0;
    const int row = layout.pixelY(layout.yt() + 1.0);
    for (int x = 1; x < image.width(); ++x)
        if (image.pixel(x, row) != image.pixel(x - 1, row) && x % 3 != 0)
            ++oddEdges;
    EXPECT_GT(oddEdges, 0);
}

} // namespace
