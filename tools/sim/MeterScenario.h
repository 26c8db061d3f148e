#pragma once

// What the simulated meter shows, frame after frame. Each scenario is a
// deterministic function of its settings and seed, so a test can replay
// exactly what the simulator sent.

#include "FrameEncoder.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

enum class Scenario {
    Steady,         // AC current with a little noise on the first display, volts on the second
    Ramp,           // the first display climbs through its ranges and starts again
    Overload,       // readings near the top of the range alternate with overload, also with minus
    Hold,           // live readings alternate with frames frozen under HOLD
    Recall,         // memory recall of locations 1 to 29, each shown a few times, sweep after sweep
    FunctionChange, // AC current, then AC voltage on the first display after switchAfter frames
    Time,           // power on the first display, the elapsed time on the second
    Noise           // steady frames mixed with garbage bytes, corrupted bytes and cut-off frames
};

// Names as the command line spells them, and back.
const char *ScenarioName(Scenario scenario);
std::optional<Scenario> ScenarioFromName(const std::string &name);
std::vector<Scenario> AllScenarios();

// The highest memory location the display can show: it has leading "1" and "2"
// cells but no "3".
constexpr int HighestShownMemoryLocation = 29;

struct ScenarioSettings {
    Scenario scenario = Scenario::Steady;
    std::uint32_t seed = 1;
    int switchAfter = 10;         // function-change: frames before the first display's unit changes
    double corruptPercent = 1.0;  // noise: share of frame bytes replaced by random ones
    double framesPerSecond = 2.0; // time: the clock on the second display advances with the frames
};

// One frame's worth of the line.
struct ScenarioStep {
    FrameContent content;            // what the meter displays
    std::vector<std::uint8_t> bytes; // what goes on the line
    // The frame of `content` takes `bytes` from here to the end; before it
    // there may be garbage (noise only).
    std::size_t frameAt = 0;
    // The whole frame went out unchanged: not cut short, no byte corrupted.
    bool intact = true;
};

class ScenarioGenerator {
public:
    explicit ScenarioGenerator(const ScenarioSettings &settings);

    ScenarioStep next();

private:
    FrameContent steadyContent();
    FrameContent rampContent() const;
    FrameContent overloadContent() const;
    FrameContent holdContent();
    FrameContent recallContent();
    FrameContent functionChangeContent();
    FrameContent timeContent();
    void addLineNoise(ScenarioStep &step, const MeterFrame &frame);

    // A whole number in [0, count).
    std::uint32_t pick(std::uint32_t count);
    bool chance(double probability);

    ScenarioSettings m_settings;
    std::mt19937 m_random;
    std::uint64_t m_step = 0;
    FrameContent m_held;         // hold: the display frozen under HOLD
    int m_recallLocation = 1;    // recall: location shown now
    int m_recallRepeatsLeft = 0; // recall: further frames of that location
};

// The four cells the meter shows for a magnitude: as many decimals as fit, all
// four cells lit ("5.300", "12.35", "230.1", "1234").
std::string MeterDisplayText(double magnitude);
