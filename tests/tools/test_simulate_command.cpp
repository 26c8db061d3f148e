#include "FrameScanner.h"
#include "MeterScenario.h"
#include "ToolTestSupport.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

// A running `amperotool simulate` and the path of its terminal end.
class Simulator {
public:
    explicit Simulator(const QStringList &options)
    {
        m_process.start(ToolPath(), QStringList{"simulate"} + options);
        if (!m_process.waitForStarted(10000))
            return;
        QElapsedTimer timer;
        timer.start();
        while (!m_process.canReadLine() && timer.elapsed() < 20000)
            m_process.waitForReadyRead(100);
        m_path = QString::fromUtf8(m_process.readLine()).trimmed();
    }
    ~Simulator()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished();
        }
    }
    const QString &path() const { return m_path; }
    QProcess &process() { return m_process; }

private:
    QProcess m_process;
    QString m_path;
};

// Opens the terminal end the way a serial port is opened.
int openTerminal(const QString &path)
{
    return ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
}

struct Arrival {
    std::vector<std::uint8_t> bytes;
    qint64 lastByteMs = -1; // since reading started
};

// Reads until `expected` bytes have come, the other side hangs up or time runs out.
Arrival readTerminal(int fd, std::size_t expected, int timeoutMs)
{
    Arrival arrival;
    QElapsedTimer timer;
    timer.start();
    std::uint8_t buffer[512];
    while (arrival.bytes.size() < expected && timer.elapsed() < timeoutMs) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 50) <= 0)
            continue;
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0) {
            arrival.lastByteMs = timer.elapsed();
            arrival.bytes.insert(arrival.bytes.end(), buffer, buffer + n);
        } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
            break;
        }
    }
    return arrival;
}

// How many of the first `frames` steps carry their frame whole and unchanged.
std::uint64_t intactFrames(const ScenarioSettings &settings, int frames)
{
    ScenarioGenerator generator(settings);
    std::uint64_t intact = 0;
    for (int n = 0; n < frames; ++n)
        intact += generator.next().intact ? 1 : 0;
    return intact;
}

std::vector<std::uint8_t> generatedBytes(const ScenarioSettings &settings, int frames)
{
    ScenarioGenerator generator(settings);
    std::vector<std::uint8_t> all;
    for (int n = 0; n < frames; ++n) {
        const ScenarioStep step = generator.next();
        all.insert(all.end(), step.bytes.begin(), step.bytes.end());
    }
    return all;
}

bool exitsCleanly(QProcess &process)
{
    return process.waitForFinished(20000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

} // namespace

TEST(SimulateCommandTest, TwentyFramesArriveOnARawTerminalAtTheRate)
{
    Simulator simulator({"--frames", "20", "--rate", "50"});
    ASSERT_TRUE(simulator.path().startsWith("/dev/pts/")) << qPrintable(simulator.path());
    const int fd = openTerminal(simulator.path());
    ASSERT_GE(fd, 0) << std::strerror(errno);

    termios line{};
    ASSERT_EQ(tcgetattr(fd, &line), 0);
    EXPECT_EQ(cfgetispeed(&line), speed_t(B19200));
    EXPECT_EQ(cfgetospeed(&line), speed_t(B19200));
    EXPECT_EQ(line.c_cflag & CSIZE, tcflag_t(CS8));
    EXPECT_EQ(line.c_cflag & (PARENB | CSTOPB), 0u);
    EXPECT_EQ(line.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(line.c_iflag & (ICRNL | IXON | ISTRIP), 0u);
    EXPECT_EQ(line.c_oflag & OPOST, 0u);

    const Arrival arrival = readTerminal(fd, 20 * MeterFrameSize + 1, 30000);
    ::close(fd);
    ASSERT_EQ(arrival.bytes.size(), 20 * MeterFrameSize);

    FrameScanner scanner;
    scanner.append(arrival.bytes.data(), arrival.bytes.size());
    scanner.finish();
    ScenarioGenerator steady{ScenarioSettings{}};
    MeterFrame frame;
    while (scanner.next(frame))
        EXPECT_EQ(ContentOfFrame(DecodeFrame(frame)), steady.next().content);
    EXPECT_EQ(scanner.frameCount(), 20u);
    EXPECT_EQ(scanner.skippedBytes(), 0u);
    // Nineteen periods of 20 ms lie between the first frame and the last, and
    // the first cannot come before the terminal was opened.
    EXPECT_GE(arrival.lastByteMs, 370);
    EXPECT_TRUE(exitsCleanly(simulator.process()));
}

// What goes over the terminal is exactly what the scenario generator makes.
TEST(SimulateCommandTest, EveryScenarioSendsItsGeneratorsBytes)
{
    for (Scenario scenario : AllScenarios()) {
        SCOPED_TRACE(ScenarioName(scenario));
        Simulator simulator({"--scenario", ScenarioName(scenario), "--frames", "25", "--rate", "87", "--seed", "42",
                             "--switch-after", "12", "--corrupt", "4"});
        const int fd = openTerminal(simulator.path());
        ASSERT_GE(fd, 0) << qPrintable(simulator.path());
        ScenarioSettings settings;
        settings.scenario = scenario;
        settings.seed = 42;
        settings.switchAfter = 12;
        settings.corruptPercent = 4;
        settings.framesPerSecond = 87;
        const std::vector<std::uint8_t> expected = generatedBytes(settings, 25);
        const Arrival arrival = readTerminal(fd, expected.size() + 1, 30000);
        ::close(fd);
        EXPECT_EQ(arrival.bytes, expected);
        EXPECT_TRUE(exitsCleanly(simulator.process()));
        // At exit it says how many frames went out, and how many of them whole and unchanged.
        const QByteArray counts =
            QByteArray("frames sent: 25\nintact frames sent: ") + QByteArray::number(intactFrames(settings, 25)) + '\n';
        EXPECT_EQ(simulator.process().readAllStandardError(), counts);
    }
}

// Like a meter on a line nobody listens to: nothing piles up before a reader
// comes, and the reader gets the scenario from its start.
TEST(SimulateCommandTest, SendsOnlyWhileAReaderHasTheTerminalOpen)
{
    Simulator simulator({"--scenario", "ramp", "--frames", "5", "--rate", "50"});
    ASSERT_FALSE(simulator.path().isEmpty());
    ::usleep(400 * 1000); // the time in which nobody reads is what is tested
    const int fd = openTerminal(simulator.path());
    ASSERT_GE(fd, 0);
    const Arrival arrival = readTerminal(fd, 5 * MeterFrameSize + 1, 30000);
    ::close(fd);
    ScenarioSettings settings;
    settings.scenario = Scenario::Ramp;
    EXPECT_EQ(arrival.bytes, generatedBytes(settings, 5));
    EXPECT_TRUE(exitsCleanly(simulator.process()));
}

TEST(SimulateCommandTest, LinkIsMadeAndRemovedOnStopSignals)
{
    for (int signal : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(signal);
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const QString link = dir.filePath("meter");
        Simulator simulator({"--link", link, "--rate", "87"});
        ASSERT_FALSE(simulator.path().isEmpty());
        QFileInfo info(link);
        EXPECT_TRUE(info.isSymLink());
        EXPECT_EQ(info.symLinkTarget(), simulator.path());
        // Frames flow through the link as through the path.
        const int fd = openTerminal(link);
        ASSERT_GE(fd, 0);
        const Arrival arrival = readTerminal(fd, 3 * MeterFrameSize, 30000);
        EXPECT_GE(arrival.bytes.size(), 3 * MeterFrameSize);
        ::close(fd);
        ::kill(pid_t(simulator.process().processId()), signal);
        EXPECT_TRUE(exitsCleanly(simulator.process()));
        // A stopped meter still tells how many frames it sent.
        const QList<QByteArray> lines = simulator.process().readAllStandardError().split('\n');
        ASSERT_GE(lines.size(), 2);
        ASSERT_TRUE(lines[0].startsWith("frames sent: ")) << lines[0].constData();
        EXPECT_GE(lines[0].mid(13).toULongLong(), 3u);
        EXPECT_EQ(lines[1], "intact frames sent: " + lines[0].mid(13)) << "the steady scenario sends every frame whole";
        EXPECT_FALSE(QFileInfo::exists(link));
        EXPECT_FALSE(QFileInfo(link).isSymLink());
    }
}

TEST(SimulateCommandTest, LinkDoesNotReplaceAFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("notes.txt");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("keep me\n");
    file.close();
    const ToolResult result = RunTool({"simulate", "--link", path});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.err.contains(path.toUtf8())) << result.err.constData();
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "keep me\n");
}

TEST(SimulateCommandTest, UsageErrors)
{
    const QStringList rows[] = {
        {"--rate", "88"},
        {"--rate", "0"},
        {"--rate", "-2"},
        {"--rate", "fast"},
        {"--rate"},
        {"--frames", "0"},
        {"--frames", "many"},
        {"--frames", "-3"},
        {"--scenario", "soak"},
        {"--switch-after", "-1"},
        {"--corrupt", "101"},
        {"--corrupt", "x"},
        {"--seed", "-1"},
        {"--seed", "4294967296"},
        {"--bogus"},
        {"steady"},
        {"--link", ""},
        {"--rate=88"},
        {"--frames=0", "--rate"},
    };
    for (const QStringList &options : rows) {
        SCOPED_TRACE(qPrintable(options.join(' ')));
        const ToolResult result = RunTool(QStringList{"simulate"} + options);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_TRUE(result.err.contains("Usage: amperotool simulate")) << result.err.constData();
        EXPECT_TRUE(result.out.isEmpty()) << "no terminal is opened on a usage error";
    }
    const ToolResult help = RunTool({"simulate", "--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains("--scenario NAME"));
    EXPECT_TRUE(help.out.contains("1 to 29"));
}
