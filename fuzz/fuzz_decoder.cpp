// The decoder over any bytes: the first 22 are a frame (sync bytes or not),
// the rest is a display text for the numeric conversion and the memory
// location rule.

#include "Decoder.h"
#include "FuzzSupport.h"
#include "ReceiveCycle.h"
#include "SampleTexts.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

namespace {

// Four cells of at most two characters ("8."); the second display adds a colon.
constexpr std::size_t MaxFirstText = 8;
constexpr std::size_t MaxSecondText = 9;
constexpr std::size_t MaxMemoryText = 3;
constexpr float LargestDisplayValue = 9999;

void checkReading(const Reading &reading, const std::string &shown, bool minus)
{
    FUZZ_CHECK(reading.Text == shown);
    FUZZ_CHECK(reading.Negative == minus);
    FUZZ_CHECK(std::isfinite(reading.Value));
    FUZZ_CHECK(std::fabs(reading.Value) <= LargestDisplayValue);
    FUZZ_CHECK(!minus || reading.Value <= 0);
    FUZZ_CHECK(minus || reading.Value >= 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    MeterFrame frame{};
    std::memcpy(frame.data(), data, std::min(size, frame.size()));

    for (std::size_t i = 0; i < size; ++i) {
        const std::string cell = DecodeDigit(data[i]);
        FUZZ_CHECK(cell.size() <= 2);
    }

    const DecodedFrame decoded = DecodeFrame(frame);
    const DisplayElements &d = decoded.display;
    FUZZ_CHECK(d.LCD1.size() <= MaxFirstText);
    FUZZ_CHECK(d.LCD2.size() <= MaxSecondText);
    FUZZ_CHECK(d.LCD3.size() <= MaxMemoryText);
    FUZZ_CHECK(d.LCD3 == decoded.memoryText);
    checkReading(decoded.first, d.LCD1, d.L02);
    checkReading(decoded.second, d.LCD2, d.L03);
    FUZZ_CHECK(decoded.first.Function == d.L01[0]);
    FUZZ_CHECK(decoded.second.Function == d.L01[1]);
    FUZZ_CHECK(decoded.first.Unit == d.L01[3]);
    FUZZ_CHECK(decoded.second.Unit == d.L01[4]);
    FUZZ_CHECK(decoded.Mode == DecodeMode(frame));
    FUZZ_CHECK(d.P01[SymbolHold] == DecodeHoldSymbol(frame));
    FUZZ_CHECK(HoldStopsFrame(frame) == (DecodeHoldSymbol(frame) && !(decoded.Mode & ModeBits::MemoryRecall)));
    FUZZ_CHECK(decoded.firstUnitByte == frame[3] && decoded.secondUnitByte == frame[2] &&
               decoded.symbolsByte == frame[8]);

    const std::string text(reinterpret_cast<const char *>(data) + std::min(size, frame.size()),
                           size - std::min(size, frame.size()));
    const float value = DisplayTextValue(text);
    FUZZ_CHECK(std::isfinite(value) && value >= 0);
    if (const auto location = MemoryLocationNumber(text))
        FUZZ_CHECK(*location >= 0);
    return 0;
}
