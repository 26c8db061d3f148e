#pragma once

// The meter sends the state of its LCD, not numbers: these turn one frame into
// what the display shows and the two readings. Pure functions, any 22 bytes.

#include "MeterFrame.h"

#include <string>

// Text of one seven-segment cell; empty for a pattern the meter never shows.
std::string DecodeDigit(std::uint8_t cell);

// A frame the line has damaged: a digit cell (bytes 5 to 8, 12, 13 to 16)
// that is none of the cell patterns, or a bit the meter never lights (byte 10
// bit 4, byte 11 bits 0 and 3, byte 17 all but bit 3). Decoding does not ask;
// the receive cycle drops such frames when it is told to.
bool IsDamagedFrame(const MeterFrame &frame);

// First step of decoding, kept apart so the receive cycle can stop after it.
bool DecodeHoldSymbol(const MeterFrame &frame);

// The Mode byte: (byte 10 & 0x0F) | (byte 11 & 0xF0).
std::uint8_t DecodeMode(const MeterFrame &frame);

// A frame with HOLD lit outside memory recall adds nothing and changes only the HOLD symbol.
bool HoldStopsFrame(const MeterFrame &frame);

// Everything after the HOLD symbol: display elements, readings, mode and memory text.
DecodedFrame DecodeFrame(const MeterFrame &frame);

// The conversion of a display text to a value: "0" in front, digits and at most
// one point, optionally trailing blanks; anything else is 0.
float DisplayTextValue(const std::string &text);
