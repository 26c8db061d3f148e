#include "LineReplay.h"

#include "ProgramState.h"

#include <deque>

namespace {

struct LineByte {
    std::uint8_t value = 0;
    bool startsIntactFrame = false;
};

class IdealPort final : public MeterPort {
public:
    void arrive(const ScenarioStep &step)
    {
        for (std::size_t n = 0; n < step.bytes.size(); ++n)
            buffer_.push_back({step.bytes[n], step.intact && n == step.frameAt});
    }
    bool hasBlock() const { return open_ && buffer_.size() >= MeterFrameSize; }
    bool lastBlockWasIntactFrame() const { return lastBlockIntact_; }

    bool readFrame(MeterFrame &frame) override
    {
        if (!hasBlock())
            return false;
        lastBlockIntact_ = buffer_.front().startsIntactFrame;
        for (std::size_t n = 0; n < MeterFrameSize; ++n) {
            frame[n] = buffer_.front().value;
            buffer_.pop_front();
        }
        return true;
    }
    void closePort() override
    {
        open_ = false;
        buffer_.clear();
    }
    void reopenPort() override { open_ = true; }

private:
    std::deque<LineByte> buffer_;
    bool open_ = true;
    bool lastBlockIntact_ = false;
};

// The simulator's pace: one step per period.
class StepClock final : public TickClock {
public:
    explicit StepClock(double framesPerSecond) : period_(1.0 / framesPerSecond) {}
    void advance() { ++steps_; }
    float tickSeconds() override { return float(double(steps_) * period_); }
    double localOleDate() override { return 45000.0 + double(steps_) * period_ / 86400.0; }

private:
    double period_;
    std::uint64_t steps_ = 0;
};

class AnswersNo final : public AcquisitionView {
public:
    void showHoldSymbol(bool) override {}
    void showDisplay(const DecodedFrame &) override {}
    bool askCreateNewFile() override { return false; }
    void runNewCommand() override {}
    void followLatestSample() override {}
};

} // namespace

ReplayCounts ReplayLine(const ScenarioSettings &settings, std::uint64_t frames)
{
    ProgramState state;
    IdealPort port;
    StepClock clock(settings.framesPerSecond);
    AnswersNo view;
    ReceiveCycle cycle(state.store, state.acquisition, port, clock, view);
    ScenarioGenerator generator(settings);

    ReplayCounts counts;
    for (; counts.frames < frames; ++counts.frames) {
        const ScenarioStep step = generator.next();
        counts.intactFrames += step.intact ? 1 : 0;
        port.arrive(step);
        clock.advance();
        while (port.hasBlock()) {
            const std::uint64_t samplesBefore = cycle.counters().samples;
            cycle.run(ReceiveEvent::FrameWaiting);
            if (port.lastBlockWasIntactFrame()) {
                ++counts.intactInStep;
                counts.intactRecorded += cycle.counters().samples > samplesBefore ? 1 : 0;
            }
        }
    }
    counts.cycle = cycle.counters();
    return counts;
}
