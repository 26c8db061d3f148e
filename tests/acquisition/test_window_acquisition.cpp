// START in the offscreen main window with COM1 mapped to a pseudo-terminal
// meter: what the user records, end to end.

#include "Frames.h"
#include "MainFrm.h"
#include "NoisyLine.h"
#include "OffscreenWindow.h"
#include "PtyFeeder.h"
#include "SampleTexts.h"
#include "SerialLink.h"
#include "SettingsStore.h"
#include "SymbolImage.h"
#include "ToolProcess.h"
#include "Wait.h"

#include <LED.h>

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <cmath>
#include <memory>

namespace {

const QString Tool = ToolPath();

MeterFrame meterFrame(const std::string &first, std::uint8_t unit = UnitA)
{
    return ReadingFrame(first, unit, Coupling::Ac);
}

class WindowAcquisitionTest : public MeterWindowTest {
protected:
    void SetUp() override
    {
        MeterWindowTest::SetUp();
        QLocale::setDefault(QLocale::c());
    }

    void makeWindow() { openWindowOnPort(); }

    std::uint64_t accumulated() { return window->acquisition().counters().accumulated; }
    std::uint64_t blocksRead() { return window->acquisition().counters().blocksRead; }

    // Sends one frame and waits until the window has read it.
    bool send(const MeterFrame &frame)
    {
        const std::uint64_t before = blocksRead();
        return pty->write(frame) && WaitUntil([&] { return blocksRead() == before + 1; }, 10000);
    }

    bool running() { return window->acquisition().state() == LinkState::Running; }

    DialogPrompts dialogs; // the real boxes
};

} // namespace

TEST_F(WindowAcquisitionTest, EveryFrameIsASampleWithTheAutomaticInterval)
{
    makeWindow();
    window->Start->click();
    ASSERT_TRUE(running());
    EXPECT_TRUE(window->Start->isChecked());
    EXPECT_FALSE(window->File->isEnabled());
    EXPECT_FALSE(window->SetPort->isEnabled());

    const std::vector<std::string> values = {"12.35", "0012", "0 0L", "1.000"};
    for (const std::string &value : values)
        ASSERT_TRUE(send(meterFrame(value)));
    ASSERT_EQ(state.store.SampleCount, 4);
    EXPECT_FLOAT_EQ(state.store.sample(1).FirstValue, 12.35f);
    EXPECT_FLOAT_EQ(state.store.sample(2).FirstValue, 12.0f);
    EXPECT_FLOAT_EQ(state.store.sample(3).FirstValue, 0.0f) << "L outside the overload pattern is no number";
    EXPECT_FLOAT_EQ(state.store.sample(4).FirstValue, 1.0f);
    EXPECT_EQ(window->LCD1->Caption(), QStringLiteral("1.000"));
    EXPECT_TRUE(state.acquisition.Modified);
    EXPECT_EQ(state.view.ViewLast, 4) << "the view follows the newest sample";
    EXPECT_FALSE(window->aMAX->text().isEmpty());

    window->Stop->click();
    EXPECT_EQ(window->acquisition().state(), LinkState::Stopped);
    EXPECT_TRUE(window->File->isEnabled());
    EXPECT_TRUE(window->SetPort->isEnabled());
}

// Which frames went into a sample is read off the window after each frame, so
// that scheduling delays change the grouping but never the check.
TEST_F(WindowAcquisitionTest, AnIntervalOfTwoSecondsAveragesTheFramesOfEachInterval)
{
    settings.SaveSetting(QStringLiteral("AllTrend"), QStringLiteral("AutoInterval"), QStringLiteral("False"));
    settings.SaveSetting(QStringLiteral("FirstTrend"), QStringLiteral("InterValue"), QStringLiteral("2"));
    makeWindow();
    ASSERT_FLOAT_EQ(state.store.SampleInterval, 2.0f);
    window->Start->click();
    ASSERT_TRUE(running());

    std::vector<std::vector<float>> groups(1);
    for (int i = 0; i < 14; ++i) {
        const float value = float(i % 5) * 1.25f + 0.01f * float(i);
        char text[16];
        std::snprintf(text, sizeof text, "%05.2f", double(value));
        const std::int32_t before = state.store.SampleCount;
        ASSERT_TRUE(send(meterFrame(text)));
        groups.back().push_back(std::stof(text));
        if (state.store.SampleCount != before) {
            ASSERT_EQ(state.store.SampleCount, before + 1);
            groups.emplace_back();
        }
        RunEventsFor(500); // the meter's pace: how time groups the frames is what is tested
    }
    ASSERT_GE(state.store.SampleCount, 2);
    for (std::int32_t k = 1; k <= state.store.SampleCount; ++k) {
        const std::vector<float> &group = groups[std::size_t(k - 1)];
        float sum = 0;
        for (float v : group)
            sum += v;
        const double mean = double(sum) / double(group.size());
        EXPECT_NEAR(state.store.sample(k).FirstValue, std::nearbyint(mean * 100) / 100, 1e-4) << "sample " << k;
        // Four frames, five for the first; fewer when the machine is slow.
        EXPECT_GE(group.size(), 2u) << "sample " << k;
        EXPECT_LE(group.size(), 6u) << "sample " << k;
        if (k > 1) {
            EXPECT_GE(state.store.sample(k).Seconds - state.store.sample(k - 1).Seconds, 2.0f);
        }
    }
}

TEST_F(WindowAcquisitionTest, HoldFramesAddNothing)
{
    makeWindow();
    window->Start->click();
    ASSERT_TRUE(send(meterFrame("0005")));
    FrameContent hold = ReadingContent("0099", UnitA, Coupling::Ac);
    hold.symbols = SymbolBits::Hold;
    ASSERT_TRUE(send(EncodeFrame(hold)));
    EXPECT_TRUE(window->P01[SymbolHold]->isVisibleTo(window.get()));
    EXPECT_EQ(window->LCD1->Caption(), QStringLiteral("0005")) << "the display keeps the previous frame";
    ASSERT_TRUE(send(EncodeFrame(hold)));
    ASSERT_TRUE(send(meterFrame("0007")));
    EXPECT_FALSE(window->P01[SymbolHold]->isVisibleTo(window.get()));
    ASSERT_EQ(state.store.SampleCount, 2);
    EXPECT_FLOAT_EQ(state.store.sample(2).FirstValue, 7.0f);
}

TEST_F(WindowAcquisitionTest, MemoryLocationsAreRecordedOnceUntilNew)
{
    makeWindow();
    window->Start->click();
    auto recalled = [](const std::string &value, const std::string &location) {
        FrameContent c = ReadingContent(value, UnitA, Coupling::Ac);
        c.mode = ModeBits::MemoryRecall;
        c.memoryText = location;
        return EncodeFrame(c);
    };
    for (const char *location : {"7", "7", "8", "7", "8"})
        ASSERT_TRUE(send(recalled("0001", location)));
    EXPECT_EQ(state.store.SampleCount, 2);
    EXPECT_EQ(window->LCD3->Caption(), QStringLiteral("8"));

    window->Stop->click();
    prompts.answers = {ScriptedPrompts::Answer::No}; // "Save File Before Create New File?"
    window->New->trigger();
    ASSERT_EQ(state.store.SampleCount, 0);
    window->Start->click();
    ASSERT_TRUE(send(recalled("0001", "7")));
    EXPECT_EQ(state.store.SampleCount, 1);
}

TEST_F(WindowAcquisitionTest, ABlockStarting0005ResynchronisesAndChangesNothingElse)
{
    makeWindow();
    window->Start->click();
    ASSERT_TRUE(send(meterFrame("0003")));
    MeterFrame junk = meterFrame("0009");
    junk[0] = 0x00;
    ASSERT_TRUE(send(junk));
    ASSERT_TRUE(WaitUntil([&] { return window->acquisition().counters().resyncs == 1; }, 10000));
    EXPECT_TRUE(running());
    EXPECT_EQ(state.store.SampleCount, 1);
    EXPECT_EQ(window->LCD1->Caption(), QStringLiteral("0003"));
    EXPECT_FALSE(window->File->isEnabled());
    ASSERT_TRUE(send(meterFrame("0004")));
    ASSERT_EQ(state.store.SampleCount, 2);
    EXPECT_FLOAT_EQ(state.store.sample(2).FirstValue, 4.0f);
}

TEST_F(WindowAcquisitionTest, TheFunctionChangeQuestion)
{
    const QString question = QStringLiteral("You change measurement function, create new file??");
    makeWindow();
    window->Start->click();

    // One sample stored: no question.
    ASSERT_TRUE(send(meterFrame("0001", UnitA)));
    ASSERT_TRUE(send(meterFrame("0230", UnitV)));
    EXPECT_FALSE(prompts.asked.contains(question));
    ASSERT_EQ(state.store.SampleCount, 2);

    // Two stored: asked from the second frame in the new unit on; No keeps recording.
    prompts.yesNoAnswers = {false};
    ASSERT_TRUE(send(meterFrame("0002", UnitA)));
    EXPECT_FALSE(prompts.asked.contains(question)) << "one frame in another unit may be damage";
    ASSERT_TRUE(send(meterFrame("0002", UnitA)));
    EXPECT_EQ(prompts.asked.count(question), 1);
    ASSERT_TRUE(WaitUntil([&] { return running(); }, 10000));
    EXPECT_EQ(state.store.SampleCount, 3);

    // Yes runs New: the recording starts again with this frame.
    prompts.yesNoAnswers = {true};
    prompts.answers = {ScriptedPrompts::Answer::No}; // "Save File Before Create New File?"
    ASSERT_TRUE(send(meterFrame("0231", UnitV)));
    ASSERT_TRUE(send(meterFrame("0231", UnitV)));
    EXPECT_EQ(prompts.asked.count(question), 2);
    EXPECT_TRUE(prompts.asked.contains(QStringLiteral("Save File Before Create New File?")));
    ASSERT_EQ(state.store.SampleCount, 1);
    EXPECT_EQ(state.store.sample(1).FirstUnit, UnitV);
    EXPECT_TRUE(running());
    ASSERT_TRUE(send(meterFrame("0232", UnitV)));
    EXPECT_EQ(state.store.SampleCount, 2);
}

// Yes to a new file and Yes to saving the old one, then the Save As dialog
// cancelled: New stops, and the cycle records on into the same recording as
// after No, with the port open again and the journal kept.
TEST_F(WindowAcquisitionTest, AFunctionChangeWhoseSaveIsCancelledKeepsTheRecording)
{
    const QString question = QStringLiteral("You change measurement function, create new file??");
    const QString journal = dir.filePath(QStringLiteral("data/recovery.KRD"));
    makeWindow();
    window->UseRecoveryJournal(journal);
    window->Start->click();
    ASSERT_TRUE(send(meterFrame("0001", UnitA)));
    ASSERT_TRUE(send(meterFrame("0002", UnitA)));
    ASSERT_EQ(state.store.SampleCount, 2);

    prompts.yesNoAnswers = {true};
    prompts.answers = {ScriptedPrompts::Answer::Yes}; // "Save File Before Create New File?"
    prompts.files = {QString()};                      // the Save As dialog cancelled
    ASSERT_TRUE(send(meterFrame("0229", UnitV)));     // one frame alone may be damage
    ASSERT_TRUE(send(meterFrame("0230", UnitV)));
    EXPECT_EQ(prompts.asked.count(question), 1);
    EXPECT_TRUE(prompts.asked.contains(QStringLiteral("Save File Before Create New File?")));
    EXPECT_TRUE(prompts.files.empty()) << "the Save As dialog was shown";
    ASSERT_EQ(state.store.SampleCount, 3);
    EXPECT_FLOAT_EQ(state.store.sample(1).FirstValue, 1.0f);
    EXPECT_EQ(state.store.sample(3).FirstUnit, UnitV);
    EXPECT_TRUE(state.acquisition.Modified);
    EXPECT_TRUE(QFileInfo::exists(journal));
    EXPECT_TRUE(running());

    // The newest sample has the new unit: recording goes on without a question.
    ASSERT_TRUE(send(meterFrame("0231", UnitV)));
    EXPECT_EQ(state.store.SampleCount, 4);
    EXPECT_EQ(prompts.asked.count(question), 1);
    window->Stop->click();
    EXPECT_EQ(QFileInfo(journal).size(), 32 * 5) << "every sample of the kept recording is journaled";
}

TEST_F(WindowAcquisitionTest, StartOnAPortHeldByAnotherProgramShowsTheInUseMessage)
{
    PtyFeeder busy(dir.filePath(QStringLiteral("busy")));
    settings.SaveSetting(QStringLiteral("ComPort"), QStringLiteral("COM3"), busy.linkPath());
    // Another program: amperotool recording from the same device.
    QProcess holder;
    holder.start(Tool, {QStringLiteral("record"), QStringLiteral("--port"), busy.linkPath(), QStringLiteral("--out"),
                        dir.filePath(QStringLiteral("holder.krd"))});
    ASSERT_TRUE(holder.waitForStarted(5000));
    ASSERT_TRUE(WaitUntil([&] { return QFile::exists(dir.filePath(QStringLiteral("holder.krd"))); }, 10000));

    makeWindow();
    window->SetPortInUse(3);
    window->Start->click();
    EXPECT_EQ(prompts.messages, QStringList{QStringLiteral("Com3 is being used!! please select other ComPort.")});
    EXPECT_TRUE(window->Stop->isChecked());
    EXPECT_FALSE(window->Start->isChecked());
    EXPECT_TRUE(window->File->isEnabled());
    EXPECT_TRUE(window->SetPort->isEnabled());
    EXPECT_EQ(window->acquisition().state(), LinkState::Stopped);

    holder.terminate();
    ASSERT_TRUE(holder.waitForFinished(5000));
    EXPECT_EQ(holder.exitCode(), 0);
}

TEST_F(WindowAcquisitionTest, StopAndStartContinueTheSameRecording)
{
    settings.SaveSetting(QStringLiteral("AllTrend"), QStringLiteral("AutoInterval"), QStringLiteral("False"));
    settings.SaveSetting(QStringLiteral("FirstTrend"), QStringLiteral("InterValue"), QStringLiteral("0.5"));
    makeWindow();
    window->Start->click();
    ASSERT_TRUE(send(meterFrame("0010")));
    RunEventsFor(600); // past the half-second interval: time is what ends it
    ASSERT_TRUE(send(meterFrame("0010")));
    ASSERT_EQ(state.store.SampleCount, 1);
    ASSERT_TRUE(send(meterFrame("0020"))); // accumulated, not yet a sample
    window->Stop->click();
    pty->write(meterFrame("0099")); // nobody reads while stopped
    RunEventsFor(100);              // a stretch in which the frame must stay unread
    window->Start->click();
    ASSERT_TRUE(running());
    RunEventsFor(600); // past the interval again
    ASSERT_TRUE(send(meterFrame("0040")));
    ASSERT_EQ(state.store.SampleCount, 2);
    EXPECT_FLOAT_EQ(state.store.sample(2).FirstValue, 30.0f) << "the frame before STOP counts into the next sample";
}

TEST_F(WindowAcquisitionTest, APulledPortReconnects)
{
    makeWindow();
    window->Start->click();
    ASSERT_TRUE(send(meterFrame("0001")));
    pty->unplug();
    ASSERT_TRUE(WaitUntil([&] { return window->acquisition().state() == LinkState::Reconnecting; }, 10000));
    const QString status = window->LinkStatus->text();
    EXPECT_TRUE(status.contains(QLatin1String("reconnecting"))) << qPrintable(status);
    EXPECT_FALSE(window->File->isEnabled()) << "still recording";
    EXPECT_EQ(state.store.SampleCount, 1);

    pty = std::make_unique<PtyFeeder>(dir.filePath(QStringLiteral("meter")));
    ASSERT_TRUE(WaitUntil([&] { return running(); }, AcquisitionController::ReconnectIntervalMs + 1500));
    ASSERT_TRUE(send(meterFrame("0002")));
    EXPECT_EQ(state.store.SampleCount, 2);
    EXPECT_FALSE(window->LinkStatus->text().contains(QLatin1String("reconnecting")));
}

// The simulator's noisy line through a real pseudo-terminal into the window,
// with the Options check "Discard damaged frames" as stored, and without it.
TEST_F(WindowAcquisitionTest, OnANoisyLineDamagedFramesAreDroppedWhenTheOptionIsTicked)
{
    constexpr int Frames = 400;
    ScenarioSettings scenario;
    scenario.scenario = Scenario::Noise;
    scenario.seed = 5;
    const LineReadings line = ReadingsOnTheLine(scenario, Frames);
    ASSERT_GT(line.damagedOnly.size(), 10u);

    for (const char *stored : {"True", "False"}) {
        SCOPED_TRACE(stored);
        const bool discard = QLatin1String(stored) == QLatin1String("True");
        settings.SaveSetting(QStringLiteral("Acquisition"), QStringLiteral("DiscardDamagedFrames"),
                             QLatin1String(stored));
        QProcess simulator;
        const QString port =
            StartSimulator(simulator, {QStringLiteral("--scenario"), QStringLiteral("noise"), QStringLiteral("--seed"),
                                       QString::number(scenario.seed), QStringLiteral("--rate"), QStringLiteral("80"),
                                       QStringLiteral("--frames"), QString::number(Frames)});
        ASSERT_FALSE(port.isEmpty());
        settings.SaveSetting(QStringLiteral("ComPort"), QStringLiteral("COM1"), port);
        state = ProgramState();
        prompts.asked.clear();
        makeWindow();
        ASSERT_EQ(state.acquisition.DiscardDamagedFrames, discard);
        window->Start->click();
        ASSERT_TRUE(running());
        ASSERT_TRUE(WaitUntil([&] { return simulator.state() == QProcess::NotRunning; }, 60000));
        EXPECT_EQ(simulator.exitCode(), 0);
        window->Stop->click();

        ASSERT_GT(state.store.SampleCount, Frames / 2);
        std::size_t damagedRecorded = 0, undamaged = 0;
        for (std::int32_t k = 1; k <= state.store.SampleCount; ++k) {
            damagedRecorded += line.damagedOnly.count(ReadingOf(state.store.sample(k)));
            undamaged += line.undamaged.count(ReadingOf(state.store.sample(k)));
        }
        const std::uint64_t counted = window->acquisition().counters().damagedFrames;
        EXPECT_GT(counted, 0u);
        const QString status = window->FrameStatus->text();
        if (discard) {
            EXPECT_EQ(damagedRecorded, 0u);
            EXPECT_TRUE(prompts.asked.isEmpty()) << qPrintable(prompts.asked.join(QLatin1Char('\n')));
            EXPECT_GE(undamaged, std::size_t(state.store.SampleCount) - 2);
            EXPECT_EQ(status, QStringLiteral("Damaged frames dropped: %1").arg(counted));
        } else {
            EXPECT_GT(damagedRecorded, 5u);
            EXPECT_EQ(status, QStringLiteral("Damaged frames kept: %1").arg(counted));
        }
        // Leaving the recording unsaved: the next window asks nothing at its start.
        state.acquisition.Modified = false;
        window.reset();
    }
}

// The real box: withdrawn while it waits, it closes as No.
TEST(DialogPromptsTest, AWithdrawnQuestionClosesItsBoxAsNo)
{
    DialogPrompts prompts;
    QString shown;
    QTimer::singleShot(50, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
            shown = box->text();
        prompts.withdrawQuestion();
    });
    EXPECT_FALSE(prompts.askYesNo(QString::fromLatin1(ReceiveCycle::FunctionChangeQuestion)));
    EXPECT_EQ(shown, QString::fromLatin1(ReceiveCycle::FunctionChangeQuestion));
    prompts.withdrawQuestion(); // no box up: nothing happens
}

// Nobody at the window: the real question box closes itself after 30 s as No,
// the status bar says so, and the recording goes on.
TEST_F(WindowAcquisitionTest, AnUnansweredFunctionChangeQuestionCountsAsNo)
{
    window = std::make_unique<MainFrm>(state, settings, dialogs);
    dialogs.setParent(window.get());
    window->ProbePorts();
    window->SetPortInUse(1);
    window->show();
    window->Start->click();
    ASSERT_TRUE(running());
    for (std::uint8_t unit : {UnitA, UnitA, UnitV})
        ASSERT_TRUE(send(meterFrame("0001", unit)));
    ASSERT_EQ(state.store.SampleCount, 2);
    QString asked;
    QTimer::singleShot(500, window.get(), [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
            asked = box->text();
    });
    QElapsedTimer waited;
    waited.start();
    ASSERT_TRUE(pty->write(meterFrame("0002", UnitV)));
    ASSERT_TRUE(WaitUntil([&] { return !window->QuestionStatus->text().isEmpty(); }, 90000));
    EXPECT_GE(waited.elapsed(), ReceiveCycle::QuestionTimeoutMs);
    EXPECT_EQ(asked, QString::fromLatin1(ReceiveCycle::FunctionChangeQuestion));
    EXPECT_TRUE(window->QuestionStatus->text().contains(QLatin1String("not answered in 30 s: taken as No")))
        << qPrintable(window->QuestionStatus->text());
    EXPECT_EQ(window->acquisition().counters().unansweredQuestions, 1u);
    ASSERT_EQ(state.store.SampleCount, 3) << "the frame that raised the question is recorded";
    EXPECT_EQ(state.store.sample(3).FirstUnit, UnitV);
    ASSERT_TRUE(WaitUntil([&] { return running(); }, 10000));
    ASSERT_TRUE(send(meterFrame("0003", UnitV)));
    EXPECT_EQ(state.store.SampleCount, 4);
    state.acquisition.Modified = false;
}
