#include "MeterScenario.h"

#include "MeterFrame.h"
#include "SampleTexts.h"

#include <algorithm>
#include <charconv>

namespace {

// Unit bytes as the meter lights them (FirstUnit is frame byte 4, SecondUnit byte 3).
constexpr std::uint8_t FirstUnitA = 0x08;    // bit 3: "A"
constexpr std::uint8_t FirstUnitV = 0x04;    // bit 2: "V"
constexpr std::uint8_t FirstUnitKW = 0x40;   // bit 6: "kW"
constexpr std::uint8_t SecondUnitV = 0x02;   // bit 1: "V"
constexpr std::uint8_t SecondUnitHz = 0x10;  // bit 4: "Hz"
constexpr std::uint8_t SecondUnitMin = 0x40; // bit 6: "min"

struct ScenarioNameEntry {
    Scenario scenario;
    const char *name;
};

const ScenarioNameEntry scenarioNames[] = {
    {Scenario::Steady, "steady"}, {Scenario::Ramp, "ramp"},     {Scenario::Overload, "overload"},
    {Scenario::Hold, "hold"},     {Scenario::Recall, "recall"}, {Scenario::FunctionChange, "function-change"},
    {Scenario::Time, "time"},     {Scenario::Noise, "noise"},
};

// The bar graph follows the reading as a share of the range's full scale.
std::uint64_t barFor(double magnitude, double fullScale)
{
    return BarUpTo(int(magnitude / fullScale * BarSegments));
}

// The display in the common case: an AC reading on the first display, volts on the second.
FrameContent acReading(double first, std::uint8_t firstUnit, double fullScale, double secondVolts)
{
    FrameContent c;
    c.firstText = MeterDisplayText(first);
    c.firstUnitByte = firstUnit;
    c.ac = true;
    c.secondText = MeterDisplayText(secondVolts);
    c.secondUnitByte = SecondUnitV;
    c.symbols = SymbolBits::Phase1;
    c.memoryText = "0";
    c.bar = barFor(first, fullScale);
    return c;
}

std::string twoDigits(std::uint64_t n)
{
    return std::string(1, char('0' + n / 10 % 10)) + char('0' + n % 10);
}

} // namespace

const char *ScenarioName(Scenario scenario)
{
    for (const ScenarioNameEntry &entry : scenarioNames) {
        if (entry.scenario == scenario)
            return entry.name;
    }
    return "";
}

std::optional<Scenario> ScenarioFromName(const std::string &name)
{
    for (const ScenarioNameEntry &entry : scenarioNames) {
        if (name == entry.name)
            return entry.scenario;
    }
    return std::nullopt;
}

std::vector<Scenario> AllScenarios()
{
    std::vector<Scenario> all;
    for (const ScenarioNameEntry &entry : scenarioNames)
        all.push_back(entry.scenario);
    return all;
}

std::string MeterDisplayText(double magnitude)
{
    magnitude = std::clamp(magnitude, 0.0, 9999.0);
    char buffer[32];
    for (int decimals = 3; decimals > 0; --decimals) {
        const auto result =
            std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::fixed, decimals);
        // Four digits and the point.
        if (result.ptr - buffer <= 5)
            return std::string(buffer, result.ptr);
    }
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::fixed, 0);
    return std::string(buffer, result.ptr);
}

ScenarioGenerator::ScenarioGenerator(const ScenarioSettings &settings) : m_settings(settings), m_random(settings.seed)
{
}

std::uint32_t ScenarioGenerator::pick(std::uint32_t count)
{
    return std::uint32_t(m_random() % count);
}

bool ScenarioGenerator::chance(double probability)
{
    return double(m_random()) < probability * 4294967296.0;
}

FrameContent ScenarioGenerator::steadyContent()
{
    const double current = 12.35 + (int(pick(11)) - 5) * 0.01;
    const double volts = 230.1 + (int(pick(5)) - 2) * 0.1;
    return acReading(current, FirstUnitA, 100, volts);
}

FrameContent ScenarioGenerator::rampContent() const
{
    // 0 to 999.9 A in 100 steps, through the 9.999, 99.99 and 999.9 ranges.
    const double current = double(m_step % 101) * 9.999;
    return acReading(current, FirstUnitA, 1000, 230.1);
}

FrameContent ScenarioGenerator::overloadContent() const
{
    // Cycles of 16 frames: 8 climbing to the top of the range, 8 in overload;
    // every second cycle is a negative DC current.
    const std::uint64_t inCycle = m_step % 16;
    const bool negative = (m_step / 16) % 2 == 1;
    FrameContent c = acReading(950 + double(inCycle) * 7.1, FirstUnitA, 1000, 230.1);
    if (inCycle >= 8) {
        c.firstText = OverloadCells;
        c.arrow = true;
        c.bar = BarUpTo(BarSegments);
    }
    c.ac = !negative;
    c.dc = negative;
    c.firstNegative = negative;
    return c;
}

FrameContent ScenarioGenerator::holdContent()
{
    // Cycles of 10 frames: 5 live, then 5 with the last live display frozen under HOLD.
    if (m_step % 10 < 5) {
        m_held = steadyContent();
        return m_held;
    }
    FrameContent c = m_held;
    c.symbols |= SymbolBits::Hold;
    return c;
}

FrameContent ScenarioGenerator::recallContent()
{
    if (m_recallRepeatsLeft == 0) {
        if (m_step > 0)
            m_recallLocation = m_recallLocation % HighestShownMemoryLocation + 1;
        m_recallRepeatsLeft = 1 + int(pick(3));
    }
    --m_recallRepeatsLeft;
    // What a location holds stays the same from sweep to sweep.
    std::mt19937 stored(m_settings.seed * 31u + std::uint32_t(m_recallLocation));
    const double current = double(stored() % 99990) / 100.0;
    const double volts = 200 + double(stored() % 600) / 10.0;
    FrameContent c = acReading(current, FirstUnitA, 1000, volts);
    c.mode = ModeBits::MemoryRecall;
    c.memoryText = std::to_string(m_recallLocation);
    return c;
}

FrameContent ScenarioGenerator::functionChangeContent()
{
    if (m_step < std::uint64_t(std::max(m_settings.switchAfter, 0)))
        return steadyContent();
    // The dial turned to AC voltage: volts on the first display, frequency on the second.
    const double volts = 230.1 + (int(pick(5)) - 2) * 0.1;
    FrameContent c = acReading(volts, FirstUnitV, 1000, 0);
    c.secondText = MeterDisplayText(50.0 + (int(pick(3)) - 1) * 0.01);
    c.secondUnitByte = SecondUnitHz;
    c.mode = ModeBits::Frequency;
    return c;
}

FrameContent ScenarioGenerator::timeContent()
{
    const double kilowatts = 2.35 + (int(pick(11)) - 5) * 0.001;
    FrameContent c = acReading(kilowatts, FirstUnitKW, 10, 0);
    c.symbols = SymbolBits::Sum | SymbolBits::Watt;
    const double rate = m_settings.framesPerSecond > 0 ? m_settings.framesPerSecond : 1;
    const auto seconds = std::uint64_t(double(m_step) / rate);
    c.secondText = twoDigits(seconds / 60) + ":" + twoDigits(seconds % 60);
    c.secondUnitByte = SecondUnitMin;
    c.mode = ModeBits::Time;
    return c;
}

void ScenarioGenerator::addLineNoise(ScenarioStep &step, const MeterFrame &frame)
{
    // Now and then a burst of garbage before the frame.
    if (chance(1.0 / 8)) {
        const std::uint32_t length = 1 + pick(24);
        for (std::uint32_t n = 0; n < length; ++n)
            step.bytes.push_back(std::uint8_t(pick(256)));
    }
    step.frameAt = step.bytes.size();
    // Now and then a frame cut off after its sync bytes.
    const std::size_t length = chance(1.0 / 16) ? 2 + pick(MeterFrameSize - 2) : MeterFrameSize;
    step.intact = length == MeterFrameSize;
    const double corrupt = m_settings.corruptPercent / 100.0;
    for (std::size_t n = 0; n < length; ++n) {
        std::uint8_t b = frame[n];
        if (chance(corrupt)) {
            b = std::uint8_t(b ^ (1 + pick(255)));
            step.intact = false;
        }
        step.bytes.push_back(b);
    }
}

ScenarioStep ScenarioGenerator::next()
{
    ScenarioStep step;
    switch (m_settings.scenario) {
    case Scenario::Steady:
    case Scenario::Noise:
        step.content = steadyContent();
        break;
    case Scenario::Ramp:
        step.content = rampContent();
        break;
    case Scenario::Overload:
        step.content = overloadContent();
        break;
    case Scenario::Hold:
        step.content = holdContent();
        break;
    case Scenario::Recall:
        step.content = recallContent();
        break;
    case Scenario::FunctionChange:
        step.content = functionChangeContent();
        break;
    case Scenario::Time:
        step.content = timeContent();
        break;
    }
    const MeterFrame frame = EncodeFrame(step.content);
    if (m_settings.scenario == Scenario::Noise) {
        addLineNoise(step, frame);
    } else {
        step.bytes.assign(frame.begin(), frame.end());
    }
    ++m_step;
    return step;
}
