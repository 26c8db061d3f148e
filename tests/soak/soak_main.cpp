// The soak harness of scripts/soak.sh.
//
//   soak_harness run SECONDS [REPORT_SECONDS]
//     Builds the main window as the program does (settings from
//     XDG_CONFIG_HOME, where COM1 is mapped to a simulated meter), presses
//     START and lets it record for SECONDS, then until the line has been quiet
//     for a few seconds. Every REPORT_SECONDS (default 60) it prints one line
//     of counters, memory and processor time; at the end a summary of
//     "name value" lines. Questions the window asks are answered No, as an
//     operator who keeps the recording going would.
//
//   soak_harness replay FRAMES CORRUPT_PERCENT SEED
//     What a reader that keeps up records from the first FRAMES steps of the
//     simulator's noise scenario at 87 frames a second (see LineReplay.h).

#include "LineReplay.h"
#include "ProgramWindow.h"
#include "RecoveryJournal.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <cstdio>
#include <malloc.h>
#include <sys/resource.h>

namespace {

constexpr double LineRate = 87;
// The line counts as quiet, and the run ends, after this long without a block.
constexpr int QuietSecondsToEnd = 3;
// Longest wait for the line to go quiet after the recording time.
constexpr int MostSecondsAfterEnd = 60;
// Memory growth is measured from here on, after Qt's caches have warmed up.
constexpr double WarmUpSeconds = 300;

double processorSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

struct MemoryReading {
    long long rssKb = 0;     // VmRSS
    long long peakKb = 0;    // VmHWM
    long long heapBytes = 0; // allocated through malloc, in use
};

MemoryReading readMemory()
{
    MemoryReading reading;
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : status.readAll().split('\n')) {
            const QList<QByteArray> fields = line.simplified().split(' ');
            if (fields.size() >= 2 && fields[0] == "VmRSS:")
                reading.rssKb = fields[1].toLongLong();
            else if (fields.size() >= 2 && fields[0] == "VmHWM:")
                reading.peakKb = fields[1].toLongLong();
        }
    }
    const struct mallinfo2 heap = mallinfo2();
    reading.heapBytes = static_cast<long long>(heap.uordblks + heap.hblkhd);
    return reading;
}

// Answers every message box the window opens: No where there is a No,
// otherwise the box's escape button.
class BoxAnswerer : public QObject {
public:
    std::uint64_t functionChangeQuestions = 0;
    std::uint64_t otherBoxes = 0;
    // Closing the window at the end asks whether to save: that one is no finding.
    bool closing = false;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show) {
            if (auto *box = qobject_cast<QMessageBox *>(watched)) {
                if (box->text() == QLatin1String(ReceiveCycle::FunctionChangeQuestion)) {
                    ++functionChangeQuestions;
                } else if (!closing) {
                    ++otherBoxes;
                    std::fprintf(stderr, "message box: %s\n", qPrintable(box->text()));
                }
                QTimer::singleShot(0, box, [box] {
                    if (QAbstractButton *no = box->button(QMessageBox::No))
                        no->click();
                    else
                        box->reject();
                });
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

const char *stateName(LinkState state)
{
    switch (state) {
    case LinkState::Stopped:
        return "stopped";
    case LinkState::Running:
        return "running";
    case LinkState::Reconnecting:
        return "reconnecting";
    }
    return "?";
}

int runSoak(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ampero"));
    bool ok = false;
    const double seconds = argc >= 3 ? QString::fromLocal8Bit(argv[2]).toDouble(&ok) : 0;
    bool reportOk = true;
    const int reportSeconds = argc >= 4 ? QString::fromLocal8Bit(argv[3]).toInt(&reportOk) : 60;
    if (!ok || seconds <= 0 || !reportOk || reportSeconds <= 0) {
        std::fprintf(stderr, "Usage: soak_harness run SECONDS [REPORT_SECONDS]\n");
        return 2;
    }

    // As the program starts.
    ProgramWindow program;
    program.start(RecoveryJournal::DefaultPath());
    MainFrm &window = program.window;
    const ProgramState &state = program.state;

    BoxAnswerer answerer;
    app.installEventFilter(&answerer);

    QElapsedTimer wall;
    double processorAtStart = 0;
    MemoryReading atStart, atBaseline;
    std::int32_t samplesAtBaseline = 0;
    std::size_t capacityAtBaseline = 0;
    bool baselineTaken = false;
    const double baselineSeconds = seconds >= 2 * WarmUpSeconds ? WarmUpSeconds : reportSeconds;
    std::int32_t samplesAtLastReport = 0;
    std::uint64_t stalledReports = 0;
    std::uint64_t reportsNotRunning = 0;
    double processorAtLastReport = 0;
    double lastReportAt = 0;

    const AcquisitionController &acquisition = window.acquisition();
    auto report = [&] {
        const double now = double(wall.elapsed()) / 1000.0;
        const double processor = processorSeconds() - processorAtStart;
        const MemoryReading memory = readMemory();
        const CycleCounters &c = acquisition.counters();
        const std::int32_t samples = state.store.SampleCount;
        // The meter stops sending two seconds after the recording time.
        if (now <= seconds + 1) {
            if (samples == samplesAtLastReport)
                ++stalledReports;
            if (acquisition.state() != LinkState::Running)
                ++reportsNotRunning;
        }
        const double span = now - lastReportAt;
        std::printf("%8.0f %9d %9llu %8llu %5llu %7llu %9lld %9lld %10lld %9.1f %5.1f %s\n", now, int(samples),
                    static_cast<unsigned long long>(c.blocksRead), static_cast<unsigned long long>(c.resyncs),
                    static_cast<unsigned long long>(c.overflows),
                    static_cast<unsigned long long>(answerer.functionChangeQuestions), memory.rssKb, memory.peakKb,
                    memory.heapBytes / 1024, processor,
                    span > 0 ? 100.0 * (processor - processorAtLastReport) / span : 0.0,
                    stateName(acquisition.state()));
        std::fflush(stdout);
        samplesAtLastReport = samples;
        processorAtLastReport = processor;
        lastReportAt = now;
        if (!baselineTaken && now >= baselineSeconds - 0.5) {
            baselineTaken = true;
            atBaseline = memory;
            samplesAtBaseline = samples;
            capacityAtBaseline = state.store.Samples.capacity();
        }
    };

    QTimer reports;
    reports.setInterval(reportSeconds * 1000);
    QObject::connect(&reports, &QTimer::timeout, &app, report);

    // After the recording time, wait for the line to go quiet so that the
    // last frames the meter sent are taken too.
    QTimer ending;
    ending.setInterval(1000);
    std::uint64_t blocksAtLastLook = 0;
    int quietSeconds = 0;
    QObject::connect(&ending, &QTimer::timeout, &app, [&] {
        const std::uint64_t blocks = acquisition.counters().blocksRead;
        quietSeconds = blocks == blocksAtLastLook ? quietSeconds + 1 : 0;
        blocksAtLastLook = blocks;
        const double now = double(wall.elapsed()) / 1000.0;
        if (now < seconds)
            return;
        if (quietSeconds >= QuietSecondsToEnd || now >= seconds + MostSecondsAfterEnd) {
            window.Stop->click();
            answerer.closing = true;
            app.quit();
        }
    });

    QTimer::singleShot(0, &window, [&] {
        atStart = readMemory();
        processorAtStart = processorSeconds();
        wall.start();
        window.Start->click();
        std::printf("started on %s: %s\n", qPrintable(acquisition.devicePath()), stateName(acquisition.state()));
        std::printf("%8s %9s %9s %8s %5s %7s %9s %9s %10s %9s %5s %s\n", "seconds", "samples", "blocks", "resyncs",
                    "overf", "prompts", "rss_kB", "peak_kB", "heap_kB", "cpu_s", "cpu%", "state");
        std::fflush(stdout);
        reports.start();
        ending.start();
    });
    app.exec();

    const double elapsed = double(wall.elapsed()) / 1000.0;
    const double processor = processorSeconds() - processorAtStart;
    const MemoryReading atEnd = readMemory();
    const CycleCounters &c = acquisition.counters();
    const std::int32_t samples = state.store.SampleCount;
    const auto u = [](std::uint64_t v) { return static_cast<unsigned long long>(v); };
    std::printf("summary\n");
    std::printf("wall_seconds %.1f\n", elapsed);
    std::printf("samples %d\n", int(samples));
    std::printf("blocks_read %llu\n", u(c.blocksRead));
    std::printf("resyncs %llu\n", u(c.resyncs));
    std::printf("overflows %llu\n", u(c.overflows));
    std::printf("held_frames %llu\n", u(c.heldFrames));
    std::printf("repeated_memory %llu\n", u(c.repeatedMemory));
    std::printf("function_changes %llu\n", u(c.functionChanges));
    std::printf("function_change_questions %llu\n", u(answerer.functionChangeQuestions));
    std::printf("other_message_boxes %llu\n", u(answerer.otherBoxes));
    std::printf("stalled_reports %llu\n", u(stalledReports));
    std::printf("reports_not_running %llu\n", u(reportsNotRunning));
    std::printf("cpu_seconds %.1f\n", processor);
    std::printf("cpu_percent %.1f\n", elapsed > 0 ? 100.0 * processor / elapsed : 0.0);
    std::printf("rss_start_kb %lld\n", atStart.rssKb);
    std::printf("rss_end_kb %lld\n", atEnd.rssKb);
    std::printf("peak_rss_kb %lld\n", atEnd.peakKb);
    std::printf("baseline_seconds %.0f\n", baselineSeconds);
    std::printf("baseline_taken %d\n", baselineTaken ? 1 : 0);
    std::printf("samples_since_baseline %d\n", int(samples - samplesAtBaseline));
    std::printf("rss_growth_kb %lld\n", atEnd.rssKb - atBaseline.rssKb);
    std::printf("heap_growth_bytes %lld\n", atEnd.heapBytes - atBaseline.heapBytes);
    // The sample array grows by doubling: what it reserved is the memory the samples own.
    std::printf("sample_array_growth_bytes %lld\n",
                static_cast<long long>(state.store.Samples.capacity() - capacityAtBaseline) *
                    static_cast<long long>(sizeof(Sample)));
    std::printf("sample_record_bytes %d\n", int(sizeof(Sample)));
    return 0;
}

int runReplay(int argc, char *argv[])
{
    bool framesOk = false, corruptOk = false, seedOk = false;
    const qulonglong frames = argc == 5 ? QByteArray(argv[2]).toULongLong(&framesOk) : 0;
    const double corrupt = argc == 5 ? QByteArray(argv[3]).toDouble(&corruptOk) : 0;
    const uint seed = argc == 5 ? QByteArray(argv[4]).toUInt(&seedOk) : 0;
    if (!framesOk || !corruptOk || !seedOk) {
        std::fprintf(stderr, "Usage: soak_harness replay FRAMES CORRUPT_PERCENT SEED\n");
        return 2;
    }
    ScenarioSettings settings;
    settings.scenario = Scenario::Noise;
    settings.corruptPercent = corrupt;
    settings.seed = seed;
    settings.framesPerSecond = LineRate;
    const ReplayCounts counts = ReplayLine(settings, frames);
    const auto u = [](std::uint64_t v) { return static_cast<unsigned long long>(v); };
    std::printf("replay_frames %llu\n", u(counts.frames));
    std::printf("replay_intact_frames %llu\n", u(counts.intactFrames));
    std::printf("replay_intact_in_step %llu\n", u(counts.intactInStep));
    std::printf("replay_intact_recorded %llu\n", u(counts.intactRecorded));
    std::printf("replay_samples %llu\n", u(counts.cycle.samples));
    std::printf("replay_blocks_read %llu\n", u(counts.cycle.blocksRead));
    std::printf("replay_resyncs %llu\n", u(counts.cycle.resyncs));
    std::printf("replay_held_frames %llu\n", u(counts.cycle.heldFrames));
    std::printf("replay_repeated_memory %llu\n", u(counts.cycle.repeatedMemory));
    std::printf("replay_function_changes %llu\n", u(counts.cycle.functionChanges));
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    const QByteArray mode = argc >= 2 ? QByteArray(argv[1]) : QByteArray();
    if (mode == "run")
        return runSoak(argc, argv);
    if (mode == "replay")
        return runReplay(argc, argv);
    std::fprintf(stderr, "Usage: soak_harness run SECONDS [REPORT_SECONDS]\n"
                         "       soak_harness replay FRAMES CORRUPT_PERCENT SEED\n");
    return 2;
}
