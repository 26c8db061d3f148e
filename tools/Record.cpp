// amperotool record: headless logging from the meter's serial port into a
// recording file, with the same receive cycle as the main window. Meant for a
// small computer left beside the installation: the file on disk is a complete
// recording at every moment, and a pulled adapter is waited for.

#include "Commands.h"

#include "AcquisitionController.h"
#include "ProgramState.h"
#include "RecordDeadline.h"
#include "RecordFile.h"
#include "RecordPublishing.h"
#include "SamplePublisher.h"
#include "SampleTexts.h"
#include "StopSignals.h"
#include "TrendView.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <functional>
#include <optional>
#include <unistd.h>

namespace {

constexpr int PortMissingExitCode = 3;
constexpr int PortInUseExitCode = 4;
constexpr int OutputExitCode = 5;
constexpr int PermissionExitCode = 6;
constexpr int OtherPortFailureExitCode = 1;

// The file is never older than this while samples come in.
constexpr int SaveIntervalMs = 5000;
constexpr int ProgressIntervalMs = 500;

struct RecordOptions {
    QString port;
    QString out;
    float interval = 0;
    std::optional<double> duration;
    RecordPublishOptions publishing;
    bool keepDamaged = false;
};

} // namespace

void printRecordUsage(std::FILE *out)
{
    std::fprintf(out,
                 "Usage: amperotool record --port DEVICE --out FILE [--interval SECONDS] [--duration SECONDS]\n"
                 "                         [--keep-damaged] [--mqtt URL [MQTT OPTIONS]]\n\n"
                 "Records the meter on DEVICE (for example /dev/ttyUSB0) into the recording file FILE\n"
                 "(*.KRD) until the duration has passed, or until interrupted (Ctrl+C, SIGTERM,\n"
                 "or SIGHUP when the terminal closes; nohup keeps it running).\n"
                 "FILE is rewritten safely at least every 5 seconds and holds a complete recording\n"
                 "at every moment. A change of measurement function is reported and recording\n"
                 "goes on; a device that goes away is opened again every 2 seconds. A frame\n"
                 "damaged on the line (a digit cell that is no digit, a bit the meter never\n"
                 "sets) is counted and dropped.\n\n"
                 "  --interval SECONDS  sampling interval; 0 or absent records every frame\n"
                 "  --duration SECONDS  stop after this time (default: run until interrupted)\n"
                 "  --keep-damaged      record damaged frames too, as far as they decode\n"
                 "%s\n"
                 "Samples go to the topic ampero/STATION/METER/sample as JSON, the newest also to\n"
                 "ampero/STATION/METER/last (retained), and ampero/STATION/METER/status says\n"
                 "online or offline. A broker that cannot be reached or goes away never stops\n"
                 "the recording: it is tried again, and the samples it missed are sent then.\n\n"
                 "Exit codes: 0 done, 1 the device cannot be used as a serial port, 2 usage,\n"
                 "3 the device does not exist, 4 the device is in use, 5 FILE cannot be written,\n"
                 "6 no permission to open the device.\n",
                 RecordPublishUsage);
}

namespace {

int usageError(const QString &message)
{
    std::fprintf(stderr, "amperotool record: %s\n\n", qPrintable(message));
    printRecordUsage(stderr);
    return UsageExitCode;
}

// Returns an error text, or nothing when the arguments are fine.
std::optional<QString> parseOptions(const QStringList &arguments, RecordOptions &options)
{
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &name = arguments[i];
        if (TakeRecordPublishFlag(name, options.publishing))
            continue;
        if (name == QLatin1String("--keep-damaged")) {
            options.keepDamaged = true;
            continue;
        }
        if (i + 1 >= arguments.size())
            return QStringLiteral("%1 needs a value").arg(name);
        const QString value = arguments[++i];
        if (name == QLatin1String("--port")) {
            options.port = value;
        } else if (name == QLatin1String("--out")) {
            options.out = value;
        } else if (name == QLatin1String("--interval")) {
            const std::optional<double> seconds = ParseSecondsArgument(value);
            if (!seconds)
                return QStringLiteral("--interval needs a number of seconds, 0 or more: '%1'").arg(value);
            options.interval = float(*seconds);
        } else if (name == QLatin1String("--duration")) {
            options.duration = ParseDurationArgument(value);
            if (!options.duration)
                return QStringLiteral("--duration needs a number of seconds above 0: '%1'").arg(value);
        } else if (!TakeRecordPublishOption(name, value, options.publishing)) {
            return QStringLiteral("unknown option '%1'").arg(name);
        }
    }
    if (options.port.isEmpty())
        return QStringLiteral("--port is missing");
    if (options.out.isEmpty())
        return QStringLiteral("--out is missing");
    return std::nullopt;
}

// Without a window: the display is not shown, the question about a new file
// is answered No with a note on standard error, and the statistics record is
// kept up to date for the file.
class HeadlessView : public AcquisitionView {
public:
    explicit HeadlessView(ProgramState &state) : state_(state) {}

    void showHoldSymbol(bool) override {}
    void showDisplay(const DecodedFrame &frame) override { lastReading_ = frame.first; }
    bool askCreateNewFile() override
    {
        const SampleStore &store = state_.store;
        const std::string before = FirstUnitName(store.sample(store.SampleCount).FirstUnit);
        std::fprintf(stderr, "%samperotool record: the measurement function changed (unit '%s' to '%s'); "
                             "recording goes on in the same file\n",
                     progressShown ? "\n" : "", before.c_str(), lastReading_.Unit.c_str());
        return false;
    }
    // Only after a Yes, which is never given here.
    void runNewCommand() override {}
    void followLatestSample() override
    {
        UpdateStatisticsRecord(state_.store);
        if (sampleAppended)
            sampleAppended();
    }

    const Reading &lastReading() const { return lastReading_; }
    bool progressShown = false;
    std::function<void()> sampleAppended;

private:
    ProgramState &state_;
    Reading lastReading_;
};

int openFailureExit(OpenFailure failure, const QString &device, const QString &detail)
{
    switch (failure) {
    case OpenFailure::DoesNotExist:
        std::fprintf(stderr, "amperotool record: the serial port %s does not exist\n", qPrintable(device));
        return PortMissingExitCode;
    case OpenFailure::InUse:
        std::fprintf(stderr, "amperotool record: the serial port %s is in use by another program\n",
                     qPrintable(device));
        return PortInUseExitCode;
    case OpenFailure::PermissionDenied:
        std::fprintf(stderr, "amperotool record: %s\n", qPrintable(PermissionDeniedMessage(device)));
        return PermissionExitCode;
    case OpenFailure::Other:
    case OpenFailure::None:
        break;
    }
    std::fprintf(stderr, "amperotool record: %s cannot be used as a serial port: %s\n", qPrintable(device),
                 qPrintable(detail));
    return OtherPortFailureExitCode;
}

QString elapsedText(qint64 milliseconds)
{
    const qint64 seconds = milliseconds / 1000;
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600)
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

int runRecord(const QStringList &arguments)
{
    RecordOptions options;
    if (const std::optional<QString> error = parseOptions(arguments, options))
        return usageError(*error);
    const RecordPublishSetup publishing = MakeRecordPublishSettings(options.publishing, options.port);
    if (publishing.error)
        return usageError(*publishing.error);

    ProgramState state;
    ResetRecording(state.store, state.acquisition);
    state.store.InterValue = options.interval;
    state.store.AutoInterval = options.interval == 0;
    state.store.RecomputeSampleInterval();
    state.acquisition.DiscardDamagedFrames = !options.keepDamaged;
    const char *const damagedFate = options.keepDamaged ? "kept" : "dropped";

    ProgramClock clock;
    HeadlessView view(state);
    AcquisitionController controller(state, view, clock);

    // A closed terminal ends the recording like Ctrl+C: the last samples are
    // saved, and a save is never cut off halfway (on file systems without
    // unnamed temporary files that would leave a partial file beside the
    // output). Under nohup the hang-up stays ignored.
    StopSignals stopSignals;
    if (!stopSignals.isActive()) {
        std::fprintf(stderr, "amperotool record: cannot catch SIGINT, SIGTERM and SIGHUP\n");
        return 1;
    }
    // Messages to a reader that went away (a pipe into a closed pager) fail
    // quietly instead of ending the recording before its last save.
    std::signal(SIGPIPE, SIG_IGN);
    const OpenFailure failure = controller.start(options.port);
    if (failure != OpenFailure::None)
        return openFailureExit(failure, options.port, controller.errorText());

    // An empty recording first: a file that cannot be written is known at once.
    auto save = [&]() -> bool {
        const RecordFileResult result = WriteRecordFile(options.out, state.store);
        if (!result.ok) {
            std::fprintf(stderr, "%samperotool record: cannot write %s: %s\n", view.progressShown ? "\n" : "",
                         qPrintable(options.out), qPrintable(result.error));
            return false;
        }
        state.acquisition.Modified = false;
        return true;
    };
    if (!save()) {
        controller.stop();
        return OutputExitCode;
    }
    std::fprintf(stderr, "amperotool record: recording %s into %s\n", qPrintable(options.port),
                 qPrintable(options.out));

    // The broker only ever hears of samples; it never holds up the recording.
    SamplePublisher publisher;
    if (publishing.settings) {
        publisher.configure(*publishing.settings, state.store);
        QObject::connect(&publisher, &SamplePublisher::stateChanged, [&](PublisherState, const QString &text) {
            std::fprintf(stderr, "%samperotool record: %s\n", view.progressShown ? "\n" : "", qPrintable(text));
        });
        view.sampleAppended = [&] { publisher.publish(state.store.SampleCount); };
        publisher.start();
    }

    QEventLoop loop;
    QElapsedTimer running;
    running.start();
    QObject::connect(&stopSignals, &StopSignals::stopRequested, &loop, &QEventLoop::quit);
    std::optional<RecordDeadline> deadline;
    QTimer deadlineTimer;
    if (options.duration) {
        deadline.emplace(*options.duration, [&running] { return std::int64_t(running.elapsed()); });
        // A coarse timer may be off by 5 % of its interval, minutes on a long step.
        deadlineTimer.setTimerType(Qt::PreciseTimer);
        deadlineTimer.setSingleShot(true);
        QObject::connect(&deadlineTimer, &QTimer::timeout, [&] {
            if (deadline->reached())
                loop.quit();
            else
                deadlineTimer.start(deadline->nextWaitMs());
        });
        deadlineTimer.start(deadline->nextWaitMs());
    }

    QTimer saveTimer;
    QObject::connect(&saveTimer, &QTimer::timeout, [&] {
        if (state.acquisition.Modified)
            save();
    });
    saveTimer.start(SaveIntervalMs);

    QObject::connect(&controller, &AcquisitionController::stateChanged, [&](LinkState linkState) {
        const char *lead = view.progressShown ? "\n" : "";
        if (linkState == LinkState::Reconnecting)
            std::fprintf(stderr, "%samperotool record: %s went away; trying again every %d s\n", lead,
                         qPrintable(options.port), AcquisitionController::ReconnectIntervalMs / 1000);
        else if (linkState == LinkState::Running)
            std::fprintf(stderr, "%samperotool record: %s is back; recording goes on\n", lead,
                         qPrintable(options.port));
    });

    QTimer progress;
    if (::isatty(STDERR_FILENO)) {
        QObject::connect(&progress, &QTimer::timeout, [&] {
            const CycleCounters &counters = controller.counters();
            const Reading &reading = view.lastReading();
            std::fprintf(stderr, "\r%s  %d samples  %llu frames  %llu damaged %s  %s %s%s   ",
                         qPrintable(elapsedText(running.elapsed())), int(state.store.SampleCount),
                         static_cast<unsigned long long>(counters.blocksRead),
                         static_cast<unsigned long long>(counters.damagedFrames), damagedFate,
                         QString::fromStdString(reading.Text).trimmed().toLocal8Bit().constData(), reading.Unit.c_str(),
                         controller.state() == LinkState::Reconnecting ? "  (reconnecting)" : "");
            std::fflush(stderr);
            view.progressShown = true;
        });
        progress.start(ProgressIntervalMs);
    }

    loop.exec();
    progress.stop();
    controller.stop();
    if (view.progressShown)
        std::fprintf(stderr, "\n");
    const bool saved = save();
    // The file first: what is still on its way to the broker gets a moment after it.
    view.sampleAppended = nullptr;
    publisher.stop();
    if (!saved)
        return OutputExitCode;
    std::fprintf(stderr, "amperotool record: %d samples in %s; %llu damaged frames %s\n",
                 int(state.store.SampleCount), qPrintable(options.out),
                 static_cast<unsigned long long>(controller.counters().damagedFrames), damagedFate);
    return 0;
}
