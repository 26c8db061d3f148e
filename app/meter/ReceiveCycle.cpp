#include "ReceiveCycle.h"

#include "Decoder.h"
#include "NumberText.h"
#include "OleDate.h"
#include "SampleTexts.h"

#include <QDateTime>
#include <QElapsedTimer>

#include <cmath>

namespace {

// Started while the program loads, so tick seconds count from its start.
struct StartedTimer {
    StartedTimer() { timer.start(); }
    QElapsedTimer timer;
};
const StartedTimer programStart;

bool inMemoryRecall(std::uint8_t mode)
{
    // The memory label reads "MR" only when MEM is not lit as well.
    return (mode & ModeBits::MemoryRecall) && !(mode & ModeBits::MemoryStore);
}

} // namespace

float ProgramClock::tickSeconds()
{
    return RoundToTwoDecimals(double(programStart.timer.elapsed()) / 1000.0);
}

double ProgramClock::localOleDate()
{
    return LocalToOleDate(QDateTime::currentDateTime());
}

std::optional<std::int64_t> MemoryLocationNumber(const std::string &memoryText)
{
    const auto first = memoryText.find_first_not_of(' ');
    if (first == std::string::npos)
        return std::nullopt;
    float value = 0;
    if (!ParseMeterNumber(memoryText.substr(first), value))
        return std::nullopt;
    return RoundHalfEven(double(value));
}

ReceiveCycle::ReceiveCycle(SampleStore &store, AcquisitionState &acquisition, MeterPort &port, TickClock &clock,
                           AcquisitionView &view)
    : store_(store), acquisition_(acquisition), port_(port), clock_(clock), view_(view)
{
}

void ReceiveCycle::run(ReceiveEvent event)
{
    SampleStore &store = store_;
    AcquisitionState &acq = acquisition_;

    // 1. Overflow: closing and reopening throws away everything buffered.
    if (event == ReceiveEvent::Overflow) {
        ++counters_.overflows;
        port_.closePort();
        port_.reopenPort();
        return;
    }
    // 2. Only arriving data runs the rest.
    if (event != ReceiveEvent::FrameWaiting)
        return;

    // 3. One block of 22 bytes.
    MeterFrame frame{};
    if (!port_.readFrame(frame))
        return;
    ++counters_.blocksRead;

    // 4. Out of step: the reopened port counts blocks from the next byte that arrives.
    if (!HasSync(frame)) {
        ++counters_.resyncs;
        port_.closePort();
        port_.reopenPort();
        return;
    }

    // Damaged on the line: dropped before anything shows, like a block out of
    // step, but the frame boundary is right, so the port stays open.
    if (IsDamagedFrame(frame)) {
        ++counters_.damagedFrames;
        if (acq.DiscardDamagedFrames)
            return;
    }

    // A change of measurement function shows on frame after frame. A unit
    // other than the recording's on a single frame is a damaged unit byte,
    // which would otherwise raise the question below and close the port; the
    // first frame of a real change goes the same way, and the next one asks.
    const std::string unit = FirstUnitName(frame[3]); // byte 4
    const bool unitUnconfirmed = store.SampleCount > 1 && unit != lastFirstUnit_ &&
                                 unit != FirstUnitName(store.sample(store.SampleCount).FirstUnit);
    lastFirstUnit_ = unit;
    if (unitUnconfirmed && acq.DiscardDamagedFrames) {
        ++counters_.damagedFrames;
        return;
    }

    // 5. and 6. HOLD outside memory recall: only the HOLD symbol changes.
    view_.showHoldSymbol(DecodeHoldSymbol(frame));
    if (HoldStopsFrame(frame)) {
        ++counters_.heldFrames;
        return;
    }

    // 7. The rest of the display, the readings and the clock readings of this frame.
    const DecodedFrame decoded = DecodeFrame(frame);
    view_.showDisplay(decoded);
    const float tick = clock_.tickSeconds();
    const double stamp = clock_.localOleDate();

    // 8. Memory recall: each location is recorded once per recording.
    if (inMemoryRecall(decoded.Mode)) {
        const std::optional<std::int64_t> location = MemoryLocationNumber(decoded.memoryText);
        if (location && *location >= 0 && *location < AcquisitionState::MemoryLocations) {
            bool &taken = acq.MemoryTaken[std::size_t(*location)];
            if (taken) {
                ++counters_.repeatedMemory;
                return;
            }
            taken = true;
        }
    }

    // 9. A new measurement function: offer a new recording, with the port
    // closed so that no frame runs the cycle while the question waits.
    if (store.SampleCount > 1 && FirstUnitName(store.sample(store.SampleCount).FirstUnit) != decoded.first.Unit) {
        ++counters_.functionChanges;
        port_.closePort();
        bool timedOut = false;
        if (questionTimer_) {
            questionTimer_->start(ReceiveCycle::QuestionTimeoutMs, [this, &timedOut] {
                timedOut = true;
                view_.withdrawQuestion();
            });
        }
        const bool yes = view_.askCreateNewFile();
        if (questionTimer_)
            questionTimer_->stop();
        // A Yes given as the time ran out still counts.
        if (yes)
            view_.runNewCommand();
        else if (timedOut)
            ++counters_.unansweredQuestions;
        port_.reopenPort();
    }

    // 10. Accumulate, in single precision as the sums are kept.
    acq.PacketCount += 1;
    acq.FirstSum += decoded.first.Value;
    acq.SecondSum += decoded.second.Value;
    ++counters_.accumulated;

    // 11. After New the first accepted frame is the clock reference.
    if (acq.RestartClock)
        store.LastSampleTime = tick;
    acq.RestartClock = false;

    // 12. Not yet a full interval.
    const float elapsed = std::fabs(store.LastSampleTime - tick);
    if (elapsed < store.SampleInterval)
        return;

    // 13. The sample: the means, and the bytes and clock readings of this frame.
    store.LastSampleTime = tick;
    acq.Modified = true;
    Sample sample;
    sample.FirstValue = RoundToTwoDecimals(double(acq.FirstSum) / acq.PacketCount);
    sample.FirstUnit = decoded.firstUnitByte;
    sample.Symbols = decoded.symbolsByte;
    sample.SecondValue = RoundToTwoDecimals(double(acq.SecondSum) / acq.PacketCount);
    sample.SecondUnit = decoded.secondUnitByte;
    sample.Mode = decoded.Mode;
    sample.Seconds = tick;
    sample.Stamp = stamp;
    sample.Symbols2 = decoded.symbolsByte;
    store.AppendSample(sample);
    ++counters_.samples;

    // 14. A fresh interval.
    acq.PacketCount = 0;
    acq.FirstSum = 0;
    acq.SecondSum = 0;

    // 15. Statistics, view and charts.
    view_.followLatestSample();
}
