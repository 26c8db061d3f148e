#include "NoisyLine.h"

#include "Decoder.h"
#include "ToolProcess.h"
#include "Wait.h"

#include <algorithm>

namespace {

bool visiblyDamaged(const MeterFrame &frame)
{
    static const std::uint8_t cellPatterns[] = {0xED, 0x60, 0xA7, 0xE3, 0x6A, 0xCB, 0xCF, 0xE0, 0xEF, 0xEB, 0xFD,
                                                0x70, 0xB7, 0xF3, 0x7A, 0xDB, 0xDF, 0xF0, 0xFF, 0xFB, 0x00, 0x0D};
    for (int byteNo : {5, 6, 7, 8, 12, 13, 14, 15, 16}) {
        const std::uint8_t cell = frame[std::size_t(byteNo - 1)];
        if (std::find(std::begin(cellPatterns), std::end(cellPatterns), cell) == std::end(cellPatterns))
            return true;
    }
    return (frame[9] & 0x10) || (frame[10] & 0x09) || (frame[16] & ~0x08);
}

} // namespace

SampleReading ReadingOf(const Sample &sample)
{
    return {sample.FirstValue, sample.FirstUnit, sample.SecondValue, sample.SecondUnit, sample.Mode, sample.Symbols};
}

LineReadings ReadingsOnTheLine(const ScenarioSettings &settings, std::uint64_t frames)
{
    LineReadings line;
    std::set<SampleReading> damaged;
    ScenarioGenerator generator(settings);
    for (std::uint64_t n = 0; n < frames; ++n) {
        const ScenarioStep step = generator.next();
        if (step.bytes.size() - step.frameAt != MeterFrameSize)
            continue; // cut short: the block it starts holds the next frame's bytes
        MeterFrame frame;
        std::copy(step.bytes.begin() + std::ptrdiff_t(step.frameAt), step.bytes.end(), frame.begin());
        const DecodedFrame d = DecodeFrame(frame);
        const SampleReading reading{d.first.Value,    d.firstUnitByte, d.second.Value,
                                    d.secondUnitByte, d.Mode,          d.symbolsByte};
        if (visiblyDamaged(frame)) {
            ++line.damagedFrames;
            damaged.insert(reading);
        } else {
            line.undamaged.insert(reading);
        }
    }
    for (const SampleReading &reading : damaged) {
        if (!line.undamaged.count(reading))
            line.damagedOnly.insert(reading);
    }
    return line;
}

QString StartSimulator(QProcess &simulator, const QStringList &arguments)
{
    simulator.setProgram(ToolPath());
    simulator.setArguments(QStringList{QStringLiteral("simulate")} + arguments);
    simulator.start();
    if (!simulator.waitForStarted(5000) || !WaitUntil([&] { return simulator.canReadLine(); }, 5000))
        return QString();
    return QString::fromLocal8Bit(simulator.readLine()).trimmed();
}
