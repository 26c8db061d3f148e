#pragma once

// Builds the frame a meter would send for a given display: the inverse of the
// decoder, used by the meter simulator and by tests.

#include "MeterFrame.h"

#include <cstdint>
#include <string>

struct FrameContent {
    // Four cells, leftmost first: ' ', '0'..'9' or 'L', each digit optionally
    // followed by '.'. Shorter texts are padded with blank cells on the left.
    std::string firstText = "   0";
    bool firstNegative = false;
    // Four cells with an optional ':' after the second cell.
    std::string secondText = "   0";
    bool secondNegative = false;
    std::uint8_t firstUnitByte = 0;  // frame byte 4 without the colon bit (taken from secondText)
    std::uint8_t secondUnitByte = 0; // frame byte 3
    std::uint8_t symbols = 0;        // frame byte 9
    bool ac = false;
    bool dc = false;
    std::uint8_t mode = 0; // Mode bits 1..7; bit 0 comes from secondNegative
    // "", a digit, or a leading "1"/"2" and a digit, as on the memory display;
    // "" and " " are both a dark units cell, which decodes as " ".
    std::string memoryText;
    bool arrow = false;
    std::uint64_t bar = 0; // bit n-1 lights segment n
};

// Cell byte for a digit text ("7", "7.", " ", "L"); 0 for anything else.
std::uint8_t EncodeDigit(char digit, bool point);

MeterFrame EncodeFrame(const FrameContent &content);

// Bar-graph mask lighting segments 1..count.
std::uint64_t BarUpTo(int count);
