// amperotool simulate: a meter on a pseudo-terminal. The terminal end behaves
// like the meter's serial port: raw 19200 8N1, frames arriving unasked at a
// steady rate while someone has it open.

#include "Commands.h"

#include "MeterScenario.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <optional>
#include <poll.h>
#include <pty.h>
#include <string>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace {

// 19200 baud with 10 bits a byte (start, 8 data, stop) carries 87 frames of 22 bytes a second.
constexpr double LineBytesPerSecond = 19200.0 / 10;
constexpr double HighestRate = 87;
constexpr std::int64_t NanosecondsPerSecond = 1000000000;
// How often a missing reader is looked for, and how long a reader that just
// opened the port gets to set it up before the first frame.
constexpr std::int64_t ReaderPollInterval = 10 * 1000000;
constexpr std::int64_t ReaderSettleTime = 50 * 1000000;
// After the last frame: how long to wait for the reader to take what is buffered.
constexpr std::int64_t DrainPatience = 2 * NanosecondsPerSecond;

volatile std::sig_atomic_t stopRequested = 0;

extern "C" void requestStop(int)
{
    stopRequested = 1;
}

struct SimulateOptions {
    ScenarioSettings scenario;
    double rate = 2;
    std::optional<std::uint64_t> frames;
    QString link;
};

} // namespace

void printSimulateUsage(std::FILE *out)
{
    std::fprintf(out, "Usage: amperotool simulate [OPTIONS]\n\n"
                      "Opens a pseudo-terminal that behaves like the meter's serial port (raw,\n"
                      "19200 baud, 8N1), prints the path of its terminal end as the first line of\n"
                      "standard output and sends meter frames while a reader has it open.\n\n"
                      "Options:\n"
                      "  --scenario NAME     steady (default), ramp, overload, hold, recall,\n"
                      "                      function-change, time or noise\n"
                      "  --rate N            frames per second, above 0 and at most 87 (default 2)\n"
                      "  --frames N          stop after N frames have been sent (default: run until killed)\n"
                      "  --switch-after N    function-change: frames before the unit changes (default 10)\n"
                      "  --corrupt PERCENT   noise: share of frame bytes replaced by random ones (default 1)\n"
                      "  --seed N            start of the scenario's random numbers (default 1)\n"
                      "  --link PATH         also make PATH a symbolic link to the terminal end\n"
                      "  --help              show this text\n\n"
                      "The recall scenario goes through memory locations 1 to 29: the meter's memory\n"
                      "display has no leading 3.\n");
}

namespace {

int usageError(const QString &message)
{
    return ReportUsageError("simulate", message, printSimulateUsage);
}

// Fills options from the command line; an error text when it makes no sense.
QString parseOptions(const QStringList &arguments, SimulateOptions &options)
{
    for (int i = 0; i < arguments.size(); ++i) {
        QString name = arguments[i];
        QString value;
        bool hasValue = false;
        const int equals = name.indexOf(QLatin1Char('='));
        if (name.startsWith(QLatin1String("--")) && equals > 0) {
            value = name.mid(equals + 1);
            name = name.left(equals);
            hasValue = true;
        }
        static const QStringList withValue = {"--scenario", "--rate", "--frames", "--switch-after",
                                              "--corrupt",  "--seed", "--link"};
        if (!withValue.contains(name))
            return QStringLiteral("unknown option '%1'").arg(arguments[i]);
        if (!hasValue) {
            if (i + 1 >= arguments.size())
                return QStringLiteral("%1 needs a value").arg(name);
            value = arguments[++i];
        }
        bool ok = false;
        if (name == QLatin1String("--scenario")) {
            const auto scenario = ScenarioFromName(value.toStdString());
            if (!scenario)
                return QStringLiteral("unknown scenario '%1'").arg(value);
            options.scenario.scenario = *scenario;
        } else if (name == QLatin1String("--rate")) {
            const double rate = value.toDouble(&ok);
            if (!ok || !std::isfinite(rate) || rate <= 0 || rate > HighestRate)
                return QStringLiteral("--rate must be a number above 0 and at most 87, not '%1'").arg(value);
            options.rate = rate;
        } else if (name == QLatin1String("--frames")) {
            const qulonglong frames = value.toULongLong(&ok);
            if (!ok || frames == 0)
                return QStringLiteral("--frames must be a whole number above 0, not '%1'").arg(value);
            options.frames = frames;
        } else if (name == QLatin1String("--switch-after")) {
            const int frames = value.toInt(&ok);
            if (!ok || frames < 0)
                return QStringLiteral("--switch-after must be a whole number of frames, not '%1'").arg(value);
            options.scenario.switchAfter = frames;
        } else if (name == QLatin1String("--corrupt")) {
            const double percent = value.toDouble(&ok);
            if (!ok || !std::isfinite(percent) || percent < 0 || percent > 100)
                return QStringLiteral("--corrupt must be a percentage from 0 to 100, not '%1'").arg(value);
            options.scenario.corruptPercent = percent;
        } else if (name == QLatin1String("--seed")) {
            const uint seed = value.toUInt(&ok);
            if (!ok)
                return QStringLiteral("--seed must be a whole number from 0 to 4294967295, not '%1'").arg(value);
            options.scenario.seed = seed;
        } else {
            if (value.isEmpty())
                return QStringLiteral("--link needs a path");
            options.link = value;
        }
    }
    options.scenario.framesPerSecond = options.rate;
    return QString();
}

std::int64_t monotonicNow()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return std::int64_t(now.tv_sec) * NanosecondsPerSecond + now.tv_nsec;
}

// Sleeps until the monotonic deadline; false when a stop was requested.
bool sleepUntil(std::int64_t deadline)
{
    const timespec until{time_t(deadline / NanosecondsPerSecond), long(deadline % NanosecondsPerSecond)};
    while (!stopRequested) {
        const int result = clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr);
        if (result == 0)
            return !stopRequested;
        if (result != EINTR)
            return false;
    }
    return false;
}

// With no reader on the terminal end the master side reports a hang-up.
bool readerPresent(int master)
{
    pollfd p{master, POLLOUT, 0};
    return poll(&p, 1, 0) >= 0 && !(p.revents & POLLHUP);
}

bool configureLine(int terminal)
{
    termios t{};
    if (tcgetattr(terminal, &t) != 0)
        return false;
    cfmakeraw(&t);
    t.c_cflag &= tcflag_t(~(PARENB | CSTOPB | CSIZE | CRTSCTS));
    t.c_cflag |= CS8 | CLOCAL | CREAD;
    t.c_iflag &= tcflag_t(~(IXON | IXOFF | IXANY));
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    return cfsetispeed(&t, B19200) == 0 && cfsetospeed(&t, B19200) == 0 && tcsetattr(terminal, TCSANOW, &t) == 0;
}

// Puts one step's bytes on the line. A reader that does not keep up loses
// what does not fit before the next frame is due, as on a real line. False
// with errno set when the pseudo-terminal fails.
bool writeStep(int master, const std::vector<std::uint8_t> &bytes, std::int64_t giveUpAt)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(master, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += std::size_t(n);
            continue;
        }
        if (n < 0 && errno == EINTR) {
            if (stopRequested)
                return true;
            continue;
        }
        if (n < 0 && errno != EAGAIN)
            return false;
        const std::int64_t left = giveUpAt - monotonicNow();
        if (left <= 0 || stopRequested)
            return true;
        pollfd p{master, POLLOUT, 0};
        poll(&p, 1, int(std::min<std::int64_t>(left / 1000000 + 1, INT_MAX)));
    }
    return true;
}

// Lets the reader take what is still buffered: closing the master side would
// throw it away.
void drain(int master, const std::string &terminalPath)
{
    // Written bytes reach the terminal's input queue a little later, so an
    // empty queue right after the last write proves nothing.
    if (!sleepUntil(monotonicNow() + ReaderSettleTime) || !readerPresent(master))
        return;
    const int terminal = ::open(terminalPath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (terminal < 0) {
        // A reader holding the port exclusively: give it a moment instead.
        sleepUntil(monotonicNow() + ReaderSettleTime * 4);
        return;
    }
    int lastWaiting = -1;
    std::int64_t lastProgress = monotonicNow();
    int waiting = 0;
    while (!stopRequested && ioctl(terminal, FIONREAD, &waiting) == 0 && waiting > 0) {
        const std::int64_t now = monotonicNow();
        if (waiting != lastWaiting) {
            lastWaiting = waiting;
            lastProgress = now;
        } else if (now - lastProgress > DrainPatience) {
            break;
        }
        sleepUntil(now + ReaderPollInterval);
    }
    ::close(terminal);
}

// The --link symlink: made at start, removed at the end if it is still ours.
class TerminalLink {
public:
    TerminalLink() = default;
    TerminalLink(const TerminalLink &) = delete;
    TerminalLink &operator=(const TerminalLink &) = delete;
    ~TerminalLink() { remove(); }

    // An error text, or empty on success.
    std::string create(const QString &link, const std::string &target)
    {
        const QByteArray path = QFile::encodeName(link);
        struct stat existing {};
        if (lstat(path.constData(), &existing) == 0) {
            // A link left behind by a simulator that was killed is replaced;
            // anything else at that path belongs to someone else.
            if (!S_ISLNK(existing.st_mode))
                return "cannot make the link '" + path.toStdString() + "': something other than a link is there";
            if (::unlink(path.constData()) != 0)
                return "cannot replace the link '" + path.toStdString() + "': " + std::strerror(errno);
        }
        if (::symlink(target.c_str(), path.constData()) != 0)
            return "cannot make the link '" + path.toStdString() + "': " + std::strerror(errno);
        m_path = path.toStdString();
        m_target = target;
        return std::string();
    }

    void remove()
    {
        if (m_path.empty())
            return;
        char buffer[PATH_MAX];
        const ssize_t length = ::readlink(m_path.c_str(), buffer, sizeof buffer);
        if (length >= 0 && std::string(buffer, std::size_t(length)) == m_target)
            ::unlink(m_path.c_str());
        m_path.clear();
    }

private:
    std::string m_path;
    std::string m_target;
};

class FileDescriptor {
public:
    FileDescriptor() = default;
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;
    ~FileDescriptor() { reset(); }
    int *receive() { return &m_fd; }
    int get() const { return m_fd; }
    void reset()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

private:
    int m_fd = -1;
};

int failure(const std::string &message)
{
    std::fprintf(stderr, "amperotool simulate: %s\n", message.c_str());
    return 1;
}

} // namespace

int runSimulate(const QStringList &arguments)
{
    SimulateOptions options;
    const QString error = parseOptions(arguments, options);
    if (!error.isEmpty())
        return usageError(error);

    struct sigaction action {};
    action.sa_handler = requestStop;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: a stop request has to cut sleeps and writes short.
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaction(signal, &action, nullptr);

    FileDescriptor master, terminal;
    if (openpty(master.receive(), terminal.receive(), nullptr, nullptr, nullptr) != 0)
        return failure(std::string("cannot open a pseudo-terminal: ") + std::strerror(errno));
    char name[PATH_MAX];
    if (ttyname_r(terminal.get(), name, sizeof name) != 0)
        return failure(std::string("cannot name the pseudo-terminal: ") + std::strerror(errno));
    const std::string terminalPath = name;
    if (!configureLine(terminal.get()))
        return failure("cannot set up " + terminalPath + ": " + std::strerror(errno));
    // The settings stay with the terminal; closing our end lets the master side
    // tell whether a reader has it open.
    terminal.reset();
    const int masterFlags = fcntl(master.get(), F_GETFL);
    if (masterFlags < 0 || fcntl(master.get(), F_SETFL, masterFlags | O_NONBLOCK) != 0)
        return failure(std::string("cannot set up the pseudo-terminal: ") + std::strerror(errno));

    // The link first: whoever reads the path may go for the link at once.
    TerminalLink link;
    if (!options.link.isEmpty()) {
        const std::string linkError = link.create(options.link, terminalPath);
        if (!linkError.empty())
            return failure(linkError);
    }
    if (std::printf("%s\n", terminalPath.c_str()) < 0 || std::fflush(stdout) != 0)
        return failure(std::string("cannot write to standard output: ") + std::strerror(errno));

    ScenarioGenerator generator(options.scenario);
    const auto period = std::int64_t(double(NanosecondsPerSecond) / options.rate);
    std::uint64_t sent = 0;
    std::uint64_t intactSent = 0;
    bool readerWasPresent = false;
    std::int64_t due = 0;
    while (!stopRequested && (!options.frames || sent < *options.frames)) {
        if (!readerPresent(master.get())) {
            // Nobody listens: the meter's frames go nowhere and the scenario waits.
            readerWasPresent = false;
            sleepUntil(monotonicNow() + ReaderPollInterval);
            continue;
        }
        if (!readerWasPresent) {
            readerWasPresent = true;
            due = monotonicNow() + ReaderSettleTime;
        }
        if (!sleepUntil(due))
            break;
        if (!readerPresent(master.get()))
            continue;
        const ScenarioStep step = generator.next();
        // The next frame is due one period later, or later still when the bytes
        // would take longer on a 19200 baud line.
        const auto lineTime = std::int64_t(double(step.bytes.size()) / LineBytesPerSecond * NanosecondsPerSecond);
        due += std::max(period, lineTime);
        if (!writeStep(master.get(), step.bytes, due))
            return failure("cannot write to " + terminalPath + ": " + std::strerror(errno));
        ++sent;
        if (step.intact)
            ++intactSent;
        // After a stall, carry on at the rate instead of catching up in a burst.
        const std::int64_t now = monotonicNow();
        if (due < now - period)
            due = now;
    }
    if (!stopRequested)
        drain(master.get(), terminalPath);
    // What went on the line, for whoever checks the reader's counts against it.
    std::fprintf(stderr, "frames sent: %llu\nintact frames sent: %llu\n", static_cast<unsigned long long>(sent),
                 static_cast<unsigned long long>(intactSent));
    return 0;
}
