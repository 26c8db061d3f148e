#include "Sample.h"

#include <cstring>

namespace {

template <typename T>
void putLittleEndian(std::uint8_t *out, T value)
{
    static_assert(sizeof(T) <= 8);
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof(T));
    for (std::size_t i = 0; i < sizeof(T); ++i)
        out[i] = std::uint8_t(bits >> (8 * i));
}

template <typename T>
T getLittleEndian(const std::uint8_t *in)
{
    std::uint64_t bits = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i)
        bits |= std::uint64_t(in[i]) << (8 * i);
    T value;
    std::memcpy(&value, &bits, sizeof(T));
    return value;
}

} // namespace

SampleRecordBytes Sample::toBytes() const
{
    SampleRecordBytes out{};
    putLittleEndian(&out[0], FirstValue);
    out[4] = FirstUnit;
    out[5] = Symbols;
    out[6] = Padding6[0];
    out[7] = Padding6[1];
    putLittleEndian(&out[8], SecondValue);
    out[12] = SecondUnit;
    out[13] = Mode;
    out[14] = Padding14[0];
    out[15] = Padding14[1];
    putLittleEndian(&out[16], Stamp);
    putLittleEndian(&out[24], Seconds);
    out[28] = Symbols2;
    out[29] = Padding29[0];
    out[30] = Padding29[1];
    out[31] = Padding29[2];
    return out;
}

Sample Sample::fromBytes(const std::uint8_t *in)
{
    Sample s;
    s.FirstValue = getLittleEndian<float>(&in[0]);
    s.FirstUnit = in[4];
    s.Symbols = in[5];
    s.Padding6[0] = in[6];
    s.Padding6[1] = in[7];
    s.SecondValue = getLittleEndian<float>(&in[8]);
    s.SecondUnit = in[12];
    s.Mode = in[13];
    s.Padding14[0] = in[14];
    s.Padding14[1] = in[15];
    s.Stamp = getLittleEndian<double>(&in[16]);
    s.Seconds = getLittleEndian<float>(&in[24]);
    s.Symbols2 = in[28];
    s.Padding29[0] = in[29];
    s.Padding29[1] = in[30];
    s.Padding29[2] = in[31];
    return s;
}
