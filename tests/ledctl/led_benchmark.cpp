// Times one redraw of "8.8.8.8" on a 400 by 150 pixel LED widget: the widget
// is rendered into an image, which runs its whole paint (clear and caption).
// Reports the best of several batches, in processor time and in wall time,
// so that other work on the machine does not count.
// Usage: led_benchmark [redraws per batch]

#include <LED.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

double processorMicroseconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e6 + double(now.tv_nsec) / 1e3;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int perBatch = argc > 1 ? std::atoi(argv[1]) : 500;
    if (perBatch <= 0) {
        std::fprintf(stderr, "usage: led_benchmark [redraws per batch > 0]\n");
        return 2;
    }

    LEDCtl1::LED led;
    led.resize(400, 150);
    PropertyBag bag;
    bag.WriteProperty(QStringLiteral("ForeColor"), OleColor(0x0000FF));
    bag.WriteProperty(QStringLiteral("BackColor"), OleColor(0x000000));
    bag.WriteProperty(QStringLiteral("Caption"), QStringLiteral("8.8.8.8"));
    bag.WriteProperty(QStringLiteral("CharCounter"), 4);
    led.ReadProperties(bag); // SegWidth 8 and Interval 2 are the bag's defaults

    QImage image(led.size(), QImage::Format_RGB32);
    led.render(&image);
    double bestProcessor = 1e300;
    double bestWall = 1e300;
    for (int batch = 0; batch < 10; ++batch) {
        QElapsedTimer wall;
        wall.start();
        const double start = processorMicroseconds();
        for (int i = 0; i < perBatch; ++i)
            led.render(&image);
        bestProcessor = std::min(bestProcessor, (processorMicroseconds() - start) / perBatch);
        bestWall = std::min(bestWall, double(wall.nsecsElapsed()) / 1e3 / perBatch);
    }
    std::printf("one redraw of \"8.8.8.8\" at 400x150 (SegWidth %d, Interval %d): %.1f us processor, %.1f us wall "
                "(best of 10 batches of %d)\n",
                led.SegWidth(), led.Interval(), bestProcessor, bestWall, perBatch);
    return 0;
}
