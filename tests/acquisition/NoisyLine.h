#pragma once

// The simulator's noisy line seen from the recording: what each frame the
// simulator sent would leave in a sample if the reader took it as it came.
// The frames are told apart by the meter's frame layout, read here on its own
// terms: a digit cell must be one of the 22 patterns the display can show, and
// byte 10 bit 4, byte 11 bits 0 and 3 and byte 17 all but bit 3 are never lit.

#include "MeterScenario.h"
#include "Sample.h"

#include <QProcess>
#include <QString>

#include <cstdint>
#include <set>
#include <tuple>

// The parts of a sample one frame decides (with the automatic interval).
using SampleReading = std::tuple<float, int, float, int, int, int>;
SampleReading ReadingOf(const Sample &sample);

struct LineReadings {
    std::set<SampleReading> undamaged; // frames that went out whole and show no damage
    // Frames with visible damage whose reading no undamaged frame gives.
    std::set<SampleReading> damagedOnly;
    std::uint64_t damagedFrames = 0;
};

LineReadings ReadingsOnTheLine(const ScenarioSettings &settings, std::uint64_t frames);

// `amperotool simulate` on a pseudo-terminal of its own; empty when it did not start.
QString StartSimulator(QProcess &simulator, const QStringList &arguments);
