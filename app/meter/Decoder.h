#pragma once

// The meter sends the state of its LCD, not numbers: these turn one frame into
// what the display shows and the two readings. Pure functions, any 22 bytes.

#include "MeterFrame.h"

#include <string>

// Text of one seven-segment cell; empty for a pattern the meter never shows.
std::string DecodeDigit(std::uint8_t cell);

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
