#include "Decoder.h"
#include "FrameEncoder.h"

#include <gtest/gtest.h>

#include <random>

TEST(FrameEncoderTest, ReproducesTheReferenceFrame)
{
    FrameContent c;
    c.firstText = "12.35";
    c.secondText = "230.1";
    c.firstUnitByte = 0x08;
    c.secondUnitByte = 0x02;
    c.symbols = 0x04;
    c.ac = true;
    c.memoryText = "0";
    c.bar = BarUpTo(4);
    const MeterFrame expected = {0x05, 0x05, 0x02, 0x08, 0xCB, 0xE3, 0xB7, 0x60, 0x04, 0x40, 0x00,
                                 0xED, 0x60, 0xFD, 0xE3, 0xA7, 0x00, 0x00, 0x00, 0x00, 0x00, 0x0F};
    EXPECT_EQ(EncodeFrame(c), expected);
}

TEST(FrameEncoderTest, RandomContentsDecodeBackToWhatWasEncoded)
{
    std::mt19937 random(7);
    const char cellChars[] = " 0123456789L";
    auto pick = [&random](int n) { return int(random() % unsigned(n)); };
    for (int n = 0; n < 20000; ++n) {
        FrameContent c;
        auto cells = [&]() {
            std::string text;
            for (int k = 0; k < 4; ++k) {
                text += cellChars[pick(12)];
                if (text.back() != ' ' && text.back() != 'L' && pick(6) == 0)
                    text += '.';
            }
            return text;
        };
        c.firstText = cells();
        c.secondText = cells();
        if (pick(2)) {
            // The colon sits after the second cell (and that cell's point).
            std::size_t afterSecondCell = c.secondText.find_first_of(" 0123456789L", 1);
            afterSecondCell += c.secondText[afterSecondCell + 1] == '.' ? 2 : 1;
            c.secondText.insert(afterSecondCell, ":");
        }
        c.firstNegative = pick(2);
        c.secondNegative = pick(2);
        c.firstUnitByte = std::uint8_t(random()) & ~0x20;
        c.secondUnitByte = std::uint8_t(random());
        c.symbols = std::uint8_t(random());
        c.ac = pick(2);
        c.dc = pick(2);
        c.mode = std::uint8_t(random()) & 0xFE;
        const int memory = pick(30); // the display has no leading "3"
        c.memoryText = std::to_string(memory);
        c.arrow = pick(2);
        c.bar = (std::uint64_t(random()) << 8 ^ std::uint64_t(random())) & ((std::uint64_t(1) << 40) - 1);

        const DecodedFrame d = DecodeFrame(EncodeFrame(c));
        ASSERT_EQ(d.first.Text, c.firstText);
        ASSERT_EQ(d.second.Text, c.secondText);
        ASSERT_EQ(d.first.Negative, c.firstNegative);
        ASSERT_EQ(d.second.Negative, c.secondNegative);
        ASSERT_EQ(d.secondUnitByte, c.secondUnitByte);
        ASSERT_EQ(d.symbolsByte, c.symbols);
        ASSERT_EQ(d.Mode, std::uint8_t(c.mode | (c.secondNegative ? 1 : 0)));
        ASSERT_EQ(d.memoryText, c.memoryText);
        ASSERT_EQ(d.display.L01[0], c.ac ? "AC" : c.dc ? "DC" : "");
        ASSERT_EQ(d.display.L41, c.arrow);
        for (int s = 1; s <= BarSegments; ++s)
            ASSERT_EQ(d.display.L0[std::size_t(s)], bool((c.bar >> (s - 1)) & 1));
    }
}

TEST(FrameEncoderTest, ShortTextsArePaddedWithBlankCells)
{
    FrameContent c;
    c.firstText = "5";
    c.secondText = "";
    c.memoryText = "";
    const DecodedFrame d = DecodeFrame(EncodeFrame(c));
    EXPECT_EQ(d.first.Text, "   5");
    EXPECT_EQ(d.second.Text, "    ");
    EXPECT_EQ(d.memoryText, " ") << "no memory location is a dark cell";
    EXPECT_FALSE(IsDamagedFrame(EncodeFrame(c)));
}
