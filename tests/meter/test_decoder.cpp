#include "Decoder.h"
#include "Frames.h"
#include "SampleTexts.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// A frame with only the sync bytes and the given bytes set (1-based numbering).
MeterFrame frameWith(std::initializer_list<std::pair<int, std::uint8_t>> bytes)
{
    MeterFrame f{};
    f[0] = f[1] = 0x05;
    for (auto [n, value] : bytes)
        f[std::size_t(n - 1)] = value;
    return f;
}

} // namespace

TEST(DecodeDigitTest, TableAndUnknownPatterns)
{
    EXPECT_EQ(DecodeDigit(0xED), "0");
    EXPECT_EQ(DecodeDigit(0xFD), "0.");
    EXPECT_EQ(DecodeDigit(0x6A), "4");
    EXPECT_EQ(DecodeDigit(0xFB), "9.");
    EXPECT_EQ(DecodeDigit(0x00), " ");
    EXPECT_EQ(DecodeDigit(0x0D), "L");
    EXPECT_EQ(DecodeDigit(0x6E), "");
    EXPECT_EQ(DecodeDigit(0x10), "") << "a point alone is no cell";
    int known = 0;
    for (int b = 0; b < 256; ++b)
        known += !DecodeDigit(std::uint8_t(b)).empty();
    EXPECT_EQ(known, 22);
}

// The complete example frame from the meter's protocol notes.
TEST(DecodeFrameTest, ReferenceFrameDecodesEveryElement)
{
    const MeterFrame f = FrameFromHex("05 05 02 08 CB E3 B7 60 04 40 00 ED 60 FD E3 A7 00 00 00 00 00 0F");
    const DecodedFrame d = DecodeFrame(f);
    EXPECT_EQ(d.first.Text, "12.35");
    EXPECT_EQ(d.first.Value, 12.35f);
    EXPECT_EQ(d.first.Unit, "A");
    EXPECT_EQ(d.first.Function, "AC");
    EXPECT_FALSE(d.first.Negative);
    EXPECT_EQ(d.first.UnitCode, 0x08);
    EXPECT_EQ(d.second.Text, "230.1");
    EXPECT_EQ(d.second.Value, 230.1f);
    EXPECT_EQ(d.second.Unit, "V");
    EXPECT_EQ(d.second.Function, "");
    EXPECT_EQ(d.memoryText, "0");
    EXPECT_EQ(d.display.LCD3, "0");
    EXPECT_EQ(d.Mode, 0x00);
    for (int i = 1; i < SymbolCount; ++i)
        EXPECT_EQ(d.display.P01[std::size_t(i)], i == SymbolPhase1) << "symbol " << i;
    for (int s = 1; s <= BarSegments; ++s)
        EXPECT_EQ(d.display.L0[std::size_t(s)], s <= 4) << "segment " << s;
    EXPECT_FALSE(d.display.L41);
    EXPECT_FALSE(d.display.L02);
    EXPECT_FALSE(d.display.L03);
}

struct DisplayCase {
    const char *name;
    std::uint8_t cells[4]; // rightmost first: bytes 5..8 or 13..16
    bool minus;
    const char *text;
    float value;
};

TEST(DecodeFrameTest, FirstDisplayTextsAndValues)
{
    const DisplayCase cases[] = {
        {"digits with a point", {0xCB, 0xE3, 0xB7, 0x60}, false, "12.35", 12.35f},
        {"overload", {0x00, 0x0D, 0xED, 0x00}, false, " 0L ", 9999.0f},
        {"overload with minus sign", {0x00, 0x0D, 0xED, 0x00}, true, " 0L ", -9999.0f},
        {"leading blanks fail to convert", {0xA7, 0x60, 0x00, 0x00}, false, "  12", 0.0f},
        {"unknown cell is dropped", {0x60, 0x6E, 0xA7, 0xE3}, false, "321", 321.0f},
        {"trailing blank converts", {0x00, 0xA7, 0x60, 0xED}, false, "012 ", 12.0f},
        {"L outside the overload pattern", {0x0D, 0x60, 0x60, 0x60}, false, "111L", 0.0f},
        {"two points", {0x60, 0x70, 0x70, 0x60}, false, "11.1.1", 0.0f},
        {"minus sign", {0xED, 0xFD, 0x00, 0x00}, true, "  0.0", 0.0f},
    };
    for (const auto &c : cases) {
        const MeterFrame f = frameWith({{5, c.cells[0]},
                                        {6, c.cells[1]},
                                        {7, c.cells[2]},
                                        {8, c.cells[3]},
                                        {10, std::uint8_t(c.minus ? 0x20 : 0)}});
        const DecodedFrame d = DecodeFrame(f);
        EXPECT_EQ(d.first.Text, c.text) << c.name;
        EXPECT_EQ(d.display.LCD1, c.text) << c.name;
        EXPECT_EQ(d.first.Value, c.value) << c.name;
        EXPECT_EQ(d.first.Negative, c.minus) << c.name;
    }
}

TEST(DecodeFrameTest, SecondDisplayColonAndNoOverloadRule)
{
    DecodedFrame d = DecodeFrame(frameWith({{13, 0xE3}, {14, 0xE0}, {15, 0xA7}, {16, 0x60}, {4, 0x20}}));
    EXPECT_EQ(d.display.LCD2, "12:73");
    EXPECT_EQ(d.second.Text, "12:73");
    EXPECT_EQ(d.second.Value, 1273.0f);

    d = DecodeFrame(frameWith({{13, 0x00}, {14, 0x0D}, {15, 0xED}, {16, 0x00}}));
    EXPECT_EQ(d.second.Text, " 0L ");
    EXPECT_EQ(d.second.Value, 0.0f);

    d = DecodeFrame(frameWith({{13, 0xCB}, {14, 0x60}, {15, 0x00}, {16, 0x00}, {10, 0x01}}));
    EXPECT_TRUE(d.display.L03);
    EXPECT_EQ(d.second.Value, 0.0f) << "\"0  15\" has a blank between digits";
    d = DecodeFrame(frameWith({{13, 0xCB}, {14, 0x60}, {15, 0xED}, {16, 0xED}, {10, 0x01}}));
    EXPECT_EQ(d.second.Value, -15.0f);
}

TEST(DecodeFrameTest, MemoryLocationText)
{
    EXPECT_EQ(DecodeFrame(frameWith({{11, 0x02}, {12, 0xCB}})).memoryText, "25");
    EXPECT_EQ(DecodeFrame(frameWith({{11, 0x06}, {12, 0xCB}})).memoryText, "25") << "2 replaces 1";
    EXPECT_EQ(DecodeFrame(frameWith({{11, 0x04}, {12, 0xE0}})).memoryText, "17");
    EXPECT_EQ(DecodeFrame(frameWith({{11, 0x00}, {12, 0x00}})).memoryText, " ");
    EXPECT_EQ(DecodeFrame(frameWith({{11, 0x00}, {12, 0xE0}})).display.LCD3, "7");
}

TEST(DecodeFrameTest, FunctionLabelsAndMode)
{
    DecodedFrame d = DecodeFrame(frameWith({{10, 0xC0}}));
    EXPECT_EQ(d.display.L01[0], "AC");
    d = DecodeFrame(frameWith({{10, 0x80}}));
    EXPECT_EQ(d.display.L01[0], "DC");
    d = DecodeFrame(frameWith({{10, 0x0E}, {11, 0xC0}}));
    EXPECT_EQ(d.display.L01[1], "MIN");
    EXPECT_EQ(d.Mode, 0xCE);
    EXPECT_EQ(d.second.Function, "MIN");
    d = DecodeFrame(frameWith({{11, 0x30}}));
    EXPECT_EQ(d.display.L01[2], "MEM") << "MEM is tested after MR";
    d = DecodeFrame(frameWith({{11, 0x10}}));
    EXPECT_EQ(d.display.L01[2], "MR");
    d = DecodeFrame(frameWith({{10, 0x04}}));
    EXPECT_EQ(d.display.L01[1], "FREQ");
}

TEST(DecodeFrameTest, SymbolsAndBarGraph)
{
    DecodedFrame d = DecodeFrame(frameWith({{9, 0x50}}));
    EXPECT_TRUE(d.display.P01[SymbolSum]);
    EXPECT_TRUE(d.display.P01[SymbolWatt]);
    EXPECT_FALSE(d.display.P01[SymbolThreePhaseWatt]);

    d = DecodeFrame(frameWith({{4, 0x11}, {9, 0xA9}, {17, 0x08}}));
    EXPECT_TRUE(d.display.P01[SymbolBattery]);
    EXPECT_TRUE(d.display.P01[SymbolCircledP]);
    EXPECT_TRUE(d.display.P01[SymbolThreePhaseWatt]);
    EXPECT_TRUE(d.display.P01[SymbolPhase3]);
    EXPECT_TRUE(d.display.P01[SymbolPhase2]);
    EXPECT_TRUE(d.display.P01[SymbolHighVoltage]);
    EXPECT_FALSE(d.display.P01[SymbolHold]);
    EXPECT_TRUE(d.display.L41);

    d = DecodeFrame(frameWith({{22, 0x01}}));
    for (int s = 1; s <= BarSegments; ++s)
        EXPECT_EQ(d.display.L0[std::size_t(s)], s == 1) << s;
    d = DecodeFrame(frameWith({{18, 0x80}, {21, 0x01}}));
    for (int s = 1; s <= BarSegments; ++s)
        EXPECT_EQ(d.display.L0[std::size_t(s)], s == 40 || s == 9) << s;
}

TEST(DecodeFrameTest, HoldRuleNeedsMemoryRecallOff)
{
    EXPECT_TRUE(HoldStopsFrame(frameWith({{9, 0x02}})));
    EXPECT_FALSE(HoldStopsFrame(frameWith({{9, 0x02}, {11, 0x10}}))) << "HOLD during memory recall counts";
    EXPECT_FALSE(HoldStopsFrame(frameWith({{9, 0xFD}})));
    EXPECT_TRUE(DecodeFrame(frameWith({{9, 0x02}})).display.P01[SymbolHold]);
}

// Any 22 bytes must decode; the sanitizer build makes this a check for undefined behaviour.
TEST(DecodeFrameTest, RandomFramesDecodeWithinBounds)
{
    std::mt19937 random(20261207);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int n = 0; n < 100000; ++n) {
        MeterFrame f;
        for (auto &b : f)
            b = std::uint8_t(byte(random));
        if (n % 2)
            f[0] = f[1] = 0x05;
        const DecodedFrame d = DecodeFrame(f);
        ASSERT_LE(d.first.Text.size(), 8u);
        ASSERT_LE(d.second.Text.size(), 9u);
        ASSERT_TRUE(std::abs(d.first.Value) <= 9999.0f) << d.first.Text;
        ASSERT_TRUE(std::abs(d.second.Value) <= 9999.0f) << d.second.Text;
        ASSERT_EQ(d.Mode, DecodeMode(f));
    }
}

// Damage the line can leave in a frame that is still in step. Each row starts
// from the reference frame and changes one byte.
TEST(IsDamagedFrameTest, CellsOutsideTheTableAndUnusedBits)
{
    const MeterFrame reference = FrameFromHex("05 05 02 08 CB E3 B7 60 04 40 00 ED 60 FD E3 A7 00 00 00 00 00 0F");
    EXPECT_FALSE(IsDamagedFrame(reference)) << "a clean frame";

    struct Row {
        const char *name;
        int byteNo;
        std::uint8_t value;
        bool damaged;
    };
    const Row rows[] = {
        {"byte 10 bit 4 (unused)", 10, 0x40 | 0x10, true},
        {"byte 11 bit 0 (unused)", 11, 0x01, true},
        {"byte 11 bit 3 (unused)", 11, 0x08, true},
        {"byte 17 bit 0 (unused)", 17, 0x01, true},
        {"byte 17 bit 1 (unused)", 17, 0x02, true},
        {"byte 17 bit 2 (unused)", 17, 0x04, true},
        {"byte 17 bit 4 (unused)", 17, 0x10, true},
        {"byte 17 bit 5 (unused)", 17, 0x20, true},
        {"byte 17 bit 6 (unused)", 17, 0x40, true},
        {"byte 17 bit 7 (unused)", 17, 0x80, true},
        {"first display, rightmost cell 6E", 5, 0x6E, true},
        {"first display, third cell 6E", 6, 0x6E, true},
        {"first display, second cell 10 (a point alone)", 7, 0x10, true},
        {"first display, leftmost cell FE", 8, 0xFE, true},
        {"memory units cell 01", 12, 0x01, true},
        {"second display, rightmost cell 6E", 13, 0x6E, true},
        {"second display, third cell 6E", 14, 0x6E, true},
        {"second display, second cell 6E", 15, 0x6E, true},
        {"second display, leftmost cell 6E", 16, 0x6E, true},
        // Bits and cells the meter does light.
        {"byte 17 bit 3: the bar-graph arrow", 17, 0x08, false},
        {"byte 10: DC, AC, minus and every Mode bit", 10, 0xEF, false},
        {"byte 11: every Mode bit and both leading memory digits", 11, 0xF6, false},
        {"blank cell", 8, 0x00, false},
        {"L cell", 6, 0x0D, false},
        {"a digit with its point", 15, 0xFB, false},
        {"every unit segment", 4, 0xFF, false},
        {"every symbol", 9, 0xFF, false},
        {"every bar segment", 18, 0xFF, false},
    };
    for (const Row &row : rows) {
        MeterFrame f = reference;
        f[std::size_t(row.byteNo - 1)] = row.value;
        EXPECT_EQ(IsDamagedFrame(f), row.damaged) << row.name;
    }
}

TEST(IsDamagedFrameTest, EveryCellPatternOfTheTableIsClean)
{
    for (int b = 0; b < 256; ++b) {
        MeterFrame f = FrameFromHex("05 05 02 08 CB E3 B7 60 04 40 00 ED 60 FD E3 A7 00 00 00 00 00 0F");
        for (int cell : {5, 6, 7, 8, 12, 13, 14, 15, 16})
            f[std::size_t(cell - 1)] = std::uint8_t(b);
        EXPECT_EQ(IsDamagedFrame(f), DecodeDigit(std::uint8_t(b)).empty()) << std::hex << b;
    }
}
