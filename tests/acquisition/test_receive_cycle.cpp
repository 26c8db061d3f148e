// The receive cycle driven block by block with a fake port, clock and window.

#include "Frames.h"
#include "ProgramState.h"
#include "ReceiveCycle.h"
#include "SampleTexts.h"

#include <gtest/gtest.h>

#include <QThread>

#include <cmath>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace {

class FakePort : public MeterPort {
public:
    bool readFrame(MeterFrame &frame) override
    {
        log.push_back("read");
        if (blocks.empty())
            return false;
        frame = blocks.front();
        blocks.pop_front();
        return true;
    }
    void closePort() override
    {
        log.push_back("close");
        open = false;
    }
    void reopenPort() override
    {
        log.push_back("open");
        open = true;
    }

    std::deque<MeterFrame> blocks;
    std::vector<std::string> log;
    bool open = true;
};

class FakeClock : public TickClock {
public:
    float tickSeconds() override { return tick; }
    double localOleDate() override { return stamp; }
    float tick = 0;
    double stamp = 45000.5;
};

class FakeView : public AcquisitionView {
public:
    FakeView(ProgramState &state, FakePort &port) : state_(state), port_(port) {}

    void showHoldSymbol(bool lit) override { holdShown.push_back(lit); }
    void showDisplay(const DecodedFrame &frame) override { displays.push_back(frame); }
    bool askCreateNewFile() override
    {
        portOpenWhileAsked.push_back(port_.open);
        withdrawn = false;
        if (whileAsked)
            whileAsked();
        // A withdrawn box closes as No, whatever the script says.
        if (withdrawn)
            return false;
        const bool yes = answers.empty() || answers.front();
        if (!answers.empty())
            answers.pop_front();
        return yes;
    }
    void withdrawQuestion() override
    {
        withdrawn = true;
        ++withdrawals;
    }
    void runNewCommand() override
    {
        ++newCommands;
        ResetRecording(state_.store, state_.acquisition);
    }
    void followLatestSample() override { followed.push_back(state_.store.SampleCount); }

    std::vector<bool> holdShown;
    std::vector<DecodedFrame> displays;
    std::deque<bool> answers; // Yes when empty
    std::vector<bool> portOpenWhileAsked;
    std::function<void()> whileAsked; // what happens while the box is up
    bool withdrawn = false;
    int withdrawals = 0;
    int newCommands = 0;
    std::vector<std::int32_t> followed;

private:
    ProgramState &state_;
    FakePort &port_;
};

// A timer that runs out when the test says so.
class FakeQuestionTimer : public QuestionTimer {
public:
    void start(int milliseconds, std::function<void()> expired) override
    {
        startedWith.push_back(milliseconds);
        expired_ = std::move(expired);
    }
    void stop() override
    {
        ++stops;
        expired_ = nullptr;
    }
    void runOut()
    {
        ASSERT_TRUE(expired_) << "the timer was not running";
        auto expired = expired_;
        expired();
    }
    bool running() const { return bool(expired_); }

    std::vector<int> startedWith;
    int stops = 0;

private:
    std::function<void()> expired_;
};

// A window just loaded: the New reset has run, acquisition starts.
struct Rig {
    Rig()
    {
        ResetRecording(state.store, state.acquisition);
        state.store.RecomputeSampleInterval();
    }

    void setInterval(float seconds)
    {
        state.store.AutoInterval = seconds == 0;
        state.store.InterValue = seconds;
        state.store.RecomputeSampleInterval();
    }

    void feed(const MeterFrame &frame, float tick)
    {
        clock.tick = tick;
        port.blocks.push_back(frame);
        cycle.run(ReceiveEvent::FrameWaiting);
    }

    SampleStore &store() { return state.store; }
    const Sample &sample(int i) { return state.store.sample(i); }

    ProgramState state;
    FakePort port;
    FakeClock clock;
    FakeView view{state, port};
    ReceiveCycle cycle{state.store, state.acquisition, port, clock, view};
};

// The meter fills its cells with leading zeros: a blank in front of a digit
// would make the display text no number.
std::string fourDigits(const std::string &text)
{
    if (text.find('L') != std::string::npos)
        return text;
    std::string padded = text;
    int digits = 0;
    for (char ch : text)
        digits += ch >= '0' && ch <= '9';
    for (; digits < 4; ++digits)
        padded.insert(padded.begin(), '0');
    return padded;
}

FrameContent reading(const std::string &first, std::uint8_t unit = UnitA, const std::string &second = "230.1")
{
    FrameContent c = ReadingContent(fourDigits(first), unit, Coupling::Ac);
    c.secondText = second;
    c.symbols = SymbolBits::Phase1;
    return c;
}

MeterFrame frame(const std::string &first, std::uint8_t unit = UnitA, const std::string &second = "230.1")
{
    return EncodeFrame(reading(first, unit, second));
}

MeterFrame recalled(const std::string &first, const std::string &location)
{
    FrameContent c = reading(first);
    c.mode = ModeBits::MemoryRecall;
    c.memoryText = location;
    return EncodeFrame(c);
}

MeterFrame held(const std::string &first, std::uint8_t extraMode = 0)
{
    FrameContent c = reading(first);
    c.symbols |= SymbolBits::Hold;
    c.mode = extraMode;
    c.memoryText = "5";
    return EncodeFrame(c);
}

} // namespace

TEST(ReceiveCycleTest, AutomaticIntervalRecordsEveryFrameWithItsBytesAndClock)
{
    Rig rig;
    FrameContent c = reading("12.35");
    c.mode = ModeBits::Max;
    c.symbols = SymbolBits::Phase2 | SymbolBits::HighVoltage;
    const MeterFrame f = EncodeFrame(c);
    rig.clock.stamp = 45678.25;
    rig.feed(f, 10.5f);
    rig.feed(frame("7.5"), 10.51f);

    ASSERT_EQ(rig.store().SampleCount, 2);
    const Sample &s = rig.sample(1);
    EXPECT_FLOAT_EQ(s.FirstValue, 12.35f);
    EXPECT_EQ(s.FirstUnit, f[3]);
    EXPECT_EQ(s.Symbols, f[8]);
    EXPECT_EQ(s.Symbols2, f[8]);
    EXPECT_FLOAT_EQ(s.SecondValue, 230.1f);
    EXPECT_EQ(s.SecondUnit, f[2]);
    EXPECT_EQ(s.Mode, ModeBits::Max);
    EXPECT_FLOAT_EQ(s.Seconds, 10.5f);
    EXPECT_DOUBLE_EQ(s.Stamp, 45678.25);
    const SampleRecordBytes bytes = s.toBytes();
    for (std::size_t padding : {6u, 7u, 14u, 15u, 29u, 30u, 31u})
        EXPECT_EQ(bytes[padding], 0) << "byte " << padding;

    EXPECT_FLOAT_EQ(rig.sample(2).FirstValue, 7.5f);
    EXPECT_TRUE(rig.state.acquisition.Modified);
    EXPECT_EQ(rig.state.acquisition.PacketCount, 0);
    EXPECT_FLOAT_EQ(rig.state.acquisition.FirstSum, 0);
    EXPECT_EQ(rig.view.followed, (std::vector<std::int32_t>{1, 2}));
    EXPECT_EQ(rig.port.log, (std::vector<std::string>{"read", "read"}));
    EXPECT_EQ(rig.cycle.counters().samples, 2u);
}

TEST(ReceiveCycleTest, NegativeAndOverloadValuesEnterTheMeans)
{
    struct Row {
        const char *name;
        std::vector<std::pair<std::string, bool>> frames; // first display text, minus sign
        float expected;
    };
    const Row rows[] = {
        {"overload with an ordinary value", {{" 0L ", false}, {"1", false}}, 5000.0f},
        {"overload with minus sign", {{" 0L ", true}, {"1", false}}, -4999.0f},
        {"minus sign", {{"2.5", true}, {"0.5", true}}, -1.5f},
        {"a third rounds to two decimals", {{"1", false}, {"1", false}, {"2", false}}, 1.33f},
        {"a half goes down to the even neighbour", {{"0.125", false}, {"0.125", false}}, 0.12f},
        {"a half goes up to the even neighbour", {{"0.375", false}, {"0.375", false}}, 0.38f},
    };
    for (const Row &row : rows) {
        Rig rig;
        rig.setInterval(10);
        for (std::size_t i = 0; i < row.frames.size(); ++i) {
            FrameContent c = reading(row.frames[i].first);
            c.firstNegative = row.frames[i].second;
            // The last frame completes the interval.
            const bool last = i + 1 == row.frames.size();
            rig.feed(EncodeFrame(c), last ? 10.0f : 0.5f * float(i));
            EXPECT_EQ(rig.store().SampleCount, last ? 1 : 0) << row.name;
        }
        ASSERT_EQ(rig.store().SampleCount, 1) << row.name;
        EXPECT_FLOAT_EQ(rig.sample(1).FirstValue, row.expected) << row.name;
    }
}

// Frames every 0.5 s with a 2 s interval: the first sample after New also
// holds the reference frame, every later one exactly four frames.
TEST(ReceiveCycleTest, IntervalOfTwoSecondsAveragesFourFramesOfHalfASecond)
{
    Rig rig;
    rig.setInterval(2.0f);
    const std::vector<std::string> values = {"10",   "20",   "30",   "40",   "50", // sample 1: mean 30
                                             "1",    "2",    "2",    "2",          // sample 2: 1.75
                                             "0.01", "0.02", "0.02", "0.02",       // sample 3: 0.0175 -> 0.02
                                             "5"};                                 // waits for the interval
    float tick = 100.0f;
    for (const std::string &value : values) {
        rig.feed(frame(value), tick);
        tick += 0.5f;
    }
    ASSERT_EQ(rig.store().SampleCount, 3);
    EXPECT_FLOAT_EQ(rig.sample(1).FirstValue, 30.0f);
    EXPECT_FLOAT_EQ(rig.sample(2).FirstValue, 1.75f);
    EXPECT_FLOAT_EQ(rig.sample(3).FirstValue, 0.02f);
    EXPECT_FLOAT_EQ(rig.sample(1).Seconds, 102.0f);
    EXPECT_FLOAT_EQ(rig.sample(2).Seconds, 104.0f);
    EXPECT_FLOAT_EQ(rig.sample(3).Seconds, 106.0f);
    EXPECT_FLOAT_EQ(rig.sample(2).SecondValue, 230.1f);
    EXPECT_EQ(rig.state.acquisition.PacketCount, 1);
    EXPECT_FLOAT_EQ(rig.state.acquisition.FirstSum, 5.0f);
    EXPECT_FLOAT_EQ(rig.store().LastSampleTime, 106.0f);
}

TEST(ReceiveCycleTest, TheSampleCarriesTheBytesOfTheFrameThatCompletedIt)
{
    Rig rig;
    rig.setInterval(1.0f);
    FrameContent early = reading("1");
    early.symbols = SymbolBits::Phase1;
    FrameContent late = reading("3");
    late.symbols = SymbolBits::Phase3;
    late.mode = ModeBits::Frequency;
    rig.clock.stamp = 1.0;
    rig.feed(EncodeFrame(early), 0.0f);
    rig.clock.stamp = 2.0;
    rig.feed(EncodeFrame(late), 1.0f);
    ASSERT_EQ(rig.store().SampleCount, 1);
    EXPECT_FLOAT_EQ(rig.sample(1).FirstValue, 2.0f);
    EXPECT_EQ(rig.sample(1).Symbols, SymbolBits::Phase3);
    EXPECT_EQ(rig.sample(1).Mode, ModeBits::Frequency);
    EXPECT_DOUBLE_EQ(rig.sample(1).Stamp, 2.0);
}

TEST(ReceiveCycleTest, AfterNewTheFirstSampleWaitsAFullInterval)
{
    Rig rig;
    rig.setInterval(3.0f);
    rig.state.acquisition.RestartClock = false;
    rig.store().LastSampleTime = 0;
    // Without the restart the clock reference is 0: 50 s of uptime make it due at once.
    rig.feed(frame("1"), 50.0f);
    EXPECT_EQ(rig.store().SampleCount, 1);

    ResetRecording(rig.store(), rig.state.acquisition);
    rig.feed(frame("2"), 60.0f);
    rig.feed(frame("2"), 62.99f);
    EXPECT_EQ(rig.store().SampleCount, 0);
    rig.feed(frame("2"), 63.0f);
    EXPECT_EQ(rig.store().SampleCount, 1);
    EXPECT_FALSE(rig.state.acquisition.RestartClock);
}

TEST(ReceiveCycleTest, HoldOutsideMemoryRecallOnlyShowsTheHoldSymbol)
{
    Rig rig;
    rig.setInterval(1.0f);
    rig.feed(frame("4"), 0.0f);
    ASSERT_EQ(rig.view.displays.size(), 1u);
    rig.feed(held("9999"), 0.5f);
    rig.feed(held("9999"), 1.5f);
    EXPECT_EQ(rig.view.holdShown, (std::vector<bool>{false, true, true}));
    EXPECT_EQ(rig.view.displays.size(), 1u) << "the display keeps the previous frame";
    EXPECT_EQ(rig.state.acquisition.PacketCount, 1);
    EXPECT_FLOAT_EQ(rig.state.acquisition.FirstSum, 4.0f);
    EXPECT_EQ(rig.store().SampleCount, 0);
    EXPECT_EQ(rig.cycle.counters().heldFrames, 2u);

    // With memory recall the held frame is an ordinary one.
    rig.feed(held("6", ModeBits::MemoryRecall), 2.0f);
    ASSERT_EQ(rig.store().SampleCount, 1);
    EXPECT_FLOAT_EQ(rig.sample(1).FirstValue, 5.0f);
    EXPECT_EQ(rig.view.holdShown.back(), true);
}

TEST(ReceiveCycleTest, EachRecalledMemoryLocationIsRecordedOncePerRecording)
{
    Rig rig;
    rig.feed(recalled("1.5", "7"), 1.0f);
    rig.feed(recalled("1.5", "7"), 1.1f);
    rig.feed(recalled("2.5", "17"), 1.2f);
    rig.feed(recalled("2.5", "17"), 1.3f);
    EXPECT_EQ(rig.store().SampleCount, 2);
    EXPECT_TRUE(rig.state.acquisition.MemoryTaken[7]);
    EXPECT_TRUE(rig.state.acquisition.MemoryTaken[17]);
    EXPECT_EQ(rig.cycle.counters().repeatedMemory, 2u);
    EXPECT_EQ(rig.view.displays.size(), 4u) << "a repeated location is still shown";

    ResetRecording(rig.store(), rig.state.acquisition);
    rig.feed(recalled("1.5", "7"), 2.0f);
    EXPECT_EQ(rig.store().SampleCount, 1) << "New clears the marks";
}

// Location 0 is a location like any other, and so is the highest one the
// memory display can show: both are recorded once however often the meter
// repeats them.
TEST(ReceiveCycleTest, TheFirstAndLastMemoryLocationsAreRecordedOnceToo)
{
    Rig rig;
    const std::string last = "29";
    rig.feed(recalled("1.5", "0"), 1.0f);
    rig.feed(recalled("1.5", "0"), 1.1f);
    rig.feed(recalled("2.5", last), 1.2f);
    rig.feed(recalled("3.5", "0"), 1.3f);
    rig.feed(recalled("2.5", last), 1.4f);
    ASSERT_EQ(rig.store().SampleCount, 2);
    EXPECT_FLOAT_EQ(rig.sample(1).FirstValue, 1.5f);
    EXPECT_FLOAT_EQ(rig.sample(2).FirstValue, 2.5f);
    EXPECT_TRUE(rig.state.acquisition.MemoryTaken[0]);
    EXPECT_TRUE(rig.state.acquisition.MemoryTaken[29]);
    EXPECT_EQ(rig.cycle.counters().repeatedMemory, 3u);
}

TEST(ReceiveCycleTest, MemoryRuleSkipsBlankLocationsAndMemoryStore)
{
    Rig rig;
    rig.feed(recalled("1", " "), 1.0f);
    rig.feed(recalled("1", " "), 1.1f);
    EXPECT_EQ(rig.store().SampleCount, 2) << "a blank location is no number: nothing is marked";

    FrameContent both = reading("1");
    both.mode = ModeBits::MemoryRecall | ModeBits::MemoryStore;
    both.memoryText = "3";
    rig.feed(EncodeFrame(both), 1.2f);
    rig.feed(EncodeFrame(both), 1.3f);
    EXPECT_EQ(rig.store().SampleCount, 4) << "the label reads MEM, not MR";
    EXPECT_FALSE(rig.state.acquisition.MemoryTaken[3]);
}

TEST(ReceiveCycleTest, WithAnIntervalARecalledLocationAddsToTheNextSample)
{
    Rig rig;
    rig.setInterval(2.0f);
    rig.feed(recalled("10", "1"), 0.0f);
    rig.feed(recalled("20", "2"), 1.0f);
    rig.feed(recalled("99", "2"), 1.5f); // location 2 again: ignored
    rig.feed(recalled("30", "3"), 2.0f);
    ASSERT_EQ(rig.store().SampleCount, 1);
    EXPECT_FLOAT_EQ(rig.sample(1).FirstValue, 20.0f);
}

TEST(MemoryLocationNumberTest, TextsOfTheMemoryDisplay)
{
    struct Row {
        const char *text;
        std::optional<std::int64_t> expected;
    };
    const Row rows[] = {
        {"7", 7},
        {"17", 17},
        {"29", 29},
        {"0", 0},
        {"7.", 7},
        {"2.5", 2},
        {"3.5", 4},
        {"31", 31},
        {" ", std::nullopt},
        {"", std::nullopt},
        {"1L", std::nullopt},
        {"L", std::nullopt},
        {"2", 2},
    };
    for (const Row &row : rows)
        EXPECT_EQ(MemoryLocationNumber(row.text), row.expected) << '"' << row.text << '"';
}

TEST(ReceiveCycleTest, NoPromptWithOneSampleStored)
{
    Rig rig;
    rig.feed(frame("1", UnitA), 1.0f);
    rig.feed(frame("230", UnitV), 2.0f);
    EXPECT_TRUE(rig.view.portOpenWhileAsked.empty());
    EXPECT_EQ(rig.store().SampleCount, 2);
}

TEST(ReceiveCycleTest, FunctionChangeAnsweredNoKeepsRecording)
{
    Rig rig;
    rig.feed(frame("1", UnitA), 1.0f);
    rig.feed(frame("2", UnitA), 2.0f);
    rig.feed(frame("229", UnitV), 2.5f); // the first frame of a new unit could be damage
    EXPECT_TRUE(rig.view.portOpenWhileAsked.empty());
    rig.port.log.clear();
    rig.view.answers = {false};
    rig.feed(frame("230", UnitV), 3.0f);
    EXPECT_EQ(rig.view.portOpenWhileAsked, (std::vector<bool>{false})) << "the port is closed while asking";
    EXPECT_EQ(rig.port.log, (std::vector<std::string>{"read", "close", "open"}));
    EXPECT_TRUE(rig.port.open);
    EXPECT_EQ(rig.view.newCommands, 0);
    ASSERT_EQ(rig.store().SampleCount, 3);
    EXPECT_EQ(rig.sample(3).FirstUnit, UnitV);
    // The newest sample has the new unit now: no further question.
    rig.feed(frame("231", UnitV), 4.0f);
    EXPECT_EQ(rig.view.portOpenWhileAsked.size(), 1u);
    EXPECT_EQ(rig.store().SampleCount, 4);
}

TEST(ReceiveCycleTest, FunctionChangeAsksAgainUntilASampleHasTheNewUnit)
{
    Rig rig;
    rig.setInterval(2.0f);
    for (float t : {0.0f, 2.0f, 4.0f})
        rig.feed(frame("1", UnitKW), t);
    ASSERT_EQ(rig.store().SampleCount, 2);
    rig.view.answers = {false, false, false};
    rig.feed(frame("5", UnitA), 4.2f); // not yet believed
    rig.feed(frame("5", UnitA), 4.5f);
    rig.feed(frame("5", UnitA), 5.0f);
    EXPECT_EQ(rig.view.portOpenWhileAsked.size(), 2u);
    rig.feed(frame("5", UnitA), 6.0f); // completes the interval: a sample in A
    EXPECT_EQ(rig.view.portOpenWhileAsked.size(), 3u);
    ASSERT_EQ(rig.store().SampleCount, 3);
    EXPECT_FLOAT_EQ(rig.sample(3).FirstValue, 5.0f);
    rig.feed(frame("5", UnitA), 6.5f);
    EXPECT_EQ(rig.view.portOpenWhileAsked.size(), 3u);
    EXPECT_EQ(rig.cycle.counters().functionChanges, 3u);
}

TEST(ReceiveCycleTest, FunctionChangeAnsweredYesStartsANewRecordingWithThisFrame)
{
    Rig rig;
    rig.feed(frame("1", UnitA), 1.0f);
    rig.feed(frame("2", UnitA), 2.0f);
    rig.feed(frame("3", UnitA), 3.0f);
    rig.view.answers = {true};
    rig.feed(frame("229", UnitV), 3.5f);
    rig.feed(frame("230", UnitV), 4.0f);
    EXPECT_EQ(rig.view.newCommands, 1);
    EXPECT_TRUE(rig.port.open);
    ASSERT_EQ(rig.store().SampleCount, 1);
    EXPECT_FLOAT_EQ(rig.sample(1).FirstValue, 230.0f);
    EXPECT_EQ(rig.sample(1).FirstUnit, UnitV);
    EXPECT_EQ(rig.store().Samples.size(), 2u);
    EXPECT_TRUE(rig.state.acquisition.Modified);
}

TEST(ReceiveCycleTest, AnUnansweredQuestionCountsAsNoAfterThirtySeconds)
{
    Rig rig;
    FakeQuestionTimer timer;
    rig.cycle.setQuestionTimer(&timer);
    rig.feed(frame("1", UnitA), 1.0f);
    rig.feed(frame("2", UnitA), 2.0f);
    rig.feed(frame("229", UnitV), 2.5f);
    rig.port.log.clear();
    // Nobody at the window: the time runs out while the box is up.
    rig.view.answers = {true};
    rig.view.whileAsked = [&] { timer.runOut(); };
    rig.feed(frame("230", UnitV), 3.0f);
    EXPECT_EQ(timer.startedWith, (std::vector<int>{30000}));
    EXPECT_EQ(rig.view.withdrawals, 1);
    EXPECT_EQ(rig.view.newCommands, 0) << "taken as No";
    EXPECT_EQ(rig.cycle.counters().unansweredQuestions, 1u);
    EXPECT_EQ(rig.port.log, (std::vector<std::string>{"read", "close", "open"}));
    EXPECT_TRUE(rig.port.open) << "recording goes on";
    ASSERT_EQ(rig.store().SampleCount, 3);
    EXPECT_EQ(rig.sample(3).FirstUnit, UnitV);
    rig.feed(frame("231", UnitV), 4.0f);
    EXPECT_EQ(rig.store().SampleCount, 4);
}

TEST(ReceiveCycleTest, AnAnswerInTimeStopsTheClockOfTheQuestion)
{
    Rig rig;
    FakeQuestionTimer timer;
    rig.cycle.setQuestionTimer(&timer);
    for (float t : {1.0f, 2.0f})
        rig.feed(frame("1", UnitA), t);
    rig.view.answers = {false, true};
    rig.view.whileAsked = [&] { EXPECT_TRUE(timer.running()) << "the time limit runs while the box is up"; };
    rig.feed(frame("5", UnitKW), 2.5f);
    rig.feed(frame("5", UnitKW), 3.0f);
    EXPECT_FALSE(timer.running());
    EXPECT_EQ(timer.stops, 1);
    rig.feed(frame("5", UnitA), 3.5f);
    rig.feed(frame("5", UnitA), 4.0f); // back to A: asked again, and Yes
    EXPECT_FALSE(timer.running());
    EXPECT_EQ(timer.startedWith.size(), 2u);
    EXPECT_EQ(rig.view.withdrawals, 0);
    EXPECT_EQ(rig.view.newCommands, 1);
    EXPECT_EQ(rig.cycle.counters().unansweredQuestions, 0u);
    EXPECT_EQ(rig.cycle.counters().functionChanges, 2u);
}

TEST(ReceiveCycleTest, ADamagedFrameIsDroppedBeforeTheHoldStep)
{
    Rig rig;
    rig.setInterval(5.0f);
    rig.feed(frame("1"), 0.0f);
    const ProgramState before = rig.state;
    rig.port.log.clear();
    MeterFrame damaged = frame("2");
    damaged[10] |= 0x08; // byte 11, bit 3: unused
    rig.feed(damaged, 1.0f);
    EXPECT_EQ(rig.port.log, (std::vector<std::string>{"read"})) << "in step: the port stays open";
    EXPECT_EQ(rig.view.holdShown.size(), 1u) << "not even the HOLD symbol follows it";
    EXPECT_EQ(rig.view.displays.size(), 1u);
    EXPECT_EQ(rig.state.acquisition.PacketCount, before.acquisition.PacketCount);
    EXPECT_FLOAT_EQ(rig.state.acquisition.FirstSum, before.acquisition.FirstSum);
    EXPECT_EQ(rig.cycle.counters().damagedFrames, 1u);
    EXPECT_EQ(rig.cycle.counters().resyncs, 0u);

    // A cell the table does not know, even in a frame HOLD would stop.
    MeterFrame badCell = held("3");
    badCell[5] = 0x6E;
    rig.feed(badCell, 1.5f);
    EXPECT_EQ(rig.view.holdShown.size(), 1u);
    EXPECT_EQ(rig.cycle.counters().damagedFrames, 2u);
    EXPECT_EQ(rig.cycle.counters().heldFrames, 0u);

    rig.feed(frame("4"), 2.0f);
    EXPECT_EQ(rig.state.acquisition.PacketCount, before.acquisition.PacketCount + 1);
}

TEST(ReceiveCycleTest, WithoutTheCheckDamagedFramesAreCountedAndKept)
{
    Rig rig;
    rig.state.acquisition.DiscardDamagedFrames = false;
    // "1" "2." "3" "5" with the "2." cell hit on the line: "135".
    MeterFrame damaged = frame("12.35");
    damaged[6] = 0x6E;
    rig.feed(damaged, 1.0f);
    ASSERT_EQ(rig.store().SampleCount, 1);
    EXPECT_FLOAT_EQ(rig.sample(1).FirstValue, 135.0f);
    EXPECT_EQ(rig.cycle.counters().damagedFrames, 1u);
}

// A unit byte hit on the line would otherwise ask about a new file, close the
// port while nobody answers, and record a sample in a unit never shown.
TEST(ReceiveCycleTest, AUnitShownByOneFrameAloneIsDamage)
{
    Rig rig;
    for (float t : {1.0f, 2.0f, 3.0f})
        rig.feed(frame("1", UnitA), t);
    rig.feed(frame("1", 0x02), 4.0f); // kVA for one frame
    rig.feed(frame("1", UnitA), 5.0f);
    EXPECT_TRUE(rig.view.portOpenWhileAsked.empty());
    EXPECT_EQ(rig.cycle.counters().damagedFrames, 1u);
    ASSERT_EQ(rig.store().SampleCount, 4);
    EXPECT_EQ(rig.sample(4).FirstUnit, UnitA);
    EXPECT_EQ(rig.view.holdShown.size(), 4u) << "dropped before the HOLD step";

    // Without the check every frame counts, as the meter sent it.
    rig.state.acquisition.DiscardDamagedFrames = false;
    rig.view.answers = {false, false};
    rig.feed(frame("1", 0x02), 6.0f);
    EXPECT_EQ(rig.view.portOpenWhileAsked.size(), 1u);
    EXPECT_EQ(rig.store().SampleCount, 5);
}

TEST(ReceiveCycleTest, ABlockOutOfStepReopensThePortAndChangesNothingElse)
{
    Rig rig;
    rig.setInterval(5.0f);
    rig.feed(frame("1"), 0.0f);
    const ProgramState before = rig.state;
    rig.port.log.clear();
    MeterFrame junk = frame("2");
    junk[0] = 0x00; // the block starts 00 05
    rig.feed(junk, 1.0f);
    EXPECT_EQ(rig.port.log, (std::vector<std::string>{"read", "close", "open"}));
    EXPECT_EQ(rig.view.holdShown.size(), 1u);
    EXPECT_EQ(rig.view.displays.size(), 1u);
    EXPECT_EQ(rig.state.acquisition.PacketCount, before.acquisition.PacketCount);
    EXPECT_FLOAT_EQ(rig.state.acquisition.FirstSum, before.acquisition.FirstSum);
    EXPECT_EQ(rig.store().SampleCount, before.store.SampleCount);
    EXPECT_FLOAT_EQ(rig.store().LastSampleTime, before.store.LastSampleTime);
    EXPECT_EQ(rig.cycle.counters().resyncs, 1u);

    MeterFrame secondByte = frame("2");
    secondByte[1] = 0x06;
    rig.feed(secondByte, 1.5f);
    EXPECT_EQ(rig.cycle.counters().resyncs, 2u);
}

TEST(ReceiveCycleTest, OverflowReopensThePortWithoutReading)
{
    Rig rig;
    rig.port.blocks.push_back(frame("1"));
    rig.cycle.run(ReceiveEvent::Overflow);
    EXPECT_EQ(rig.port.log, (std::vector<std::string>{"close", "open"}));
    EXPECT_EQ(rig.cycle.counters().overflows, 1u);
    rig.port.log.clear();
    rig.cycle.run(ReceiveEvent::Other);
    EXPECT_TRUE(rig.port.log.empty());
    EXPECT_EQ(rig.store().SampleCount, 0);
}

TEST(ReceiveCycleTest, ABlockThatIsNotThereEndsTheCycle)
{
    Rig rig;
    rig.cycle.run(ReceiveEvent::FrameWaiting);
    EXPECT_EQ(rig.port.log, (std::vector<std::string>{"read"}));
    EXPECT_TRUE(rig.view.holdShown.empty());
    EXPECT_EQ(rig.cycle.counters().blocksRead, 0u);
}

TEST(ReceiveCycleTest, StopAndStartKeepTheSumsForTheNextSample)
{
    Rig rig;
    rig.setInterval(2.0f);
    rig.feed(frame("10"), 0.0f);
    rig.feed(frame("20"), 1.0f);
    // A reset (New) does not touch the sums either.
    ResetRecording(rig.store(), rig.state.acquisition);
    rig.feed(frame("30"), 50.0f);
    rig.feed(frame("40"), 52.0f);
    ASSERT_EQ(rig.store().SampleCount, 1);
    EXPECT_FLOAT_EQ(rig.sample(1).FirstValue, 25.0f);
}

TEST(ProgramClockTest, CountsSecondsFromTheProgramStartInHundredths)
{
    ProgramClock clock;
    const float first = clock.tickSeconds();
    QThread::msleep(120); // the passing of time is what is counted here
    const float second = clock.tickSeconds();
    EXPECT_GE(first, 0.0f);
    EXPECT_LT(first, 600.0f) << "counted from the program's start, not the system's";
    EXPECT_NEAR(second - first, 0.12f, 0.1f);
    EXPECT_FLOAT_EQ(second, std::round(second * 100.0f) / 100.0f);
    const double now = clock.localOleDate();
    EXPECT_GT(now, 45000.0) << "after 2023";
    EXPECT_LT(now, 80000.0);
}
