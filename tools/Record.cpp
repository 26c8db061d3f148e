// amperotool record: headless logging from the meter's serial port into a
// recording file, with the same receive cycle as the main window. Meant for a
// small computer left beside the installation for weeks: each sample is
// written once as it comes (the file on disk is a complete recording at every
// moment), long recordings are split into files, limit alarms are reported,
// and a pulled adapter is waited for.

#include "Commands.h"

#include "AcquisitionController.h"
#include "AlarmCommand.h"
#include "LimitAlarm.h"
#include "OptionsFile.h"
#include "ProgramState.h"
#include "RecordDeadline.h"
#include "RecordPublishing.h"
#include "SamplePublisher.h"
#include "SampleTexts.h"
#include "SplitRecorder.h"
#include "StopSignals.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLocale>
#include <QProcess>
#include <QTimer>

#include <cmath>
#include <csignal>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <unistd.h>

namespace {

constexpr int PortMissingExitCode = 3;
constexpr int PortInUseExitCode = 4;
constexpr int OutputExitCode = 5;
constexpr int PermissionExitCode = 6;
constexpr int OtherPortFailureExitCode = 1;

constexpr int ProgressIntervalMs = 500;
// How long the last alarm commands may take once recording has ended.
constexpr int AlarmCommandFinishMs = 10000;

struct RecordOptions {
    QString port;
    QString out;
    float interval = 0;
    std::optional<double> duration;
    RecordPublishOptions publishing;
    bool keepDamaged = false;
    std::optional<double> splitEvery;
    LimitSettings limits;
    QString onAlarm;
};

} // namespace

void printRecordUsage(std::FILE *out)
{
    std::fprintf(out,
                 "Usage: amperotool record --port DEVICE --out FILE [--interval SECONDS] [--duration SECONDS]\n"
                 "                         [--split-every DURATION] [--high1 V] [--low1 V] [--high2 V] [--low2 V]\n"
                 "                         [--hysteresis V] [--on-alarm COMMAND]\n"
                 "                         [--keep-damaged] [--mqtt URL [MQTT OPTIONS]]\n"
                 "       amperotool record --config FILE [OPTIONS]\n\n"
                 "Records the meter on DEVICE (for example /dev/ttyUSB0) into the recording file FILE\n"
                 "(*.KRD) until the duration has passed, or until interrupted (Ctrl+C, SIGTERM,\n"
                 "or SIGHUP when the terminal closes; nohup keeps it running).\n"
                 "Each sample is added to FILE as it comes and reaches the disk within 2 seconds;\n"
                 "FILE holds a complete recording at every moment. A change of measurement\n"
                 "function is reported and recording goes on; a device that goes away is opened\n"
                 "again every 2 seconds. A file would count its samples wrongly beyond 16777216\n"
                 "records: recording then goes on in a new file NAME-YYYYMMDD-HHMMSS.KRD (NAME is\n"
                 "FILE without its extension, the time that of the new file's first sample).\n"
                 "A frame damaged on the line (a digit cell that is no digit, a bit the meter\n"
                 "never sets) is counted and dropped.\n\n"
                 "  --interval SECONDS      sampling interval; 0 or absent records every frame\n"
                 "  --duration SECONDS      stop after this time (default: run until interrupted)\n"
                 "  --keep-damaged          record damaged frames too, as far as they decode\n"
                 "  --split-every DURATION  a new file NAME-YYYYMMDD-HHMMSS.KRD after this time,\n"
                 "                          from the first one on; DURATION is a number with s, m,\n"
                 "                          h or d (3600s, 90m, 24h, 2d); a plain number is seconds\n"
                 "  --high1 V, --low1 V     limits of the first display; crossing one is an alarm\n"
                 "  --high2 V, --low2 V     limits of the second display\n"
                 "  --hysteresis V          a limit that fired is armed again once the value is back\n"
                 "                          past it by V (absolute, in the display's unit; default 0)\n"
                 "  --on-alarm COMMAND      run COMMAND (a program and its arguments, no shell;\n"
                 "                          \"...\" groups words) for every alarm, with\n"
                 "                          AMPERO_ALARM_DISPLAY, _LIMIT, _DIRECTION, _VALUE,\n"
                 "                          _THRESHOLD, _UNIT, _TIME, _INDEX and _FILE set;\n"
                 "                          every alarm is also a line on standard error\n"
                 "  --config FILE           take options from FILE, one a line: \"name = value\" for\n"
                 "                          --name value (the value as it stands, spaces and quotes\n"
                 "                          included), a bare \"name\" for --name, # for comments;\n"
                 "                          options on the command line come after those of FILE\n"
                 "%s\n"
                 "Samples go to the topic ampero/STATION/METER/sample as JSON, the newest also to\n"
                 "ampero/STATION/METER/last (retained), each alarm to ampero/STATION/METER/alarm,\n"
                 "and ampero/STATION/METER/status says online or offline. A broker that cannot\n"
                 "be reached or goes away never stops the recording: it is tried again, and the\n"
                 "samples and alarms it missed are sent then.\n\n"
                 "Exit codes: 0 done, 1 the device cannot be used as a serial port, 2 usage,\n"
                 "3 the device does not exist, 4 the device is in use, 5 FILE cannot be written,\n"
                 "6 no permission to open the device.\n",
                 RecordPublishUsage);
}

namespace {

int usageError(const QString &message)
{
    return ReportUsageError("record", message, printRecordUsage);
}

std::optional<float> parseLimit(const QString &text)
{
    bool ok = false;
    const float value = QLocale::c().toFloat(text, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// Returns an error text, or nothing when the limits make sense together.
std::optional<QString> checkLimits(const DisplayLimits &limits, const char *display)
{
    if (limits.high && limits.low && *limits.low >= *limits.high)
        return QStringLiteral("--low%1 must be below --high%1").arg(QLatin1String(display));
    return std::nullopt;
}

// The command line with --config FILE replaced by the options in FILE, which
// come first so that the command line has the last word; an error text when
// the file cannot be used.
std::optional<QString> expandConfig(QStringList &arguments)
{
    const qsizetype at = arguments.indexOf(QLatin1String("--config"));
    if (at < 0)
        return std::nullopt;
    if (at + 1 >= arguments.size())
        return QStringLiteral("--config needs a value");
    const OptionsFileResult file = ReadOptionsFile(arguments[at + 1]);
    if (!file.ok)
        return file.error;
    if (file.arguments.contains(QLatin1String("--config")))
        return QStringLiteral("%1 names another config file").arg(arguments[at + 1]);
    arguments.remove(at, 2);
    if (arguments.contains(QLatin1String("--config")))
        return QStringLiteral("--config is given twice");
    arguments = file.arguments + arguments;
    return std::nullopt;
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
        } else if (name == QLatin1String("--split-every")) {
            options.splitEvery = ParseDuration(value);
            if (!options.splitEvery)
                return QStringLiteral("--split-every needs a duration above 0 such as 24h, 90m, 3600s or 2d: '%1'")
                    .arg(value);
        } else if (std::optional<float> *limit = name == QLatin1String("--high1")   ? &options.limits.first.high
                                                 : name == QLatin1String("--low1")  ? &options.limits.first.low
                                                 : name == QLatin1String("--high2") ? &options.limits.second.high
                                                 : name == QLatin1String("--low2")  ? &options.limits.second.low
                                                                                    : nullptr) {
            *limit = parseLimit(value);
            if (!*limit)
                return QStringLiteral("%1 needs a number: '%2'").arg(name, value);
        } else if (name == QLatin1String("--hysteresis")) {
            const std::optional<double> hysteresis = ParseSecondsArgument(value);
            if (!hysteresis)
                return QStringLiteral("--hysteresis needs a number, 0 or more: '%1'").arg(value);
            options.limits.hysteresis = float(*hysteresis);
        } else if (name == QLatin1String("--on-alarm")) {
            options.onAlarm = value;
            if (QProcess::splitCommand(value).isEmpty())
                return QStringLiteral("--on-alarm needs a command");
        } else if (!TakeRecordPublishOption(name, value, options.publishing)) {
            return QStringLiteral("unknown option '%1'").arg(name);
        }
    }
    if (options.port.isEmpty())
        return QStringLiteral("--port is missing");
    if (options.out.isEmpty())
        return QStringLiteral("--out is missing");
    if (std::optional<QString> error = checkLimits(options.limits.first, "1"))
        return error;
    if (std::optional<QString> error = checkLimits(options.limits.second, "2"))
        return error;
    if (!options.onAlarm.isEmpty() && !options.limits.any())
        return QStringLiteral("--on-alarm needs at least one limit (--high1, --low1, --high2, --low2)");
    return std::nullopt;
}

// Without a window: the display is not shown, the question about a new file
// is answered No with a note on standard error, and a new sample goes to the
// files and the alarms.
class HeadlessView : public AcquisitionView {
public:
    explicit HeadlessView(ProgramState &state) : state_(state) {}

    void showHoldSymbol(bool) override {}
    void showDisplay(const DecodedFrame &frame) override { lastReading_ = frame.first; }
    bool askCreateNewFile() override
    {
        const SampleStore &store = state_.store;
        const std::string before = FirstUnitName(store.sample(store.SampleCount).FirstUnit);
        std::fprintf(stderr,
                     "%samperotool record: the measurement function changed (unit '%s' to '%s'); "
                     "recording goes on in the same file\n",
                     progressShown ? "\n" : "", before.c_str(), lastReading_.Unit.c_str());
        return false;
    }
    // Only after a Yes, which is never given here.
    void runNewCommand() override {}
    void followLatestSample() override
    {
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
    QStringList effective = arguments;
    if (const std::optional<QString> error = expandConfig(effective))
        return usageError(*error);
    RecordOptions options;
    if (const std::optional<QString> error = parseOptions(effective, options))
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
    AcquisitionController controller(state.store, state.acquisition, view, clock);

    // A closed terminal ends the recording like Ctrl+C: the last samples
    // reach the disk. Under nohup the hang-up stays ignored.
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

    // The broker only ever hears of samples; it never holds up the recording.
    SamplePublisher publisher;
    if (publishing.settings) {
        publisher.configure(*publishing.settings, state.store);
        QObject::connect(&publisher, &SamplePublisher::stateChanged, [&](PublisherState, const QString &text) {
            std::fprintf(stderr, "%samperotool record: %s\n", view.progressShown ? "\n" : "", qPrintable(text));
        });
        publisher.start();
    }

    // The first file at once: a file that cannot be written is known now.
    SplitSettings split;
    split.out = options.out;
    split.splitEvery = options.splitEvery;
    SplitRecorder recorder(state.store, split);
    QObject::connect(&recorder, &SplitRecorder::problemChanged, [&](const QString &problem) {
        if (!problem.isEmpty())
            std::fprintf(stderr, "%samperotool record: %s\n", view.progressShown ? "\n" : "", qPrintable(problem));
    });
    int files = 0;
    QObject::connect(&recorder, &SplitRecorder::fileStarted, [&](const QString &path, SplitReason reason) {
        ++files;
        const char *lead = view.progressShown ? "\n" : "";
        if (reason == SplitReason::RecordLimit)
            std::fprintf(stderr, "%samperotool record: the file is full (%lld records); recording goes on in %s\n",
                         lead, static_cast<long long>(split.recordLimit), qPrintable(path));
        else if (reason == SplitReason::Interval)
            std::fprintf(stderr, "%samperotool record: recording goes on in %s\n", lead, qPrintable(path));
        // Each file counts its samples from 1: the broker's sequence starts again with it.
        if (publishing.settings && reason != SplitReason::First) {
            publisher.stop();
            publisher.start();
        }
    });
    if (!recorder.start()) {
        controller.stop();
        return OutputExitCode;
    }
    if (options.splitEvery)
        std::fprintf(stderr, "amperotool record: recording %s into files %s-YYYYMMDD-HHMMSS.KRD\n",
                     qPrintable(options.port), qPrintable(SplitRecorder::SeriesStem(options.out)));
    else
        std::fprintf(stderr, "amperotool record: recording %s into %s\n", qPrintable(options.port),
                     qPrintable(options.out));

    LimitAlarm alarm(options.limits);
    std::unique_ptr<AlarmCommand> alarmCommand;
    if (!options.onAlarm.isEmpty()) {
        alarmCommand = std::make_unique<AlarmCommand>(options.onAlarm);
        QObject::connect(alarmCommand.get(), &AlarmCommand::problem, [&](const QString &text) {
            std::fprintf(stderr, "%samperotool record: %s\n", view.progressShown ? "\n" : "", qPrintable(text));
        });
    }
    view.sampleAppended = [&] {
        recorder.sampleAppended();
        const std::int32_t index = state.store.SampleCount;
        for (const LimitEvent &event : alarm.sampleAppended(state.store.sample(index), index)) {
            std::fprintf(stderr, "%samperotool record: alarm: %s\n", view.progressShown ? "\n" : "",
                         LimitEventText(event).c_str());
            if (alarmCommand) {
                alarmCommand->setRecordingFile(recorder.path());
                alarmCommand->run(event);
            }
            // Before the sample: the broker gets its events with it.
            if (publishing.settings)
                publisher.publishAlarm(event);
        }
        if (publishing.settings)
            publisher.publish(index);
    };

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
            std::fprintf(stderr, "\r%s  %llu samples  %llu frames  %llu damaged %s  %s %s%s   ",
                         qPrintable(elapsedText(running.elapsed())), static_cast<unsigned long long>(counters.samples),
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
    const bool saved = recorder.finish();
    if (alarmCommand && !alarmCommand->finish(AlarmCommandFinishMs))
        std::fprintf(stderr, "amperotool record: the alarm command did not finish in %d s and is stopped\n",
                     AlarmCommandFinishMs / 1000);
    if (!saved)
        return OutputExitCode;
    // The file first: what is still on its way to the broker gets a moment after it.
    view.sampleAppended = nullptr;
    publisher.stop();
    const unsigned long long samples = controller.counters().samples;
    const unsigned long long damaged = controller.counters().damagedFrames;
    if (files > 1)
        std::fprintf(stderr, "amperotool record: %llu samples in %d files, the last %s; %llu damaged frames %s\n",
                     samples, files, qPrintable(recorder.path()), damaged, damagedFate);
    else if (!recorder.path().isEmpty())
        std::fprintf(stderr, "amperotool record: %llu samples in %s; %llu damaged frames %s\n", samples,
                     qPrintable(recorder.path()), damaged, damagedFate);
    else
        std::fprintf(stderr, "amperotool record: no samples; no file written; %llu damaged frames %s\n", damaged,
                     damagedFate);
    return 0;
}
