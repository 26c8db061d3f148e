// Writes the seed inputs of fuzz/corpus that are made of encoder frames:
// fuzz_seeds CORPUS_FOLDER. The captures and recordings of tests/data and the
// settings files are kept in the corpus as they are.

#include "FrameEncoder.h"
#include "RecordFile.h"
#include "SampleTexts.h"
#include "TrendView.h"

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr std::uint8_t UnitA = 0x08;
constexpr std::uint8_t UnitV = 0x04;
constexpr std::uint8_t UnitKW = 0x40;
constexpr std::uint8_t SecondV = 0x02;

using Bytes = std::vector<std::uint8_t>;

void append(Bytes &stream, const MeterFrame &frame)
{
    stream.insert(stream.end(), frame.begin(), frame.end());
}

bool write(const std::string &path, const Bytes &bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "fuzz_seeds: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

FrameContent reading(const std::string &first, std::uint8_t unit)
{
    FrameContent c;
    c.firstText = first;
    c.firstUnitByte = unit;
    c.secondText = "230.1";
    c.secondUnitByte = SecondV;
    c.ac = true;
    c.symbols = SymbolBits::Phase1;
    c.bar = BarUpTo(4);
    return c;
}

FrameContent recalled(int location)
{
    FrameContent c = reading(std::to_string(location) + ".00", UnitA);
    c.mode = ModeBits::MemoryRecall;
    c.memoryText = std::to_string(location);
    return c;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "Usage: fuzz_seeds CORPUS_FOLDER\n");
        return 2;
    }
    const std::string decoder = std::string(argv[1]) + "/fuzz_decoder/";
    const std::string cycle = std::string(argv[1]) + "/fuzz_receive_cycle/";
    bool ok = true;

    // One frame each, for the decoder; the overload also carries a text for the conversion.
    FrameContent overload = reading(" 0L ", UnitKW);
    overload.firstNegative = true;
    overload.dc = true;
    overload.ac = false;
    Bytes overloadInput;
    append(overloadInput, EncodeFrame(overload));
    for (const char c : std::string("12.35  "))
        overloadInput.push_back(std::uint8_t(c));
    ok &= write(decoder + "overload-negative-dc.bin", overloadInput);

    FrameContent clock = reading("0.998", UnitV);
    clock.secondText = "12:73";
    clock.mode = ModeBits::Time;
    clock.symbols = SymbolBits::Hold | SymbolBits::HighVoltage | SymbolBits::ThreePhaseWatt;
    clock.arrow = true;
    clock.bar = BarUpTo(40);
    Bytes clockInput;
    append(clockInput, EncodeFrame(clock));
    ok &= write(decoder + "time-colon-hold.bin", clockInput);

    Bytes recallInput;
    append(recallInput, EncodeFrame(recalled(17)));
    ok &= write(decoder + "memory-recall-17.bin", recallInput);

    // Streams for the receive cycle.
    Bytes unitChange; // a change of function after a few samples, with garbage between frames
    for (int i = 0; i < 6; ++i)
        append(unitChange, EncodeFrame(reading("1" + std::to_string(i) + ".25", UnitA)));
    unitChange.push_back(0x00);
    unitChange.push_back(0x05);
    for (int i = 0; i < 6; ++i)
        append(unitChange, EncodeFrame(reading("2" + std::to_string(i) + "0.5", UnitV)));
    ok &= write(cycle + "function-change.bin", unitChange);

    Bytes recall; // every location the display can show, twice, then HOLD frames
    for (int round = 0; round < 2; ++round)
        for (int location = 0; location <= 29; ++location)
            append(recall, EncodeFrame(recalled(location)));
    FrameContent held = reading("99.99", UnitA);
    held.symbols = SymbolBits::Hold;
    for (int i = 0; i < 4; ++i)
        append(recall, EncodeFrame(held));
    ok &= write(cycle + "memory-recall-and-hold.bin", recall);

    // A recording of a minute at two samples a second, as acquisition builds it.
    SampleStore store;
    for (int i = 1; i <= 120; ++i) {
        Sample sample;
        sample.FirstValue = float(i % 17) * 1.25f - 3.0f;
        sample.FirstUnit = UnitA;
        sample.Symbols = SymbolBits::Phase1;
        sample.SecondValue = 230.0f + float(i % 5) / 10.0f;
        sample.SecondUnit = SecondV;
        sample.Mode = i > 60 ? ModeBits::Frequency : 0;
        sample.Stamp = 45000.5 + i * 0.5 / 86400.0;
        sample.Seconds = 1000.0f + float(i) * 0.5f;
        sample.Symbols2 = sample.Symbols;
        store.AppendSample(sample);
        UpdateStatisticsRecord(store);
    }
    const std::string recording = std::string(argv[1]) + "/fuzz_record_file/minute-120.KRD";
    const RecordFileResult written = WriteRecordFile(QString::fromStdString(recording), store);
    if (!written.ok) {
        std::fprintf(stderr, "fuzz_seeds: %s: %s\n", recording.c_str(), qPrintable(written.error));
        ok = false;
    }

    return ok ? 0 : 1;
}
