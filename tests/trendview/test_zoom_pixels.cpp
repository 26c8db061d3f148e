// A zoomed-out chart draws per pixel column only the first, lowest, highest
// and last sample; at one pixel width that must give the pixels that drawing
// every segment gives, but for the corners of the pen's square caps.

#include "TrendTestSupport.h"
#include "TrendView.h"
#include "TrendWidgetChart.h"

#include <gtest/gtest.h>

#include <random>

namespace {

class NoHost final : public TrendViewHost {
public:
    void setScrollBar(std::int32_t, std::int32_t) override {}
    void showStatistics(const StatisticsLabels &) override {}
};

class EnvelopePixels : public ::testing::TestWithParam<bool> {};

TEST_P(EnvelopePixels, EqualDrawingEverySegment)
{
    const bool timeMode = GetParam();
    auto widget1 = TrendTest::MakeChart(800, 300);
    auto widget2 = TrendTest::MakeChart(800, 300);
    for (auto *w : {widget1.get(), widget2.get()}) {
        w->setLineWidth(1);
        w->setTopY(60);
        w->setBottomY(-60);
        w->setRightx(100);
    }
    TrendWidgetChart chart1(*widget1), chart2(*widget2);
    ProgramState state;
    state.view.TimeMode = timeMode;
    state.view.FirstLineColor = TrendTest::White;
    NoHost host;
    TrendView view(state, chart1, chart2, host);

    // A random walk with spikes and overloads, taken at uneven intervals.
    std::mt19937 random(timeMode ? 5 : 3);
    std::normal_distribution<float> step(0, 3);
    std::uniform_int_distribution<int> rare(0, 300);
    std::uniform_real_distribution<float> interval(0.5f, 1.5f);
    float value = 0, seconds = 0;
    for (int i = 0; i < 6000; ++i) {
        value = std::clamp(value + step(random), -55.0f, 55.0f);
        seconds += interval(random);
        Sample s;
        s.FirstValue = rare(random) == 0 ? 9999.0f : value;
        s.SecondValue = -value;
        s.Seconds = seconds;
        state.store.AppendSample(s);
    }
    view.RecordingReplaced();
    state.view.MarkIndex1 = 0;

    auto redraw = QObject::connect(widget1.get(), &Sweepgraph::Trend::Paint, [&] { view.RedrawChart1(); });
    // The newest 40 %, then the whole recording: both more than two samples a column.
    for (int round = 0; round < 2; ++round) {
        if (round == 0) {
            view.FitAll();
            view.ZoomInto(60, 100);
        } else {
            view.FitAll();
        }
        ASSERT_GT(state.view.ViewLast - state.view.ViewFirst, 2 * 800);
        widget1->Refresh();
        const QImage envelope = TrendTest::PlotPixels(*widget1);

        QObject::disconnect(redraw);
        auto every = QObject::connect(widget1.get(), &Sweepgraph::Trend::Paint, [&] {
            widget1->MoveTo(view.WindowX(state.view.ViewFirst), state.store.sample(state.view.ViewFirst).FirstValue);
            for (std::int32_t i = state.view.ViewFirst + 1; i <= state.view.ViewLast; ++i)
                widget1->DrawLine(view.WindowX(i), state.store.sample(i).FirstValue, TrendTest::White);
        });
        widget1->Refresh();
        const QImage full = TrendTest::PlotPixels(*widget1);
        QObject::disconnect(every);
        redraw = QObject::connect(widget1.get(), &Sweepgraph::Trend::Paint, [&] { view.RedrawChart1(); });

        ASSERT_EQ(envelope.size(), full.size());
        // The pen's square caps reach a corner pixel into the next column
        // for some directions of a segment, so a segment left out inside a
        // column can leave out such a corner, or add one. Nothing else may
        // differ: every differing pixel touches the curve of the other
        // picture, and they are few.
        const QRgb curve = TrendTest::Rgb(TrendTest::White);
        auto touches = [&](const QImage &image, int x, int y) {
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    if (image.valid(x + dx, y + dy) && image.pixel(x + dx, y + dy) == curve)
                        return true;
            return false;
        };
        int differing = 0, stray = 0;
        for (int y = 0; y < full.height(); ++y)
            for (int x = 0; x < full.width(); ++x) {
                if (envelope.pixel(x, y) == full.pixel(x, y))
                    continue;
                ++differing;
                if (!touches(envelope.pixel(x, y) == curve ? full : envelope, x, y))
                    ++stray;
            }
        EXPECT_EQ(stray, 0) << "round " << round;
        const int curvePixels = TrendTest::CountInImage(full, curve);
        EXPECT_LE(differing, curvePixels / 200) << "round " << round;
        // The curve is there at all: a few thousand white pixels.
        EXPECT_GT(TrendTest::CountInImage(full, TrendTest::Rgb(TrendTest::White)), 2000);
    }
}

INSTANTIATE_TEST_SUITE_P(Axes, EnvelopePixels, ::testing::Values(false, true),
                         [](const auto &instance) { return instance.param ? "TimeMode" : "IndexMode"; });

} // namespace
