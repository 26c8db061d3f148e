// The recording session as the program starts and closes it, with no window:
// what it shows goes to a view that writes it down, what it asks is answered
// from a script.

#include "FrameEncoder.h"
#include "PtyFeeder.h"
#include "RecordingSession.h"
#include "ScriptedPrompts.h"
#include "SettingsStore.h"
#include "TestFiles.h"
#include "Wait.h"

#include "FakeChart.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTemporaryDir>

#include <memory>

namespace {

using Answer = ScriptedPrompts::Answer;

// Writes down what the session shows.
class RecordingView final : public SessionView {
public:
    std::vector<bool> recording;
    std::vector<LinkState> linkStates;
    QString device;
    std::int16_t portInUse = 0;
    std::array<bool, PortCount> available{};
    std::array<QString, PortCount> devices;
    StatisticsLabels statistics;
    int statisticsShown = 0;
    int framesShown = 0;
    int meterResets = 0;
    QString caption;

    void showHoldSymbol(bool) override {}
    void showDisplay(const DecodedFrame &) override { ++framesShown; }
    void resetMeterDisplay() override { ++meterResets; }
    void showRecording(bool on) override { recording.push_back(on); }
    void showLinkState(LinkState state, std::int16_t, const QString &path) override
    {
        linkStates.push_back(state);
        device = path;
    }
    void showDamagedFrames(quint64, bool) override {}
    void showQuestionUnanswered() override {}
    void showPortInUse(std::int16_t portNumber) override { portInUse = portNumber; }
    void showPortAvailable(std::int16_t portNumber, bool present) override
    {
        available[std::size_t(portNumber - 1)] = present;
    }
    void showPortDevices(const std::array<QString, PortCount> &paths) override { devices = paths; }
    void setScrollBar(std::int32_t, std::int32_t) override {}
    void showStatistics(const StatisticsLabels &labels) override
    {
        statistics = labels;
        ++statisticsShown;
    }
    void showFollowing(bool) override {}
    void showCursorFigures(const std::optional<CursorFigures> &) override {}
    void describeChart(bool, const QString &) override {}
    void setCaption(const QString &text) override { caption = text; }
    void showJournalProblem(const QString &) override {}
    void showPublishState(const QString &, bool) override {}
};

MeterFrame meterFrame(const std::string &first)
{
    FrameContent c;
    c.firstText = first;
    c.firstUnitByte = 0x08;
    c.secondText = "230.1";
    c.secondUnitByte = 0x02;
    c.ac = true;
    return EncodeFrame(c);
}

// One run of the program without its window.
struct SessionRun {
    explicit SessionRun(const QString &settingsPath) : settings(settingsPath) {}

    void create()
    {
        session = std::make_unique<RecordingSession>(state, settings, prompts, view, chart1, chart2);
        session->LoadStep();
    }

    SettingsStore settings;
    ProgramState state;
    ScriptedPrompts prompts;
    RecordingView view;
    FakeChart chart1, chart2;
    std::unique_ptr<RecordingSession> session;
};

class RecordingSessionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        pty = std::make_unique<PtyFeeder>(dir.filePath(QStringLiteral("meter")));
        ASSERT_TRUE(pty->isValid());
    }

    std::unique_ptr<SessionRun> newRun()
    {
        auto run = std::make_unique<SessionRun>(dir.filePath(QStringLiteral("RQ4417.conf")));
        run->settings.SaveSetting(QStringLiteral("ComPort"), QStringLiteral("COM2"), pty->linkPath());
        run->settings.SaveSetting(QStringLiteral("ComPort"), QStringLiteral("ComPort"), QStringLiteral("2"));
        run->create();
        return run;
    }

    // Feeds the meter's frames until the session holds `count` samples.
    bool recordSamples(SessionRun &run, std::int32_t count)
    {
        return WaitUntil(
            [&] {
                pty->write(meterFrame("12.34"));
                RunEventsFor(20); // the meter's pace: frames go on until the port is open and they count
                return run.state.store.SampleCount >= count;
            },
            60000);
    }

    QTemporaryDir dir;
    std::unique_ptr<PtyFeeder> pty;
    const QString journal = dir.filePath(QStringLiteral("recovery.KRD"));
};

TEST_F(RecordingSessionTest, StartUpTakesTheStoredPortAndEachSampleReachesTheViewAndTheJournal)
{
    auto run = newRun();
    EXPECT_EQ(run->view.devices[1], pty->linkPath()) << "each port entry tells its device";
    EXPECT_EQ(run->view.linkStates, std::vector<LinkState>{LinkState::Stopped});
    EXPECT_EQ(run->view.caption, CaptionFor(QString())) << "the load step starts a new recording";

    run->session->StartUp(journal);
    EXPECT_EQ(run->state.portNumber, 2);
    EXPECT_EQ(run->view.portInUse, 2);
    EXPECT_TRUE(run->view.available[1]) << "the pseudo-terminal exists";
    EXPECT_TRUE(run->prompts.asked.isEmpty()) << "no journal was left, so nothing is offered";

    run->session->Start();
    ASSERT_EQ(run->session->acquisition().state(), LinkState::Running);
    EXPECT_EQ(run->view.recording.back(), true);
    EXPECT_EQ(run->view.linkStates.back(), LinkState::Running);
    EXPECT_EQ(run->view.device, pty->linkPath());

    ASSERT_TRUE(recordSamples(*run, 3));
    run->session->Stop();
    EXPECT_EQ(run->view.recording.back(), false);
    EXPECT_GT(run->view.framesShown, 0);
    EXPECT_FALSE(run->view.statistics.aMAX.isEmpty()) << "the ALL AREA figures follow the samples";
    EXPECT_GT(run->chart1.refreshes, 0);
    ASSERT_TRUE(QFileInfo::exists(run->session->journal()->path()));
    EXPECT_EQ(readBytes(run->session->journal()->path()), storeBytes(run->state.store, run->state.store.SampleCount));
}

TEST_F(RecordingSessionTest, ALeftJournalIsOfferedAtTheNextStartAndYesRecoversItUnsaved)
{
    QByteArray left;
    std::int32_t count = 0;
    {
        auto killed = newRun();
        killed->session->StartUp(journal);
        killed->session->Start();
        ASSERT_TRUE(recordSamples(*killed, 2));
        killed->session->Stop();
        count = killed->state.store.SampleCount;
        left = storeBytes(killed->state.store, count);
        // Gone without the close sequence, as a crash leaves it.
    }
    auto next = newRun();
    next->prompts.yesNoAnswers = {true};
    next->session->StartUp(journal);
    EXPECT_EQ(next->prompts.asked, QStringList{QString::fromLatin1(RecoveryJournal::RecoverQuestion)});
    ASSERT_EQ(next->state.store.SampleCount, count);
    EXPECT_EQ(storeBytes(next->state.store, count).mid(32), left.mid(32)) << "the samples as recorded";
    EXPECT_TRUE(next->state.acquisition.Modified) << "a recovered recording is not saved";
    EXPECT_TRUE(next->state.RecordFileName.isEmpty());
}

TEST_F(RecordingSessionTest, CloseAsksBeforeUnsavedSamplesGoAndStoresThePortAndThePlacement)
{
    auto run = newRun();
    run->session->StartUp(journal);
    run->session->Start();
    ASSERT_TRUE(recordSamples(*run, 1));
    const QString journalPath = run->session->journal()->path();
    ASSERT_TRUE(QFileInfo::exists(journalPath));
    const WindowPlacement placement{QRect(40, 50, 900, 700), false};

    run->prompts.answers = {Answer::Cancel};
    EXPECT_FALSE(run->session->CloseRequested(placement));
    EXPECT_EQ(run->prompts.asked, QStringList{QStringLiteral("Save File Before Quite?")});
    EXPECT_EQ(run->session->acquisition().state(), LinkState::Running) << "Cancel keeps recording";
    EXPECT_TRUE(QFileInfo::exists(journalPath));

    run->session->SetPortInUse(3);
    run->prompts.answers = {Answer::No};
    EXPECT_TRUE(run->session->CloseRequested(placement));
    EXPECT_EQ(run->session->acquisition().state(), LinkState::Stopped);
    EXPECT_FALSE(QFileInfo::exists(journalPath)) << "given up with No: nothing is left to recover";
    EXPECT_TRUE(run->session->CloseRequested(placement)) << "a second request goes without a question";
    EXPECT_EQ(run->prompts.asked.size(), 2);

    SettingsStore stored(dir.filePath(QStringLiteral("RQ4417.conf")));
    EXPECT_EQ(stored.GetSetting(QStringLiteral("ComPort"), QStringLiteral("ComPort"), QString()), QStringLiteral("3"));
    const QList<QRect> screens{QRect(0, 0, 1920, 1080)};
    EXPECT_EQ(ChooseWindowPlacement(stored, screens, screens.front(), QSize(0, 40), QSize(700, 520)).geometry,
              placement.geometry);
}

TEST_F(RecordingSessionTest, AStartThatCannotOpenThePortLeavesStopDown)
{
    auto run = newRun();
    run->session->StartUp(journal);
    run->session->SetPortInUse(4); // /dev/ttyUSB3, which is not there
    run->session->Start();
    EXPECT_EQ(run->session->acquisition().state(), LinkState::Stopped);
    EXPECT_EQ(run->view.recording, std::vector<bool>{false});
    EXPECT_TRUE(run->prompts.messages.isEmpty()) << "a missing port has no message of its own";
}

// What the trend pages print by: the charts as they were built, given every
// setting the charts are given, and kept as the chart widget keeps them.
TEST_F(RecordingSessionTest, TheChartSettingsTakeWhatTheChartsTakeAtLoadAndAfterOptions)
{
    SessionRun run(dir.filePath(QStringLiteral("RQ4417.conf")));
    // The window builds its first chart with a grid of 20 by 15 and a thin line.
    run.chart1.rows = 20;
    run.chart1.cols = 15;
    run.chart1.width = 1;
    WriteSetting(run.settings, Setting::FirstTopY, QStringLiteral("80.4"));
    WriteSetting(run.settings, Setting::FirstRightX, QStringLiteral("60"));
    run.create();
    const ChartSettings &first = run.session->chartSettings1();
    EXPECT_EQ(first.TopY(), 80.0f) << "a bound is kept as a whole number";
    EXPECT_EQ(first.BottomY(), -100.0f);
    EXPECT_EQ(first.Rightx(), 60.0f);
    EXPECT_EQ(first.GridRows(), 20);
    EXPECT_EQ(first.GridCols(), 15);
    EXPECT_EQ(first.LineWidth(), 1);
    EXPECT_EQ(run.session->chartSettings2().Rightx(), 60.0f) << "chart 2 shares chart 1's x range";
    EXPECT_EQ(run.session->chartSettings2().LineWidth(), 1);

    // Options stores a sign alone as typed: it does not convert, and the bound stays.
    WriteSetting(run.settings, Setting::FirstTopY, QStringLiteral("-"));
    WriteSetting(run.settings, Setting::FirstBottomY, QStringLiteral("-20"));
    WriteSetting(run.settings, Setting::FirstGridRows, QStringLiteral("4"));
    run.session->OptionsClosed(true, run.state.view.TimeMode);
    EXPECT_EQ(first.TopY(), 80.0f);
    EXPECT_EQ(first.BottomY(), -20.0f);
    EXPECT_EQ(first.GridRows(), 4);

    // A dialog that was cancelled stored nothing and applies nothing.
    WriteSetting(run.settings, Setting::FirstGridRows, QStringLiteral("6"));
    run.session->OptionsClosed(false, run.state.view.TimeMode);
    EXPECT_EQ(first.GridRows(), 4);
}

} // namespace
