#pragma once

// What a reader that keeps up should make of the simulated meter's line: the
// exact steps the simulator sent, fed one by one through the program's own
// receive cycle over an ideal port. Each step arrives whole and every complete
// block is read at once; closing and reopening the port empties its buffer,
// and questions are answered No. A program that keeps up with the line records
// exactly what this replay records.

#include "MeterScenario.h"
#include "ReceiveCycle.h"

#include <cstdint>

struct ReplayCounts {
    std::uint64_t frames = 0;       // steps replayed
    std::uint64_t intactFrames = 0; // steps whose frame went out whole and unchanged
    // Intact frames read as one whole block: the reader was in step with the
    // line when they began, so no resynchronisation swallowed them.
    std::uint64_t intactInStep = 0;
    std::uint64_t intactRecorded = 0; // of those, the ones that became a sample
    CycleCounters cycle;
};

ReplayCounts ReplayLine(const ScenarioSettings &settings, std::uint64_t frames);
