// Renders the two charts of the main window, at its default settings, with a
// sample curve and the red mark to a PNG: trend_sheet <output.png>.

#include <Trend.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QVBoxLayout>
#include <QWidget>

#include <cmath>
#include <cstdio>

namespace {

constexpr OleColor DarkGrey = 0x404040;
constexpr OleColor Black = 0x000000;
constexpr OleColor Green = 0x00FF00;
constexpr OleColor Cyan = 0xFFFF00;
constexpr OleColor Red = 0x0000FF;

void Configure(Sweepgraph::Trend &chart, int cols, int rows, double (*value)(int), OleColor colour)
{
    chart.setTrendBackColor(DarkGrey);
    chart.setGridColor(Black);
    chart.setGridCols(cols);
    chart.setGridRows(rows);
    chart.setLineWidth(1);
    QObject::connect(&chart, &Sweepgraph::Trend::Paint, [&chart, value, colour] {
        const int last = 90;
        chart.MoveTo(0, float(value(0)));
        for (int i = 1; i <= last; ++i)
            chart.DrawLine(float(i), float(value(i)), colour);
        chart.DrawCircle(float(last), float(value(last)), chart.Rightx() * 0.005f, Red);
        chart.DisplayTime((10 * 3600 + 37 * 60) / 86400.0, (10 * 3600 + 38 * 60 + 30) / 86400.0);
    });
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: trend_sheet <output.png>\n");
        return 2;
    }
    QWidget sheet;
    sheet.setAutoFillBackground(true);
    auto *layout = new QVBoxLayout(&sheet);
    auto *first = new Sweepgraph::Trend(&sheet);
    auto *second = new Sweepgraph::Trend(&sheet);
    layout->addWidget(first);
    layout->addWidget(second);
    Configure(
        *first, 15, 20, [](int i) { return 60 * std::sin(i / 9.0) + 10 * std::cos(i / 2.0); }, Green);
    Configure(
        *second, 10, 8, [](int i) { return 40.0 - 0.8 * i + 15 * std::sin(i / 5.0); }, Cyan);
    sheet.resize(640, 560);
    sheet.show();
    QApplication::processEvents();
    first->Refresh();
    second->Refresh();
    const QImage image = sheet.grab().toImage();
    if (!image.save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
