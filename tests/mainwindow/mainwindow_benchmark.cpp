// Benchmark (not a test): the cost of following a new sample with a long
// recording in the store, charts repainted included.
//   mainwindow_benchmark

#include "MainFrm.h"
#include "OleDate.h"
#include "ScriptedPrompts.h"
#include "SettingsStore.h"

#include <Trend.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

void fill(ProgramState &state, int count, float spacing)
{
    state.store.Samples.reserve(std::size_t(count) + 1);
    const double start = LocalToOleDate(QDateTime::currentDateTime());
    for (int i = 1; i <= count; ++i) {
        Sample s;
        s.FirstValue = float(50 + 40 * std::sin(i * 0.01));
        s.SecondValue = float(230 + 5 * std::cos(i * 0.003));
        s.FirstUnit = 0x08;
        s.SecondUnit = 0x02;
        s.Seconds = float(i) * spacing;
        s.Stamp = start + i * spacing / 86400.0;
        state.store.AppendSample(s);
    }
}

// Median time of one FollowLatestSample, charts painted.
double measure(MainFrm &window, int repetitions)
{
    std::vector<double> times;
    for (int r = 0; r < repetitions; ++r) {
        // Live redraws are spaced 100 ms apart: wait so that this sample redraws at once.
        QThread::msleep(110);
        QElapsedTimer timer;
        timer.start();
        window.trendView().FollowLatestSample();
        window.Sweepgraph1->repaint();
        window.Sweepgraph2->repaint();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    QElapsedTimer startup;
    startup.start();
    QApplication app(argc, argv);
    QTemporaryDir dir;
    SettingsStore settings(dir.filePath(QStringLiteral("RQ4417.conf")));
    ScriptedPrompts prompts;
    ProgramState state;
    MainFrm window(state, settings, prompts);
    window.show();
    QApplication::processEvents();
    std::printf("start-up to the window shown: %.1f ms\n", double(startup.nsecsElapsed()) / 1e6);

    state.view.TimeMode = false;
    fill(state, 1000000, 1.0f);
    std::printf("index mode, 1,000,000 samples, Rightx 100: FollowLatestSample + repaint %.2f ms (median of 50)\n",
                measure(window, 50));

    // Save and Open of the million-sample recording through the File menu's
    // commands, the window's update included.
    const QString file = dir.filePath(QStringLiteral("million.KRD"));
    prompts.files = {file, file};
    QElapsedTimer fileTimer;
    fileTimer.start();
    window.recordCommands().SaveAs();
    std::printf("Save As of 1,000,000 samples: %.1f ms\n", double(fileTimer.nsecsElapsed()) / 1e6);
    fileTimer.start();
    window.recordCommands().Open();
    QApplication::processEvents();
    std::printf("Open of 1,000,000 samples, window updated: %.1f ms (samples %d)\n",
                double(fileTimer.nsecsElapsed()) / 1e6, state.store.SampleCount);

    ProgramState timeState;
    MainFrm timeWindow(timeState, settings, prompts);
    timeWindow.show();
    timeState.view.TimeMode = true;
    timeWindow.Sweepgraph1->setRightx(278);
    timeWindow.Sweepgraph2->setRightx(278);
    // 25,000 samples 10 ms apart fill 90 % of a 278 s chart.
    fill(timeState, 1000000, 0.01f);
    const double ms = measure(timeWindow, 30);
    std::printf("time mode, %d visible samples: FollowLatestSample + repaint %.2f ms (median of 30)\n",
                timeState.view.ViewLast - timeState.view.ViewFirst + 1, ms);
    return 0;
}
