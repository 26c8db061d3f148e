// `amperotool record` as a user runs it, against a pseudo-terminal meter.

#include "Frames.h"
#include "NoisyLine.h"
#include "PtyFeeder.h"
#include "RecordDeadline.h"
#include "RecordFile.h"
#include "SerialLink.h"
#include "ToolProcess.h"
#include "Wait.h"

#include <gtest/gtest.h>

#include <grp.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <algorithm>
#include <climits>
#include <csignal>
#include <cstdint>
#include <optional>
#include <unistd.h>

namespace {

const QString Tool = ToolPath();

class RecordToolTest : public ::testing::Test, protected RecordingTool {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString path(const QString &name) const { return dir.filePath(name); }

    // Nothing but the named files: no temporary file was left behind.
    void expectOnlyFiles(const QStringList &names)
    {
        QStringList present = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks);
        present.sort();
        QStringList expected = names;
        expected.sort();
        EXPECT_EQ(present, expected);
    }

    QTemporaryDir dir;
};

int runTool(const QStringList &arguments, QString *errorText = nullptr)
{
    QProcess tool;
    tool.start(Tool, QStringList{QStringLiteral("record")} + arguments);
    if (!tool.waitForFinished(20000))
        return -1;
    if (errorText)
        *errorText = QString::fromLocal8Bit(tool.readAllStandardError());
    return tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -2;
}

} // namespace

TEST_F(RecordToolTest, CommandLinesItDoesNotUnderstandAreUsageErrors)
{
    const QString out = path(QStringLiteral("out.krd"));
    const QString port = path(QStringLiteral("meter"));
    const QString portOption = QStringLiteral("--port"), outOption = QStringLiteral("--out");
    const QList<QStringList> rows = {
        {},
        {portOption, port},
        {outOption, out},
        {portOption},
        {portOption, port, outOption, out, QStringLiteral("--interval"), QStringLiteral("abc")},
        {portOption, port, outOption, out, QStringLiteral("--interval"), QStringLiteral("-1")},
        {portOption, port, outOption, out, QStringLiteral("--duration"), QStringLiteral("0")},
        {portOption, port, outOption, out, QStringLiteral("--speed"), QStringLiteral("9600")},
    };
    for (const QStringList &row : rows) {
        QString text;
        EXPECT_EQ(runTool(row, &text), 2) << qPrintable(row.join(QLatin1Char(' ')));
        EXPECT_TRUE(text.contains(QLatin1String("Usage: amperotool record"))) << qPrintable(text);
    }
    expectOnlyFiles({});
}

TEST_F(RecordToolTest, ADurationThatIsNoPositiveNumberIsAUsageError)
{
    const QString out = path(QStringLiteral("out.krd"));
    const QString port = path(QStringLiteral("meter"));
    for (const char *duration : {"nan", "NaN", "inf", "-inf", "0", "-1", "abc", "1e400", ""}) {
        QString text;
        EXPECT_EQ(runTool({QStringLiteral("--port"), port, QStringLiteral("--out"), out, QStringLiteral("--duration"),
                           QLatin1String(duration)},
                          &text),
                  2)
            << duration;
        EXPECT_TRUE(text.contains(
            QStringLiteral("--duration needs a number of seconds above 0: '%1'").arg(QLatin1String(duration))))
            << duration << ": " << qPrintable(text);
    }
    expectOnlyFiles({});
}

TEST(RecordArguments, SecondsAreFiniteAndDurationsAboveZero)
{
    struct Row {
        const char *text;
        std::optional<double> seconds;
        std::optional<double> duration;
    };
    const Row rows[] = {
        {"2.5", 2.5, 2.5},
        {"2200000", 2200000.0, 2200000.0},
        {"4294970.296", 4294970.296, 4294970.296},
        {"1e20", 1e20, 1e20},
        {"0", 0.0, std::nullopt},
        {"-1", std::nullopt, std::nullopt},
        {"nan", std::nullopt, std::nullopt},
        {"inf", std::nullopt, std::nullopt},
        {"1e400", std::nullopt, std::nullopt},
        {"abc", std::nullopt, std::nullopt},
        {"", std::nullopt, std::nullopt},
    };
    for (const Row &row : rows) {
        EXPECT_EQ(ParseSecondsArgument(QLatin1String(row.text)), row.seconds) << row.text;
        EXPECT_EQ(ParseDurationArgument(QLatin1String(row.text)), row.duration) << row.text;
    }
}

TEST(RecordDeadline, EndsOnTimeHoweverLongTheDuration)
{
    struct Row {
        const char *name;
        double seconds;
        std::int64_t durationMs;
    };
    const Row rows[] = {
        {"short", 2.5, 2500},
        {"beyond the 24.8 days a timer takes", 2200000, 2200000000},
        {"2^32 ms and 3 s", 4294970.296, 4294970296},
        {"ten years", 10 * 365 * 86400.0, std::int64_t(10) * 365 * 86400 * 1000},
    };
    for (const Row &row : rows) {
        const std::int64_t start = 123456;
        std::int64_t now = start;
        const RecordDeadline deadline(row.seconds, [&now] { return now; });
        // The clock moves on by each wait the timer is given, as the event loop would.
        std::int64_t waits = 0;
        while (!deadline.reached() && waits < 1000000) {
            const int wait = deadline.nextWaitMs();
            ASSERT_GT(wait, 0) << row.name << " at " << now - start;
            ASSERT_LE(wait, RecordDeadline::LongestWaitMs) << row.name;
            now += wait;
            ++waits;
        }
        EXPECT_EQ(now - start, row.durationMs) << row.name;
        EXPECT_EQ(deadline.nextWaitMs(), 0) << row.name;
        now = start + row.durationMs - 1;
        EXPECT_FALSE(deadline.reached()) << row.name << ", a millisecond before the end";
        EXPECT_EQ(deadline.nextWaitMs(), 1) << row.name;
    }
}

TEST(RecordDeadline, ADurationBeyondTheClockNeverEnds)
{
    std::int64_t now = 0;
    const RecordDeadline deadline(1e20, [&now] { return now; });
    for (std::int64_t at : {std::int64_t(0), std::int64_t(3000), std::int64_t(INT_MAX) + 1, INT64_MAX / 2}) {
        now = at;
        EXPECT_FALSE(deadline.reached()) << at;
        EXPECT_EQ(deadline.nextWaitMs(), RecordDeadline::LongestWaitMs) << at;
    }
}

TEST_F(RecordToolTest, PortFailuresHaveTheirOwnExitCodesAndWriteNothing)
{
    PtyFeeder busy(path(QStringLiteral("busy")));
    ASSERT_TRUE(busy.isValid());
    SerialLink holder;
    ASSERT_EQ(holder.open(busy.linkPath()), OpenFailure::None);
    const QString out = path(QStringLiteral("out.krd"));

    struct Row {
        const char *name;
        QString port;
        int exitCode;
        const char *says;
    };
    const Row rows[] = {
        {"missing device", path(QStringLiteral("ttyUSB7")), 3, "does not exist"},
        {"device in use", busy.linkPath(), 4, "in use"},
        {"no serial port", QStringLiteral("/dev/null"), 1, "cannot be used as a serial port"},
    };
    for (const Row &row : rows) {
        QString text;
        EXPECT_EQ(runTool({QStringLiteral("--port"), row.port, QStringLiteral("--out"), out}, &text), row.exitCode)
            << row.name;
        EXPECT_TRUE(text.contains(QLatin1String(row.says))) << row.name << ": " << qPrintable(text);
        EXPECT_TRUE(text.contains(row.port)) << row.name << ": the message names the device";
        EXPECT_FALSE(QFile::exists(out)) << row.name;
    }
}

TEST_F(RecordToolTest, AnOutputThatCannotBeWrittenIsExitCode5)
{
    PtyFeeder pty(path(QStringLiteral("meter")));
    const QString out = path(QStringLiteral("no-such-folder/out.krd"));
    QString text;
    EXPECT_EQ(runTool({QStringLiteral("--port"), pty.linkPath(), QStringLiteral("--out"), out}, &text), 5);
    EXPECT_TRUE(text.contains(out)) << qPrintable(text);
    SerialLink after;
    EXPECT_EQ(after.open(pty.linkPath()), OpenFailure::None) << "the port was let go";
}

// Root may open any device: the user without rights is played by nobody.
TEST_F(RecordToolTest, NoPermissionOnTheDeviceIsExitCode6)
{
    if (::geteuid() != 0 || !QFileInfo::exists(QStringLiteral("/usr/sbin/runuser")))
        GTEST_SKIP() << "needs root and runuser to act as another user";
    QProcess probe;
    probe.start(QStringLiteral("/usr/sbin/runuser"),
                {QStringLiteral("-u"), QStringLiteral("nobody"), QStringLiteral("--"), Tool, QStringLiteral("--help")});
    if (!probe.waitForFinished(10000) || probe.exitCode() != 0)
        GTEST_SKIP() << "nobody cannot run the tool from this build folder";

    PtyFeeder pty(path(QStringLiteral("meter")));
    // Open to a group nobody is not in: the message names that group.
    const group *users = ::getgrnam("users");
    if (!users)
        GTEST_SKIP() << "no group users to give the terminal to";
    ASSERT_EQ(::chown(QFile::encodeName(pty.slavePath()).constData(), uid_t(-1), users->gr_gid), 0);
    ASSERT_TRUE(QFile::setPermissions(pty.slavePath(),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::WriteGroup));
    QProcess tool;
    tool.start(QStringLiteral("/usr/sbin/runuser"),
               {QStringLiteral("-u"), QStringLiteral("nobody"), QStringLiteral("--"), Tool, QStringLiteral("record"),
                QStringLiteral("--port"), pty.slavePath(), QStringLiteral("--out"), QStringLiteral("/tmp/never.krd")});
    ASSERT_TRUE(tool.waitForFinished(20000));
    const QString text = QString::fromLocal8Bit(tool.readAllStandardError());
    EXPECT_EQ(tool.exitCode(), 6) << qPrintable(text);
    EXPECT_TRUE(text.contains(pty.slavePath())) << qPrintable(text);
    EXPECT_TRUE(text.contains(QLatin1String("usermod -aG users"))) << qPrintable(text);
}

TEST_F(RecordToolTest, RecordsEveryFrameUntilTheDurationHasPassed)
{
    PtyFeeder pty(path(QStringLiteral("meter")));
    const QString out = path(QStringLiteral("run.krd"));
    ASSERT_TRUE(startRecording({QStringLiteral("--port"), pty.linkPath(), QStringLiteral("--out"), out,
                                QStringLiteral("--duration"), QStringLiteral("2.5")}));
    EXPECT_EQ(ReadRecording(out).size(), 1u) << "an empty recording is there from the start";
    const std::vector<std::string> values = {"0003", "0001", "0007", "0004", "07.00", "0002"};
    // Each frame once the one before is a sample in the file.
    for (std::size_t i = 0; i < values.size(); ++i) {
        ASSERT_TRUE(pty.write(ReadingFrame(values[i])));
        ASSERT_TRUE(WaitUntil([&] { return QFileInfo(out).size() == qint64(32 * (i + 2)); }, 10000)) << i;
    }
    ASSERT_TRUE(finish(10000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0) << qPrintable(stderrText());

    const std::vector<Sample> records = ReadRecording(out);
    ASSERT_EQ(records.size(), values.size() + 1);
    EXPECT_EQ(QFileInfo(out).size(), qint64(32 * records.size()));
    for (std::size_t i = 0; i < values.size(); ++i)
        EXPECT_FLOAT_EQ(records[i + 1].FirstValue, std::stof(values[i])) << i;
    // The statistics record: the first of the two 7s is the maximum.
    EXPECT_FLOAT_EQ(StatisticsRecord::maxIndex(records[0]), 3.0f);
    EXPECT_FLOAT_EQ(StatisticsRecord::minIndex(records[0]), 2.0f);
    EXPECT_NEAR(StatisticsRecord::mean(records[0]), 24.0f / 6.0f, 1e-5);
    expectOnlyFiles({QStringLiteral("run.krd")});
}

TEST_F(RecordToolTest, TheFileIsKeptUpToDateAndSigtermLeavesItComplete)
{
    PtyFeeder pty(path(QStringLiteral("meter")));
    const QString out = path(QStringLiteral("long.krd"));
    ASSERT_TRUE(startRecording({QStringLiteral("--port"), pty.linkPath(), QStringLiteral("--out"), out}));
    for (int i = 1; i <= 4; ++i)
        ASSERT_TRUE(pty.write(ReadingFrame("000" + std::to_string(i))));
    // Within one saving period the file on disk catches up while recording goes on.
    ASSERT_TRUE(WaitUntil([&] { return QFileInfo(out).size() == 5 * 32; }, 7000));
    EXPECT_EQ(process.state(), QProcess::Running);

    ASSERT_TRUE(pty.write(ReadingFrame("0005")));
    ASSERT_TRUE(WaitUntil([&] { return QFileInfo(out).size() == 6 * 32; }, 10000));
    ::kill(pid_t(process.processId()), SIGTERM);
    ASSERT_TRUE(finish(10000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0) << qPrintable(stderrText());
    const std::vector<Sample> records = ReadRecording(out);
    ASSERT_EQ(records.size(), 6u);
    EXPECT_FLOAT_EQ(records[5].FirstValue, 5.0f);
    expectOnlyFiles({QStringLiteral("long.krd")});
}

TEST_F(RecordToolTest, ADurationBeyondTheTimersRangeKeepsRecording)
{
    // These once stopped at once (1e20) or after 1 s (2^32 ms and 1 s).
    for (const char *duration : {"4294968.296", "1e20"}) {
        PtyFeeder pty(path(QStringLiteral("meter")));
        const QString out = path(QStringLiteral("years.krd"));
        errors.clear();
        QElapsedTimer sinceStart;
        sinceStart.start();
        ASSERT_TRUE(startRecording({QStringLiteral("--port"), pty.linkPath(), QStringLiteral("--out"), out,
                                    QStringLiteral("--duration"), QLatin1String(duration)}))
            << duration;
        ASSERT_TRUE(pty.write(ReadingFrame("0001")));
        ASSERT_TRUE(WaitUntil([&] { return QFileInfo(out).size() == 2 * 32; }, 10000)) << duration;
        // Time is what is tested: the wrapped duration would have ended the recording by now.
        RunEventsFor(int(std::max<qint64>(0, 2000 - sinceStart.elapsed())));
        EXPECT_EQ(process.state(), QProcess::Running) << duration << ": " << qPrintable(stderrText());
        ::kill(pid_t(process.processId()), SIGTERM);
        ASSERT_TRUE(finish(10000)) << duration;
        EXPECT_EQ(process.exitCode(), 0) << duration << ": " << qPrintable(stderrText());
        ASSERT_TRUE(QFile::remove(out));
    }
}

TEST_F(RecordToolTest, WithAnIntervalFramesAreAveraged)
{
    PtyFeeder pty(path(QStringLiteral("meter")));
    const QString out = path(QStringLiteral("mean.krd"));
    ASSERT_TRUE(startRecording({QStringLiteral("--port"), pty.linkPath(), QStringLiteral("--out"), out,
                                QStringLiteral("--interval"), QStringLiteral("1"), QStringLiteral("--duration"),
                                QStringLiteral("3.2")}));
    // Alternating 10 and 20 every 0.1 s: every mean of an interval lies between.
    for (int i = 0; i < 28; ++i) {
        ASSERT_TRUE(pty.write(ReadingFrame(i % 2 ? "0020" : "0010")));
        RunEventsFor(100); // the meter's pace: how time groups the frames is what is tested
    }
    ASSERT_TRUE(finish(10000));
    EXPECT_EQ(process.exitCode(), 0) << qPrintable(stderrText());
    const std::vector<Sample> records = ReadRecording(out);
    // Frames for 2.8 s from the first one: two full intervals, fewer on a slow machine.
    ASSERT_GE(records.size(), 2u);
    ASSERT_LE(records.size(), 3u);
    for (std::size_t i = 1; i < records.size(); ++i) {
        EXPECT_GT(records[i].FirstValue, 12.0f) << i;
        EXPECT_LT(records[i].FirstValue, 18.0f) << i;
        if (i > 1) {
            EXPECT_GE(records[i].Seconds - records[i - 1].Seconds, 1.0f) << i;
        }
    }
}

TEST_F(RecordToolTest, AChangeOfFunctionIsReportedAndRecordingGoesOn)
{
    PtyFeeder pty(path(QStringLiteral("meter")));
    const QString out = path(QStringLiteral("change.krd"));
    ASSERT_TRUE(startRecording({QStringLiteral("--port"), pty.linkPath(), QStringLiteral("--out"), out,
                                QStringLiteral("--duration"), QStringLiteral("2")}));
    // The first frame in volts may be damage and is dropped; the second asks,
    // with the port closed. Each frame goes once the one before is a sample
    // in the file, so none comes while the port is closed.
    const struct {
        std::uint8_t unit;
        int samples; // in the file after the frame
    } frames[] = {{0x08, 1}, {0x08, 2}, {0x08, 3}, {0x04, 3}, {0x04, 4}, {0x04, 5}};
    for (const auto &frame : frames) {
        ASSERT_TRUE(pty.write(ReadingFrame("0012", frame.unit)));
        ASSERT_TRUE(WaitUntil([&] { return QFileInfo(out).size() == 32 * (frame.samples + 1); }, 10000))
            << frame.samples;
    }
    ASSERT_TRUE(finish(10000));
    EXPECT_EQ(process.exitCode(), 0);
    const QString text = stderrText();
    EXPECT_EQ(text.count(QLatin1String("measurement function changed (unit 'A' to 'V')")), 1) << qPrintable(text);
    const std::vector<Sample> records = ReadRecording(out);
    ASSERT_EQ(records.size(), 6u);
    EXPECT_EQ(records[4].FirstUnit, 0x04);
    EXPECT_EQ(records[5].FirstUnit, 0x04);
}

TEST_F(RecordToolTest, APulledAdapterIsWaitedFor)
{
    auto pty = std::make_unique<PtyFeeder>(path(QStringLiteral("meter")));
    const QString out = path(QStringLiteral("pulled.krd"));
    ASSERT_TRUE(startRecording({QStringLiteral("--port"), pty->linkPath(), QStringLiteral("--out"), out,
                                QStringLiteral("--duration"), QStringLiteral("6")}));
    ASSERT_TRUE(pty->write(ReadingFrame("0001")));
    ASSERT_TRUE(WaitUntil([&] { return QFileInfo(out).size() == 2 * 32; }, 10000));
    pty->unplug();
    ASSERT_TRUE(WaitUntil([&] { return stderrText().contains(QLatin1String("went away")); }, 3000));
    pty = std::make_unique<PtyFeeder>(path(QStringLiteral("meter")));
    ASSERT_TRUE(WaitUntil([&] { return stderrText().contains(QLatin1String("is back")); }, 4000));
    ASSERT_TRUE(pty->write(ReadingFrame("0002")));
    ASSERT_TRUE(finish(10000));
    EXPECT_EQ(process.exitCode(), 0) << qPrintable(stderrText());
    const std::vector<Sample> records = ReadRecording(out);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_FLOAT_EQ(records[2].FirstValue, 2.0f);
}

// The simulator's noisy line (1 % of the frame bytes corrupted, garbage between
// frames, frames cut short) through a real pseudo-terminal: no reading of a
// visibly damaged frame may land in the recording, and --keep-damaged shows
// that the line does carry them.
TEST_F(RecordToolTest, OnANoisyLineDamagedFramesAreDroppedAndCounted)
{
    constexpr int Frames = 400;
    ScenarioSettings scenario;
    scenario.scenario = Scenario::Noise;
    scenario.seed = 11;
    const LineReadings line = ReadingsOnTheLine(scenario, Frames);
    ASSERT_GT(line.damagedOnly.size(), 10u) << "the line must carry damaged readings for this test to mean anything";

    struct Row {
        const char *name;
        QStringList extra;
        bool dropped;
    };
    const Row rows[] = {
        {"damaged frames dropped (the default)", {}, true},
        {"--keep-damaged", {QStringLiteral("--keep-damaged")}, false},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        QProcess simulator;
        const QString port =
            StartSimulator(simulator, {QStringLiteral("--scenario"), QStringLiteral("noise"), QStringLiteral("--seed"),
                                       QString::number(scenario.seed), QStringLiteral("--rate"), QStringLiteral("80"),
                                       QStringLiteral("--frames"), QString::number(Frames)});
        ASSERT_FALSE(port.isEmpty());
        const QString out = path(QStringLiteral("noise-%1.krd").arg(row.dropped));
        errors.clear();
        ASSERT_TRUE(
            startRecording(QStringList{QStringLiteral("--port"), port, QStringLiteral("--out"), out} + row.extra));
        ASSERT_TRUE(WaitUntil([&] { return simulator.state() == QProcess::NotRunning; }, 60000));
        EXPECT_EQ(simulator.exitCode(), 0);
        ::kill(pid_t(process.processId()), SIGTERM);
        ASSERT_TRUE(finish(10000));
        EXPECT_EQ(process.exitCode(), 0) << qPrintable(stderrText());

        const std::vector<Sample> records = ReadRecording(out);
        ASSERT_GT(records.size(), std::size_t(Frames / 2)) << qPrintable(stderrText());
        std::size_t damagedRecorded = 0, undamaged = 0;
        for (std::size_t i = 1; i < records.size(); ++i) {
            damagedRecorded += line.damagedOnly.count(ReadingOf(records[i]));
            undamaged += line.undamaged.count(ReadingOf(records[i]));
        }
        const QRegularExpression summary(QStringLiteral("(\\d+) samples in .*; (\\d+) damaged frames (dropped|kept)"));
        const QRegularExpressionMatch said = summary.match(stderrText());
        ASSERT_TRUE(said.hasMatch()) << qPrintable(stderrText());
        EXPECT_EQ(said.captured(1).toULongLong(), records.size() - 1);
        const quint64 damagedCounted = said.captured(2).toULongLong();
        if (row.dropped) {
            EXPECT_EQ(damagedRecorded, 0u);
            EXPECT_FALSE(stderrText().contains(QLatin1String("measurement function changed")))
                << qPrintable(stderrText());
            EXPECT_EQ(said.captured(3), QStringLiteral("dropped"));
            // Misaligned blocks after a cut-off frame are damaged too.
            EXPECT_GE(damagedCounted, line.damagedFrames / 2);
            EXPECT_GE(undamaged, records.size() - 1 - 2) << "all but the rare block that looks like a frame";
        } else {
            EXPECT_GT(damagedRecorded, 5u);
            EXPECT_EQ(said.captured(3), QStringLiteral("kept"));
            EXPECT_GT(damagedCounted, 0u);
        }
    }
}
