// The serial link and START/STOP/reconnect against real pseudo-terminals.

#include "AcquisitionController.h"
#include "Frames.h"
#include "PortSettings.h"
#include "ProgramState.h"
#include "PtyFeeder.h"
#include "SerialLink.h"
#include "SettingsStore.h"
#include "Wait.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <grp.h>
#include <memory>
#include <optional>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// The main window's side of the cycle, reduced to what the tests look at.
class RecordingView : public AcquisitionView {
public:
    explicit RecordingView(ProgramState &state) : state_(state) {}
    void showHoldSymbol(bool) override {}
    void showDisplay(const DecodedFrame &frame) override { lastFirstText = frame.first.Text; }
    bool askCreateNewFile() override
    {
        ++questions;
        if (whileAsking)
            whileAsking();
        return answerYes;
    }
    void runNewCommand() override { ResetRecording(state_.store, state_.acquisition); }
    void followLatestSample() override { ++followed; }

    std::string lastFirstText;
    int questions = 0;
    bool answerYes = false;
    std::function<void()> whileAsking;
    int followed = 0;

private:
    ProgramState &state_;
};

class SerialLinkTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString path(const QString &name) const { return dir.filePath(name); }

    QTemporaryDir dir;
};

} // namespace

TEST_F(SerialLinkTest, PortNumbersMapToStoredDevicesOrToUsbAdapters)
{
    SettingsStore settings(path(QStringLiteral("RQ4417.conf")));
    EXPECT_EQ(PortDevicePath(settings, 1), QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(PortDevicePath(settings, 4), QStringLiteral("/dev/ttyUSB3"));
    settings.SaveSetting(QStringLiteral("ComPort"), QStringLiteral("COM2"), QStringLiteral("/dev/ttyS0"));
    settings.SaveSetting(QStringLiteral("ComPort"), QStringLiteral("COM3"), QStringLiteral("  "));
    EXPECT_EQ(PortDevicePath(settings, 2), QStringLiteral("/dev/ttyS0"));
    EXPECT_EQ(PortDevicePath(settings, 3), QStringLiteral("/dev/ttyUSB2")) << "a blank entry counts as none";
}

TEST_F(SerialLinkTest, OpenFailuresAreToldApart)
{
    PtyFeeder pty(path(QStringLiteral("meter")));
    ASSERT_TRUE(pty.isValid());
    QFile plain(path(QStringLiteral("plain.txt")));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();

    struct Row {
        const char *name;
        QString device;
        OpenFailure expected;
    };
    const Row rows[] = {
        {"pseudo-terminal behind a link", pty.linkPath(), OpenFailure::None},
        {"pseudo-terminal by its own name", pty.slavePath(), OpenFailure::None},
        {"missing device", path(QStringLiteral("ttyUSB9")), OpenFailure::DoesNotExist},
        {"link to nothing", path(QStringLiteral("dangling")), OpenFailure::DoesNotExist},
        {"character device that is no terminal", QStringLiteral("/dev/null"), OpenFailure::Other},
        {"regular file", plain.fileName(), OpenFailure::Other},
        {"folder", dir.path(), OpenFailure::Other},
    };
    ASSERT_TRUE(QFile::link(path(QStringLiteral("gone")), path(QStringLiteral("dangling"))));
    for (const Row &row : rows) {
        SerialLink link;
        EXPECT_EQ(link.open(row.device), row.expected) << row.name << ": " << qPrintable(link.errorText());
        EXPECT_EQ(link.isOpen(), row.expected == OpenFailure::None) << row.name;
    }
}

// Root ignores the terminal's exclusive mode, so the holder takes the lock
// file the way every QSerialPort does.
TEST_F(SerialLinkTest, APortHeldElsewhereIsInUse)
{
    PtyFeeder pty(path(QStringLiteral("meter")));
    ASSERT_TRUE(pty.isValid());
    SerialLink holder;
    ASSERT_EQ(holder.open(pty.linkPath()), OpenFailure::None);
    SerialLink second;
    EXPECT_EQ(second.open(pty.linkPath()), OpenFailure::InUse) << qPrintable(second.errorText());
    EXPECT_EQ(StartFailureMessage(OpenFailure::InUse, 3, pty.linkPath()),
              QStringLiteral("Com3 is being used!! please select other ComPort."));
    holder.close();
    EXPECT_EQ(second.open(pty.linkPath()), OpenFailure::None) << "closing releases the lock";
}

TEST_F(SerialLinkTest, StartFailureMessages)
{
    EXPECT_EQ(StartFailureMessage(OpenFailure::InUse, 1, QStringLiteral("/dev/ttyUSB0")),
              QStringLiteral("Com1 is being used!! please select other ComPort."));
    const QString denied = StartFailureMessage(OpenFailure::PermissionDenied, 2, path(QStringLiteral("gone")));
    EXPECT_EQ(denied, QStringLiteral("You may not open the serial port %1.").arg(path(QStringLiteral("gone"))));
    EXPECT_TRUE(StartFailureMessage(OpenFailure::DoesNotExist, 1, QStringLiteral("/dev/ttyUSB0")).isEmpty());
    EXPECT_TRUE(StartFailureMessage(OpenFailure::Other, 1, QStringLiteral("/dev/ttyUSB0")).isEmpty());
    EXPECT_TRUE(StartFailureMessage(OpenFailure::None, 1, QStringLiteral("/dev/ttyUSB0")).isEmpty());
}

// A group other than dialout that this process may give a file to: root may
// give any, anyone else one of their own groups.
std::optional<gid_t> OtherGroup()
{
    const group *dialout = ::getgrnam("dialout");
    std::vector<gid_t> candidates;
    if (::geteuid() == 0) {
        for (const char *name : {"users", "plugdev", "uucp", "audio"}) {
            if (const group *found = ::getgrnam(name))
                candidates.push_back(found->gr_gid);
        }
    } else {
        std::vector<gid_t> own(std::size_t(std::max(0, ::getgroups(0, nullptr))));
        own.resize(std::size_t(std::max(0, ::getgroups(int(own.size()), own.data()))));
        candidates = own;
    }
    for (gid_t id : candidates) {
        if (id != 0 && (!dialout || id != dialout->gr_gid) && ::getgrgid(id))
            return id;
    }
    return std::nullopt;
}

// START names the group that owns the device and says whether joining it helps.
TEST_F(SerialLinkTest, PermissionMessageNamesTheDevicesGroup)
{
    PtyFeeder pty(path(QStringLiteral("meter")));
    ASSERT_TRUE(pty.isValid());
    const std::optional<gid_t> other = OtherGroup();
    if (!other)
        GTEST_SKIP() << "no group other than dialout to give the terminal to";
    const QByteArray device = QFile::encodeName(pty.slavePath());
    ASSERT_EQ(::chown(device.constData(), uid_t(-1), *other), 0) << std::strerror(errno);
    const QString name = QString::fromLocal8Bit(::getgrgid(*other)->gr_name);

    ASSERT_EQ(::chmod(device.constData(), 0660), 0);
    // Through the link, as a by-id name would be: the device's group counts.
    const QString joinable = StartFailureMessage(OpenFailure::PermissionDenied, 1, pty.linkPath());
    EXPECT_EQ(joinable, QStringLiteral("You may not open the serial port %1. It belongs to the group %2: add your "
                                       "user to it (sudo usermod -aG %2 $USER), then log out and in again.")
                            .arg(pty.linkPath(), name));
    EXPECT_FALSE(joinable.contains(QLatin1String("dialout"))) << qPrintable(joinable);

    ASSERT_EQ(::chmod(device.constData(), 0600), 0);
    const QString closed = StartFailureMessage(OpenFailure::PermissionDenied, 1, pty.slavePath());
    EXPECT_TRUE(closed.contains(pty.slavePath())) << qPrintable(closed);
    EXPECT_TRUE(closed.contains(QStringLiteral("joining its group %1 would not help").arg(name))) << qPrintable(closed);
    EXPECT_FALSE(closed.contains(QLatin1String("usermod"))) << qPrintable(closed);

    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(device.constData(), uid_t(-1), 0), 0);
        ASSERT_EQ(::chmod(device.constData(), 0660), 0);
        const QString rootGroup = StartFailureMessage(OpenFailure::PermissionDenied, 1, pty.slavePath());
        EXPECT_FALSE(rootGroup.contains(QLatin1String("usermod")))
            << "never the administrators' group: " << qPrintable(rootGroup);
    }
}

TEST_F(SerialLinkTest, ProbeDisablesOnlyPortsThatDoNotExist)
{
    PtyFeeder free(path(QStringLiteral("free")));
    PtyFeeder busy(path(QStringLiteral("busy")));
    ASSERT_TRUE(free.isValid() && busy.isValid());
    SerialLink holder;
    ASSERT_EQ(holder.open(busy.linkPath()), OpenFailure::None);
    SettingsStore settings(path(QStringLiteral("RQ4417.conf")));
    settings.SaveSetting(QStringLiteral("ComPort"), QStringLiteral("COM1"), free.linkPath());
    settings.SaveSetting(QStringLiteral("ComPort"), QStringLiteral("COM2"), path(QStringLiteral("missing")));
    settings.SaveSetting(QStringLiteral("ComPort"), QStringLiteral("COM3"), busy.linkPath());
    settings.SaveSetting(QStringLiteral("ComPort"), QStringLiteral("COM4"), QStringLiteral("/dev/null"));
    const std::array<bool, PortCount> expected{true, false, true, true};
    EXPECT_EQ(ProbePorts(settings), expected);
    EXPECT_TRUE(holder.isOpen()) << "probing leaves a port held elsewhere alone";
    SerialLink after;
    EXPECT_EQ(after.open(free.linkPath()), OpenFailure::None) << "the probe closed what it opened";
}

TEST_F(SerialLinkTest, OneNotificationPer22Bytes)
{
    PtyFeeder pty(path(QStringLiteral("meter")));
    SerialLink link;
    ASSERT_EQ(link.open(pty.linkPath()), OpenFailure::None);
    std::vector<MeterFrame> received;
    QObject::connect(&link, &SerialLink::frameWaiting, [&] {
        MeterFrame f{};
        ASSERT_TRUE(link.readFrame(f));
        received.push_back(f);
    });

    const MeterFrame a = ReadingFrame("0001"), b = ReadingFrame("0002"), c = ReadingFrame("0003");
    ASSERT_TRUE(pty.write(a));
    ASSERT_TRUE(WaitUntil([&] { return received.size() == 1; }, 10000));

    std::vector<std::uint8_t> three;
    for (const MeterFrame &f : {a, b, c})
        three.insert(three.end(), f.begin(), f.end());
    ASSERT_TRUE(pty.write(three));
    ASSERT_TRUE(WaitUntil([&] { return received.size() == 4; }, 10000));

    // A frame in two pieces is one block once the second piece is there.
    ASSERT_TRUE(pty.write(std::vector<std::uint8_t>(b.begin(), b.begin() + 15)));
    RunEventsFor(150); // a stretch in which the piece alone must not count as a block
    EXPECT_EQ(received.size(), 4u);
    ASSERT_TRUE(pty.write(std::vector<std::uint8_t>(b.begin() + 15, b.end())));
    ASSERT_TRUE(WaitUntil([&] { return received.size() == 5; }, 10000));

    const std::vector<MeterFrame> expected{a, a, b, c, b};
    EXPECT_EQ(received, expected);
}

TEST_F(SerialLinkTest, MoreThan2200BytesWaitingIsAnOverflow)
{
    PtyFeeder pty(path(QStringLiteral("meter")));
    SerialLink link;
    ASSERT_EQ(link.open(pty.linkPath()), OpenFailure::None);
    int overflows = 0;
    int blocks = 0;
    QObject::connect(&link, &SerialLink::frameWaiting, [&] {
        MeterFrame f{};
        link.readFrame(f);
        ++blocks;
    });
    // The cycle's answer to an overflow.
    QObject::connect(&link, &SerialLink::overflowed, [&] {
        ++overflows;
        link.closePort();
        link.reopenPort();
    });
    std::vector<std::uint8_t> flood;
    for (int i = 0; i < 110; ++i) {
        const MeterFrame f = ReadingFrame("0042");
        flood.insert(flood.end(), f.begin(), f.end());
    }
    ASSERT_GT(flood.size(), std::size_t(SerialLink::ReceiveBufferSize));
    ASSERT_TRUE(pty.write(flood));
    // The kernel hands written bytes to the terminal's input in pieces; the
    // port must see the whole flood at once, as after a stalled program, so
    // no event runs until all of it waits on the terminal.
    const int observer = ::open(QFile::encodeName(pty.linkPath()).constData(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(observer, 0) << std::strerror(errno);
    int waiting = 0;
    for (int i = 0; i < 500 && waiting < int(flood.size()); ++i) {
        if (::ioctl(observer, FIONREAD, &waiting) != 0)
            waiting = 0;
        if (waiting < int(flood.size()))
            ::usleep(10000);
    }
    ::close(observer);
    ASSERT_EQ(waiting, int(flood.size()));
    ASSERT_TRUE(WaitUntil([&] { return overflows == 1; }, 10000));
    RunEventsFor(200); // a stretch in which no second overflow and no block may come
    EXPECT_EQ(overflows, 1);
    EXPECT_EQ(blocks, 0) << "reopening threw the buffered bytes away";
    EXPECT_TRUE(link.isOpen());
    ASSERT_TRUE(pty.write(ReadingFrame("0001")));
    EXPECT_TRUE(WaitUntil([&] { return blocks == 1; }, 10000));
}

TEST_F(SerialLinkTest, AHungUpDeviceIsLostAtOnce)
{
    PtyFeeder pty(path(QStringLiteral("meter")));
    SerialLink link;
    ASSERT_EQ(link.open(pty.linkPath()), OpenFailure::None);
    int lost = 0;
    QObject::connect(&link, &SerialLink::lost, [&] { ++lost; });
    pty.unplug();
    ASSERT_TRUE(WaitUntil([&] { return lost > 0; }, 10000));
    EXPECT_FALSE(link.isOpen());
    RunEventsFor(300); // a stretch in which no further loss may be signalled
    EXPECT_EQ(lost, 1) << "closed at the first error, no storm of signals";
}

TEST_F(SerialLinkTest, AnotherDeviceUnderTheSamePathIsNoticed)
{
    PtyFeeder first(path(QStringLiteral("meter")));
    SerialLink link;
    ASSERT_EQ(link.open(first.linkPath()), OpenFailure::None);
    int lost = 0;
    QObject::connect(&link, &SerialLink::lost, [&] { ++lost; });
    // The old device stays open on the other side: only the path moved on.
    PtyFeeder second(path(QStringLiteral("meter")));
    ASSERT_TRUE(WaitUntil([&] { return lost > 0; }, 2 * SerialLink::DeviceCheckIntervalMs + 500));
    EXPECT_FALSE(link.isOpen());
}

namespace {

struct ControllerRig {
    explicit ControllerRig()
    {
        ResetRecording(state.store, state.acquisition);
        state.store.RecomputeSampleInterval();
    }
    ProgramState state;
    ProgramClock clock;
    RecordingView view{state};
    AcquisitionController controller{state.store, state.acquisition, view, clock};
};

} // namespace

TEST_F(SerialLinkTest, FramesBecomeSamplesAndStopStartContinuesTheRecording)
{
    PtyFeeder pty(path(QStringLiteral("meter")));
    ControllerRig rig;
    std::vector<LinkState> states;
    QObject::connect(&rig.controller, &AcquisitionController::stateChanged,
                     [&](LinkState state) { states.push_back(state); });
    ASSERT_EQ(rig.controller.start(pty.linkPath()), OpenFailure::None);
    EXPECT_EQ(rig.controller.state(), LinkState::Running);
    for (const char *value : {"0001", "0002", "0003"})
        ASSERT_TRUE(pty.write(ReadingFrame(value)));
    ASSERT_TRUE(WaitUntil([&] { return rig.state.store.SampleCount == 3; }, 10000));
    EXPECT_EQ(rig.view.lastFirstText, "0003");

    rig.controller.stop();
    EXPECT_EQ(rig.controller.state(), LinkState::Stopped);
    ASSERT_TRUE(pty.write(ReadingFrame("0009")));
    RunEventsFor(100); // a stretch in which the frame must stay unread
    EXPECT_EQ(rig.state.store.SampleCount, 3) << "nothing is read while stopped";

    ASSERT_EQ(rig.controller.start(pty.linkPath()), OpenFailure::None);
    ASSERT_TRUE(pty.write(ReadingFrame("0004")));
    ASSERT_TRUE(WaitUntil([&] { return rig.state.store.SampleCount == 4; }, 10000));
    EXPECT_FLOAT_EQ(rig.state.store.sample(4).FirstValue, 4.0f);
    EXPECT_EQ(rig.view.followed, 4);
    EXPECT_EQ(states, (std::vector<LinkState>{LinkState::Running, LinkState::Stopped, LinkState::Running}));
}

TEST_F(SerialLinkTest, StartOnAPortInUseStaysStopped)
{
    PtyFeeder pty(path(QStringLiteral("meter")));
    SerialLink holder;
    ASSERT_EQ(holder.open(pty.linkPath()), OpenFailure::None);
    ControllerRig rig;
    std::vector<LinkState> states;
    QObject::connect(&rig.controller, &AcquisitionController::stateChanged,
                     [&](LinkState state) { states.push_back(state); });
    EXPECT_EQ(rig.controller.start(pty.linkPath()), OpenFailure::InUse);
    EXPECT_EQ(rig.controller.state(), LinkState::Stopped);
    EXPECT_TRUE(states.empty());
    EXPECT_EQ(rig.controller.start(path(QStringLiteral("nothing"))), OpenFailure::DoesNotExist);
}

TEST_F(SerialLinkTest, ABlockOutOfStepResynchronisesOnTheRealPort)
{
    PtyFeeder pty(path(QStringLiteral("meter")));
    ControllerRig rig;
    ASSERT_EQ(rig.controller.start(pty.linkPath()), OpenFailure::None);
    ASSERT_TRUE(pty.write(ReadingFrame("0001")));
    ASSERT_TRUE(WaitUntil([&] { return rig.state.store.SampleCount == 1; }, 10000));

    MeterFrame junk = ReadingFrame("0007");
    junk[0] = 0x00;
    ASSERT_TRUE(pty.write(junk));
    ASSERT_TRUE(WaitUntil([&] { return rig.controller.counters().resyncs == 1; }, 10000));
    EXPECT_EQ(rig.controller.state(), LinkState::Running);
    EXPECT_EQ(rig.state.store.SampleCount, 1);
    EXPECT_EQ(rig.view.lastFirstText, "0001");

    ASSERT_TRUE(pty.write(ReadingFrame("0002")));
    ASSERT_TRUE(WaitUntil([&] { return rig.state.store.SampleCount == 2; }, 10000));
    EXPECT_FLOAT_EQ(rig.state.store.sample(2).FirstValue, 2.0f);
}

TEST_F(SerialLinkTest, ThePortIsFreeWhileTheFunctionChangeQuestionWaits)
{
    PtyFeeder pty(path(QStringLiteral("meter")));
    ControllerRig rig;
    bool couldOpen = false;
    rig.view.whileAsking = [&] {
        SerialLink other;
        couldOpen = other.open(pty.linkPath()) == OpenFailure::None;
    };
    rig.view.answerYes = true;
    ASSERT_EQ(rig.controller.start(pty.linkPath()), OpenFailure::None);
    ASSERT_TRUE(pty.write(ReadingFrame("0001", 0x08)));
    ASSERT_TRUE(pty.write(ReadingFrame("0002", 0x08)));
    ASSERT_TRUE(WaitUntil([&] { return rig.state.store.SampleCount == 2; }, 10000));
    ASSERT_TRUE(pty.write(ReadingFrame("0229", 0x04))); // one frame alone may be damage
    ASSERT_TRUE(pty.write(ReadingFrame("0230", 0x04)));
    ASSERT_TRUE(WaitUntil([&] { return rig.view.questions == 1; }, 10000));
    EXPECT_TRUE(couldOpen);
    EXPECT_EQ(rig.state.store.SampleCount, 1) << "Yes ran New; the frame starts the new recording";
    EXPECT_EQ(rig.controller.state(), LinkState::Running);
    ASSERT_TRUE(pty.write(ReadingFrame("0231", 0x04)));
    ASSERT_TRUE(WaitUntil([&] { return rig.state.store.SampleCount == 2; }, 10000));
}

TEST_F(SerialLinkTest, APulledAdapterReconnectsAndTheRecordingGoesOn)
{
    auto pty = std::make_unique<PtyFeeder>(path(QStringLiteral("meter")));
    ControllerRig rig;
    std::vector<LinkState> states;
    QObject::connect(&rig.controller, &AcquisitionController::stateChanged,
                     [&](LinkState state) { states.push_back(state); });
    ASSERT_EQ(rig.controller.start(pty->linkPath()), OpenFailure::None);
    ASSERT_TRUE(pty->write(ReadingFrame("0001")));
    ASSERT_TRUE(WaitUntil([&] { return rig.state.store.SampleCount == 1; }, 10000));

    pty->unplug();
    ASSERT_TRUE(WaitUntil([&] { return rig.controller.state() == LinkState::Reconnecting; }, 10000));
    // Attempts while the device is away fail quietly and go on.
    RunEventsFor(AcquisitionController::ReconnectIntervalMs + 300);
    EXPECT_EQ(rig.controller.state(), LinkState::Reconnecting);
    EXPECT_EQ(rig.state.store.SampleCount, 1) << "the samples stay";

    pty = std::make_unique<PtyFeeder>(path(QStringLiteral("meter")));
    ASSERT_TRUE(WaitUntil([&] { return rig.controller.state() == LinkState::Running; },
                          AcquisitionController::ReconnectIntervalMs + 1000));
    ASSERT_TRUE(pty->write(ReadingFrame("0002")));
    ASSERT_TRUE(WaitUntil([&] { return rig.state.store.SampleCount == 2; }, 10000));
    EXPECT_EQ(states, (std::vector<LinkState>{LinkState::Running, LinkState::Reconnecting, LinkState::Running}));
}

TEST_F(SerialLinkTest, StopEndsTheReconnectAttempts)
{
    auto pty = std::make_unique<PtyFeeder>(path(QStringLiteral("meter")));
    ControllerRig rig;
    ASSERT_EQ(rig.controller.start(pty->linkPath()), OpenFailure::None);
    pty->unplug();
    ASSERT_TRUE(WaitUntil([&] { return rig.controller.state() == LinkState::Reconnecting; }, 10000));
    rig.controller.stop();
    EXPECT_EQ(rig.controller.state(), LinkState::Stopped);
    pty = std::make_unique<PtyFeeder>(path(QStringLiteral("meter")));
    // Longer than one reconnect interval: time in which no attempt may come.
    RunEventsFor(AcquisitionController::ReconnectIntervalMs + 500);
    EXPECT_EQ(rig.controller.state(), LinkState::Stopped);
    SerialLink other;
    EXPECT_EQ(other.open(pty->linkPath()), OpenFailure::None) << "no attempt took the port";
}

TEST(QtQuestionTimerTest, RunsOutOnceUnlessStopped)
{
    QtQuestionTimer timer;
    int expired = 0;
    timer.start(20, [&] { ++expired; });
    ASSERT_TRUE(WaitUntil([&] { return expired == 1; }, 10000));
    RunEventsFor(100); // five more of its intervals, in which it must not run out again
    EXPECT_EQ(expired, 1) << "one shot";

    timer.start(50, [&] { ++expired; });
    timer.stop();
    RunEventsFor(200); // four times its time, in which it must not run out
    EXPECT_EQ(expired, 1) << "stopped before it ran out";
}
