#pragma once

// The receive cycle: one run for every block the serial port delivers. It
// checks the frame, lets the display mirror it, decides whether the frame
// counts (HOLD, memory recall, change of measurement function), averages the
// accepted frames and appends a sample whenever the sampling interval has
// elapsed. The port, the clock and the window come in through the small
// interfaces below, so the cycle runs the same under the main window, under
// `amperotool record` and under test.

#include "MeterFrame.h"
#include "SampleStore.h"

#include <QtGlobal>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

// What the serial port reports while it is open.
enum class ReceiveEvent {
    FrameWaiting, // at least 22 bytes wait
    Overflow,     // the receive buffer overflowed
    Other,        // anything else the port reports
};

class MeterPort {
public:
    virtual ~MeterPort() = default;
    // Takes exactly 22 bytes; false when they are not there.
    virtual bool readFrame(MeterFrame &frame) = 0;
    virtual void closePort() = 0;
    // Opens the closed port again; whatever was buffered before is gone. A
    // port that cannot be opened again reports that itself.
    virtual void reopenPort() = 0;
};

class TickClock {
public:
    virtual ~TickClock() = default;
    // Seconds of a monotonic clock, two decimals. Only differences count.
    virtual float tickSeconds() = 0;
    // The local date and time as an OLE Automation date.
    virtual double localOleDate() = 0;
};

// The window side of the cycle (the main window, or a headless stand-in).
class AcquisitionView {
public:
    virtual ~AcquisitionView() = default;
    virtual void showHoldSymbol(bool lit) = 0;
    // Every display element of a frame that got past the HOLD rule.
    virtual void showDisplay(const DecodedFrame &frame) = 0;
    // "You change measurement function, create new file??" with Yes and No,
    // Yes the default; true for Yes. The port is closed while it is asked.
    virtual bool askCreateNewFile() = 0;
    // Nobody answered in time: the box that askCreateNewFile shows closes as
    // No. A view that answers at once has no box to close.
    virtual void withdrawQuestion() {}
    // The New command of the File menu (it may ask to save, and be cancelled).
    virtual void runNewCommand() = 0;
    // Statistics, view window and charts after a sample was appended.
    virtual void followLatestSample() = 0;
};

// Gives the function-change question a time limit. It fires while the
// question is up, from the event loop of the box that asks it.
class QuestionTimer {
public:
    virtual ~QuestionTimer() = default;
    // Calls `expired` once after the given time, unless stopped before.
    virtual void start(int milliseconds, std::function<void()> expired) = 0;
    virtual void stop() = 0;
};

// Tick seconds counted from the program's start (a 32-bit millisecond count
// since system start would wrap after 24.8 days), and the local clock.
class ProgramClock final : public TickClock {
public:
    float tickSeconds() override;
    double localOleDate() override;
};

// What the cycle has seen since it was made; for diagnostics and progress.
struct CycleCounters {
    std::uint64_t blocksRead = 0; // 22-byte blocks taken from the port
    std::uint64_t resyncs = 0;    // blocks without 05 05 in front
    // In step, but damaged on the line (IsDamagedFrame), or, when damaged
    // frames are dropped, a first-display unit that one frame alone shows.
    std::uint64_t damagedFrames = 0;
    std::uint64_t overflows = 0;      // receive-buffer overflows
    std::uint64_t heldFrames = 0;     // stopped by the HOLD rule
    std::uint64_t repeatedMemory = 0; // memory locations already recorded
    std::uint64_t accumulated = 0;    // frames added to the running sums
    std::uint64_t functionChanges = 0;
    std::uint64_t unansweredQuestions = 0; // function-change questions that timed out
    std::uint64_t samples = 0;             // samples appended
};

class ReceiveCycle {
public:
    static constexpr const char *FunctionChangeQuestion =
        QT_TRANSLATE_NOOP("ReceiveCycle", "You change measurement function, create new file??");
    // An unattended recording must go on: a question nobody answers counts as No.
    static constexpr int QuestionTimeoutMs = 30000;

    // Appends to `store`; `acquisition` is what it keeps between frames.
    ReceiveCycle(SampleStore &store, AcquisitionState &acquisition, MeterPort &port, TickClock &clock,
                 AcquisitionView &view);

    // Without a timer the question waits for as long as the view's box does.
    void setQuestionTimer(QuestionTimer *timer) { questionTimer_ = timer; }

    void run(ReceiveEvent event);

    const CycleCounters &counters() const { return counters_; }

private:
    SampleStore &store_;
    AcquisitionState &acquisition_;
    MeterPort &port_;
    TickClock &clock_;
    AcquisitionView &view_;
    QuestionTimer *questionTimer_ = nullptr;
    CycleCounters counters_;
    std::string lastFirstUnit_; // of the last frame in step that showed no damage
};

// The memory location shown on LCD3 as a whole number, halves to the even
// neighbour; nothing when the text is no number.
std::optional<std::int64_t> MemoryLocationNumber(const std::string &memoryText);
