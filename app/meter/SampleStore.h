#pragma once

// The recording in memory: record 0 is the statistics record, samples are
// records 1..SampleCount in the order they were taken.

#include "Sample.h"

#include <array>
#include <cstdint>
#include <vector>

struct SampleStore {
    std::vector<Sample> Samples = std::vector<Sample>(1);
    std::int32_t SampleCount = 0;
    float InterValue = 0;     // manual sampling interval chosen by the user, seconds
    bool AutoInterval = true; // every accepted frame becomes a sample
    float SampleInterval = 0; // the interval in force: 0 with AutoInterval, else InterValue
    float LastSampleTime = 0; // tick seconds of the newest sample

    // Grows the array to SampleCount + 1 records (dropping records left over
    // from before a reset) and stores the sample as the newest one.
    void AppendSample(const Sample &sample);

    // Replaces every record by those of a recording read from a file.
    void Load(std::vector<Sample> records);

    void RecomputeSampleInterval() { SampleInterval = AutoInterval ? 0.0f : InterValue; }

    Sample &statistics() { return Samples[0]; }
    const Sample &statistics() const { return Samples[0]; }
    const Sample &sample(std::int32_t index) const { return Samples.at(std::size_t(index)); }
};

// What the receive cycle keeps between frames.
struct AcquisitionState {
    static constexpr int MemoryLocations = 31;

    float FirstSum = 0;
    float SecondSum = 0;
    std::int32_t PacketCount = 0;
    bool Modified = false;
    bool RestartClock = true;
    std::array<bool, MemoryLocations> MemoryTaken{};
    // Frames the line has damaged are dropped (Options, "Discard damaged frames").
    bool DiscardDamagedFrames = true;
};

// The reset of the New command: an empty recording whose first sample takes
// its clock reference from the next frame. The running sums are kept.
void ResetRecording(SampleStore &store, AcquisitionState &acquisition);
