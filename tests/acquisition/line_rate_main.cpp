// The main window fed by a meter at its full line rate, for
// scripts/measure-line-rate.sh: the window is built as the program builds it
// (settings from XDG_CONFIG_HOME, COM1 mapped to a simulated meter), START is
// pressed, and after the given time it prints how many samples it recorded
// and how much processor time acquisition took.
// Usage: acquisition_line_rate SECONDS

#include "ProgramWindow.h"
#include "StartupSettings.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>

#include <cstdio>
#include <sys/resource.h>

namespace {

double processorSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    bool ok = false;
    const double seconds = argc == 2 ? QString::fromLocal8Bit(argv[1]).toDouble(&ok) : 0;
    if (!ok || seconds <= 0) {
        std::fprintf(stderr, "Usage: acquisition_line_rate SECONDS\n");
        return 2;
    }

    ProgramWindow program;
    MainFrm &window = program.window;
    const ProgramState &state = program.state;
    window.ProbePorts();
    window.SetPortInUse(LoadStoredPortNumber(program.settings));
    window.show();

    QElapsedTimer wall;
    double processorAtStart = 0;
    QTimer::singleShot(0, &window, [&] {
        processorAtStart = processorSeconds();
        wall.start();
        window.Start->click();
    });
    // exit(), not quit(): quitting closes the window, which asks to save.
    QTimer::singleShot(qint64(seconds * 1000), &app, [] { QCoreApplication::exit(0); });
    app.exec();

    const double busy = processorSeconds() - processorAtStart;
    const double elapsed = double(wall.elapsed()) / 1000.0;
    // Frames lost to an overflow (the window fell more than 100 frames behind)
    // or to resynchronisation show in the counters.
    const CycleCounters &counters = window.acquisition().counters();
    std::printf("samples %d\nframes_read %llu\noverflows %llu\nresyncs %llu\n"
                "wall_seconds %.1f\ncpu_seconds %.1f\ncpu_percent %.1f\n",
                int(state.store.SampleCount), static_cast<unsigned long long>(counters.blocksRead),
                static_cast<unsigned long long>(counters.overflows), static_cast<unsigned long long>(counters.resyncs),
                elapsed, busy, elapsed > 0 ? 100.0 * busy / elapsed : 0.0);
    return 0;
}
