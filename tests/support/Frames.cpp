#include "Frames.h"

#include <gtest/gtest.h>

#include <QByteArray>

#include <algorithm>

FrameContent ReadingContent(const std::string &first, std::uint8_t unit, Coupling coupling)
{
    FrameContent c;
    c.firstText = first;
    c.firstUnitByte = unit;
    c.secondText = "230.1";
    c.secondUnitByte = SecondV;
    c.ac = coupling == Coupling::Ac;
    return c;
}

MeterFrame ReadingFrame(const std::string &first, std::uint8_t unit, Coupling coupling)
{
    return EncodeFrame(ReadingContent(first, unit, coupling));
}

std::vector<std::uint8_t> BytesFromHex(const char *hex)
{
    const QByteArray bytes = QByteArray::fromHex(QByteArray(hex));
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

MeterFrame FrameFromHex(const char *hex)
{
    const std::vector<std::uint8_t> bytes = BytesFromHex(hex);
    EXPECT_EQ(bytes.size(), MeterFrameSize) << hex;
    MeterFrame frame{};
    std::copy_n(bytes.begin(), std::min(bytes.size(), frame.size()), frame.begin());
    return frame;
}
