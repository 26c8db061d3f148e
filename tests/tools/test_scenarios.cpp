#include "FrameScanner.h"
#include "MeterScenario.h"
#include "SampleTexts.h"
#include "ToolTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>

namespace {

std::vector<ScenarioStep> run(const ScenarioSettings &settings, int steps)
{
    ScenarioGenerator generator(settings);
    std::vector<ScenarioStep> all;
    for (int n = 0; n < steps; ++n)
        all.push_back(generator.next());
    return all;
}

ScenarioSettings settingsFor(Scenario scenario, std::uint32_t seed = 1)
{
    ScenarioSettings settings;
    settings.scenario = scenario;
    settings.seed = seed;
    return settings;
}

DecodedFrame decoded(const FrameContent &content)
{
    return DecodeFrame(EncodeFrame(content));
}

} // namespace

TEST(ScenarioTest, EveryScenarioDecodesBackToWhatWasEncoded)
{
    for (Scenario scenario : AllScenarios()) {
        for (std::uint32_t seed : {1u, 99u}) {
            SCOPED_TRACE(std::string(ScenarioName(scenario)) + " seed " + std::to_string(seed));
            ScenarioSettings settings = settingsFor(scenario, seed);
            settings.corruptPercent = 5;
            int intact = 0;
            for (const ScenarioStep &step : run(settings, 600)) {
                const MeterFrame frame = EncodeFrame(step.content);
                ASSERT_EQ(ContentOfFrame(DecodeFrame(frame)), step.content);
                if (step.intact) {
                    ++intact;
                    ASSERT_EQ(step.frameAt + MeterFrameSize, step.bytes.size());
                    ASSERT_TRUE(
                        std::equal(frame.begin(), frame.end(), step.bytes.begin() + std::ptrdiff_t(step.frameAt)));
                }
            }
            if (scenario == Scenario::Noise) {
                // At 5 % a frame goes out whole about one time in three.
                EXPECT_GT(intact, 120);
            } else {
                EXPECT_EQ(intact, 600);
            }
        }
    }
}

TEST(ScenarioTest, SameSeedSameBytesOtherSeedOtherBytes)
{
    for (Scenario scenario : AllScenarios()) {
        SCOPED_TRACE(ScenarioName(scenario));
        const auto a = run(settingsFor(scenario, 5), 300);
        const auto b = run(settingsFor(scenario, 5), 300);
        const auto c = run(settingsFor(scenario, 6), 300);
        bool differs = false;
        for (std::size_t n = 0; n < a.size(); ++n) {
            ASSERT_EQ(a[n].bytes, b[n].bytes);
            differs = differs || a[n].bytes != c[n].bytes;
        }
        // The ramp and the overload cycle have no noise to seed.
        if (scenario != Scenario::Ramp && scenario != Scenario::Overload) {
            EXPECT_TRUE(differs);
        }
    }
}

TEST(ScenarioTest, NamesRoundTrip)
{
    EXPECT_EQ(AllScenarios().size(), 8u);
    std::set<std::string> names;
    for (Scenario scenario : AllScenarios()) {
        names.insert(ScenarioName(scenario));
        EXPECT_EQ(ScenarioFromName(ScenarioName(scenario)), scenario);
    }
    EXPECT_EQ(names, (std::set<std::string>{"steady", "ramp", "overload", "hold", "recall", "function-change", "time",
                                            "noise"}));
    EXPECT_FALSE(ScenarioFromName("Steady"));
    EXPECT_FALSE(ScenarioFromName(""));
}

TEST(ScenarioTest, MeterDisplayTextLightsAllFourCells)
{
    const struct {
        double magnitude;
        const char *text;
    } rows[] = {
        {0, "0.000"},     {5.3, "5.300"},   {9.9996, "10.00"}, {12.35, "12.35"}, {99.996, "100.0"},
        {230.1, "230.1"}, {999.96, "1000"}, {1234.4, "1234"},  {12345, "9999"},  {-1, "0.000"},
    };
    for (const auto &row : rows)
        EXPECT_EQ(MeterDisplayText(row.magnitude), row.text) << row.magnitude;
}

TEST(ScenarioTest, SteadyIsAcCurrentWithALittleNoiseAndVolts)
{
    std::set<float> currents;
    for (const ScenarioStep &step : run(settingsFor(Scenario::Steady), 200)) {
        const DecodedFrame d = decoded(step.content);
        EXPECT_EQ(d.first.Unit, "A");
        EXPECT_EQ(d.first.Function, "AC");
        EXPECT_NEAR(d.first.Value, 12.35, 0.0501);
        EXPECT_EQ(d.second.Unit, "V");
        EXPECT_NEAR(d.second.Value, 230.1, 0.201);
        currents.insert(d.first.Value);
    }
    EXPECT_GE(currents.size(), 5u);
}

TEST(ScenarioTest, RampClimbsThroughTheRangesAndStartsAgain)
{
    const auto steps = run(settingsFor(Scenario::Ramp), 202);
    for (std::size_t n = 0; n < steps.size(); ++n) {
        const DecodedFrame d = decoded(steps[n].content);
        EXPECT_NEAR(d.first.Value, double(n % 101) * 9.999, 0.051) << n;
    }
    EXPECT_EQ(steps[0].content.firstText, "0.000");
    EXPECT_EQ(steps[1].content.firstText, "9.999");
    EXPECT_EQ(steps[100].content.firstText, "999.9");
    EXPECT_EQ(steps[101].content.firstText, "0.000");
}

TEST(ScenarioTest, OverloadAlternatesWithReadingsAndTakesTheMinusSign)
{
    const auto steps = run(settingsFor(Scenario::Overload), 32);
    for (std::size_t n = 0; n < steps.size(); ++n) {
        SCOPED_TRACE(n);
        const DecodedFrame d = decoded(steps[n].content);
        const bool overload = n % 16 >= 8;
        const bool negative = n >= 16;
        EXPECT_EQ(d.first.Text == " 0L ", overload);
        EXPECT_EQ(d.display.L41, overload);
        EXPECT_EQ(d.first.Function, negative ? "DC" : "AC");
        if (overload) {
            EXPECT_EQ(d.first.Value, negative ? -9999.0f : 9999.0f);
        } else {
            EXPECT_NEAR(std::fabs(d.first.Value), 950 + double(n % 16) * 7.1, 0.051);
        }
    }
}

TEST(ScenarioTest, HoldFreezesTheLastLiveDisplay)
{
    const auto steps = run(settingsFor(Scenario::Hold), 20);
    for (std::size_t n = 0; n < steps.size(); ++n) {
        SCOPED_TRACE(n);
        const MeterFrame frame = EncodeFrame(steps[n].content);
        const bool held = n % 10 >= 5;
        EXPECT_EQ(HoldStopsFrame(frame), held);
        if (held) {
            FrameContent live = steps[n].content;
            live.symbols &= std::uint8_t(~SymbolBits::Hold);
            EXPECT_EQ(live, steps[n / 10 * 10 + 4].content);
        }
    }
}

TEST(ScenarioTest, RecallGoesThroughLocationsOneToTwentyNineWithRepeats)
{
    std::vector<int> sequence;
    std::map<int, FrameContent> shown;
    std::size_t repeats = 0;
    for (const ScenarioStep &step : run(settingsFor(Scenario::Recall, 4), 400)) {
        const DecodedFrame d = decoded(step.content);
        EXPECT_EQ(d.display.L01[2], "MR");
        const int location = std::stoi(d.memoryText);
        ASSERT_GE(location, 1);
        ASSERT_LE(location, HighestShownMemoryLocation);
        // A location holds the same readings every time it comes round.
        const auto known = shown.emplace(location, step.content);
        EXPECT_EQ(known.first->second, step.content);
        if (!sequence.empty() && sequence.back() == location)
            ++repeats;
        else
            sequence.push_back(location);
    }
    ASSERT_GT(sequence.size(), 2u * HighestShownMemoryLocation);
    for (std::size_t n = 1; n < sequence.size(); ++n)
        EXPECT_EQ(sequence[n], sequence[n - 1] % HighestShownMemoryLocation + 1);
    EXPECT_EQ(sequence.front(), 1);
    EXPECT_GT(repeats, 50u);
}

TEST(ScenarioTest, FunctionChangeSwitchesTheFirstUnitAfterTheGivenFrames)
{
    for (int switchAfter : {0, 1, 7, 30}) {
        SCOPED_TRACE(switchAfter);
        ScenarioSettings settings = settingsFor(Scenario::FunctionChange);
        settings.switchAfter = switchAfter;
        const auto steps = run(settings, 40);
        for (int n = 0; n < 40; ++n)
            EXPECT_EQ(decoded(steps[std::size_t(n)].content).first.Unit, n < switchAfter ? "A" : "V") << n;
    }
}

TEST(ScenarioTest, TimeShowsTheElapsedMinutesAndSecondsAtTheFrameRate)
{
    ScenarioSettings settings = settingsFor(Scenario::Time);
    settings.framesPerSecond = 4;
    const auto steps = run(settings, 4 * 61 + 1);
    const struct {
        std::size_t step;
        const char *text;
        float value;
    } rows[] = {{0, "00:00", 0}, {3, "00:00", 0}, {4, "00:01", 1}, {4 * 59, "00:59", 59}, {4 * 60, "01:00", 100}};
    for (const auto &row : rows) {
        const DecodedFrame d = decoded(steps[row.step].content);
        EXPECT_EQ(d.second.Text, row.text);
        EXPECT_EQ(d.second.Value, row.value);
        EXPECT_EQ(d.second.Function, "Time");
        EXPECT_EQ(d.second.Unit, "min");
        EXPECT_EQ(SecondValueText(d.Mode, d.second.Value), row.text);
    }
}

TEST(ScenarioTest, NoiseCorruptsTheAskedShareOfFrameBytes)
{
    for (double percent : {0.0, 1.0, 10.0}) {
        SCOPED_TRACE(percent);
        ScenarioSettings settings = settingsFor(Scenario::Noise, 8);
        settings.corruptPercent = percent;
        std::size_t frameBytes = 0, changed = 0, garbageRuns = 0, cutShort = 0;
        for (const ScenarioStep &step : run(settings, 5000)) {
            const MeterFrame frame = EncodeFrame(step.content);
            const std::size_t length = step.bytes.size() - step.frameAt;
            ASSERT_GE(length, 2u);
            ASSERT_LE(length, MeterFrameSize);
            // The frame's bytes, whole or cut short, are the encoder's unless corrupted.
            std::size_t changedHere = 0;
            for (std::size_t n = 0; n < length; ++n)
                changedHere += step.bytes[step.frameAt + n] != frame[n];
            EXPECT_EQ(step.intact, length == MeterFrameSize && changedHere == 0);
            if (length < MeterFrameSize) {
                ++cutShort;
                continue;
            }
            if (step.frameAt > 0)
                ++garbageRuns;
            changed += changedHere;
            frameBytes += MeterFrameSize;
        }
        EXPECT_NEAR(double(changed) / double(frameBytes) * 100, percent, percent * 0.15 + 0.01);
        EXPECT_GT(garbageRuns, 300u);
        EXPECT_GT(cutShort, 100u);
    }
}

TEST(ScenarioTest, NoisyStreamStillYieldsMostFramesIntact)
{
    ScenarioSettings settings = settingsFor(Scenario::Noise, 21);
    std::vector<std::uint8_t> stream;
    std::map<std::uint64_t, FrameContent> intact;
    for (const ScenarioStep &step : run(settings, 3000)) {
        if (step.intact)
            intact.emplace(stream.size() + step.frameAt, step.content);
        stream.insert(stream.end(), step.bytes.begin(), step.bytes.end());
    }
    FrameScanner scanner;
    scanner.append(stream.data(), stream.size());
    scanner.finish();
    MeterFrame frame;
    std::size_t found = 0;
    while (scanner.next(frame)) {
        const auto it = intact.find(scanner.frameOffset());
        if (it == intact.end())
            continue;
        ++found;
        EXPECT_EQ(ContentOfFrame(DecodeFrame(frame)), it->second);
    }
    EXPECT_GT(found, intact.size() * 8 / 10);
    EXPECT_GT(scanner.skippedBytes(), 0u);
}
