// Not a test: how long a repaint of both charts and the cursor figures take
// when recordings of growing length are fitted into 800 pixels. Prints a
// table; run it through scripts/zoom_benchmark.sh.

#include "TrendView.h"
#include "TrendWidgetChart.h"

#include <Trend.h>

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

class NoHost final : public TrendViewHost {
public:
    void setScrollBar(std::int32_t, std::int32_t) override {}
    void showStatistics(const StatisticsLabels &) override {}
};

// The median of a few runs of `work`, in milliseconds.
template <typename Work>
double medianMs(int runs, Work work)
{
    std::vector<double> times;
    for (int r = 0; r < runs; ++r) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int largest = argc > 1 ? std::atoi(argv[1]) : 16000000;

    std::printf("%12s %14s %16s %18s %14s\n", "samples", "summary ms", "repaint both ms", "cursor figures us",
                "kWh (check)");
    for (int count : {1000, 100000, 1000000, 16000000}) {
        if (count > largest)
            break;
        Sweepgraph::Trend widget1, widget2;
        for (Sweepgraph::Trend *w : {&widget1, &widget2}) {
            w->setBorderStyle(0);
            w->resize(800 + 57, 300 + 20); // a plot of 800 by 300 pixels
            w->setLineWidth(1);
            w->setTopY(60);
            w->setBottomY(-60);
            w->setRightx(100);
            w->show();
        }
        TrendWidgetChart chart1(widget1), chart2(widget2);
        ProgramState state;
        state.view.TimeMode = true;
        NoHost host;
        TrendView view(state, chart1, chart2, host);
        state.store.Samples.reserve(std::size_t(count) + 1);
        for (int i = 1; i <= count; ++i) {
            Sample s;
            s.FirstValue = float(50 * std::sin(i * 0.001) + (i % 7));
            s.SecondValue = float(i % 13);
            s.FirstUnit = 0x40;
            s.Seconds = float(i) * 0.5f;
            state.store.AppendSample(s);
        }
        QElapsedTimer build;
        build.start();
        view.RecordingReplaced();
        view.Summary();
        const double summaryMs = double(build.nsecsElapsed()) / 1e6;
        view.FitAll();
        QObject::connect(&widget1, &Sweepgraph::Trend::Paint, [&] { view.RedrawChart1(); });
        QObject::connect(&widget2, &Sweepgraph::Trend::Paint, [&] { view.RedrawChart2(); });
        double energy = 0;
        const double repaint = medianMs(21, [&] { view.RefreshCharts(); });
        const double cursors = medianMs(101,
                                        [&] {
                                            const CursorFigures f =
                                                MeasureBetween(view.Summary(), state.store, 1, count);
                                            energy = f.area;
                                        }) *
                               1000;
        std::printf("%12d %14.1f %16.3f %18.1f %14.1f\n", count, summaryMs, repaint, cursors, energy);
        std::fflush(stdout);
    }
    return 0;
}
