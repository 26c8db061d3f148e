// The receive cycle fed an arbitrary byte stream in pieces of arbitrary size.
// The input's front is the serial stream; its back (read from the end, as
// FuzzedDataProvider does for numbers) decides how the bytes arrive, how far
// the clock moves per frame, the answers to the prompts and what the user does
// meanwhile (scrolling, clicking a chart, STOP and START, New, Options). So a
// captured stream is a useful input on its own.

#include "FuzzSupport.h"
#include "FuzzWindow.h"
#include "NumberText.h"
#include "ProgramState.h"
#include "ReceiveCycle.h"
#include "SerialLink.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <deque>
#include <vector>

namespace {

// The serial port as the cycle sees it: bytes wait in a buffer that closing
// the port empties; more than the receive buffer holds is reported as an
// overflow instead of as data.
class StreamPort final : public MeterPort {
public:
    bool readFrame(MeterFrame &frame) override
    {
        FUZZ_CHECK(open);
        if (waiting.size() < MeterFrameSize)
            return false;
        std::copy(waiting.begin(), waiting.begin() + MeterFrameSize, frame.begin());
        waiting.erase(waiting.begin(), waiting.begin() + MeterFrameSize);
        return true;
    }
    void closePort() override
    {
        FUZZ_CHECK(open);
        open = false;
        waiting.clear();
    }
    void reopenPort() override
    {
        FUZZ_CHECK(!open);
        open = true;
    }

    void receive(const std::vector<std::uint8_t> &bytes)
    {
        // Bytes sent while the port is closed are lost.
        if (open)
            waiting.insert(waiting.end(), bytes.begin(), bytes.end());
    }

    // What the serial link does when the port reports that bytes arrived.
    void notify(ReceiveCycle &cycle)
    {
        if (!open)
            return;
        if (waiting.size() > std::size_t(SerialLink::ReceiveBufferSize)) {
            cycle.run(ReceiveEvent::Overflow);
            return;
        }
        while (open && waiting.size() >= MeterFrameSize) {
            const std::size_t before = waiting.size();
            cycle.run(ReceiveEvent::FrameWaiting);
            if (open && waiting.size() >= before)
                break;
        }
    }

    std::deque<std::uint8_t> waiting;
    bool open = true;
};

// A monotonic tick clock that moves by 0 to 3 s per reading, counted in whole
// hundredths so that rounding can never make it go back.
class SteppingClock final : public TickClock {
public:
    SteppingClock(FuzzedDataProvider &input, std::int64_t startHundredths) : input_(input), hundredths_(startHundredths)
    {
    }
    float tickSeconds() override
    {
        hundredths_ += input_.ConsumeIntegralInRange<std::int64_t>(0, 300);
        return RoundToTwoDecimals(double(hundredths_) / 100.0);
    }
    double localOleDate() override { return 45000.0 + double(hundredths_) / 8640000.0; }

private:
    FuzzedDataProvider &input_;
    std::int64_t hundredths_;
};

class FuzzAcquisitionView final : public AcquisitionView {
public:
    FuzzAcquisitionView(FuzzedDataProvider &input, StreamPort &port, FuzzWindow &window, RecordCommands &commands)
        : input_(input), port_(port), window_(window), commands_(commands)
    {
    }

    void showHoldSymbol(bool) override {}
    void showDisplay(const DecodedFrame &) override {}
    bool askCreateNewFile() override
    {
        FUZZ_CHECK(!port_.open);
        return input_.ConsumeBool();
    }
    void runNewCommand() override
    {
        FUZZ_CHECK(!port_.open);
        commands_.New();
    }
    void followLatestSample() override
    {
        window_.trendView.FollowLatestSample();
        checkNewestSample();
    }

private:
    void checkNewestSample() const
    {
        const SampleStore &store = window_.state.store;
        const std::int32_t n = store.SampleCount;
        FUZZ_CHECK(n >= 1);
        FUZZ_CHECK(std::size_t(n) + 1 <= store.Samples.size());
        const Sample &newest = store.sample(n);
        FUZZ_CHECK(std::isfinite(newest.FirstValue) && std::isfinite(newest.SecondValue));
        // Samples of one recording are in the order of a clock that never goes back.
        if (n >= 2)
            FUZZ_CHECK(store.sample(n - 1).Seconds <= newest.Seconds);
        const Sample &statistics = store.statistics();
        const float maxIndex = StatisticsRecord::maxIndex(statistics);
        const float minIndex = StatisticsRecord::minIndex(statistics);
        FUZZ_CHECK(maxIndex >= 1 && maxIndex <= float(n));
        FUZZ_CHECK(minIndex >= 1 && minIndex <= float(n));
        FUZZ_CHECK(std::isfinite(StatisticsRecord::mean(statistics)));
        const ViewState &view = window_.state.view;
        FUZZ_CHECK(view.ViewLast == n);
        FUZZ_CHECK(view.ViewFirst >= 1 && view.ViewFirst <= n);
    }

    FuzzedDataProvider &input_;
    StreamPort &port_;
    FuzzWindow &window_;
    RecordCommands &commands_;
};

constexpr float Intervals[] = {0.0f, 0.5f, 1.0f, 2.0f, 2.5f, 60.0f};
constexpr float ChartWidths[] = {100.0f, 10.0f, 0.5f, 1000.0f};
constexpr std::int64_t ClockStarts[] = {0, 12345, 8640000, 214748364}; // hundredths of a second

void chooseInterval(ProgramState &state, FuzzedDataProvider &input)
{
    const float interval = input.PickValueInArray(Intervals);
    state.store.AutoInterval = interval == 0;
    state.store.InterValue = interval;
    state.store.RecomputeSampleInterval();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    ProgramState state;
    FuzzWindow window(state);
    RecordCommands commands(state, window);
    window.answer = [&input] {
        return input.PickValueInArray(
            {RecordCommandsView::Answer::Yes, RecordCommandsView::Answer::No, RecordCommandsView::Answer::Cancel});
    };
    StreamPort port;
    SteppingClock clock(input, input.PickValueInArray(ClockStarts));
    FuzzAcquisitionView acquisitionView(input, port, window, commands);
    ReceiveCycle cycle(state.store, state.acquisition, port, clock, acquisitionView);

    // The window's load step: the New reset and the settings.
    commands.New();
    chooseInterval(state, input);
    state.view.TimeMode = input.ConsumeBool();
    window.chart1.setRightx(input.PickValueInArray(ChartWidths));
    window.chart2.setRightx(window.chart1.Rightx());

    while (input.remaining_bytes() > 0) {
        const std::uint8_t action = input.ConsumeIntegral<std::uint8_t>();
        const std::uint8_t detail = action & 0x1F;
        switch (action >> 5) {
        case 0:
        case 1:
        case 2:
        case 3: // a few bytes, as a USB adapter hands them over
            port.receive(input.ConsumeBytes<std::uint8_t>(1 + detail));
            port.notify(cycle);
            break;
        case 4: // whole blocks at once
            port.receive(input.ConsumeBytes<std::uint8_t>(MeterFrameSize * (1 + detail)));
            port.notify(cycle);
            break;
        case 5: // bytes pile up while the window is busy
            port.receive(input.ConsumeBytes<std::uint8_t>(MeterFrameSize * (1 + detail)));
            break;
        case 6: // the user
            if (detail < 8) {
                window.scrollByUser(input.ConsumeIntegralInRange<std::int32_t>(0, window.scrollMaximum));
            } else if (detail < 16) {
                const float x = input.ConsumeFloatingPointInRange<float>(-10.0f, window.chart1.Rightx() + 10.0f);
                if (detail & 1)
                    window.clickChart1(x);
                else
                    window.clickChart2(x);
            } else if (detail < 24) {
                // STOP, perhaps New while the File menu is enabled, then START.
                if (port.open)
                    port.closePort();
                if (detail & 1)
                    commands.New();
                port.reopenPort();
            } else if (detail < 28) {
                // The Options dialog: a new interval takes effect with the next frame.
                chooseInterval(state, input);
            } else {
                state.view.TimeMode = !state.view.TimeMode;
                window.trendView.RefreshCharts();
            }
            break;
        default: // the port reports something other than data
            cycle.run(detail & 0x10 ? ReceiveEvent::Overflow : ReceiveEvent::Other);
            FUZZ_CHECK(port.open);
            break;
        }
        FUZZ_CHECK(state.store.SampleCount >= 0);
        FUZZ_CHECK(std::size_t(state.store.SampleCount) + 1 <= state.store.Samples.size());
    }
    return 0;
}
